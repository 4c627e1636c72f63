#include "host/BrowserWindow.h"

#include "host/FolderPicker.h"

#include <BrwsFolderFactory.h>
#include <shlobj.h>

#include <memory>

namespace {

const int kMargin = 8;
const int kRowHeight = 23;
const int kGap = 6;
const int kLabelWidth = 46;
const int kFilterWidth = 150;
const int kButtonWidth = 84;
const int kBrowseButtonWidth = 35;  // as the field itself places it
const wchar_t kMainSection[] = L"Main window";

// A list of new file objects that the file operations hand back; the
// objects are deleted with the list.
struct COwnedFileList
{
    COwnedFileList() = default;
    ~COwnedFileList() { FreeBFileList(&list); }
    COwnedFileList(const COwnedFileList&) = delete;
    COwnedFileList& operator=(const COwnedFileList&) = delete;
    CBFileList list;
};

CString DocumentsFolder()
{
    wchar_t path[MAX_PATH] = {};
    if (FAILED(::SHGetFolderPathW(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, path)))
        return CString();
    return CString(path);
}

bool IsFolder(const CString& strPath)
{
    const DWORD dwAttributes = ::GetFileAttributesW(strPath);
    return dwAttributes != INVALID_FILE_ATTRIBUTES && (dwAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

HFONT CreateMessageFont()
{
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof(metrics);
    if (::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0))
        return ::CreateFontIndirectW(&metrics.lfMessageFont);
    return nullptr;
}

} // namespace

// --- CHostPathField ----------------------------------------------------------

BEGIN_MESSAGE_MAP(CHostPathField, CEditWithBrowse)
    ON_EN_SETFOCUS(ID_EDIT, &CHostPathField::OnEditSetFocus)
    ON_BN_CLICKED(ID_BROWSE, &CHostPathField::OnBrowseClicked)
END_MESSAGE_MAP()

void CHostPathField::OnEditSetFocus()
{
    if (!m_bInModalEdit)
        GetParent()->PostMessage(WM_HOST_EDIT_PATH, FALSE, 0);
}

void CHostPathField::OnBrowseClicked()
{
    // Outside its edit loop the field ignores its button; the window starts
    // the loop and presses the button again inside it.
    if (m_bInModalEdit)
        OnButtonClicked();
    else
        GetParent()->PostMessage(WM_HOST_EDIT_PATH, TRUE, 0);
}

// --- CBrowserWindow ----------------------------------------------------------

BEGIN_MESSAGE_MAP(CBrowserWindow, CWnd)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_SIZE()
    ON_WM_GETMINMAXINFO()
    ON_BN_CLICKED(IDC_HOST_COPY, &CBrowserWindow::OnCopy)
    ON_BN_CLICKED(IDC_HOST_MOVE, &CBrowserWindow::OnMove)
    ON_BN_CLICKED(IDC_HOST_DUPLICATE, &CBrowserWindow::OnDuplicate)
    ON_BN_CLICKED(IDC_HOST_RENAME, &CBrowserWindow::OnRename)
    ON_BN_CLICKED(IDC_HOST_DELETE, &CBrowserWindow::OnDelete)
    ON_EN_CHANGE(IDC_HOST_FILTER, &CBrowserWindow::OnFilterChange)
    // The drive tree controller acts only on what its owner routes to it.
    ON_NOTIFY(TVN_ITEMEXPANDINGW, IDC_HOST_TREE, &CBrowserWindow::OnTreeItemExpanding)
    ON_NOTIFY(TVN_DELETEITEMW, IDC_HOST_TREE, &CBrowserWindow::OnTreeDeleteItem)
    ON_NOTIFY(TVN_GETDISPINFOW, IDC_HOST_TREE, &CBrowserWindow::OnTreeGetDispInfo)
    ON_NOTIFY(TVN_SELCHANGEDW, IDC_HOST_TREE, &CBrowserWindow::OnTreeSelChanged)
    ON_MESSAGE(WM_USER, &CBrowserWindow::OnFolderChanged)
    ON_NOTIFY(LVN_BEGINLABELEDITW, IDC_HOST_FILES, &CBrowserWindow::OnFilesBeginLabelEdit)
    ON_NOTIFY(LVN_ENDLABELEDITW, IDC_HOST_FILES, &CBrowserWindow::OnFilesEndLabelEdit)
    ON_NOTIFY(LVN_KEYDOWN, IDC_HOST_FILES, &CBrowserWindow::OnFilesKeyDown)
    ON_MESSAGE(WM_HOST_EDIT_PATH, &CBrowserWindow::OnEditPath)
    ON_MESSAGE(WM_HOST_REFRESH_FILES, &CBrowserWindow::OnRefreshFiles)
END_MESSAGE_MAP()

CBrowserWindow::CBrowserWindow() : m_bEditingPath(false)
{
}

CBrowserWindow::~CBrowserWindow()
{
    DestroyWindow();
}

bool CBrowserWindow::CreateBrowser(const CString& strFolder)
{
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_TREEVIEW_CLASSES | ICC_LISTVIEW_CLASSES};
    ::InitCommonControlsEx(&controls);
    LPCWSTR pszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorW(nullptr, IDC_ARROW),
                                           reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1),
                                           ::LoadIconW(nullptr, IDI_APPLICATION));
    if (!CreateEx(WS_EX_CONTROLPARENT, pszClass, L"Tark Browse Host", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                  40, 40, 1000, 640, nullptr, nullptr))
        return false;

    CString strLast = AfxGetApp()->GetProfileString(kMainSection, L"Folder", L"");
    const CString candidates[] = {strFolder, strLast, DocumentsFolder()};
    for (const CString& strCandidate : candidates)
    {
        if (!strCandidate.IsEmpty() && GotoFolder(strCandidate))
            break;
    }
    m_wndTree.SetFocus();
    return true;
}

int CBrowserWindow::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    m_font.Reset(CreateMessageFont());
    const CRect rcNone(0, 0, 10, 10);
    const DWORD dwChild = WS_CHILD | WS_VISIBLE;
    if (!m_wndFolderLabel.Create(L"Folder:", dwChild | SS_LEFT, rcNone, this, IDC_HOST_FOLDER_LABEL) ||
        !m_wndPath.Create(this, CRect(0, 0, 300, kRowHeight), dwChild | WS_TABSTOP,
                          WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, IDC_HOST_PATH) ||
        !m_wndTree.CreateEx(WS_EX_CLIENTEDGE,
                            dwChild | WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT |
                                TVS_SHOWSELALWAYS,
                            rcNone, this, IDC_HOST_TREE) ||
        !m_wndFilterLabel.Create(L"Filter:", dwChild | SS_LEFT, rcNone, this, IDC_HOST_FILTER_LABEL) ||
        !m_wndFilter.CreateEx(WS_EX_CLIENTEDGE, L"EDIT", nullptr, dwChild | WS_TABSTOP | ES_AUTOHSCROLL, rcNone,
                              this, IDC_HOST_FILTER) ||
        !m_btnCopy.Create(L"Copy to...", dwChild | WS_TABSTOP, rcNone, this, IDC_HOST_COPY) ||
        !m_btnMove.Create(L"Move to...", dwChild | WS_TABSTOP, rcNone, this, IDC_HOST_MOVE) ||
        !m_btnDuplicate.Create(L"Duplicate", dwChild | WS_TABSTOP, rcNone, this, IDC_HOST_DUPLICATE) ||
        !m_btnRename.Create(L"Rename", dwChild | WS_TABSTOP, rcNone, this, IDC_HOST_RENAME) ||
        !m_btnDelete.Create(L"Delete", dwChild | WS_TABSTOP, rcNone, this, IDC_HOST_DELETE) ||
        !m_files.Create(this, rcNone, IDC_HOST_FILES))
        return -1;

    CWnd* controls[] = {&m_wndFolderLabel, &m_wndTree, &m_wndFilterLabel, &m_wndFilter, &m_btnCopy,
                        &m_btnMove, &m_btnDuplicate, &m_btnRename, &m_btnDelete, &m_files.Window()};
    const WPARAM font = reinterpret_cast<WPARAM>(m_font.Get());
    for (CWnd* pControl : controls)
        pControl->SendMessage(WM_SETFONT, font, FALSE);
    m_wndPath.SendMessage(WM_SETFONT, font, FALSE);
    m_wndPath.GetEdit().SendMessage(WM_SETFONT, font, FALSE);
    m_wndPath.SetBrowseCallback(&CBrowserWindow::BrowseForPath);
    m_wndFilter.SendMessage(EM_SETCUEBANNER, FALSE, reinterpret_cast<LPARAM>(L"*.jpg"));

    // Only file-system folders and their ancestors: the host lists files.
    m_driveTree.Initialize(&m_wndTree, m_hWnd, FALSE);
    return 0;
}

void CBrowserWindow::OnDestroy()
{
    // The controller needs the tree window to let go of its items and threads.
    m_driveTree.Destroy();
    if (!CurrentFolder().IsEmpty())
        AfxGetApp()->WriteProfileString(kMainSection, L"Folder", CurrentFolder());
    if (AfxGetApp()->m_pMainWnd == this)
    {
        AfxGetApp()->m_pMainWnd = nullptr;
        ::PostQuitMessage(0);
    }
    CWnd::OnDestroy();
}

BOOL CBrowserWindow::PreTranslateMessage(MSG* pMsg)
{
    // Tab and the arrow keys move between the controls as in a dialog.
    return ::IsDialogMessageW(m_hWnd, pMsg);
}

void CBrowserWindow::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    if (nType != SIZE_MINIMIZED && m_wndTree.GetSafeHwnd() != nullptr)
        LayOut(cx, cy);
}

void CBrowserWindow::OnGetMinMaxInfo(MINMAXINFO* pInfo)
{
    pInfo->ptMinTrackSize.x = 760;
    pInfo->ptMinTrackSize.y = 400;
}

void CBrowserWindow::LayOut(int cx, int cy)
{
    m_wndFolderLabel.MoveWindow(kMargin, kMargin + 4, kLabelWidth, kRowHeight - 4);
    const int xPath = kMargin + kLabelWidth;
    const int cxPath = cx - kMargin - xPath;
    m_wndPath.MoveWindow(xPath, kMargin, cxPath, kRowHeight);
    // The field does not lay out its children again when it is resized.
    m_wndPath.GetEdit().MoveWindow(0, 0, cxPath - kBrowseButtonWidth, kRowHeight);
    if (CWnd* pButton = m_wndPath.GetDlgItem(CEditWithBrowse::ID_BROWSE))
        pButton->MoveWindow(cxPath - kBrowseButtonWidth, 0, kBrowseButtonWidth, kRowHeight);

    const int yBody = kMargin + kRowHeight + kGap;
    const int cxTree = cx * 3 / 10 > 220 ? cx * 3 / 10 : 220;
    m_wndTree.MoveWindow(kMargin, yBody, cxTree, cy - kMargin - yBody);

    int x = kMargin + cxTree + kGap;
    const int xList = x;
    m_wndFilterLabel.MoveWindow(x, yBody + 4, 36, kRowHeight - 4);
    x += 38;
    m_wndFilter.MoveWindow(x, yBody, kFilterWidth, kRowHeight);
    x += kFilterWidth + 2 * kGap;
    CButton* buttons[] = {&m_btnCopy, &m_btnMove, &m_btnDuplicate, &m_btnRename, &m_btnDelete};
    for (CButton* pButton : buttons)
    {
        pButton->MoveWindow(x, yBody, kButtonWidth, kRowHeight);
        x += kButtonWidth + kGap;
    }
    const int yList = yBody + kRowHeight + kGap;
    m_files.Window().MoveWindow(xList, yList, cx - kMargin - xList, cy - kMargin - yList);
}

bool CBrowserWindow::GotoFolder(const CString& strPath)
{
    if (!IsFolder(strPath))
        return false;
    CBFolder* pFolder = CreateShellFolder(m_hWnd, static_cast<LPCWSTR>(strPath));
    if (pFolder == nullptr)
        return false;
    // The controller keeps or deletes the folder, found or not.
    HTREEITEM hItem = m_driveTree.FindOrAddFolder(pFolder, TRUE, nullptr);
    if (hItem == nullptr)
        return false;
    m_wndTree.SelectItem(hItem);
    m_wndTree.Expand(hItem, TVE_EXPAND);
    m_wndTree.EnsureVisible(hItem);
    // Making the item visible scrolls the tree sideways too, which hides the
    // lines that show where a deep folder sits; keep the left edge in view
    // whenever the name still fits.
    m_wndTree.SendMessage(WM_HSCROLL, SB_LEFT, 0);
    CRect rcItem;
    CRect rcTree;
    m_wndTree.GetClientRect(&rcTree);
    if (TreeView_GetItemRect(m_wndTree.GetSafeHwnd(), hItem, &rcItem, TRUE) && rcItem.right > rcTree.right)
        m_wndTree.EnsureVisible(hItem);
    return true;
}

void CBrowserWindow::ShowFolderOfItem(HTREEITEM hItem)
{
    CBFolder* pFolder = m_driveTree.GetItemFolder(hItem);
    CString strFilter;
    m_wndFilter.GetWindowText(strFilter);
    const CString strPath = pFolder != nullptr ? pFolder->m_strPath : CString();
    m_files.ShowFolder(strPath, strFilter);
    m_wndPath.SetEditText(strPath.IsEmpty() && pFolder != nullptr ? pFolder->m_strName : strPath);
    SetWindowText(strPath.IsEmpty() ? CString(L"Tark Browse Host") : L"Tark Browse Host - " + strPath);
    const BOOL bFiles = !strPath.IsEmpty();
    CButton* buttons[] = {&m_btnCopy, &m_btnMove, &m_btnDuplicate, &m_btnRename, &m_btnDelete};
    for (CButton* pButton : buttons)
        pButton->EnableWindow(bFiles);
}

// --- The folder tree -----------------------------------------------------------

void CBrowserWindow::OnTreeItemExpanding(NMHDR* pNMHDR, LRESULT* pResult)
{
    *pResult = m_driveTree.OnItemExpanding(reinterpret_cast<NMTREEVIEWW*>(pNMHDR));
}

void CBrowserWindow::OnTreeDeleteItem(NMHDR* pNMHDR, LRESULT* pResult)
{
    *pResult = m_driveTree.OnDeleteItem(reinterpret_cast<NMTREEVIEWW*>(pNMHDR));
}

void CBrowserWindow::OnTreeGetDispInfo(NMHDR* pNMHDR, LRESULT* pResult)
{
    *pResult = m_driveTree.OnGetDispInfo(reinterpret_cast<NMTVDISPINFOW*>(pNMHDR));
}

void CBrowserWindow::OnTreeSelChanged(NMHDR* pNMHDR, LRESULT* pResult)
{
    *pResult = m_driveTree.OnSelChanged(reinterpret_cast<NMTREEVIEWW*>(pNMHDR));
    ShowFolderOfItem(reinterpret_cast<NMTREEVIEWW*>(pNMHDR)->itemNew.hItem);
}

LRESULT CBrowserWindow::OnFolderChanged(WPARAM wParam, LPARAM lParam)
{
    return m_driveTree.OnChangeNotification(wParam, lParam);
}

// --- The path field --------------------------------------------------------------

LRESULT CBrowserWindow::OnEditPath(WPARAM wParam, LPARAM)
{
    RunPathEdit(wParam != FALSE);
    return 0;
}

void CBrowserWindow::RunPathEdit(bool bBrowseFirst)
{
    // Setting the focus inside the loop reports itself again.
    if (m_bEditingPath)
        return;
    m_bEditingPath = true;
    if (bBrowseFirst)
    {
        if (CWnd* pButton = m_wndPath.GetDlgItem(CEditWithBrowse::ID_BROWSE))
            pButton->PostMessage(BM_CLICK);
    }
    const bool bCommitted = m_wndPath.DoModalEdit();
    m_bEditingPath = false;
    if (!::IsWindow(m_hWnd))
        return;
    const CString strTyped = m_wndPath.GetEditText();
    const bool bStillInField = ::GetFocus() == m_wndPath.GetEdit().GetSafeHwnd();
    if (bCommitted && strTyped.CompareNoCase(CurrentFolder()) != 0 && !GotoFolder(strTyped))
    {
        CString strMessage;
        strMessage.Format(L"There is no folder \"%s\".", static_cast<LPCWSTR>(strTyped));
        AfxMessageBox(strMessage, MB_ICONEXCLAMATION);
    }
    m_wndPath.SetEditText(CurrentFolder());
    // Enter and Escape leave the focus in the field, where a click would no
    // longer start an edit.
    if (bStillInField)
        m_wndTree.SetFocus();
}

bool CBrowserWindow::BrowseForPath(CString& strText, CEditWithBrowse& control)
{
    CString strChosen;
    if (!PickFolder(control.GetParent(), strText, L"Go to folder", strChosen))
        return false;
    strText = strChosen;
    // A folder picked in the dialog is opened at once, as if typed and
    // confirmed with Enter.
    control.SetEndModalEditFlag();
    return true;
}

// --- The file commands -------------------------------------------------------------

void CBrowserWindow::OnCopy()
{
    CopySelection(true);
}

void CBrowserWindow::OnMove()
{
    CopySelection(false);
}

void CBrowserWindow::OnDuplicate()
{
    DuplicateSelection();
}

void CBrowserWindow::OnRename()
{
    RenameSelection();
}

void CBrowserWindow::OnDelete()
{
    DeleteSelection(::GetKeyState(VK_SHIFT) >= 0);
}

void CBrowserWindow::OnFilterChange()
{
    CString strFilter;
    m_wndFilter.GetWindowText(strFilter);
    m_files.SetFilter(strFilter);
}

const CBFolder* CBrowserWindow::GetSelection(CBFileList& files)
{
    m_files.GetSelectedFiles(files);
    const CBFolder* pFolder = m_driveTree.GetCurrentFolder();
    if (files.IsEmpty() || pFolder == nullptr || pFolder->m_strPath.IsEmpty())
    {
        ::MessageBeep(MB_ICONWARNING);
        return nullptr;
    }
    return pFolder;
}

void CBrowserWindow::CopySelection(bool bCopy)
{
    CBFileList files;
    const CBFolder* pSource = GetSelection(files);
    if (pSource == nullptr)
        return;
    CString strDestination;
    if (!PickFolder(this, CString(), bCopy ? L"Copy to folder" : L"Move to folder", strDestination))
        return;
    std::unique_ptr<CBFolder> pDestination(CreateShellFolder(m_hWnd, static_cast<LPCWSTR>(strDestination)));
    if (pDestination == nullptr)
    {
        ::MessageBeep(MB_ICONWARNING);
        return;
    }
    COwnedFileList made;
    CErrorAutoThrow result = CopyBFiles(bCopy, m_hWnd, pSource, files, pDestination.get(), nullptr, &made.list);
    ReportFailure(result, bCopy ? L"Copying" : L"Moving");
    m_files.Refresh();
}

void CBrowserWindow::DuplicateSelection()
{
    CBFileList files;
    const CBFolder* pFolder = GetSelection(files);
    if (pFolder == nullptr)
        return;
    COwnedFileList made;
    CErrorAutoThrow result = CopyBFiles(TRUE, m_hWnd, pFolder, files, pFolder, nullptr, &made.list);
    ReportFailure(result, L"Duplicating");
    CStringList copies;
    for (POSITION pos = made.list.GetHeadPosition(); pos != nullptr;)
        copies.AddTail(made.list.GetNext(pos)->m_strName);
    m_files.Refresh(&copies);
}

void CBrowserWindow::DeleteSelection(bool bToRecycleBin)
{
    CBFileList files;
    const CBFolder* pFolder = GetSelection(files);
    if (pFolder == nullptr)
        return;
    CErrorAutoThrow result = DeleteBFiles(m_hWnd, pFolder, files, nullptr, bToRecycleBin);
    ReportFailure(result, L"Deleting");
    m_files.Refresh();
}

void CBrowserWindow::RenameSelection()
{
    if (!m_files.BeginRename())
        ::MessageBeep(MB_ICONWARNING);
}

void CBrowserWindow::OnFilesBeginLabelEdit(NMHDR*, LRESULT* pResult)
{
    *pResult = FALSE;
}

void CBrowserWindow::OnFilesEndLabelEdit(NMHDR* pNMHDR, LRESULT* pResult)
{
    *pResult = FALSE;
    const NMLVDISPINFOW* pInfo = reinterpret_cast<NMLVDISPINFOW*>(pNMHDR);
    if (pInfo->item.pszText == nullptr)
        return;  // cancelled
    LVITEMW item = {};
    item.mask = LVIF_PARAM;
    item.iItem = pInfo->item.iItem;
    const CBFile* pFile = ListView_GetItem(m_files.Window().GetSafeHwnd(), &item) ? m_files.FileOfItem(item.lParam) : nullptr;
    const CBFolder* pFolder = m_driveTree.GetCurrentFolder();
    const CString strNewName(pInfo->item.pszText);
    if (pFile == nullptr || pFolder == nullptr || strNewName == pFile->m_strName)
        return;

    CBFile* pRenamed = nullptr;
    CErrorAutoThrow result = RenameBFile(m_hWnd, pFolder, *pFile, strNewName, &pRenamed);
    std::unique_ptr<CBFile> renamed(pRenamed);
    // The library has told the user already when the file was gone.
    if (result != ZEC_FILES_NOT_FOUND)
        ReportFailure(result, L"Renaming");
    m_lstPendingSelection.RemoveAll();
    m_lstPendingSelection.AddTail(renamed != nullptr ? renamed->m_strName : pFile->m_strName);
    // The list is read again once the edit is over; it cannot lose its items
    // while it still ends the edit.
    PostMessage(WM_HOST_REFRESH_FILES);
    *pResult = renamed != nullptr;
}

LRESULT CBrowserWindow::OnRefreshFiles(WPARAM, LPARAM)
{
    m_files.Refresh(&m_lstPendingSelection);
    m_lstPendingSelection.RemoveAll();
    return 0;
}

void CBrowserWindow::OnFilesKeyDown(NMHDR* pNMHDR, LRESULT* pResult)
{
    *pResult = 0;
    switch (reinterpret_cast<NMLVKEYDOWN*>(pNMHDR)->wVKey)
    {
    case VK_DELETE:
        DeleteSelection(::GetKeyState(VK_SHIFT) >= 0);
        break;
    case VK_F2:
        RenameSelection();
        break;
    case VK_F5:
        m_files.Refresh();
        break;
    }
}

void CBrowserWindow::ReportFailure(const CErrorAutoThrow& result, const wchar_t* pszWhat)
{
    if (!result.HasError() || result == ZEC_USER_STOPPED)
        return;
    const CZException* pError = result.GetException();
    CString strMessage;
    strMessage.Format(L"%s did not complete (error %d).", pszWhat, static_cast<int>(result.GetErrorCode()));
    if (pError != nullptr && *pError->GetText() != L'\0')
    {
        strMessage += L"\n\n";
        strMessage += pError->GetText();
    }
    AfxMessageBox(strMessage, MB_ICONEXCLAMATION);
}
