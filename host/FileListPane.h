// The file list of the sample host: the files of one folder in a report-style
// list view (name, size, modified time), narrowed by a name filter. The pane
// owns a browse file object for every file it shows; the file operations get
// pointers to them and the list is read again from disk afterwards.
#pragma once

#include <afxwin.h>
#include <BrwsFileOps.h>

#include <memory>
#include <vector>

class CFileListPane
{
public:
    CFileListPane();
    ~CFileListPane();
    CFileListPane(const CFileListPane&) = delete;
    CFileListPane& operator=(const CFileListPane&) = delete;

    bool Create(CWnd* pParent, const CRect& rect, UINT nID);
    CWnd& Window() { return m_wndList; }

    // Lists the files of strFolder (empty: nothing) whose names match
    // strFilter, sorted the way Explorer sorts names.
    void ShowFolder(const CString& strFolder, const CString& strFilter);
    // Shows only the names that match strFilter from now on.
    void SetFilter(const CString& strFilter);
    // Reads the same folder again, keeping the names that were selected
    // selected (or selecting lstSelectNames instead when given).
    void Refresh(const CStringList* pSelectNames = nullptr);

    const CString& Folder() const { return m_strFolder; }
    int GetCount() const { return static_cast<int>(m_files.size()); }
    // The selected files, in list order; the pointers stay the pane's and
    // live until the next ShowFolder or Refresh.
    void GetSelectedFiles(CBFileList& files) const;
    // The file of a list item (by lParam), or null.
    CBFile* FileOfItem(LPARAM lParam) const;
    // Selects exactly the items with these names; the first gets the focus.
    void SelectNames(const CStringList& names);
    // Starts editing the label of the focused selected item; false when none.
    bool BeginRename();

private:
    void Fill(const CStringList& selectNames);

    CWnd m_wndList;
    CString m_strFolder;
    CString m_strFilter;
    std::vector<std::unique_ptr<CBFile>> m_files;
};
