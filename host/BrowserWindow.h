// The sample host's main window: a folder tree driven by the library's drive
// tree controller, the files of the selected folder, a path field with a
// browse button, a name filter and the file commands.
#pragma once

#include <afxwin.h>
#include <afxcmn.h>

#include <BrwsDriveTree.h>
#include <BrwsEditWithBrowse.h>

#include "host/FileListPane.h"
#include "module/Holders.h"

// Control IDs, for the window's own use and for whoever drives it.
enum EBrowserControl : UINT
{
    IDC_HOST_PATH = 1001,
    IDC_HOST_TREE = 1002,
    IDC_HOST_FILTER = 1003,
    IDC_HOST_FILES = 1004,
    IDC_HOST_COPY = 1010,
    IDC_HOST_MOVE = 1011,
    IDC_HOST_DUPLICATE = 1012,
    IDC_HOST_RENAME = 1013,
    IDC_HOST_DELETE = 1014,
    IDC_HOST_FOLDER_LABEL = 1020,
    IDC_HOST_FILTER_LABEL = 1021,
};

// The path field: clicking into it, or on its "..." button, starts the
// field's own edit loop, which the window runs.
class CHostPathField : public CEditWithBrowse
{
public:
    CHostPathField() : CEditWithBrowse(false) {}

protected:
    afx_msg void OnEditSetFocus();
    afx_msg void OnBrowseClicked();
    DECLARE_MESSAGE_MAP()
};

class CBrowserWindow : public CWnd
{
public:
    CBrowserWindow();
    ~CBrowserWindow() override;

    // Creates the window (hidden) and opens strFolder, or the folder of the
    // last run, or the documents folder.
    bool CreateBrowser(const CString& strFolder);

    // Selects the folder's item in the tree, inserting it with its ancestors
    // when missing, and expands it. false when there is no such folder.
    bool GotoFolder(const CString& strPath);
    const CString& CurrentFolder() const { return m_files.Folder(); }

    CTreeCtrl& Tree() { return m_wndTree; }
    CFileListPane& Files() { return m_files; }
    CHostPathField& PathField() { return m_wndPath; }

    // The file commands, as the buttons run them.
    void CopySelection(bool bCopy);
    void DuplicateSelection();
    void DeleteSelection(bool bToRecycleBin);
    void RenameSelection();

protected:
    BOOL PreTranslateMessage(MSG* pMsg) override;

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnDestroy();
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnGetMinMaxInfo(MINMAXINFO* pInfo);
    afx_msg void OnCopy();
    afx_msg void OnMove();
    afx_msg void OnDuplicate();
    afx_msg void OnRename();
    afx_msg void OnDelete();
    afx_msg void OnFilterChange();
    afx_msg void OnTreeItemExpanding(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnTreeDeleteItem(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnTreeGetDispInfo(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnTreeSelChanged(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnFilesBeginLabelEdit(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnFilesEndLabelEdit(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnFilesKeyDown(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg LRESULT OnFolderChanged(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnEditPath(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnRefreshFiles(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    void LayOut(int cx, int cy);
    void ShowFolderOfItem(HTREEITEM hItem);
    void RunPathEdit(bool bBrowseFirst);
    // The selected files and the folder they are in; null (after a beep) when
    // nothing is selected or the folder has no file-system path.
    const CBFolder* GetSelection(CBFileList& files);
    // Says why an operation failed, unless the user chose to stop it.
    void ReportFailure(const CErrorAutoThrow& result, const wchar_t* pszWhat);
    static bool BrowseForPath(CString& strText, CEditWithBrowse& control);

    CDriveTreeUtil m_driveTree;
    CTreeCtrl m_wndTree;
    CFileListPane m_files;
    CHostPathField m_wndPath;
    CStatic m_wndFolderLabel;
    CStatic m_wndFilterLabel;
    CEdit m_wndFilter;
    CButton m_btnCopy;
    CButton m_btnMove;
    CButton m_btnDuplicate;
    CButton m_btnRename;
    CButton m_btnDelete;
    CGdiObjectHolder<HFONT> m_font; // deleted after the window, which ends in the destructor
    bool m_bEditingPath;
    // Names the list is to select once it is read again after a rename.
    CStringList m_lstPendingSelection;
};

// Messages the window posts to itself.
#define WM_HOST_EDIT_PATH (WM_APP + 1)      // wParam: open the browse dialog first
#define WM_HOST_REFRESH_FILES (WM_APP + 2)  // selects m_lstPendingSelection
