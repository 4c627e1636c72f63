// The browse-for-folder dialog: the abstract interface VBrwsForFolderDlg that
// hosts reach through the undecorated factory MakeBrwsForFolderDlg, the dialog
// class CBrwsForFolderDlg itself, and the small remove-favourites dialog.
//
// All templates, strings, menus and icons come from the language resource
// module through the framework's resource search; the dialog's history,
// favourites and window rectangle live in the host application's profile.
// Both dialogs can be resized, down to their templates' size.
#pragma once

#include <afxwin.h>
#include <afxcmn.h>
#include <afxdlgs.h>

#include "BrwsUtilExport.h"
#include "BrwsFileObjects.h"

#include <memory>
#include <vector>

class CDriveTreeUtil;
class CBrwsDialogLayout;
class CBrwsFolderCompletion;

// One favourite folder: the name the special-folders menu shows, and its path.
struct CBrwsFavorite
{
    CString m_strName;
    CString m_strPath;
};

// The host calls these through the table of virtual functions, so their
// order is fixed (slot 0 is the destructor); see the check in the tests.
class VBrwsForFolderDlg
{
public:
    virtual ~VBrwsForFolderDlg() {}
    // The result folder's display name.
    virtual CString GetFolderName() = 0;
    // How many children the tree holds under hItem now (unfilled items: 0).
    virtual int GetNumChildren(HTREEITEM hItem) = 0;
    // bName nonzero: the result folder's display name, else its path; empty
    // when there is no result folder.
    virtual CString GetPathName(int bName) = 0;
    virtual void SetFavoritesHistory(const wchar_t* pszSection, const wchar_t* pszEntry) = 0;
    // nMax is clamped to 0..50.
    virtual void SetHistory(const wchar_t* pszSection, const wchar_t* pszEntry, int nMax) = 0;
    virtual int GetSaveStartPlacement() = 0;
    virtual void SetSaveStartPlacement(int bSave, const wchar_t* pszSection, const wchar_t* pszEntry) = 0;
    virtual void SetInitialFolder(const CString& strPath) = 0;
    // IDOK, IDCANCEL, or -1 when the dialog could not be created.
    virtual INT_PTR Do() = 0;
    // Destroys and frees the object.
    virtual void DeleteThis() = 0;
};

// A new dialog (default template, no parent), or null; the caller releases it
// with DeleteThis.
BRWSUTIL_C_API VBrwsForFolderDlg* MakeBrwsForFolderDlg(void);

class BRWSUTIL_API CBrwsForFolderDlg : public CDialog, public VBrwsForFolderDlg
{
public:
    // nTemplate -1: the default template 25175.
    explicit CBrwsForFolderDlg(int nTemplate = -1, CWnd* pParent = nullptr);
    ~CBrwsForFolderDlg() override;

    // The folder the dialog reports; owned by the dialog once its window is
    // gone. Null when there is none.
    CBFolder* GetCurrentFolder() const { return m_pResultFolder; }
    INT_PTR DoModal() override;

    CString GetFolderName() override;
    int GetNumChildren(HTREEITEM hItem) override;
    CString GetPathName(int bName) override;
    void SetFavoritesHistory(const wchar_t* pszSection, const wchar_t* pszEntry) override;
    void SetHistory(const wchar_t* pszSection, const wchar_t* pszEntry, int nMax) override;
    int GetSaveStartPlacement() override;
    void SetSaveStartPlacement(int bSave, const wchar_t* pszSection, const wchar_t* pszEntry) override;
    void SetInitialFolder(const CString& strPath) override;
    INT_PTR Do() override;
    void DeleteThis() override;

    // Caller-set before DoModal.
    int m_bNoNewFolder;
    CBFolder* m_pInitialFolder;   // owned until the tree takes it
    CString m_strInitialFolder;
    CString m_strNotFileSystemMsg;
    CString m_strExtraFoldersLabel;
    CString m_strTitle;
    CStringList m_lstExtraFolderNames;
    CStringList m_lstExtraFolderPaths;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

    // Navigation
    void OnInitTree();
    void SetCurrentItem(HTREEITEM hItem);
    int GotoFolder(CBFolder* pFolder);
    int GotoFolder(const wchar_t* pszPath);
    CBFolder* CreateFolderFromEditText();
    void UpdateCurrentFolder();
    int UpdateVerifyCurrentFolder();
    void UpdateButtons();
    void CreateButtonImages();
    void CreateToolTips();
    void RemoveFolderFieldList();
    void PlaceStartWindow();

    // History, favourites and placement
    void ReadHistory();
    void WriteHistory(int bAddCurrent);
    void ReadFavoritesHistory();
    void WriteFavoritesHistory();
    void ReadStartPlacement();
    void WriteStartPlacement();
    void DoRemoveFavorites();
    void AddCurrentFolderToFavorites();

    // Handlers
    void OnBLocate();
    void OnBNewFolder();
    void OnBSpecialFolders();
    void OnSelchangeFolders();
    void OnEditchangeFolders();
    void OnDeleteitem(NMHDR* pNMHDR, LRESULT* pResult);
    void OnItemexpandingTree(NMHDR* pNMHDR, LRESULT* pResult);
    void OnSelchangedTree(NMHDR* pNMHDR, LRESULT* pResult);
    void OnGetdispinfoTree(NMHDR* pNMHDR, LRESULT* pResult);
    void OnSetfocusTree(NMHDR* pNMHDR, LRESULT* pResult);
    void OnKillfocusTree(NMHDR* pNMHDR, LRESULT* pResult);
    void OnClickTree(NMHDR* pNMHDR, LRESULT* pResult);
    void OnKeydownTree(NMHDR* pNMHDR, LRESULT* pResult);
    void OnBeginlabeleditTree(NMHDR* pNMHDR, LRESULT* pResult);
    void OnEndlabeleditTree(NMHDR* pNMHDR, LRESULT* pResult);
    void OnDestroy();
    void OnSize(UINT nType, int cx, int cy);
    void OnGetMinMaxInfo(MINMAXINFO* pInfo);
    LRESULT OnFolderRenamed(WPARAM wParam, LPARAM lParam);
    LRESULT OnFolderChanged(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()

private:
    HTREEITEM GetCurrentItem() const { return m_hCurrentItem; }
    CString GetItemPath(HTREEITEM hItem);
    CTreeCtrl& GetTreeCtrl() { return m_wndTree; }
    HTREEITEM GetRemovableRoot(HTREEITEM) { return nullptr; }
    bool PolicyHidesHistory() const;
    CBFolder* CreateFolderOfPath(HWND hwndOwner, const CString& strPath);
    void SetResultFolder(CBFolder* pFolder, bool bOwned);
    void ShowNewFolderFailure(const CString& strParent);
    void RefuseNotFileSystem();
    void RefuseFieldText();
    bool HandleNavigationKey(MSG* pMsg);
    void GotoParentFolder();
    void RefreshSelectedFolder();
    void GotoSpecialFolder(UINT nCommand, const std::vector<CString>& commandPaths);
    int GotoDocumentsFolder();

    int m_bLabelEditAllowed;
    int m_bSuppressSelection;
    int m_bTreeReady;
    int m_bLabelEditing;
    int m_bSavePlacement;
    CBFolder* m_pResultFolder;
    CDriveTreeUtil* m_pTree;  // owned
    CString m_strFavoritesSection;
    CString m_strFavoritesEntry;
    CString m_strHistoryEntry;
    CString m_strHistorySection;
    CString m_strPlacementSection;
    CString m_strPlacementEntry;
    // Most recent first; a favourite's menu command counts from the oldest.
    CArray<CBrwsFavorite, const CBrwsFavorite&> m_favorites;
    CToolTipCtrl m_wndToolTips;
    HICON m_hLocateIcon;
    HICON m_hNewFolderIcon;
    HICON m_hSpecialFoldersIcon;
    HTREEITEM m_hCurrentItem;
    int m_nHistoryMax;
    RECT m_rcStart;
    CButton m_btnNewFolder;
    CTreeCtrl m_wndTree;
    CButton m_btnLocate;
    CString m_strPrompt;
    CButton m_btnSpecialFolders;
    CComboBox m_cbFolders;
    // Whether m_pResultFolder is the dialog's own (else the tree's).
    bool m_bResultOwned;
    // The new path of the directory whose label edit just renamed it.
    CString m_strRenamedPath;
    // Resizing and path completion; null only when memory ran out.
    std::unique_ptr<CBrwsDialogLayout> m_pLayout;
    std::unique_ptr<CBrwsFolderCompletion> m_pCompletion;
};

// Lets the user pick lines of a list (the favourites) to remove.
class BRWSUTIL_API CBrwsRemoveFavoritesDlg : public CDialog
{
public:
    explicit CBrwsRemoveFavoritesDlg(CWnd* pParent = nullptr);
    ~CBrwsRemoveFavoritesDlg() override;

    // Before DoModal: the lines to show. After IDOK: the selected lines, in
    // list order, and their indexes among the lines shown, ascending.
    CStringList m_lstLines;
    CArray<int, int> m_anSelected;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnSelchangeList();
    void OnSize(UINT nType, int cx, int cy);
    void OnGetMinMaxInfo(MINMAXINFO* pInfo);

    CListBox m_lbLines;
    std::unique_ptr<CBrwsDialogLayout> m_pLayout; // null only when memory ran out

    DECLARE_MESSAGE_MAP()
};
