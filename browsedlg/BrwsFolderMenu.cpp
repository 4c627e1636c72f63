// The Special-folders button's menu: the documents and temporary folders, the
// favourites (numbered commands 1..n), the caller's extra folders, and adding
// and removing favourites. Every item of the template is found by its command:
// placeholders mark where the run-time items go, and each group leaves with the
// separator that ends it when it is not shown.
#include "BrwsForFolderDlg.h"

#include "BrwsDriveTree.h"
#include "BrwsFolderFactory.h"
#include "BrwsIDList.h"
#include "BrwsShellSettings.h"
#include "browsedlg/BrwsForFolderInternal.h"
#include "fileutil/PathInternal.h"
#include "module/Holders.h"
#include "resources/BrwsResourceIds.h"

#include <initializer_list>
#include <vector>

namespace {

void Beep()
{
    ::MessageBeep(MB_ICONEXCLAMATION);
}

void RemoveItems(CMenu& menu, std::initializer_list<UINT> commands)
{
    for (UINT nCommand : commands)
        menu.RemoveMenu(nCommand, MF_BYCOMMAND);
}

// The path that the run-time command nCommand (1, 2, ...) goes to is
// commandPaths[nCommand - 1]: favourites first, from the oldest, then the
// extra folders.
using CommandPaths = std::vector<CString>;

// Puts the favourites, most recent first, before the separator that ends them;
// without favourites that separator goes. TRUE when there were favourites.
bool AddFavoriteItems(CMenu& menu, const CArray<CBrwsFavorite, const CBrwsFavorite&>& favorites,
                      CommandPaths& commandPaths)
{
    const INT_PTR nFavorites = favorites.GetSize();
    if (nFavorites == 0)
    {
        RemoveItems(menu, {ID_BRWS_FAVORITES_END});
        return false;
    }
    for (INT_PTR i = nFavorites - 1; i >= 0; --i)
        commandPaths.push_back(favorites[i].m_strPath);
    for (INT_PTR i = 0; i < nFavorites; ++i)
        menu.InsertMenu(ID_BRWS_FAVORITES_END, MF_BYCOMMAND | MF_STRING, static_cast<UINT_PTR>(nFavorites - i),
                        favorites[i].m_strName);
    return true;
}

// Puts the extra folders into a popup in the placeholder's place, under its
// label (remembered in strLabel for later showings). FALSE, with the menu
// unchanged, when there are none (or the two lists differ in length) or the
// popup cannot be made.
bool AddExtraFolderItems(CMenu& menu, const CStringList& lstNames, const CStringList& lstPaths, CString& strLabel,
                         CommandPaths& commandPaths)
{
    CMenu popup;
    if (lstNames.IsEmpty() || lstNames.GetCount() != lstPaths.GetCount() || !popup.CreatePopupMenu())
        return false;
    POSITION posName = lstNames.GetHeadPosition();
    POSITION posPath = lstPaths.GetHeadPosition();
    while (posName && posPath)
    {
        commandPaths.push_back(lstPaths.GetNext(posPath));
        popup.AppendMenu(MF_STRING, commandPaths.size(), lstNames.GetNext(posName));
    }
    if (strLabel.IsEmpty())
        menu.GetMenuString(ID_BRWS_EXTRA_FOLDERS, strLabel, MF_BYCOMMAND);
    // The menu owns the popup from here on.
    menu.ModifyMenu(ID_BRWS_EXTRA_FOLDERS, MF_BYCOMMAND | MF_POPUP | MF_STRING,
                    reinterpret_cast<UINT_PTR>(popup.Detach()), strLabel);
    return true;
}

} // namespace

void CBrwsForFolderDlg::OnBSpecialFolders()
{
    CMenu menu;
    CMenu* pSub = menu.LoadMenu(IDR_BRWS_SPECIAL_FOLDERS) ? menu.GetSubMenu(0) : nullptr;
    if (!pSub)
    {
        Beep();
        return;
    }
    CommandPaths commandPaths;
    const bool bFavorites = AddFavoriteItems(*pSub, m_favorites, commandPaths);
    CShellPolicyCache policies;
    const bool bNoPlacesBar = policies.NoPlacesBar();
    if (bNoPlacesBar)
        RemoveItems(*pSub, {ID_BRWS_GOTO_DOCUMENTS, ID_BRWS_GOTO_TEMP, ID_BRWS_PLACES_END});
    if (bNoPlacesBar || !AddExtraFolderItems(*pSub, m_lstExtraFolderNames, m_lstExtraFolderPaths,
                                             m_strExtraFoldersLabel, commandPaths))
        RemoveItems(*pSub, {ID_BRWS_EXTRA_FOLDERS, ID_BRWS_EXTRA_FOLDERS_END});

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
    const UINT nCommand = static_cast<UINT>(pSub->TrackPopupMenu(TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON,
                                                                 rcButton.left, rcButton.bottom, GetParent()));
    if (nCommand == ID_BRWS_REMOVE_FAVORITES)
        DoRemoveFavorites();
    else if (nCommand == ID_BRWS_ADD_FAVORITE)
        AddCurrentFolderToFavorites();
    else if (nCommand != 0)
        GotoSpecialFolder(nCommand, commandPaths);
}

// A command that goes to a folder: the documents or temporary folder, or a
// favourite or extra folder (a number). Beeps for a folder that cannot be
// shown and for any other command.
void CBrwsForFolderDlg::GotoSpecialFolder(UINT nCommand, const std::vector<CString>& commandPaths)
{
    int bShown = FALSE;
    if (nCommand == ID_BRWS_GOTO_DOCUMENTS)
        bShown = GotoDocumentsFolder();
    else if (nCommand == ID_BRWS_GOTO_TEMP || (nCommand >= 1 && nCommand <= commandPaths.size()))
    {
        const CString strPath =
            nCommand == ID_BRWS_GOTO_TEMP
                ? ReadWholeText([](LPWSTR pszBuffer, DWORD cch) { return ::GetTempPathW(cch, pszBuffer); })
                : commandPaths[nCommand - 1];
        bShown = !strPath.IsEmpty() && GotoFolder(strPath);
    }
    if (bShown)
        m_wndTree.SetFocus();
    else
        Beep();
}

// A folder already among the favourites (its path in any letter case) moves to
// the top with its name of now; the stored favourites follow at once.
void CBrwsForFolderDlg::AddCurrentFolderToFavorites()
{
    UpdateCurrentFolder();
    if (!m_pResultFolder || m_pResultFolder->m_strPath.IsEmpty())
        return;
    const CBrwsFavorite favorite = {m_pResultFolder->m_strName, m_pResultFolder->m_strPath};
    for (INT_PTR i = 0; i < m_favorites.GetSize(); ++i)
    {
        if (m_favorites[i].m_strPath.CompareNoCase(favorite.m_strPath) == 0)
        {
            m_favorites.RemoveAt(i);
            break;
        }
    }
    m_favorites.InsertAt(0, favorite);
    WriteFavoritesHistory();
    m_wndTree.SetFocus();
}

// FALSE when the user's documents folder cannot be made, else what GotoFolder
// answers for it.
int CBrwsForFolderDlg::GotoDocumentsFolder()
{
    CWnd* pParent = GetParent();
    HWND hParent = pParent ? pParent->m_hWnd : nullptr;
    CIDListHolder pidl;
    if (FAILED(::SHGetSpecialFolderLocation(hParent, CSIDL_PERSONAL, pidl.Receive())) || !pidl)
        return FALSE;
    CBFolder* pFolder = CreateShellFolder(hParent, pidl.Get(), true);
    if (!pFolder)
        return FALSE;
    pidl.Detach();
    return GotoFolder(pFolder);
}
