// The browse-for-folder dialog's special-folders menu, its favourites and the
// remove dialog, driven through the real dialog and checked in the window and
// in the profile.
#include "BrowseDialogEnv.h"
#include "RegistryScope.h"

#include <shlobj.h>

using namespace browsedlg_test;

namespace {

struct MenuItem
{
    UINT command;
    std::wstring text;
    bool greyed;
};

// The visible popup menu window of this thread.
HWND MenuWindow()
{
    HWND hFound = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND hWnd, LPARAM lParam) -> BOOL {
            wchar_t szClass[16] = {};
            GetClassNameW(hWnd, szClass, 16);
            if (lstrcmpW(szClass, L"#32768") != 0 || !IsWindowVisible(hWnd))
                return TRUE;
            *reinterpret_cast<HWND*>(lParam) = hWnd;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&hFound));
    return hFound ? hFound : FindWindowW(L"#32768", nullptr);
}

// (command, text, greyed) of each item of a menu; separators have command 0
// and popups command -1.
std::vector<MenuItem> MenuItems(HMENU hMenu)
{
    std::vector<MenuItem> items;
    for (UINT i = 0; i < static_cast<UINT>(GetMenuItemCount(hMenu)); ++i)
    {
        wchar_t buffer[MAX_PATH] = {};
        GetMenuStringW(hMenu, i, buffer, MAX_PATH, MF_BYPOSITION);
        // A separator of an extended template may carry a command of its own.
        MENUITEMINFOW info = {sizeof(info), MIIM_FTYPE};
        GetMenuItemInfoW(hMenu, i, TRUE, &info);
        UINT command = (info.fType & MFT_SEPARATOR) ? 0 : GetMenuItemID(hMenu, static_cast<int>(i));
        items.push_back({command, buffer, (GetMenuState(hMenu, i, MF_BYPOSITION) & MF_GRAYED) != 0});
    }
    return items;
}

// The open popup menu of this thread, or null.
HMENU OpenPopupMenu()
{
    return reinterpret_cast<HMENU>(SendMessageW(MenuWindow(), MN_GETHMENU, 0, 0));
}

// Adds to the script: click the special-folders button, then (inside the
// menu) look at it with inspect when given and choose command with the arrow
// keys and Enter; command 0 closes the menu.
DialogDriver& ChooseFromMenu(DialogDriver& driver, UINT command,
                             std::function<void(const std::vector<MenuItem>&)> inspect = nullptr)
{
    return driver.Then([](HWND hDlg) { DialogDriver::Click(hDlg, IDC_BRWS_SPECIAL_FOLDERS); })
        .Next([command, inspect](HWND) {
            ASSERT_NE(nullptr, OpenPopupMenu()) << "the menu did not open";
            if (inspect)
                inspect(MenuItems(OpenPopupMenu()));
            int downs = 0;
            for (const MenuItem& item : MenuItems(OpenPopupMenu()))
            {
                if (item.command != 0 && (++downs, item.command == command))
                {
                    for (; downs > 0; --downs)
                        DialogDriver::PostKey(MenuWindow(), VK_DOWN);
                    return DialogDriver::PostKey(MenuWindow(), VK_RETURN);
                }
            }
            EndMenu();
            EXPECT_EQ(0u, command) << "no such command in the menu";
        });
}

std::wstring StoredFavourites()
{
    return ProfileString(L"BFF", L"FolderHistoryFav");
}

// A step that checks the stored favourites.
std::function<void(HWND)> Stored(const std::wstring& value)
{
    return [value](HWND) { EXPECT_EQ(value, StoredFavourites()); };
}

// A step that checks that the dialog went to the folder.
std::function<void(HWND)> WentTo(const std::wstring& path)
{
    return [path](HWND hDlg) { EXPECT_TRUE(SamePath(path, Field(hDlg))) << Field(hDlg); };
}

// A step in the remove dialog: selects the lines and presses OK.
std::function<void(HWND)> Remove(std::vector<int> lines)
{
    return [lines](HWND hRemove) {
        for (int line : lines)
            DialogDriver::Select(hRemove, IDC_BRWS_FAVORITES_LIST, line);
        DialogDriver::Click(hRemove, IDOK);
    };
}

std::vector<UINT> Commands(const std::vector<MenuItem>& items)
{
    std::vector<UINT> commands;
    for (const MenuItem& item : items)
        commands.push_back(item.command);
    return commands;
}

} // namespace

// One dialog through the menu. Adding puts the current folder on top of the
// favourites (one there already, its path in another letter case, moves
// there). Favourites show as commands n..1, the extra folders number on after
// them, and a favourite, like the documents and temporary folders, takes the
// dialog to its folder. Under the NoPlacesBar policy the documents and
// temporary places and the extra folders go, each with its separator, and
// the favourites keep their commands. The remove dialog resizes like the browse dialog and
// removes favourites by their place in the list: of two that read alike, the
// one selected goes. The stored value follows each change at once; without
// favourites the remove command is greyed.
TEST_F(BrowseDialogTest, FavouritesAndSpecialFolders)
{
    const std::wstring red = MakeFolders(m_root, L"Red");
    const std::wstring blue = MakeFolders(m_root, L"Blue");
    const std::wstring extra = MakeFolders(m_root, L"extra");
    std::wstring upperRed = red;
    for (wchar_t& c : upperRed)
        c = static_cast<wchar_t>(towupper(c));
    const std::wstring twoQ = L"Q\nQ:\\q\nQ\nQ:\\q\n";
    SetProfileString(L"BFF", L"FolderHistoryFav", L"Old Red\n" + upperRed + L"\n" + twoQ);
    wchar_t szTemp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, szTemp);
    wchar_t szDocuments[MAX_PATH] = {};
    ASSERT_EQ(S_OK, SHGetFolderPathW(nullptr, CSIDL_PERSONAL, nullptr, 0, szDocuments));
    const std::vector<Follow> removeFollows = {
        {IDC_BRWS_FAVORITES_LIST, 0, 0, 1, 1},
        {IDOK, 1, 1, 1, 1},
        {IDCANCEL, 1, 1, 1, 1},
        {IDC_BRWS_SIZE_GRIP, 1, 1, 1, 1},
    };

    testing_support::ScopedRegistryValue noPlacesBar(
        L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Comdlg32", L"NoPlacesBar");
    CBrwsForFolderDlg dlg;
    dlg.SetInitialFolder(blue.c_str());
    dlg.m_lstExtraFolderNames.AddTail(L"Extra one");
    dlg.m_lstExtraFolderPaths.AddTail(extra.c_str());
    std::vector<MenuItem> firstMenu, extras, favourites, lastMenu;
    DialogDriver driver;
    ChooseFromMenu(driver, ID_BRWS_ADD_FAVORITE, [&](const std::vector<MenuItem>& items) {
        firstMenu = items;
        extras = MenuItems(GetSubMenu(OpenPopupMenu(), 0));
    }).Then([&](HWND hDlg) {
        EXPECT_EQ(L"Blue\n" + blue + L"\nOld Red\n" + upperRed + L"\n" + twoQ, StoredFavourites());
        DialogDriver::SetText(hDlg, IDC_BRWS_FOLDER_FIELD, red.c_str());
        DialogDriver::Click(hDlg, IDC_BRWS_LOCATE);
    });
    ChooseFromMenu(driver, ID_BRWS_ADD_FAVORITE).Then([&](HWND hDlg) {
        Stored(L"Red\n" + red + L"\nBlue\n" + blue + L"\n" + twoQ)(hDlg);
        ASSERT_TRUE(noPlacesBar.SetDword(1));
    });
    ChooseFromMenu(driver, 3, [&](const std::vector<MenuItem>& items) {
        favourites = items;
        noPlacesBar.Remove();
    }).Then(WentTo(blue));
    ChooseFromMenu(driver, ID_BRWS_GOTO_TEMP).Then(WentTo(szTemp));
    ChooseFromMenu(driver, ID_BRWS_GOTO_DOCUMENTS).Then(WentTo(szDocuments));
    ChooseFromMenu(driver, ID_BRWS_REMOVE_FAVORITES)
        .Then([&](HWND hRemove) {
            ASSERT_EQ(4, SendDlgItemMessageW(hRemove, IDC_BRWS_FAVORITES_LIST, LB_GETCOUNT, 0, 0));
            CheckResizing(hRemove, removeFollows, 90, 50);
            EXPECT_FALSE(Enabled(hRemove, IDOK));
            DialogDriver::Select(hRemove, IDC_BRWS_FAVORITES_LIST, 0);
            EXPECT_TRUE(Enabled(hRemove, IDOK));
            Remove({2})(hRemove);
        })
        .Then(Stored(L"Blue\n" + blue + L"\nQ\nQ:\\q\n"));
    ChooseFromMenu(driver, ID_BRWS_REMOVE_FAVORITES).Then(Remove({0, 1})).Then(Stored(L""));
    ChooseFromMenu(driver, 0, [&](const std::vector<MenuItem>& items) { lastMenu = items; })
        .Then([](HWND hDlg) { DialogDriver::Click(hDlg, IDCANCEL); });
    EXPECT_EQ(IDCANCEL, RunDialog(dlg, driver));

    EXPECT_EQ((std::vector<UINT>{static_cast<UINT>(-1), 0, ID_BRWS_GOTO_DOCUMENTS, ID_BRWS_GOTO_TEMP, 0, 3, 2, 1, 0,
                                 ID_BRWS_ADD_FAVORITE, ID_BRWS_REMOVE_FAVORITES}),
              Commands(firstMenu));
    ASSERT_EQ(11u, firstMenu.size());
    EXPECT_EQ(L"&Other Folders", firstMenu[0].text);
    EXPECT_FALSE(firstMenu[9].greyed || firstMenu[10].greyed) << "add and remove with a current item and favourites";
    ASSERT_EQ(1u, extras.size());
    EXPECT_EQ(4u, extras[0].command) << "after the three favourites";
    EXPECT_EQ(L"Extra one", extras[0].text);
    EXPECT_EQ((std::vector<UINT>{4, 3, 2, 1, 0, ID_BRWS_ADD_FAVORITE, ID_BRWS_REMOVE_FAVORITES}),
              Commands(favourites))
        << "under NoPlacesBar; the stored order, most recent first, numbered from the oldest";
    ASSERT_EQ(7u, favourites.size());
    const std::vector<std::wstring> names = {L"Red", L"Blue", L"Q", L"Q"};
    for (size_t i = 0; i < names.size(); ++i)
        EXPECT_EQ(names[i], favourites[i].text);
    ASSERT_EQ(7u, lastMenu.size()) << "no favourites, no separator after them";
    EXPECT_EQ(ID_BRWS_REMOVE_FAVORITES, lastMenu[6].command);
    EXPECT_TRUE(lastMenu[6].greyed) << "remove favourites without favourites";
}
