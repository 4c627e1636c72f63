// The browse-for-folder dialog: construction, the host's interface, data
// exchange, button icons and tooltips, initialisation, resizing, and the tree,
// folder field and result folder kept in step until OK, Cancel or destruction.
#include "BrwsForFolderDlg.h"

#include "BrwsDriveTree.h"
#include "BrwsFileTime.h"
#include "BrwsFolderFactory.h"
#include "BrwsModule.h"
#include "BrwsShellSettings.h"
#include "browsedlg/BrwsDialogLayout.h"
#include "browsedlg/BrwsFolderCompletion.h"
#include "browsedlg/BrwsForFolderInternal.h"
#include "fileutil/PathInternal.h"
#include "resources/BrwsResourceIds.h"
#include "shellmodel/ShellModelPrivate.h"

#include <new>

namespace {

// The tree and the folder field take up what the window grows by; the three
// buttons beside the field keep the upper right corner, OK and Cancel the
// lower right one.
const BrwsAnchoredControl kBrowseLayout[] = {
    {IDC_BRWS_FOLDER_PROMPT, eBrwsGrowX},
    {IDC_BRWS_FOLDER_FIELD, eBrwsGrowX},
    {IDC_BRWS_LOCATE, eBrwsMoveX},
    {IDC_BRWS_NEW_FOLDER, eBrwsMoveX},
    {IDC_BRWS_SPECIAL_FOLDERS, eBrwsMoveX},
    {IDC_BRWS_FOLDER_TREE, eBrwsGrowX | eBrwsGrowY},
    {IDOK, eBrwsMoveX | eBrwsMoveY},
    {IDCANCEL, eBrwsMoveX | eBrwsMoveY},
    {IDC_BRWS_SIZE_GRIP, eBrwsMoveX | eBrwsMoveY},
};

// The sizes the button icons come in, smallest first.
const int kButtonIconSizes[] = {16, 24, 32, 48};

} // namespace

// ---- interface, factory, construction --------------------------------------------

BRWSUTIL_C_API VBrwsForFolderDlg* MakeBrwsForFolderDlg(void)
{
    CBrwsForFolderDlg* pDlg = new (std::nothrow) CBrwsForFolderDlg(-1, nullptr);
    return pDlg;
}

CBrwsForFolderDlg::CBrwsForFolderDlg(int nTemplate, CWnd* pParent)
    : CDialog(nTemplate == -1 ? static_cast<UINT>(IDD_BRWS_FOR_FOLDER) : static_cast<UINT>(nTemplate), pParent),
      m_bNoNewFolder(0),
      m_pInitialFolder(nullptr),
      m_lstExtraFolderNames(10),
      m_lstExtraFolderPaths(10),
      m_bLabelEditAllowed(0),
      m_bSuppressSelection(0),
      m_bTreeReady(0),
      m_bLabelEditing(0),
      m_bSavePlacement(0),
      m_pResultFolder(nullptr),
      m_pTree(nullptr),
      m_hLocateIcon(nullptr),
      m_hNewFolderIcon(nullptr),
      m_hSpecialFoldersIcon(nullptr),
      m_hCurrentItem(nullptr),
      m_nHistoryMax(0),
      m_rcStart{0, 0, 0, 0},
      m_bResultOwned(false),
      m_pLayout(new (std::nothrow) CBrwsDialogLayout),
      m_pCompletion(new (std::nothrow) CBrwsFolderCompletion)
{
    m_pTree = new (std::nothrow) CDriveTreeUtil;
}

CBrwsForFolderDlg::~CBrwsForFolderDlg()
{
    delete m_pTree;
    m_pTree = nullptr;
    // Only a folder of the dialog's own: one of the tree's went with the tree.
    if (m_bResultOwned)
        delete m_pResultFolder;
    m_pResultFolder = nullptr;
    delete m_pInitialFolder;
    m_pInitialFolder = nullptr;
    for (HICON* phIcon : {&m_hLocateIcon, &m_hNewFolderIcon, &m_hSpecialFoldersIcon})
    {
        if (*phIcon)
            ::DestroyIcon(*phIcon);
        *phIcon = nullptr;
    }
}

INT_PTR CBrwsForFolderDlg::DoModal()
{
    return CDialog::DoModal();
}

INT_PTR CBrwsForFolderDlg::Do()
{
    return DoModal();
}

void CBrwsForFolderDlg::DeleteThis()
{
    delete this;
}

CString CBrwsForFolderDlg::GetPathName(int bName)
{
    if (!m_pResultFolder)
        return CString();
    return bName ? m_pResultFolder->m_strName : m_pResultFolder->m_strPath;
}

CString CBrwsForFolderDlg::GetFolderName()
{
    return GetPathName(TRUE);
}

int CBrwsForFolderDlg::GetNumChildren(HTREEITEM hItem)
{
    if (!m_wndTree.GetSafeHwnd())
        return 0;
    int nCount = 0;
    for (HTREEITEM hChild = m_wndTree.GetChildItem(hItem); hChild; hChild = m_wndTree.GetNextSiblingItem(hChild))
        ++nCount;
    return nCount;
}

void CBrwsForFolderDlg::SetInitialFolder(const CString& strPath)
{
    m_strInitialFolder = strPath;
}

void CBrwsForFolderDlg::SetHistory(const wchar_t* pszSection, const wchar_t* pszEntry, int nMax)
{
    m_nHistoryMax = nMax < 0 ? 0 : (nMax > kBrwsHistoryLimit ? kBrwsHistoryLimit : nMax);
    m_strHistorySection = pszSection;
    m_strHistoryEntry = pszEntry;
}

void CBrwsForFolderDlg::SetFavoritesHistory(const wchar_t* pszSection, const wchar_t* pszEntry)
{
    m_strFavoritesSection = pszSection;
    m_strFavoritesEntry = pszEntry;
}

void CBrwsForFolderDlg::SetSaveStartPlacement(int bSave, const wchar_t* pszSection, const wchar_t* pszEntry)
{
    m_bSavePlacement = bSave;
    m_strPlacementSection = pszSection;
    m_strPlacementEntry = pszEntry;
}

int CBrwsForFolderDlg::GetSaveStartPlacement()
{
    return m_bSavePlacement;
}

void CBrwsForFolderDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_BRWS_SPECIAL_FOLDERS, m_btnSpecialFolders);
    DDX_Control(pDX, IDC_BRWS_NEW_FOLDER, m_btnNewFolder);
    DDX_Control(pDX, IDC_BRWS_FOLDER_TREE, m_wndTree);
    DDX_Control(pDX, IDC_BRWS_LOCATE, m_btnLocate);
    DDX_Text(pDX, IDC_BRWS_FOLDER_PROMPT, m_strPrompt);
}

// ---- message map -------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CBrwsForFolderDlg, CDialog)
    ON_NOTIFY(TVN_BEGINLABELEDITW, IDC_BRWS_FOLDER_TREE, &CBrwsForFolderDlg::OnBeginlabeleditTree)
    ON_NOTIFY(TVN_ENDLABELEDITW, IDC_BRWS_FOLDER_TREE, &CBrwsForFolderDlg::OnEndlabeleditTree)
    ON_NOTIFY(TVN_DELETEITEMW, IDC_BRWS_FOLDER_TREE, &CBrwsForFolderDlg::OnDeleteitem)
    ON_NOTIFY(TVN_ITEMEXPANDINGW, IDC_BRWS_FOLDER_TREE, &CBrwsForFolderDlg::OnItemexpandingTree)
    ON_NOTIFY(TVN_SELCHANGEDW, IDC_BRWS_FOLDER_TREE, &CBrwsForFolderDlg::OnSelchangedTree)
    ON_NOTIFY(TVN_GETDISPINFOW, IDC_BRWS_FOLDER_TREE, &CBrwsForFolderDlg::OnGetdispinfoTree)
    ON_CBN_EDITCHANGE(IDC_BRWS_FOLDER_FIELD, &CBrwsForFolderDlg::OnEditchangeFolders)
    ON_CBN_SELCHANGE(IDC_BRWS_FOLDER_FIELD, &CBrwsForFolderDlg::OnSelchangeFolders)
    ON_NOTIFY(TVN_KEYDOWN, IDC_BRWS_FOLDER_TREE, &CBrwsForFolderDlg::OnKeydownTree)
    ON_NOTIFY(NM_SETFOCUS, IDC_BRWS_FOLDER_TREE, &CBrwsForFolderDlg::OnSetfocusTree)
    ON_NOTIFY(NM_KILLFOCUS, IDC_BRWS_FOLDER_TREE, &CBrwsForFolderDlg::OnKillfocusTree)
    ON_NOTIFY(NM_CLICK, IDC_BRWS_FOLDER_TREE, &CBrwsForFolderDlg::OnClickTree)
    ON_BN_CLICKED(IDC_BRWS_LOCATE, &CBrwsForFolderDlg::OnBLocate)
    ON_BN_CLICKED(IDC_BRWS_NEW_FOLDER, &CBrwsForFolderDlg::OnBNewFolder)
    ON_BN_CLICKED(IDC_BRWS_SPECIAL_FOLDERS, &CBrwsForFolderDlg::OnBSpecialFolders)
    ON_WM_DESTROY()
    ON_WM_SIZE()
    ON_WM_GETMINMAXINFO()
    ON_EN_CHANGE(IDC_BRWS_FOLDER_FIELD, &CBrwsForFolderDlg::OnEditchangeFolders)
    ON_MESSAGE(kBrwsMsgRenamed, &CBrwsForFolderDlg::OnFolderRenamed)
    ON_MESSAGE(WM_USER, &CBrwsForFolderDlg::OnFolderChanged)
END_MESSAGE_MAP()

// ---- icons and tooltips -------------------------------------------------------------

namespace {

HICON LoadButtonIcon(UINT nID, int cx)
{
    LPCWSTR pszName = MAKEINTRESOURCEW(nID);
    HINSTANCE hInst = AfxFindResourceHandle(pszName, RT_GROUP_ICON);
    return static_cast<HICON>(::LoadImageW(hInst, pszName, IMAGE_ICON, cx, cx, LR_DEFAULTCOLOR));
}

} // namespace

int BrwsButtonDpi()
{
    int nDpi = 96;
    if (HDC hdc = ::GetDC(nullptr))
    {
        nDpi = ::GetDeviceCaps(hdc, LOGPIXELSX);
        ::ReleaseDC(nullptr, hdc);
    }
    const CString strExe =
        ReadWholeText([](LPWSTR pszBuffer, DWORD cch) { return ::GetModuleFileNameW(nullptr, pszBuffer, cch); });
    const int nSlash = strExe.ReverseFind(L'\\');
    if (nSlash >= 0)
    {
        const CString strIni = strExe.Left(nSlash) + L"\\u32comm.ini";
        const int nRatio = static_cast<int>(::GetPrivateProfileIntW(L"XUIDPI", L"DPIXRatio", -1, strIni));
        if (nRatio >= 1)
            nDpi = nRatio * 96;
    }
    return nDpi;
}

int BrwsButtonIconSize(int nDpi)
{
    const int cxWanted = ::MulDiv(16, nDpi, 96);
    int cx = kButtonIconSizes[0];
    for (int cxSize : kButtonIconSizes)
    {
        if (cxSize <= cxWanted)
            cx = cxSize;
    }
    return cx;
}

void CBrwsForFolderDlg::CreateButtonImages()
{
    CZarnResourceManager resources(CString(BRWSUTIL_MODULE_KEY));
    const int cx = BrwsButtonIconSize(BrwsButtonDpi());
    m_hNewFolderIcon = LoadButtonIcon(IDI_BRWS_NEW_FOLDER, cx);
    m_hLocateIcon = LoadButtonIcon(IDI_BRWS_LOCATE, cx);
    m_hSpecialFoldersIcon = LoadButtonIcon(IDI_BRWS_SPECIAL_FOLDERS, cx);
}

void CBrwsForFolderDlg::CreateToolTips()
{
    if (!m_wndToolTips.Create(this))
        return;
    m_wndToolTips.AddTool(&m_btnLocate, IDS_BRWS_TIP_LOCATE);
    m_wndToolTips.AddTool(&m_cbFolders, IDS_BRWS_TIP_FOLDER_FIELD);
    m_wndToolTips.AddTool(&m_btnNewFolder, IDS_BRWS_TIP_NEW_FOLDER);
    m_wndToolTips.AddTool(&m_btnSpecialFolders, IDS_BRWS_TIP_SPECIAL_FOLDERS);
    m_wndToolTips.Activate(TRUE);
}

// ---- initialisation --------------------------------------------------------------------

bool CBrwsForFolderDlg::PolicyHidesHistory() const
{
    CShellPolicyCache policies;
    return policies.NoRecentDocsHistory() || policies.NoFileMru();
}

// Without a history there is nothing to drop down, so the field becomes a
// plain edit of the same size at the same place in the tab order.
void CBrwsForFolderDlg::RemoveFolderFieldList()
{
    HWND hPrev = ::GetWindow(m_cbFolders.m_hWnd, GW_HWNDPREV);
    CRect rc;
    m_cbFolders.GetWindowRect(&rc);
    ScreenToClient(&rc);
    DWORD dwStyle = m_cbFolders.GetStyle();
    m_cbFolders.DestroyWindow();
    dwStyle = (dwStyle & ~static_cast<DWORD>(CBS_DROPDOWN | CBS_DROPDOWNLIST)) | CBS_SIMPLE;
    if (!m_cbFolders.CreateEx(0, L"COMBOBOX", nullptr, dwStyle, rc, this, IDC_BRWS_FOLDER_FIELD))
        return;
    m_cbFolders.SendMessage(WM_SETFONT, SendMessage(WM_GETFONT, 0, 0), FALSE);
    ::SetWindowPos(m_cbFolders.m_hWnd, hPrev ? hPrev : HWND_TOP, 0, 0, 0, 0,
                   SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
}

BOOL CBrwsForFolderDlg::OnInitDialog()
{
    CWaitCursor wait;
    CDialog::OnInitDialog();
    m_cbFolders.SubclassDlgItem(IDC_BRWS_FOLDER_FIELD, this);
    if (PolicyHidesHistory())
        RemoveFolderFieldList();
    if (m_pCompletion)
        m_pCompletion->Attach(m_cbFolders.GetSafeHwnd());
    // Before anything moves: the template's layout is what resizing follows.
    if (m_pLayout)
        m_pLayout->Attach(*this, kBrowseLayout);

    if (m_strHistorySection.IsEmpty() || m_strHistoryEntry.IsEmpty())
    {
        m_strHistorySection = L"BFF";
        m_strHistoryEntry = L"FolderHistory";
    }
    if (m_strFavoritesSection.IsEmpty() || m_strFavoritesEntry.IsEmpty())
    {
        m_strFavoritesSection = m_strHistorySection;
        m_strFavoritesEntry = m_strHistoryEntry + L"Fav";
    }
    ReadHistory();
    ReadFavoritesHistory();

    CreateButtonImages();
    if (m_hLocateIcon)
        m_btnLocate.SetIcon(m_hLocateIcon);
    if (m_hNewFolderIcon)
        m_btnNewFolder.SetIcon(m_hNewFolderIcon);
    if (m_hSpecialFoldersIcon)
        m_btnSpecialFolders.SetIcon(m_hSpecialFoldersIcon);

    {
        CZarnResourceManager resources(CString(BRWSUTIL_MODULE_KEY));
        if (m_strPrompt.IsEmpty())
            m_strPrompt.LoadString(IDS_BRWS_FOLDER_PROMPT);
        if (m_strNotFileSystemMsg.IsEmpty())
            m_strNotFileSystemMsg.LoadString(IDS_BRWS_NOT_FILE_SYSTEM);
        UpdateData(FALSE);
        CreateToolTips();
        UpdateButtons();
        m_cbFolders.SetFocus();
        OnInitTree();
        m_bTreeReady = 1;
        if (!m_strTitle.IsEmpty())
            SetWindowText(m_strTitle);
        if (m_bSavePlacement)
            PlaceStartWindow();
    }
    return FALSE;
}

// The stored rectangle gives the window its place and size; one smaller than
// the template (stored at a lower resolution, say) grows to the template's
// size. One that touches no part of the monitor nearest to it is centred on
// that monitor, whichever corner of the desktop the monitor has.
void CBrwsForFolderDlg::PlaceStartWindow()
{
    GetWindowRect(&m_rcStart);
    ReadStartPlacement();
    if (m_pLayout)
        m_pLayout->EnsureMinimum(m_rcStart);
    RECT& rc = m_rcStart;
    POINT ptCentre = {(rc.right - rc.left) / 2 + rc.left, (rc.bottom - rc.top) / 2 + rc.top};
    MONITORINFO mi = {sizeof(mi)};
    HMONITOR hMonitor = ::MonitorFromPoint(ptCentre, MONITOR_DEFAULTTONEAREST);
    if (hMonitor && ::GetMonitorInfoW(hMonitor, &mi))
    {
        const RECT& rcMon = mi.rcMonitor;
        bool bTouches = rc.right >= rcMon.left && rc.left <= rcMon.right && rc.bottom >= rcMon.top &&
                        rc.top <= rcMon.bottom;
        if (!bTouches)
            BrwsCentreOnMonitor(rc, rcMon);
    }
    MoveWindow(rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, TRUE);
}

void BrwsCentreOnMonitor(RECT& rc, const RECT& rcMonitor)
{
    int w = rc.right - rc.left;
    int h = rc.bottom - rc.top;
    rc.left = rcMonitor.left + (rcMonitor.right - rcMonitor.left) / 2 - w / 2;
    rc.top = rcMonitor.top + (rcMonitor.bottom - rcMonitor.top) / 2 - h / 2;
    rc.right = rc.left + w;
    rc.bottom = rc.top + h;
}

void CBrwsForFolderDlg::OnInitTree()
{
    m_wndTree.ModifyStyle(0, TVS_HASBUTTONS | TVS_HASLINES | TVS_EDITLABELS);
    m_bSuppressSelection = 1;
    if (!m_pTree)
    {
        m_bSuppressSelection = 0;
        return;
    }
    m_pTree->Initialize(&m_wndTree, m_hWnd, 0);
    m_bTreeReady = 1;

    HTREEITEM hItem = nullptr;
    if (m_pInitialFolder)
    {
        CBFolder* pFolder = m_pInitialFolder;
        m_pInitialFolder = nullptr;
        hItem = m_pTree->FindOrAddFolder(pFolder, TRUE, nullptr);
    }
    if (!hItem && !m_strInitialFolder.IsEmpty())
    {
        if (CBFolder* pFolder = CreateFolderOfPath(m_hWnd, m_strInitialFolder))
            hItem = m_pTree->FindOrAddFolder(pFolder, TRUE, nullptr);
    }
    if (!hItem && m_cbFolders.GetSafeHwnd() && m_cbFolders.GetCount() > 0)
    {
        m_cbFolders.SetCurSel(0);
        CString strText;
        m_cbFolders.GetWindowText(strText);
        if (CBFolder* pFolder = CreateFolderOfPath(m_hWnd, strText))
            hItem = m_pTree->FindOrAddFolder(pFolder, TRUE, nullptr);
    }
    if (!hItem)
    {
        m_bSuppressSelection = 0;
        return;
    }
    m_hCurrentItem = hItem;
    m_cbFolders.SetWindowText(GetItemPath(hItem));
    UpdateButtons();
    if (m_wndTree.Select(hItem, TVGN_FIRSTVISIBLE))
    {
        m_hCurrentItem = hItem;
        m_wndTree.Select(hItem, TVGN_CARET);
        m_wndTree.SetFocus();
    }
    m_bSuppressSelection = 0;
}

// ---- current item and result folder ------------------------------------------------------

CString CBrwsForFolderDlg::GetItemPath(HTREEITEM hItem)
{
    CBFolder* pFolder = m_pTree && hItem ? m_pTree->GetItemFolder(hItem) : nullptr;
    return pFolder ? pFolder->m_strPath : CString();
}

void CBrwsForFolderDlg::SetCurrentItem(HTREEITEM hItem)
{
    if (!m_bTreeReady)
    {
        m_hCurrentItem = nullptr;
        return;
    }
    m_hCurrentItem = hItem;
    if (hItem)
        m_cbFolders.SetWindowText(GetItemPath(hItem));
    UpdateButtons();
}

int CBrwsForFolderDlg::GotoFolder(CBFolder* pFolder)
{
    HTREEITEM hItem = m_pTree ? m_pTree->FindOrAddFolder(pFolder, TRUE, nullptr) : nullptr;
    if (!m_pTree)
        delete pFolder;
    if (!hItem)
        return FALSE;
    if (m_bTreeReady)
    {
        m_hCurrentItem = hItem;
        m_cbFolders.SetWindowText(GetItemPath(hItem));
        UpdateButtons();
    }
    else
    {
        m_hCurrentItem = nullptr;
    }
    if (m_wndTree.Select(hItem, TVGN_FIRSTVISIBLE))
        m_wndTree.Select(hItem, TVGN_CARET);
    return TRUE;
}

int CBrwsForFolderDlg::GotoFolder(const wchar_t* pszPath)
{
    m_cbFolders.SetWindowText(pszPath);
    CBFolder* pFolder = CreateFolderFromEditText();
    if (!pFolder)
        return FALSE;
    return GotoFolder(pFolder);
}

CBFolder* CBrwsForFolderDlg::CreateFolderFromEditText()
{
    CString strText;
    m_cbFolders.GetWindowText(strText);
    CWnd* pParent = GetParent();
    return CreateFolderOfPath(pParent ? pParent->m_hWnd : nullptr, strText);
}

// A folder typed or remembered may lie on a drive or share that does not
// answer: it is asked with the wait cursor up, for no longer than the tree
// waits for a listing, and then counts as a folder the dialog cannot reach.
CBFolder* CBrwsForFolderDlg::CreateFolderOfPath(HWND hwndOwner, const CString& strPath)
{
    if (strPath.IsEmpty())
        return nullptr;
    CWaitCursor wait;
    return CreateShellFolderWithin(hwndOwner, strPath, m_pTree ? m_pTree->GetListingTimeLimit() : INFINITE);
}

void CBrwsForFolderDlg::SetResultFolder(CBFolder* pFolder, bool bOwned)
{
    if (m_pResultFolder == pFolder)
    {
        m_bResultOwned = bOwned;
        return;
    }
    if (m_bResultOwned)
        delete m_pResultFolder;
    m_pResultFolder = pFolder;
    m_bResultOwned = bOwned;
}

void CBrwsForFolderDlg::UpdateCurrentFolder()
{
    if (m_hCurrentItem)
        SetResultFolder(m_pTree ? m_pTree->GetItemFolder(m_hCurrentItem) : nullptr, false);
    else
        SetResultFolder(CreateFolderFromEditText(), true);
}

int CBrwsForFolderDlg::UpdateVerifyCurrentFolder()
{
    UpdateCurrentFolder();
    if (!m_pResultFolder)
    {
        RefuseFieldText();
        return FALSE;
    }
    if (m_pResultFolder->m_strPath.IsEmpty())
    {
        RefuseNotFileSystem();
        return FALSE;
    }
    return TRUE;
}

void CBrwsForFolderDlg::RefuseNotFileSystem()
{
    if (!m_strNotFileSystemMsg.IsEmpty())
        AfxMessageBox(m_strNotFileSystemMsg, MB_OK);
    else
        ::MessageBeep(MB_ICONEXCLAMATION);
}

// The field's text made no folder. A folder that is there on disk but out of
// the shell's reach (a path too long for it) is refused as one outside the
// file system; a path to nothing gets the beep.
void CBrwsForFolderDlg::RefuseFieldText()
{
    CString strText;
    m_cbFolders.GetWindowText(strText);
    if (!strText.IsEmpty() && !DoesFileNotExist(strText))
        RefuseNotFileSystem();
    else
        ::MessageBeep(MB_ICONEXCLAMATION);
}

void CBrwsForFolderDlg::UpdateButtons()
{
    CBFolder* pFolder = m_hCurrentItem && m_pTree ? m_pTree->GetItemFolder(m_hCurrentItem) : nullptr;
    BOOL bOk;
    if (m_hCurrentItem)
        bOk = pFolder && !pFolder->m_strPath.IsEmpty();
    else
        bOk = m_cbFolders.GetSafeHwnd() && m_cbFolders.GetWindowTextLength() > 0;
    if (CWnd* pOk = GetDlgItem(IDOK))
        pOk->EnableWindow(bOk);
    BOOL bNew = !m_bNoNewFolder && pFolder && pFolder->m_nKind == eBKindShell && !pFolder->m_strPath.IsEmpty();
    if (m_btnNewFolder.GetSafeHwnd())
        m_btnNewFolder.EnableWindow(bNew);
}

// ---- handlers -----------------------------------------------------------------------------

void CBrwsForFolderDlg::OnSelchangeFolders()
{
    OnEditchangeFolders();
}

void CBrwsForFolderDlg::OnEditchangeFolders()
{
    m_hCurrentItem = nullptr;
    if (m_bTreeReady)
        UpdateButtons();
}

void CBrwsForFolderDlg::OnSelchangedTree(NMHDR* pNMHDR, LRESULT* pResult)
{
    *pResult = 0;
    if (m_bSuppressSelection || !m_pTree)
        return;
    NMTREEVIEWW* pNM = reinterpret_cast<NMTREEVIEWW*>(pNMHDR);
    *pResult = m_pTree->OnSelChanged(pNM);
    SetCurrentItem(pNM->itemNew.hItem);
}

void CBrwsForFolderDlg::OnItemexpandingTree(NMHDR* pNMHDR, LRESULT* pResult)
{
    *pResult = m_pTree ? m_pTree->OnItemExpanding(reinterpret_cast<NMTREEVIEWW*>(pNMHDR)) : 0;
}

void CBrwsForFolderDlg::OnDeleteitem(NMHDR* pNMHDR, LRESULT* pResult)
{
    NMTREEVIEWW* pNM = reinterpret_cast<NMTREEVIEWW*>(pNMHDR);
    // The tree's folder goes with its item: never keep pointing at it.
    if (m_pTree && !m_bResultOwned && m_pResultFolder && m_pResultFolder == m_pTree->GetItemFolder(pNM->itemOld.hItem))
        SetResultFolder(CopyBFolder(m_pResultFolder), true);
    if (pNM->itemOld.hItem == m_hCurrentItem)
        m_hCurrentItem = nullptr;
    *pResult = m_pTree ? m_pTree->OnDeleteItem(pNM) : 0;
}

void CBrwsForFolderDlg::OnGetdispinfoTree(NMHDR* pNMHDR, LRESULT* pResult)
{
    *pResult = m_pTree ? m_pTree->OnGetDispInfo(reinterpret_cast<NMTVDISPINFOW*>(pNMHDR)) : 0;
}

void CBrwsForFolderDlg::OnSetfocusTree(NMHDR*, LRESULT* pResult)
{
    *pResult = 0;
}

void CBrwsForFolderDlg::OnKillfocusTree(NMHDR*, LRESULT* pResult)
{
    *pResult = 0;
}

void CBrwsForFolderDlg::OnClickTree(NMHDR*, LRESULT* pResult)
{
    *pResult = 0;
}

// The tree's monitoring threads post WM_USER with the item in lParam. The
// dialog manager's DM_GETDEFID has the same number, sent with lParam 0: that
// one is the dialog's own.
LRESULT CBrwsForFolderDlg::OnFolderChanged(WPARAM wParam, LPARAM lParam)
{
    if (!lParam || !m_pTree)
        return Default();
    return m_pTree->OnChangeNotification(wParam, lParam);
}

BOOL CBrwsForFolderDlg::PreTranslateMessage(MSG* pMsg)
{
    if (m_wndToolTips.GetSafeHwnd())
        m_wndToolTips.RelayEvent(pMsg);
    if (m_bLabelEditing && pMsg->message == WM_KEYDOWN &&
        (pMsg->wParam == VK_RETURN || pMsg->wParam == VK_ESCAPE))
    {
        m_wndTree.PostMessage(TVM_ENDEDITLABELNOW, pMsg->wParam == VK_ESCAPE, 0);
        return TRUE;
    }
    // With the suggestions open, Enter takes one and Escape closes them: the
    // dialog manager would press OK or Cancel instead.
    const bool bFieldKey = m_cbFolders.GetSafeHwnd() && ::GetParent(pMsg->hwnd) == m_cbFolders.m_hWnd;
    if (bFieldKey && pMsg->message == WM_KEYDOWN && (pMsg->wParam == VK_RETURN || pMsg->wParam == VK_ESCAPE) &&
        m_pCompletion && m_pCompletion->IsListShown())
    {
        ::TranslateMessage(pMsg);
        ::DispatchMessageW(pMsg);
        return TRUE;
    }
    if (!m_bLabelEditing && HandleNavigationKey(pMsg))
        return TRUE;
    return CDialog::PreTranslateMessage(pMsg);
}

// F5 anywhere in the dialog reads the selected folder again; Alt+Up in the
// tree goes to the parent folder, as in the system's own folder views
// (Backspace does so already: the tree control's own key). TRUE when the key
// was one of them.
bool CBrwsForFolderDlg::HandleNavigationKey(MSG* pMsg)
{
    const WPARAM vk = pMsg->wParam;
    if (pMsg->message == WM_KEYDOWN && vk == VK_F5 && (pMsg->hwnd == m_hWnd || ::IsChild(m_hWnd, pMsg->hwnd)))
    {
        RefreshSelectedFolder();
        return true;
    }
    if (pMsg->hwnd != m_wndTree.GetSafeHwnd())
        return false;
    // Alt+Up arrives as a system key: Alt is down while it is pressed.
    if (pMsg->message != WM_SYSKEYDOWN || vk != VK_UP)
        return false;
    GotoParentFolder();
    return true;
}

void CBrwsForFolderDlg::GotoParentFolder()
{
    HTREEITEM hSelected = m_wndTree.GetSelectedItem();
    HTREEITEM hParent = hSelected ? m_wndTree.GetParentItem(hSelected) : nullptr;
    if (!hParent)
        return;
    // The selection notification makes it the current item.
    m_wndTree.Select(hParent, TVGN_CARET);
    m_wndTree.EnsureVisible(hParent);
}

void CBrwsForFolderDlg::RefreshSelectedFolder()
{
    HTREEITEM hSelected = m_wndTree.GetSafeHwnd() ? m_wndTree.GetSelectedItem() : nullptr;
    if (hSelected && m_pTree)
        m_pTree->RefreshItem(hSelected);
}

void CBrwsForFolderDlg::OnSize(UINT nType, int cx, int cy)
{
    CDialog::OnSize(nType, cx, cy);
    if (m_pLayout)
        m_pLayout->Arrange(cx, cy);
}

void CBrwsForFolderDlg::OnGetMinMaxInfo(MINMAXINFO* pInfo)
{
    CDialog::OnGetMinMaxInfo(pInfo);
    if (m_pLayout)
        m_pLayout->LimitTracking(pInfo);
}

void CBrwsForFolderDlg::OnBLocate()
{
    CWaitCursor wait;
    CBFolder* pFolder = CreateFolderFromEditText();
    if (!pFolder)
    {
        RefuseFieldText();
        return;
    }
    HTREEITEM hItem = m_pTree ? m_pTree->FindOrAddFolder(pFolder, TRUE, nullptr) : nullptr;
    if (!m_pTree)
        delete pFolder;
    if (!hItem)
    {
        ::MessageBeep(MB_ICONEXCLAMATION);
        return;
    }
    m_wndTree.ShowWindow(SW_HIDE);
    m_wndTree.EnsureVisible(hItem);
    m_bSuppressSelection = 1;
    m_wndTree.Select(hItem, TVGN_CARET);
    m_bSuppressSelection = 0;
    m_wndTree.ShowWindow(SW_SHOW);
    SetCurrentItem(hItem);
    m_wndTree.SetFocus();
}

void CBrwsForFolderDlg::OnOK()
{
    if (!UpdateVerifyCurrentFolder())
        return;
    WriteHistory(TRUE);
    if (m_bSavePlacement)
        WriteStartPlacement();
    CDialog::OnOK();
}

void CBrwsForFolderDlg::OnCancel()
{
    WriteHistory(FALSE);
    CDialog::OnCancel();
}

void CBrwsForFolderDlg::OnDestroy()
{
    if (m_hCurrentItem && m_pTree)
    {
        CBFolder* pFolder = m_pTree->GetItemFolder(m_hCurrentItem);
        SetResultFolder(pFolder ? CopyBFolder(pFolder) : nullptr, true);
    }
    else if (m_pResultFolder && !m_bResultOwned)
    {
        SetResultFolder(CopyBFolder(m_pResultFolder), true);
    }
    m_hCurrentItem = nullptr;
    m_bSuppressSelection = 1;
    if (m_pTree)
        m_pTree->Destroy();
    CDialog::OnDestroy();
}
