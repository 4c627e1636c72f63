// What users of the system's folder picker try first, on the real dialog:
// completion of a typed path, and resizing with the window's rectangle kept
// for next time.
#include "BrowseDialogEnv.h"

#include <commctrl.h>

using namespace browsedlg_test;

namespace {

// The list of the completion's suggestions when it shows (Wine's completion
// control puts it in a popup of its own), else null.
HWND ShownSuggestions()
{
    HWND hList = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND hWnd, LPARAM lParam) -> BOOL {
            HWND hFound = IsWindowVisible(hWnd) ? FindWindowExW(hWnd, nullptr, L"ListBox", nullptr) : nullptr;
            *reinterpret_cast<HWND*>(lParam) = hFound;
            return hFound == nullptr;
        },
        reinterpret_cast<LPARAM>(&hList));
    return hList;
}

HWND FieldEdit(HWND hDlg)
{
    return FindWindowExW(GetDlgItem(hDlg, IDC_BRWS_FOLDER_FIELD), nullptr, L"Edit", nullptr);
}

} // namespace

// Typing part of a name offers the typed parent's subfolders that start with
// it; Escape closes the offer, Down and Enter take the first into the field,
// neither closes the dialog, and the history still drops down.
TEST_F(BrowseDialogTest, TypedPathOffersSubfoldersAndEnterTakesOne)
{
    MakeFolders(m_root, L"Demo photos");
    MakeFolders(m_root, L"Demos");
    MakeFolders(m_root, L"Other");
    SetProfileString(L"BFF", L"FolderHistory", L"Q:\\kept\n");
    CBrwsForFolderDlg dlg;
    dlg.SetHistory(nullptr, nullptr, 5);
    const std::wstring chosen = m_root / L"Demo photos";
    auto suggestionsShown = [](HWND) { return ShownSuggestions() != nullptr; };
    DialogDriver driver;
    driver
        .Then([&](HWND hDlg) {
            SetFocus(FieldEdit(hDlg));
            DialogDriver::PostChars(FieldEdit(hDlg), (m_root / L"de").c_str());
        })
        .Until(suggestionsShown)
        .Then([&](HWND hDlg) { DialogDriver::PostKey(FieldEdit(hDlg), VK_ESCAPE); })
        .Then([&](HWND hDlg) {
            EXPECT_EQ(nullptr, ShownSuggestions());
            EXPECT_EQ(m_root / L"de", Field(hDlg));
            DialogDriver::PostChars(FieldEdit(hDlg), L"m");
        })
        .Until(suggestionsShown)
        .Then([&](HWND hDlg) {
            EXPECT_EQ(2, SendMessageW(ShownSuggestions(), LB_GETCOUNT, 0, 0)) << "Demo photos and Demos";
            DialogDriver::PostKey(FieldEdit(hDlg), VK_DOWN);
        })
        .Then([&](HWND hDlg) {
            EXPECT_EQ(chosen, Field(hDlg));
            DialogDriver::PostKey(FieldEdit(hDlg), VK_RETURN);
        })
        .Then([&](HWND hDlg) {
            EXPECT_EQ(nullptr, ShownSuggestions());
            EXPECT_EQ(chosen, Field(hDlg));
            EXPECT_TRUE(Enabled(hDlg, IDOK));
            HWND hField = GetDlgItem(hDlg, IDC_BRWS_FOLDER_FIELD);
            SendMessageW(hField, CB_SHOWDROPDOWN, TRUE, 0);
            EXPECT_TRUE(SendMessageW(hField, CB_GETDROPPEDSTATE, 0, 0));
            EXPECT_EQ(std::vector<std::wstring>{L"Q:\\kept"}, ComboEntries(hField));
            SendMessageW(hField, CB_SHOWDROPDOWN, FALSE, 0);
            DialogDriver::Click(hDlg, IDOK);
        });
    EXPECT_EQ(IDOK, RunDialog(dlg, driver));
    EXPECT_EQ(chosen, Result(dlg));
}

// The tree and the field take up what the window grows by, the buttons keep
// their corners, and the template's size is the smallest. OK stores the
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
        {IDCANCEL, 1, 1, 1, 1},                 {IDC_BRWS_SIZE_GRIP, 1, 1, 1, 1},
    };
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
    open(IDCANCEL, [&](HWND hDlg) { rcDefault = WindowRect(hDlg); });
    LPBYTE pStored = nullptr;
    UINT nStored = 0;
    EXPECT_FALSE(AfxGetApp()->GetProfileBinary(L"Place", L"Rect", &pStored, &nStored)) << "Cancel stores no rectangle";
    delete[] pStored;
    open(IDOK, [&](HWND hDlg) {
        CheckResizing(hDlg, follows, 120, 80);
        MoveWindow(hDlg, rcDefault[0], rcDefault[1], rcDefault[2] - rcDefault[0] + 120,
                   rcDefault[3] - rcDefault[1] + 80, TRUE);
        rcGrown = WindowRect(hDlg);
        rcTree = ControlRect(hDlg, IDC_BRWS_FOLDER_TREE);
    });
    open(IDCANCEL, [&](HWND hDlg) {
        EXPECT_EQ(rcGrown, WindowRect(hDlg)) << "the stored size and place";
        EXPECT_EQ(rcTree, ControlRect(hDlg, IDC_BRWS_FOLDER_TREE)) << "the tree as it was left";
    });

    const LONG w = rcDefault[2] - rcDefault[0];
    const LONG h = rcDefault[3] - rcDefault[1];
    MONITORINFO mi = {sizeof(mi)};
    ASSERT_TRUE(GetMonitorInfoW(MonitorFromPoint({9000 + w / 2, 7000 + h / 2}, MONITOR_DEFAULTTONEAREST), &mi));
    const struct
    {
        std::vector<LONG> stored;
        LONG left, top;
    } rows[] = {
        {{-40, 30, -40 + w, 30 + h}, -40, 30},
        {{9000, 7000, 9000 + w, 7000 + h}, mi.rcMonitor.left + (mi.rcMonitor.right - mi.rcMonitor.left) / 2 - w / 2,
         mi.rcMonitor.top + (mi.rcMonitor.bottom - mi.rcMonitor.top) / 2 - h / 2},
        {{-30000, -30000}, rcDefault[0], rcDefault[1]},
    };
    for (auto row : rows)
    {
        ASSERT_TRUE(AfxGetApp()->WriteProfileBinary(L"Place", L"Rect", reinterpret_cast<LPBYTE>(row.stored.data()),
                                                    static_cast<UINT>(row.stored.size() * sizeof(LONG))));
        std::vector<LONG> rc;
        open(IDCANCEL, [&](HWND hDlg) { rc = WindowRect(hDlg); });
        EXPECT_EQ((std::vector<LONG>{row.left, row.top, row.left + w, row.top + h}), rc) << "stored at " << row.stored[0];
    }
}
