// New folders made from the browse-for-folder dialog and named in place: only
// the label of a folder the dialog has just made can be edited, and ending
// that edit renames the directory on disk.
#include "BrwsForFolderDlg.h"

#include "BrwsDriveTree.h"
#include "BrwsFolderFactory.h"
#include "BrwsModule.h"
#include "BrwsPathUtil.h"
#include "browsedlg/BrwsForFolderInternal.h"
#include "fileutil/NameRules.h"
#include "fileutil/PathInternal.h"
#include "resources/BrwsResourceIds.h"

int CreateUniqueFolder(const wchar_t* pszParent, CString& strName)
{
    CZarnResourceManager resources(CString(BRWSUTIL_MODULE_KEY));
    CString strBase(pszParent);
    AddPathBackslash(strBase);

    // Both names come from a translation: one that is not a plain name is
    // never tried, and a numbered pattern that fails the pattern check ends
    // the search, as for the names of copies.
    CString strTry;
    strTry.LoadString(IDS_BRWS_NEW_FOLDER_NAME);
    if (IsPlainFileName(strTry) && ::CreateDirectoryW(strBase + strTry, nullptr))
    {
        strName = strTry;
        return TRUE;
    }
    CString strFormat;
    strFormat.LoadString(IDS_BRWS_NEW_FOLDER_NUMBERED);
    for (int n = 2; n < 250; ++n)
    {
        if (!ExpandNamePattern(strFormat, nullptr, &n, strTry) || !IsPlainFileName(strTry))
            return FALSE;
        if (::CreateDirectoryW(strBase + strTry, nullptr))
        {
            strName = strTry;
            return TRUE;
        }
    }
    return FALSE;
}

void CBrwsForFolderDlg::ShowNewFolderFailure(const CString& strParent)
{
    CString strFormat;
    strFormat.LoadString(IDS_BRWS_NEW_FOLDER_FAILED);
    CString strMessage;
    strMessage.Format(strFormat, static_cast<LPCWSTR>(strParent));
    AfxMessageBox(strMessage, MB_OK);
}

void CBrwsForFolderDlg::OnBNewFolder()
{
    HTREEITEM hParent = m_wndTree.GetSelectedItem();
    if (!hParent || !m_pTree)
    {
        ::MessageBeep(static_cast<UINT>(-1));
        return;
    }
    CString strParent = GetItemPath(hParent);
    CString strName;
    if (!CreateUniqueFolder(strParent, strName))
    {
        ShowNewFolderFailure(strParent);
        return;
    }
    CString strNewPath = strParent;
    AddPathBackslash(strNewPath);
    strNewPath += strName;

    m_wndTree.SetFocus();
    CBFolder* pFolder = CreateShellFolder(m_hWnd, strNewPath);
    if (!pFolder)
    {
        ShowNewFolderFailure(strParent);
        return;
    }
    HTREEITEM hNew = m_pTree->AddFolder(pFolder);
    if (!hNew)
    {
        delete pFolder;
        ShowNewFolderFailure(strParent);
        return;
    }
    HTREEITEM hTreeParent = m_wndTree.GetParentItem(hNew);
    if (hTreeParent != hParent)
    {
        SetCurrentItem(hTreeParent);
        hParent = hTreeParent;
    }
    TVITEMW item = {};
    item.mask = TVIF_HANDLE | TVIF_CHILDREN;
    item.hItem = hParent;
    item.cChildren = 1;
    m_wndTree.SetItem(&item);
    if (m_wndTree.Select(hParent, TVGN_FIRSTVISIBLE))
    {
        m_wndTree.Select(hParent, TVGN_CARET);
        m_wndTree.Expand(hParent, TVE_EXPAND);
        if (m_wndTree.Select(hNew, TVGN_CARET))
        {
            m_bLabelEditAllowed = 1;
            m_wndTree.SendMessage(TVM_EDITLABELW, 0, reinterpret_cast<LPARAM>(hNew));
            m_bLabelEditAllowed = 0;
        }
    }
}

void CBrwsForFolderDlg::OnKeydownTree(NMHDR* pNMHDR, LRESULT* pResult)
{
    NMTVKEYDOWN* pKey = reinterpret_cast<NMTVKEYDOWN*>(pNMHDR);
    if (pKey->wVKey == VK_F2)
    {
        if (HTREEITEM hItem = m_wndTree.GetSelectedItem())
            m_wndTree.SendMessage(TVM_EDITLABELW, 0, reinterpret_cast<LPARAM>(hItem));
    }
    *pResult = 0;
}

void CBrwsForFolderDlg::OnBeginlabeleditTree(NMHDR* pNMHDR, LRESULT* pResult)
{
    NMTVDISPINFOW* pInfo = reinterpret_cast<NMTVDISPINFOW*>(pNMHDR);
    *pResult = TRUE;
    if (pInfo->item.hItem && m_bLabelEditAllowed)
    {
        *pResult = FALSE;
        m_bLabelEditing = 1;
        if (CWnd* pOk = GetDlgItem(IDOK))
            pOk->EnableWindow(FALSE);
        if (CWnd* pCancel = GetDlgItem(IDCANCEL))
            pCancel->EnableWindow(FALSE);
    }
}

void CBrwsForFolderDlg::OnEndlabeleditTree(NMHDR* pNMHDR, LRESULT* pResult)
{
    NMTVDISPINFOW* pInfo = reinterpret_cast<NMTVDISPINFOW*>(pNMHDR);
    *pResult = 0;
    // Hiding the finished editor takes its focus, and the tree then ends the
    // same edit again, committing whatever text it holds: only the first end
    // of an edit the dialog allowed counts (so Escape stays a cancel).
    if (!m_bLabelEditing)
        return;
    m_bLabelEditing = 0;
    // A label is a name inside the parent folder, under the same rule as
    // every file name: a separator, a drive colon or a dot name would move
    // the directory out of its parent folder.
    if (pInfo->item.pszText && IsPlainFileName(pInfo->item.pszText))
    {
        CString strOld = GetItemPath(pInfo->item.hItem);
        RemovePathTrailer_Br(strOld);
        int i = GetFileNameIndex(strOld);
        if (i > 0)
        {
            CString strNew = strOld.Left(i);
            AddPathBackslash(strNew);
            strNew += pInfo->item.pszText;
            BOOL bMoved = ::MoveFileW(strOld, strNew);
            if (bMoved)
            {
                // The tree still uses the item until this notification returns.
                m_strRenamedPath = strNew;
                PostMessage(kBrwsMsgRenamed, reinterpret_cast<WPARAM>(pInfo->item.hItem), 0);
            }
            *pResult = bMoved;
        }
    }
    if (CWnd* pOk = GetDlgItem(IDOK))
        pOk->EnableWindow(TRUE);
    if (CWnd* pCancel = GetDlgItem(IDCANCEL))
        pCancel->EnableWindow(TRUE);
    UpdateButtons();
}

LRESULT CBrwsForFolderDlg::OnFolderRenamed(WPARAM wParam, LPARAM)
{
    HTREEITEM hOld = reinterpret_cast<HTREEITEM>(wParam);
    CString strNew = m_strRenamedPath;
    m_strRenamedPath.Empty();
    if (strNew.IsEmpty() || !m_pTree)
        return 0;
    CBFolder* pFolder = CreateShellFolder(m_hWnd, strNew);
    // Without a folder for the new name the old item stays: its label
    // already shows the new name.
    if (!pFolder)
        return 0;
    m_wndTree.DeleteItem(hOld);
    HTREEITEM hNew = m_pTree->AddFolder(pFolder);
    if (!hNew)
    {
        delete pFolder;
        UpdateButtons();
        return 0;
    }
    SetCurrentItem(hNew);
    if (m_wndTree.Select(hNew, TVGN_FIRSTVISIBLE))
        m_wndTree.Select(hNew, TVGN_CARET);
    return 0;
}
