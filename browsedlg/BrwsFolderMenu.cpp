// The Special-folders button's menu: the documents and temporary folders, the
// favourites (numbered commands 1..n), the caller's extra folders, and adding
// and removing favourites. The template's first submenu is edited by position.
#include "BrwsForFolderDlg.h"

#include "BrwsDriveTree.h"
#include "BrwsFolderFactory.h"
#include "BrwsIDList.h"
#include "BrwsShellSettings.h"
#include "browsedlg/BrwsForFolderInternal.h"
#include "fileutil/PathInternal.h"
#include "resources/BrwsResourceIds.h"
#include "shellmodel/ShellHolders.h"

namespace {

void Beep()
{
    ::MessageBeep(MB_ICONEXCLAMATION);
}

// Item 0 of the template labels the extra-folders popup; the favourites go
// in before its last two items; without favourites it keeps six items.
constexpr int kSubmenuItemsWithoutFavorites = 6;

} // namespace

void CBrwsForFolderDlg::OnBSpecialFolders()
{
    CMenu menu;
    if (!menu.LoadMenu(IDR_BRWS_SPECIAL_FOLDERS))
    {
        Beep();
        return;
    }
    CMenu* pSub = menu.GetSubMenu(0);
    if (!pSub)
    {
        Beep();
        return;
    }
    const int c0 = pSub->GetMenuItemCount();
    CStringList lstPaths(10);

    bool bFavorites = false;
    INT_PTR nFavorites = m_lstFavoriteNames.GetCount();
    if (nFavorites != 0 && nFavorites == m_lstFavoritePaths.GetCount())
    {
        // Each insertion lands before the previous one, so walking from the
        // tail leaves the favourites in list order, most recent first.
        POSITION posName = m_lstFavoriteNames.GetTailPosition();
        POSITION posPath = m_lstFavoritePaths.GetTailPosition();
        while (posName && posPath)
        {
            const CString& strName = m_lstFavoriteNames.GetPrev(posName);
            lstPaths.AddTail(m_lstFavoritePaths.GetPrev(posPath));
            pSub->InsertMenu(static_cast<UINT>(c0 - 2), MF_BYPOSITION | MF_STRING,
                             static_cast<UINT_PTR>(lstPaths.GetCount()), strName);
        }
        pSub->InsertMenu(static_cast<UINT>(pSub->GetMenuItemCount() - 2), MF_BYPOSITION | MF_SEPARATOR);
        bFavorites = true;
    }
    else
    {
        while (pSub->GetMenuItemCount() > kSubmenuItemsWithoutFavorites)
            pSub->RemoveMenu(static_cast<UINT>(pSub->GetMenuItemCount() - 2), MF_BYPOSITION);
    }

    CShellPolicyCache policies;
    const bool bNoPlacesBar = policies.NoPlacesBar();
    if (bNoPlacesBar)
    {
        pSub->RemoveMenu(1, MF_BYPOSITION);
        pSub->RemoveMenu(1, MF_BYPOSITION);
    }

    INT_PTR nExtra = m_lstExtraFolderNames.GetCount();
    CMenu popup;
    if (nExtra != 0 && nExtra == m_lstExtraFolderPaths.GetCount() && !bNoPlacesBar && popup.CreatePopupMenu())
    {
        POSITION posName = m_lstExtraFolderNames.GetHeadPosition();
        POSITION posPath = m_lstExtraFolderPaths.GetHeadPosition();
        while (posName && posPath)
        {
            const CString& strName = m_lstExtraFolderNames.GetNext(posName);
            lstPaths.AddTail(m_lstExtraFolderPaths.GetNext(posPath));
            popup.AppendMenu(MF_STRING, static_cast<UINT_PTR>(lstPaths.GetCount()), strName);
        }
        if (m_strExtraFoldersLabel.IsEmpty())
            pSub->GetMenuString(0, m_strExtraFoldersLabel, MF_BYPOSITION);
        pSub->RemoveMenu(0, MF_BYPOSITION);
        // The submenu owns the popup from here on.
        pSub->InsertMenu(0, MF_BYPOSITION | MF_POPUP, reinterpret_cast<UINT_PTR>(popup.Detach()),
                         m_strExtraFoldersLabel);
        pSub->InsertMenu(1, MF_BYPOSITION | MF_SEPARATOR);
    }
    else
    {
        pSub->RemoveMenu(0, MF_BYPOSITION);
        if (bNoPlacesBar)
            pSub->RemoveMenu(0, MF_BYPOSITION);
    }

    bool bCanAdd = m_hCurrentItem != nullptr;
    if (bCanAdd)
    {
        UpdateCurrentFolder();
        bCanAdd = m_pResultFolder && !m_pResultFolder->m_strPath.IsEmpty();
    }
    if (!bCanAdd)
        pSub->EnableMenuItem(ID_BRWS_ADD_FAVORITE, MF_BYCOMMAND | MF_DISABLED | MF_GRAYED);
    if (!bFavorites)
        pSub->EnableMenuItem(ID_BRWS_REMOVE_FAVORITES, MF_BYCOMMAND | MF_DISABLED | MF_GRAYED);

    CRect rcButton;
    m_btnSpecialFolders.GetWindowRect(&rcButton);
    UINT nCommand = static_cast<UINT>(pSub->TrackPopupMenu(TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON,
                                                           rcButton.left, rcButton.bottom, GetParent()));

    CString strPath;
    if (nCommand == 0)
        return;
    if (nCommand == ID_BRWS_REMOVE_FAVORITES)
    {
        DoRemoveFavorites();
        return;
    }
    if (nCommand == ID_BRWS_ADD_FAVORITE)
    {
        UpdateCurrentFolder();
        if (!m_pResultFolder || m_pResultFolder->m_strPath.IsEmpty())
            return;
        CString strName = m_pResultFolder->m_strName;
        strPath = m_pResultFolder->m_strPath;
        int nIndex = 0;
        for (POSITION pos = m_lstFavoritePaths.GetHeadPosition(); pos; ++nIndex)
        {
            if (m_lstFavoritePaths.GetNext(pos).CompareNoCase(strPath) == 0)
            {
                m_lstFavoriteNames.RemoveAt(m_lstFavoriteNames.FindIndex(nIndex));
                m_lstFavoritePaths.RemoveAt(m_lstFavoritePaths.FindIndex(nIndex));
                break;
            }
        }
        m_lstFavoriteNames.AddHead(strName);
        m_lstFavoritePaths.AddHead(strPath);
        WriteFavoritesHistory();
        m_wndTree.SetFocus();
        return;
    }

    int bShown = FALSE;
    if (nCommand == ID_BRWS_GOTO_DOCUMENTS)
    {
        CWnd* pParent = GetParent();
        HWND hParent = pParent ? pParent->m_hWnd : nullptr;
        CTaskMemHolder<ITEMIDLIST> pidl;
        if (FAILED(::SHGetSpecialFolderLocation(hParent, CSIDL_PERSONAL, pidl.Receive())) || !pidl)
        {
            Beep();
            return;
        }
        CBFolder* pFolder = CreateShellFolder(hParent, pidl.Get(), true);
        if (!pFolder)
        {
            Beep();
            return;
        }
        pidl.Detach();
        bShown = GotoFolder(pFolder);
    }
    else if (nCommand == ID_BRWS_GOTO_TEMP)
    {
        strPath = ReadWholeText([](LPWSTR pszBuffer, DWORD cch) { return ::GetTempPathW(cch, pszBuffer); });
        bShown = !strPath.IsEmpty() && GotoFolder(strPath);
    }
    else if (nCommand >= 1 && nCommand <= static_cast<UINT>(lstPaths.GetCount()))
    {
        strPath = lstPaths.GetAt(lstPaths.FindIndex(static_cast<INT_PTR>(nCommand) - 1));
        bShown = !strPath.IsEmpty() && GotoFolder(strPath);
    }
    if (bShown)
        m_wndTree.SetFocus();
    else
        Beep();
}
