// The browse-for-folder dialog's special-folders menu, its favourites and the
// remove dialog, and the window's size and place, driven through the real
// dialog and checked in the window and in the profile.
#include "BrowseDialogEnv.h"

#include <shlwapi.h>

using namespace browsedlg_test;

namespace {

// The visible popup menu window of this thread.
HWND MenuWindow() { return DialogDriver::ThreadWindow(L"#32768"); }

// A menu as a person reads it: the items' texts, "-" for a separator, a
// popup's items in brackets, "(greyed)" after a greyed item, and before the
// text of a folder of the run (a favourite or extra folder) its command.
std::wstring MenuText(HMENU hMenu)
{
    std::wstring text;
    for (int i = 0; i < GetMenuItemCount(hMenu); ++i)
    {
        wchar_t name[MAX_PATH] = {};
        GetMenuStringW(hMenu, static_cast<UINT>(i), name, MAX_PATH, MF_BYPOSITION);
        const UINT state = GetMenuState(hMenu, static_cast<UINT>(i), MF_BYPOSITION);
        const UINT command = GetMenuItemID(hMenu, i);
        text += i > 0 ? L" | " : L"";
        if (HMENU hPopup = GetSubMenu(hMenu, i))
            text += name + (L" [" + MenuText(hPopup) + L"]");
        else if (state & MF_SEPARATOR)
            text += L"-";
        else
            text += (command < 100 ? std::to_wstring(command) + L" " : L"") + name +
                    (state & MF_GRAYED ? L" (greyed)" : L"");
    }
    return text;
}

// Adds to the script: click the special-folders button, then inside the menu
// note it as read in pShown (when given) and choose command with the arrow
// keys and Enter; command 0 closes the menu.
DialogDriver& ChooseFromMenu(DialogDriver& driver, UINT command, std::wstring* pShown = nullptr)
{
    return driver.Then([](HWND hDlg) { DialogDriver::Click(hDlg, IDC_BRWS_SPECIAL_FOLDERS); })
        .Next([command, pShown](HWND) {
            const HMENU hMenu = reinterpret_cast<HMENU>(SendMessageW(MenuWindow(), MN_GETHMENU, 0, 0));
            ASSERT_NE(nullptr, hMenu) << "the menu did not open";
            if (pShown != nullptr)
                *pShown = MenuText(hMenu);
            for (int i = 0, downs = 0; i < GetMenuItemCount(hMenu); ++i)
            {
                downs += (GetMenuState(hMenu, static_cast<UINT>(i), MF_BYPOSITION) & MF_SEPARATOR) ? 0 : 1;
                if (command == 0 || GetMenuItemID(hMenu, i) != command) // a separator's is 0
                    continue;
                for (; downs > 0; --downs)
                    DialogDriver::PostKey(MenuWindow(), VK_DOWN);
                return DialogDriver::PostKey(MenuWindow(), VK_RETURN);
            }
            EndMenu();
            EXPECT_EQ(0u, command) << "no such command in the menu";
        });
}

// How a control moves and grows when its dialog grows by (dx, dy): the
// factors of dx and dy for its left, top, right and bottom edges.
struct Follow { int id, left, top, right, bottom; };
// A window's rectangle as edges (left, top, right, bottom): on the screen,
// or in the client area of hParent when given.
std::vector<LONG> Edges(HWND hWnd, HWND hParent = nullptr)
{
    RECT rc = {};
    GetWindowRect(hWnd, &rc);
    MapWindowPoints(nullptr, hParent, reinterpret_cast<POINT*>(&rc), 2);
    return {rc.left, rc.top, rc.right, rc.bottom};
}

// Tries to make the dialog smaller than it is and checks that it cannot; then
// grows it by (dx, dy) and checks that every control followed.
void CheckResizing(HWND hDlg, const std::vector<Follow>& follows, int dx, int dy)
{
    const std::vector<LONG> start = Edges(hDlg);
    auto resize = [&](int cx, int cy) {
        MoveWindow(hDlg, start[0], start[1], start[2] - start[0] + cx, start[3] - start[1] + cy, TRUE);
    };
    resize(-60, -60);
    EXPECT_EQ(start, Edges(hDlg)) << "smaller than the template";
    std::vector<std::vector<LONG>> expected;
    for (const Follow& f : follows)
    {
        const std::vector<LONG> b = Edges(GetDlgItem(hDlg, f.id), hDlg);
        expected.push_back({b[0] + f.left * dx, b[1] + f.top * dy, b[2] + f.right * dx, b[3] + f.bottom * dy});
    }
    resize(dx, dy);
    for (size_t i = 0; i < follows.size(); ++i)
        EXPECT_EQ(expected[i], Edges(GetDlgItem(hDlg, follows[i].id), hDlg)) << "control " << follows[i].id;
}

// A step that checks the stored favourites.
auto Stored(const std::wstring& value)
{
    return [value](HWND) { EXPECT_EQ(value, ProfileString(L"BFF", L"FolderHistoryFav")); };
}

// A step that checks that the dialog went to the folder (the documents
// folder shows with a backslash at the end).
std::function<void(HWND)> WentTo(const std::wstring& path)
{
    return [path](HWND hDlg) { EXPECT_TRUE(Field(hDlg) == path || Field(hDlg) == path + L"\\") << Field(hDlg); };
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
    const std::wstring upperRed = CString(red.c_str()).MakeUpper().GetString();
    const std::wstring twoQ = L"Q\nQ:\\q\nQ\nQ:\\q\n";
    ASSERT_TRUE(theApp.WriteProfileString(L"BFF", L"FolderHistoryFav",
                                          (L"Old Red\n" + upperRed + L"\n" + twoQ).c_str()));
    wchar_t szTemp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, szTemp);
    PathRemoveBackslashW(szTemp);
    wchar_t szDocuments[MAX_PATH] = {};
    ASSERT_EQ(S_OK, SHGetFolderPathW(nullptr, CSIDL_PERSONAL, nullptr, 0, szDocuments));
    const std::vector<Follow> removeFollows = {{IDC_BRWS_FAVORITES_LIST, 0, 0, 1, 1}, {IDOK, 1, 1, 1, 1},
                                               {IDCANCEL, 1, 1, 1, 1}, {IDC_BRWS_SIZE_GRIP, 1, 1, 1, 1}};

    testing_support::ScopedRegistryValue noPlacesBar(kComdlg32Policies, L"NoPlacesBar");
    CBrwsForFolderDlg dlg;
    dlg.SetInitialFolder(blue.c_str());
    dlg.m_lstExtraFolderNames.AddTail(L"Extra one");
    dlg.m_lstExtraFolderPaths.AddTail(extra.c_str());
    std::wstring firstMenu, favouritesMenu, lastMenu;
    DialogDriver driver;
    ChooseFromMenu(driver, ID_BRWS_ADD_FAVORITE, &firstMenu).Then([&](HWND hDlg) {
        Stored(L"Blue\n" + blue + L"\nOld Red\n" + upperRed + L"\n" + twoQ)(hDlg);
        DialogDriver::SetText(hDlg, IDC_BRWS_FOLDER_FIELD, red.c_str());
        DialogDriver::Click(hDlg, IDC_BRWS_LOCATE);
    });
    ChooseFromMenu(driver, ID_BRWS_ADD_FAVORITE).Then([&](HWND hDlg) {
        Stored(L"Red\n" + red + L"\nBlue\n" + blue + L"\n" + twoQ)(hDlg);
        ASSERT_TRUE(noPlacesBar.SetDword(1));
    });
    ChooseFromMenu(driver, 3, &favouritesMenu).Then([&](HWND hDlg) {
        noPlacesBar.Remove();
        WentTo(blue)(hDlg);
    });
    ChooseFromMenu(driver, ID_BRWS_GOTO_TEMP).Then(WentTo(szTemp));
    ChooseFromMenu(driver, ID_BRWS_GOTO_DOCUMENTS).Then(WentTo(szDocuments));
    ChooseFromMenu(driver, ID_BRWS_REMOVE_FAVORITES)
        .Then([&](HWND hRemove) {
            ASSERT_EQ(4, SendDlgItemMessageW(hRemove, IDC_BRWS_FAVORITES_LIST, LB_GETCOUNT, 0, 0));
            CheckResizing(hRemove, removeFollows, 90, 50);
            EXPECT_FALSE(Enabled(hRemove, IDOK));
            DialogDriver::Select(hRemove, IDC_BRWS_FAVORITES_LIST, 0);
            EXPECT_TRUE(Enabled(hRemove, IDOK));
            DialogDriver::Select(hRemove, IDC_BRWS_FAVORITES_LIST, 2);
            DialogDriver::Click(hRemove, IDOK);
        })
        .Then(Stored(L"Blue\n" + blue + L"\nQ\nQ:\\q\n"));
    ChooseFromMenu(driver, ID_BRWS_REMOVE_FAVORITES)
        .Then([](HWND hRemove) {
            DialogDriver::Select(hRemove, IDC_BRWS_FAVORITES_LIST, 0);
            DialogDriver::Select(hRemove, IDC_BRWS_FAVORITES_LIST, 1);
            DialogDriver::Click(hRemove, IDOK);
        })
        .Then(Stored(L""));
    ChooseFromMenu(driver, 0, &lastMenu).Then([](HWND hDlg) { DialogDriver::Click(hDlg, IDCANCEL); });
    EXPECT_EQ(IDCANCEL, RunDialog(dlg, driver));

    const std::wstring places = L" | - | My &Documents | &Temporary Files | - | ";
    const std::wstring adding = L"&Add Current Folder to Favorites | &Remove Favorites...";
    EXPECT_EQ(L"&Other Folders [4 Extra one]" + places + L"3 Old Red | 2 Q | 1 Q | - | " + adding, firstMenu);
    EXPECT_EQ(L"4 Red | 3 Blue | 2 Q | 1 Q | - | " + adding, favouritesMenu) << "under NoPlacesBar";
    EXPECT_EQ(L"&Other Folders [1 Extra one]" + places + adding + L" (greyed)", lastMenu) << "without favourites";
}

// The template's size is the smallest; the tree and the field take up what
// the window grows by, the buttons keep their corners. OK stores the
// window's rectangle, Cancel none, and the next dialog opens at it with the
// tree as it was left; partly off screen too. One off every monitor is
// centred on the nearest monitor, its size kept; a value too short to be a
// rectangle is ignored.
TEST_F(BrowseDialogTest, ResizingAndTheStoredRectangle)
{
    const std::vector<Follow> follows = {
        {IDC_BRWS_FOLDER_TREE, 0, 0, 1, 1},     {IDC_BRWS_FOLDER_FIELD, 0, 0, 1, 0},
        {IDC_BRWS_LOCATE, 1, 0, 1, 0},          {IDC_BRWS_NEW_FOLDER, 1, 0, 1, 0},
        {IDC_BRWS_SPECIAL_FOLDERS, 1, 0, 1, 0}, {IDOK, 1, 1, 1, 1},
        {IDCANCEL, 1, 1, 1, 1},                 {IDC_BRWS_SIZE_GRIP, 1, 1, 1, 1}};
    const std::wstring start = MakeFolders(m_root, L"start");
    auto open = [&](int button, std::function<void(HWND)> look) {
        CBrwsForFolderDlg dlg;
        dlg.SetInitialFolder(start.c_str());
        dlg.SetSaveStartPlacement(TRUE, L"Place", L"Rect");
        EXPECT_EQ(button, RunDialog(dlg, [&](HWND hDlg) {
                      look(hDlg);
                      DialogDriver::Click(hDlg, button);
                  }));
    };
    std::vector<LONG> rcDefault, rcGrown, rcTree;
    open(IDCANCEL, [&](HWND hDlg) { rcDefault = Edges(hDlg); });
    EXPECT_NE(ERROR_SUCCESS, RegGetValueW(HKEY_CURRENT_USER, L"Software\\TarkBrowseDlgTests\\BrowseDlgTests\\Place",
                                          L"Rect", RRF_RT_ANY, nullptr, nullptr, nullptr))
        << "Cancel stores no rectangle";
    open(IDOK, [&](HWND hDlg) {
        CheckResizing(hDlg, follows, 120, 80);
        rcGrown = Edges(hDlg);
        rcTree = Edges(GetDlgItem(hDlg, IDC_BRWS_FOLDER_TREE), hDlg);
    });
    open(IDCANCEL, [&](HWND hDlg) {
        EXPECT_EQ(rcGrown, Edges(hDlg)) << "the stored size and place";
        EXPECT_EQ(rcTree, Edges(GetDlgItem(hDlg, IDC_BRWS_FOLDER_TREE), hDlg)) << "the tree as it was left";
    });

    const LONG w = rcDefault[2] - rcDefault[0];
    const LONG h = rcDefault[3] - rcDefault[1];
    MONITORINFO mi = {sizeof(mi)};
    ASSERT_TRUE(GetMonitorInfoW(MonitorFromPoint({9000 + w / 2, 7000 + h / 2}, MONITOR_DEFAULTTONEAREST), &mi));
    const struct { std::vector<LONG> stored; LONG left, top; } rows[] = {
        {{-40, 30, -40 + w, 30 + h}, -40, 30},
        {{9000, 7000, 9000 + w, 7000 + h}, mi.rcMonitor.left + (mi.rcMonitor.right - mi.rcMonitor.left) / 2 - w / 2,
         mi.rcMonitor.top + (mi.rcMonitor.bottom - mi.rcMonitor.top) / 2 - h / 2},
        {{-30000, -30000}, rcDefault[0], rcDefault[1]}};
    for (auto row : rows)
    {
        ASSERT_TRUE(AfxGetApp()->WriteProfileBinary(L"Place", L"Rect", reinterpret_cast<LPBYTE>(row.stored.data()),
                                                    static_cast<UINT>(row.stored.size() * sizeof(LONG))));
        std::vector<LONG> rc;
        open(IDCANCEL, [&](HWND hDlg) { rc = Edges(hDlg); });
        EXPECT_EQ((std::vector<LONG>{row.left, row.top, row.left + w, row.top + h}), rc)
            << "stored at " << row.stored[0];
    }
}
