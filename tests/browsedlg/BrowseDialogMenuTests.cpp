// The browse-for-folder dialog's special-folders menu, favourites and the
// remove dialog, new folders named in place, and the stored window rectangle,
// each driven through the real dialog and checked on disk and in the profile.
#include "BrowseDialogEnv.h"
#include "RegistryScope.h"

#include <commctrl.h>
#include <shlobj.h>

using namespace browsedlg_test;
using testing_support::DialogDriver;
using testing_support::ScratchFolder;

namespace {

HWND LabelEdit(HWND hDlg)
{
    return reinterpret_cast<HWND>(SendMessageW(Tree(hDlg), TVM_GETEDITCONTROL, 0, 0));
}

// Opens the menu with the button; the caller's next step runs inside it.
void OpenMenu(HWND hDlg)
{
    DialogDriver::Click(hDlg, IDC_BRWS_SPECIAL_FOLDERS);
}

// Types a folder path into the field and moves the tree there with Locate.
void Locate(HWND hDlg, const std::wstring& path)
{
    DialogDriver::SetText(hDlg, IDC_BRWS_FOLDER_FIELD, path.c_str());
    DialogDriver::Click(hDlg, IDC_BRWS_LOCATE);
}

class BrowseMenuTest : public ::testing::Test
{
protected:
    void SetUp() override { ClearProfile(); }
    void TearDown() override { ClearProfile(); }
    ScratchFolder m_root{L"bfm"};
};

} // namespace

// Favourites: added from the menu (an existing path in another letter case
// moves to the top), shown as commands 1..n, chosen, removed in the remove
// dialog; the stored value follows each change at once.
TEST_F(BrowseMenuTest, FavouritesAddedShownChosenAndRemoved)
{
    std::wstring red = MakeFolders(m_root, L"Red");
    std::wstring blue = MakeFolders(m_root, L"Blue");
    std::wstring upperRed = red;
    for (wchar_t& c : upperRed)
        c = static_cast<wchar_t>(towupper(c));
    SetProfileString(L"BFF", L"FolderHistoryFav", L"Old Red\n" + upperRed + L"\nQ\nQ:\\q\n");

    CBrwsForFolderDlg dlg;
    dlg.SetInitialFolder(blue.c_str());
    std::vector<MenuItem> firstMenu;
    DialogDriver driver;
    driver.Then(OpenMenu)
        .Next([&](HWND) {
            HMENU hMenu = OpenPopupMenu();
            ASSERT_NE(nullptr, hMenu);
            firstMenu = MenuItems(hMenu);
            ChooseMenuCommand(ID_BRWS_ADD_FAVORITE);
        })
        .Then([&](HWND hDlg) {
            EXPECT_EQ(L"Blue\n" + blue + L"\nOld Red\n" + upperRed + L"\nQ\nQ:\\q\n",
                      ProfileString(L"BFF", L"FolderHistoryFav"));
            Locate(hDlg, red);
        })
        .Then(OpenMenu)
        .Next([](HWND) { ChooseMenuCommand(ID_BRWS_ADD_FAVORITE); })
        .Then([&](HWND hDlg) {
            EXPECT_EQ(L"Red\n" + red + L"\nBlue\n" + blue + L"\nQ\nQ:\\q\n",
                      ProfileString(L"BFF", L"FolderHistoryFav"));
            OpenMenu(hDlg);
        })
        .Next([&](HWND) {
            std::vector<MenuItem> items = MenuItems(OpenPopupMenu());
            std::vector<std::pair<UINT, std::wstring>> favourites;
            for (const MenuItem& item : items)
                if (item.command >= 1 && item.command < 100)
                    favourites.push_back({item.command, item.text});
            // Stored order, most recent first; numbered as they were put in,
            // from the oldest.
            EXPECT_EQ((std::vector<std::pair<UINT, std::wstring>>{{3, L"Red"}, {2, L"Blue"}, {1, L"Q"}}),
                      favourites);
            ChooseMenuCommand(2);
        })
        .Then([&](HWND hDlg) {
            EXPECT_TRUE(SamePath(blue, Field(hDlg)));
            OpenMenu(hDlg);
        })
        .Next([](HWND) { ChooseMenuCommand(ID_BRWS_REMOVE_FAVORITES); })
        .Then([&](HWND hRemove) {
            HWND hList = GetDlgItem(hRemove, IDC_BRWS_FAVORITES_LIST);
            ASSERT_NE(nullptr, hList) << "the remove dialog is not open";
            EXPECT_EQ(3, SendMessageW(hList, LB_GETCOUNT, 0, 0));
            EXPECT_FALSE(IsWindowEnabled(GetDlgItem(hRemove, IDOK)));
            DialogDriver::Select(hRemove, IDC_BRWS_FAVORITES_LIST, 0);
            DialogDriver::Select(hRemove, IDC_BRWS_FAVORITES_LIST, 2);
            EXPECT_TRUE(IsWindowEnabled(GetDlgItem(hRemove, IDOK)));
            DialogDriver::Click(hRemove, IDOK);
        })
        .Then([&](HWND hDlg) {
            EXPECT_EQ(L"Blue\n" + blue + L"\n", ProfileString(L"BFF", L"FolderHistoryFav"));
            DialogDriver::Click(hDlg, IDCANCEL);
        });
    driver.Start();
    EXPECT_EQ(IDCANCEL, dlg.DoModal());
    EXPECT_TRUE(driver.Finished());

    // The first showing: both stored favourites, add enabled, remove enabled,
    // no extra-folders placeholder.
    std::vector<UINT> commands;
    for (const MenuItem& item : firstMenu)
        commands.push_back(item.command);
    EXPECT_EQ((std::vector<UINT>{ID_BRWS_GOTO_DOCUMENTS, ID_BRWS_GOTO_TEMP, 0, 2, 1, 0, ID_BRWS_ADD_FAVORITE,
                                 ID_BRWS_REMOVE_FAVORITES}),
              commands);
}

// Without favourites the remove command is greyed; the documents and temp
// commands open those folders; extra folders follow the favourites' numbers.
TEST_F(BrowseMenuTest, DocumentsTempAndExtraFolders)
{
    std::wstring extra = MakeFolders(m_root, L"extra");
    wchar_t szTemp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, szTemp);
    wchar_t szDocuments[MAX_PATH] = {};
    ASSERT_EQ(S_OK, SHGetFolderPathW(nullptr, CSIDL_PERSONAL, nullptr, 0, szDocuments));

    CBrwsForFolderDlg dlg;
    dlg.SetInitialFolder(extra.c_str());
    dlg.m_lstExtraFolderNames.AddTail(L"Extra one");
    dlg.m_lstExtraFolderPaths.AddTail(extra.c_str());
    std::vector<MenuItem> items;
    HMENU hExtraPopup = nullptr;
    std::vector<MenuItem> extraItems;
    DialogDriver driver;
    driver.Then(OpenMenu)
        .Next([&](HWND) {
            HMENU hMenu = OpenPopupMenu();
            items = MenuItems(hMenu);
            hExtraPopup = GetSubMenu(hMenu, 0);
            if (hExtraPopup)
                extraItems = MenuItems(hExtraPopup);
            ChooseMenuCommand(ID_BRWS_GOTO_TEMP);
        })
        .Then([&](HWND hDlg) {
            EXPECT_TRUE(SamePath(szTemp, Field(hDlg))) << Field(hDlg);
            OpenMenu(hDlg);
        })
        .Next([](HWND) { ChooseMenuCommand(ID_BRWS_GOTO_DOCUMENTS); })
        .Then([&](HWND hDlg) {
            EXPECT_TRUE(SamePath(szDocuments, Field(hDlg))) << Field(hDlg);
            DialogDriver::Click(hDlg, IDCANCEL);
        });
    driver.Start();
    EXPECT_EQ(IDCANCEL, dlg.DoModal());
    EXPECT_TRUE(driver.Finished());
    ASSERT_EQ(7u, items.size());
    EXPECT_EQ(static_cast<UINT>(-1), items[0].command);
    EXPECT_EQ(L"&Other Folders", items[0].text);
    ASSERT_EQ(1u, extraItems.size());
    EXPECT_EQ(1u, extraItems[0].command);
    EXPECT_EQ(L"Extra one", extraItems[0].text);
    EXPECT_TRUE(items[6].greyed) << "remove favourites without favourites";
    EXPECT_EQ(ID_BRWS_REMOVE_FAVORITES, items[6].command);
    EXPECT_FALSE(items[5].greyed) << "add favourite with a current item";
}

// Under NoPlacesBar the documents and temporary places and the extra folders
// go, each with its separator; the favourites keep their commands.
TEST_F(BrowseMenuTest, NoPlacesBarLeavesTheFavourites)
{
    testing_support::ScopedRegistryValue policy(L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Comdlg32",
                                                L"NoPlacesBar");
    ASSERT_TRUE(policy.SetDword(1));
    SetProfileString(L"BFF", L"FolderHistoryFav", L"A\nQ:\\a\nB\nQ:\\b\n");
    CBrwsForFolderDlg dlg;
    dlg.m_lstExtraFolderNames.AddTail(L"Extra");
    dlg.m_lstExtraFolderPaths.AddTail(L"Q:\\extra");
    std::vector<UINT> commands;
    DialogDriver driver;
    driver.Then(OpenMenu)
        .Next([&](HWND) {
            for (const MenuItem& item : MenuItems(OpenPopupMenu()))
                commands.push_back(item.command);
            EndMenu();
        })
        .Then([](HWND hDlg) { DialogDriver::Click(hDlg, IDCANCEL); });
    driver.Start();
    EXPECT_EQ(IDCANCEL, dlg.DoModal());
    EXPECT_EQ((std::vector<UINT>{2, 1, 0, ID_BRWS_ADD_FAVORITE, ID_BRWS_REMOVE_FAVORITES}), commands);
}

// Favourites are removed by their place in the list: of two that read alike,
// the one selected goes and the other stays; the stored format is kept.
TEST_F(BrowseMenuTest, RemovingOneOfTwoLikeFavouritesKeepsTheOther)
{
    SetProfileString(L"BFF", L"FolderHistoryFav", L"Same\nQ:\\same\nSame\nQ:\\same\nOther\nQ:\\other\n");
    CBrwsForFolderDlg dlg;
    DialogDriver driver;
    driver.Then(OpenMenu)
        .Next([](HWND) { ChooseMenuCommand(ID_BRWS_REMOVE_FAVORITES); })
        .Then([](HWND hRemove) {
            ASSERT_EQ(3, SendDlgItemMessageW(hRemove, IDC_BRWS_FAVORITES_LIST, LB_GETCOUNT, 0, 0));
            DialogDriver::Select(hRemove, IDC_BRWS_FAVORITES_LIST, 1);
            DialogDriver::Click(hRemove, IDOK);
        })
        .Then([](HWND hDlg) { DialogDriver::Click(hDlg, IDCANCEL); });
    driver.Start();
    EXPECT_EQ(IDCANCEL, dlg.DoModal());
    EXPECT_EQ(L"Same\nQ:\\same\nOther\nQ:\\other\n", ProfileString(L"BFF", L"FolderHistoryFav"));
}

// New folders get a free name, are named by typing and Enter; Escape keeps
// the first name; F2 never edits an existing folder; names that would leave
// the parent are refused.
TEST_F(BrowseMenuTest, NewFolderNamedInPlace)
{
    std::wstring parent = MakeFolders(m_root, L"parent");
    MakeFolders(m_root, L"parent\\New Folder");
    CBrwsForFolderDlg dlg;
    dlg.SetInitialFolder(parent.c_str());
    DialogDriver driver;
    driver.Then([](HWND hDlg) { DialogDriver::Click(hDlg, IDC_BRWS_NEW_FOLDER); })
        .Next([&](HWND) {
            HWND hDlg = DialogDriver::ActiveDialog();
            EXPECT_TRUE(FolderExists(parent + L"\\New Folder (2)"));
            HWND hEdit = LabelEdit(hDlg);
            ASSERT_NE(nullptr, hEdit) << "no label edit on the new folder";
            EXPECT_FALSE(IsWindowEnabled(GetDlgItem(hDlg, IDOK)));
            SetWindowTextW(hEdit, L"Named");
            DialogDriver::PostKey(hEdit, VK_RETURN);
        })
        .Next([](HWND) {})
        .Then([&](HWND hDlg) {
            EXPECT_TRUE(FolderExists(parent + L"\\Named"));
            EXPECT_FALSE(FolderExists(parent + L"\\New Folder (2)"));
            EXPECT_EQ(nullptr, LabelEdit(hDlg));
            EXPECT_TRUE(SamePath(parent + L"\\Named", Field(hDlg)));
            EXPECT_EQ(L"Named", TreeItemText(Tree(hDlg), TreeSelection(Tree(hDlg))));
            EXPECT_TRUE(IsWindowEnabled(GetDlgItem(hDlg, IDOK)));
            // Back to the parent for the next folder.
            Locate(hDlg, parent);
            DialogDriver::Click(hDlg, IDC_BRWS_NEW_FOLDER);
        })
        .Next([&](HWND) {
            HWND hEdit = LabelEdit(DialogDriver::ActiveDialog());
            ASSERT_NE(nullptr, hEdit);
            SetWindowTextW(hEdit, L"Discarded");
            DialogDriver::PostKey(hEdit, VK_ESCAPE);
        })
        .Next([](HWND) {})
        .Then([&](HWND hDlg) {
            EXPECT_TRUE(FolderExists(parent + L"\\New Folder (2)"));
            EXPECT_FALSE(FolderExists(parent + L"\\Discarded"));
            EXPECT_EQ(nullptr, LabelEdit(hDlg));
            // F2 on an existing folder opens no editor.
            SetFocus(Tree(hDlg));
            DialogDriver::PostKey(Tree(hDlg), VK_F2);
        })
        .Next([](HWND) {})
        .Then([&](HWND hDlg) {
            EXPECT_EQ(nullptr, LabelEdit(hDlg));
            Locate(hDlg, parent);
            DialogDriver::Click(hDlg, IDC_BRWS_NEW_FOLDER);
        })
        .Next([&](HWND) {
            HWND hEdit = LabelEdit(DialogDriver::ActiveDialog());
            ASSERT_NE(nullptr, hEdit);
            EXPECT_TRUE(FolderExists(parent + L"\\New Folder (3)"));
            SetWindowTextW(hEdit, L"..\\escaped");
            DialogDriver::PostKey(hEdit, VK_RETURN);
        })
        .Next([](HWND) {})
        .Then([&](HWND hDlg) {
            EXPECT_FALSE(FolderExists(m_root / L"escaped"));
            EXPECT_TRUE(FolderExists(parent + L"\\New Folder (3)"));
            DialogDriver::Click(hDlg, IDCANCEL);
        });
    driver.Start();
    EXPECT_EQ(IDCANCEL, dlg.DoModal());
    EXPECT_TRUE(driver.Finished());
}

// The rectangle stored at OK comes back; one off every monitor is centred on
// the nearest monitor; a value too short to be a rectangle is ignored.
TEST_F(BrowseMenuTest, WindowRectangleStoredAndRestored)
{
    auto run = [](RECT* pSeen, bool bOk) {
        CBrwsForFolderDlg dlg;
        dlg.SetSaveStartPlacement(TRUE, L"Place", L"Rect");
        DialogDriver driver;
        driver.Then([&](HWND hDlg) {
            GetWindowRect(hDlg, pSeen);
            if (bOk)
                DialogDriver::SetText(hDlg, IDC_BRWS_FOLDER_FIELD, L"C:\\");
            DialogDriver::Click(hDlg, bOk ? IDOK : IDCANCEL);
        });
        driver.Start();
        EXPECT_EQ(bOk ? IDOK : IDCANCEL, dlg.DoModal());
    };

    RECT rcDefault = {};
    run(&rcDefault, false);
    EXPECT_TRUE(ProfileBinary(L"Place", L"Rect").empty()) << "Cancel stores no rectangle";
    const int w = rcDefault.right - rcDefault.left;
    const int h = rcDefault.bottom - rcDefault.top;

    // Partly off screen but touching the monitor: used as it is.
    RECT rcStored = {-40, 30, -40 + w, 30 + h};
    SetProfileBinary(L"Place", L"Rect", &rcStored, sizeof(rcStored));
    RECT rcSeen = {};
    run(&rcSeen, true);
    EXPECT_EQ(-40, rcSeen.left);
    EXPECT_EQ(30, rcSeen.top);
    std::vector<BYTE> stored = ProfileBinary(L"Place", L"Rect");
    ASSERT_EQ(sizeof(RECT), stored.size());
    EXPECT_EQ(0, memcmp(stored.data(), &rcSeen, sizeof(RECT)));

    // Off every monitor: centred on the nearest one, size kept.
    RECT rcFar = {9000, 7000, 9000 + w, 7000 + h};
    SetProfileBinary(L"Place", L"Rect", &rcFar, sizeof(rcFar));
    run(&rcSeen, false);
    MONITORINFO mi = {sizeof(mi)};
    POINT ptFar = {9000 + w / 2, 7000 + h / 2};
    ASSERT_TRUE(GetMonitorInfoW(MonitorFromPoint(ptFar, MONITOR_DEFAULTTONEAREST), &mi));
    EXPECT_EQ(mi.rcMonitor.left + (mi.rcMonitor.right - mi.rcMonitor.left) / 2 - w / 2, rcSeen.left);
    EXPECT_EQ(mi.rcMonitor.top + (mi.rcMonitor.bottom - mi.rcMonitor.top) / 2 - h / 2, rcSeen.top);
    EXPECT_EQ(w, rcSeen.right - rcSeen.left);

    // Eight bytes are no rectangle: the template's own place stays.
    LONG shortValue[2] = {-30000, -30000};
    SetProfileBinary(L"Place", L"Rect", shortValue, sizeof(shortValue));
    run(&rcSeen, false);
    EXPECT_EQ(rcDefault.left, rcSeen.left);
    EXPECT_EQ(rcDefault.top, rcSeen.top);
}
