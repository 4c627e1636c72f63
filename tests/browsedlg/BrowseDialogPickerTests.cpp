// What users of the system's folder picker try first, on the real dialog:
// completion of a typed path, resizing (and the size kept for next time), a
// screen at a higher resolution, a path longer than 260 characters, and the
// keys F5, Alt+Up and Backspace.
#include "BrowseDialogEnv.h"
#include "BrwsFolderFactory.h"
#include "RegistryScope.h"

#include <commctrl.h>

#include <map>
#include <memory>
#include <sstream>

using namespace browsedlg_test;
using testing_support::DialogDriver;
using testing_support::ScratchFolder;

namespace {

class BrowsePickerTest : public ::testing::Test
{
protected:
    void SetUp() override { ClearProfile(); }
    void TearDown() override { ClearProfile(); }
    ScratchFolder m_root{L"bfp"};
};

BOOL CALLBACK FindSuggestions(HWND hWnd, LPARAM lParam)
{
    HWND hList = FindWindowExW(hWnd, nullptr, L"ListBox", nullptr);
    if (IsWindowVisible(hWnd) && hList)
    {
        *reinterpret_cast<HWND*>(lParam) = hList;
        return FALSE;
    }
    return TRUE;
}

// The list of the completion's suggestions when it shows (Wine's completion
// control puts it in a popup of its own), else null.
HWND ShownSuggestions()
{
    HWND hList = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindSuggestions, reinterpret_cast<LPARAM>(&hList));
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
TEST_F(BrowsePickerTest, TypedPathOffersSubfoldersAndEnterTakesOne)
{
    MakeFolders(m_root, L"Demo photos");
    MakeFolders(m_root, L"Demos");
    MakeFolders(m_root, L"Other");
    SetProfileString(L"BFF", L"FolderHistory", L"Q:\\kept\n");
    CBrwsForFolderDlg dlg;
    dlg.SetHistory(nullptr, nullptr, 5);
    const std::wstring chosen = m_root / L"Demo photos";
    DialogDriver driver;
    driver
        .Then([&](HWND hDlg) {
            SetFocus(FieldEdit(hDlg));
            DialogDriver::PostChars(FieldEdit(hDlg), (m_root / L"de").c_str());
        })
        .Until([](HWND) { return ShownSuggestions() != nullptr; })
        .Then([&](HWND hDlg) { DialogDriver::PostKey(FieldEdit(hDlg), VK_ESCAPE); })
        .Then([&](HWND hDlg) {
            EXPECT_EQ(nullptr, ShownSuggestions());
            EXPECT_EQ(m_root / L"de", Field(hDlg));
            DialogDriver::PostChars(FieldEdit(hDlg), L"m");
        })
        .Until([](HWND) { return ShownSuggestions() != nullptr; })
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
    driver.Start();
    EXPECT_EQ(IDOK, dlg.DoModal());
    EXPECT_TRUE(driver.Finished());
    EXPECT_TRUE(SamePath(chosen, static_cast<LPCWSTR>(dlg.GetPathName(FALSE))));
}

namespace {

// How a control moves and grows when the window grows by (dx, dy): the
// factors of dx and dy for its left, top, right and bottom edges.
struct Follow
{
    int id;
    int left, top, right, bottom;
};

const Follow kBrowseFollows[] = {
    {IDC_BRWS_FOLDER_TREE, 0, 0, 1, 1},     {IDC_BRWS_FOLDER_FIELD, 0, 0, 1, 0},
    {IDC_BRWS_LOCATE, 1, 0, 1, 0},          {IDC_BRWS_NEW_FOLDER, 1, 0, 1, 0},
    {IDC_BRWS_SPECIAL_FOLDERS, 1, 0, 1, 0}, {IDOK, 1, 1, 1, 1},
    {IDCANCEL, 1, 1, 1, 1},                 {IDC_BRWS_SIZE_GRIP, 1, 1, 1, 1},
};

const Follow kRemoveFollows[] = {
    {IDC_BRWS_FAVORITES_LIST, 0, 0, 1, 1},
    {IDOK, 1, 1, 1, 1},
    {IDCANCEL, 1, 1, 1, 1},
    {IDC_BRWS_SIZE_GRIP, 1, 1, 1, 1},
};

RECT ControlRect(HWND hDlg, int id)
{
    RECT rc = {};
    GetWindowRect(GetDlgItem(hDlg, id), &rc);
    MapWindowPoints(nullptr, hDlg, reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

RECT WindowRect(HWND hWnd)
{
    RECT rc = {};
    GetWindowRect(hWnd, &rc);
    return rc;
}

void Resize(HWND hDlg, const RECT& rc, int dx, int dy)
{
    MoveWindow(hDlg, rc.left, rc.top, rc.right - rc.left + dx, rc.bottom - rc.top + dy, TRUE);
}

// Grows the dialog by (dx, dy) and checks that every control followed; then
// tries to make it smaller than it started and checks that it cannot.
template <size_t N>
void CheckResizing(HWND hDlg, const Follow (&follows)[N], int dx, int dy)
{
    const RECT rcStart = WindowRect(hDlg);
    std::vector<RECT> before;
    for (const Follow& follow : follows)
        before.push_back(ControlRect(hDlg, follow.id));
    Resize(hDlg, rcStart, dx, dy);
    for (size_t i = 0; i < N; ++i)
    {
        const Follow& f = follows[i];
        const RECT rc = ControlRect(hDlg, f.id);
        EXPECT_EQ(before[i].left + f.left * dx, rc.left) << "control " << f.id;
        EXPECT_EQ(before[i].top + f.top * dy, rc.top) << "control " << f.id;
        EXPECT_EQ(before[i].right + f.right * dx, rc.right) << "control " << f.id;
        EXPECT_EQ(before[i].bottom + f.bottom * dy, rc.bottom) << "control " << f.id;
    }
    Resize(hDlg, rcStart, -60, -60);
    const RECT rcSmallest = WindowRect(hDlg);
    EXPECT_EQ(rcStart.right - rcStart.left, rcSmallest.right - rcSmallest.left) << "below the template's width";
    EXPECT_EQ(rcStart.bottom - rcStart.top, rcSmallest.bottom - rcSmallest.top) << "below the template's height";
}

} // namespace

// The tree and the field take up what the window grows by, the buttons keep
// their corners, the template's size is the smallest, and the size stored at
// OK comes back at the next opening.
TEST_F(BrowsePickerTest, ResizedWindowLaysOutItsControlsAndComesBackAtThatSize)
{
    const std::wstring start = MakeFolders(m_root, L"start");
    RECT rcClosed = {};
    RECT rcTreeGrown = {};
    {
        CBrwsForFolderDlg dlg;
        dlg.SetInitialFolder(start.c_str());
        dlg.SetSaveStartPlacement(TRUE, L"Place", L"Rect");
        DialogDriver driver;
        driver.Then([&](HWND hDlg) {
            CheckResizing(hDlg, kBrowseFollows, 120, 80);
            Resize(hDlg, WindowRect(hDlg), 120, 80);
            rcClosed = WindowRect(hDlg);
            rcTreeGrown = ControlRect(hDlg, IDC_BRWS_FOLDER_TREE);
            DialogDriver::Click(hDlg, IDOK);
        });
        driver.Start();
        ASSERT_EQ(IDOK, dlg.DoModal());
    }
    CBrwsForFolderDlg dlg;
    dlg.SetInitialFolder(start.c_str());
    dlg.SetSaveStartPlacement(TRUE, L"Place", L"Rect");
    DialogDriver driver;
    driver.Then([&](HWND hDlg) {
        const RECT rc = WindowRect(hDlg);
        EXPECT_EQ(0, memcmp(&rcClosed, &rc, sizeof(RECT))) << "the stored size and place";
        const RECT rcTree = ControlRect(hDlg, IDC_BRWS_FOLDER_TREE);
        EXPECT_EQ(0, memcmp(&rcTreeGrown, &rcTree, sizeof(RECT))) << "the tree as it was left";
        DialogDriver::Click(hDlg, IDCANCEL);
    });
    driver.Start();
    EXPECT_EQ(IDCANCEL, dlg.DoModal());
}

TEST_F(BrowsePickerTest, RemoveFavouritesDialogResizesLikewise)
{
    CBrwsRemoveFavoritesDlg dlg;
    dlg.m_lstLines.AddTail(L"Red   (Q:\\red)");
    DialogDriver driver;
    driver.Then([](HWND hDlg) {
        CheckResizing(hDlg, kRemoveFollows, 90, 50);
        DialogDriver::Click(hDlg, IDCANCEL);
    });
    driver.Start();
    EXPECT_EQ(IDCANCEL, dlg.DoModal());
}

namespace {

// What browse_dialog_probe printed: name -> the numbers after "=".
std::map<std::string, std::vector<int>> ProbeDialog(const std::wstring& folder, DWORD dpi)
{
    testing_support::ScopedNewProcessDpi resolution(dpi);
    testing_support::ProcessResult run =
        testing_support::RunProcess(L"browse_dialog_probe.exe", L"\"" + folder + L"\"");
    EXPECT_EQ(0u, run.exitCode) << run.output;
    std::map<std::string, std::vector<int>> values;
    std::istringstream lines(run.output);
    for (std::string line; std::getline(lines, line);)
    {
        std::istringstream numbers(line.substr(line.find('=') + 1));
        std::vector<int>& value = values[line.substr(0, line.find('='))];
        for (std::string number; std::getline(numbers, number, ',');)
            value.push_back(std::atoi(number.c_str()));
    }
    return values;
}

int Width(const std::vector<int>& rect)
{
    return rect.size() == 4 ? rect[2] - rect[0] : 0;
}

} // namespace

// In a process started at 144 or 192 pixels per inch, the dialog, its font,
// its tree and its field are larger in proportion, and the button and tree
// icons come at the size made for that resolution.
TEST_F(BrowsePickerTest, HigherResolutionScalesLayoutFontAndIcons)
{
    const struct
    {
        DWORD dpi;
        int icon;
    } kScreens[] = {{144, 24}, {192, 32}};
    auto base = ProbeDialog(m_root.Path(), 96);
    ASSERT_EQ(std::vector<int>{96}, base["dpi"]);
    EXPECT_EQ(std::vector<int>{16}, base["buttonIcon"]);
    EXPECT_EQ(std::vector<int>{16}, base["treeIcon"]);
    for (const auto& screen : kScreens)
    {
        auto scaled = ProbeDialog(m_root.Path(), screen.dpi);
        ASSERT_EQ(std::vector<int>{static_cast<int>(screen.dpi)}, scaled["dpi"]);
        EXPECT_EQ(std::vector<int>{screen.icon}, scaled["buttonIcon"]) << screen.dpi;
        EXPECT_EQ(std::vector<int>{screen.icon}, scaled["treeIcon"]) << screen.dpi;
        // Text metrics round: within a tenth of the resolution's ratio.
        const double ratio = screen.dpi / 96.0;
        const struct
        {
            const char* what;
            int scaled, base;
        } kGrown[] = {
            {"width", scaled["client"].at(0), base["client"].at(0)},
            {"height", scaled["client"].at(1), base["client"].at(1)},
            {"tree", Width(scaled["tree"]), Width(base["tree"])},
            {"field", Width(scaled["field"]), Width(base["field"])},
            {"font", scaled["fontHeight"].at(0), base["fontHeight"].at(0)},
        };
        for (const auto& size : kGrown)
        {
            EXPECT_NEAR(ratio, static_cast<double>(size.scaled) / size.base, ratio / 10)
                << screen.dpi << " " << size.what;
        }
    }
}

namespace {

// A folder path of exactly 300 characters under root whose last name covers
// the 260th character, and a sibling named after what fits into 259: the
// folder a parser that cuts at MAX_PATH would find instead.
std::wstring MakeLongFolder(const ScratchFolder& root, std::wstring& cutSibling)
{
    std::wstring path = root.Path();
    for (wchar_t letter = L'a'; path.size() + 101 <= 240; ++letter)
        path += L"\\" + std::wstring(100, letter);
    path += L"\\" + std::wstring(299 - path.size(), L'z');
    MakeFolders(root, path.substr(root.Path().size() + 1));
    cutSibling = path.substr(0, MAX_PATH - 1);
    CreateDirectoryW(cutSibling.c_str(), nullptr);
    return path;
}

// Whether the shell reaches the folder: its folder object names that very
// path, or there is none (never one of another folder).
bool ShellReaches(const std::wstring& path)
{
    std::unique_ptr<CBFolder> folder(CreateShellFolder(nullptr, path.c_str()));
    if (folder)
    {
        EXPECT_EQ(path, static_cast<LPCWSTR>(folder->m_strPath));
    }
    return folder != nullptr;
}

} // namespace

// A 300-character path typed, located and chosen with OK: where the shell
// reaches it, the dialog returns it whole and keeps it in the history, else it
// refuses it with its message and leaves the text as it was; it never stands
// for the folder that the path's first 259 characters name.
TEST_F(BrowsePickerTest, LongPathIsReturnedWholeOrRefusedWithTheMessage)
{
    std::wstring cutSibling;
    const std::wstring typed = MakeLongFolder(m_root, cutSibling);
    ASSERT_EQ(300u, typed.size());
    ASSERT_TRUE(FolderExists(typed) && FolderExists(cutSibling));
    const bool bReached = ShellReaches(typed);
    CBrwsForFolderDlg dlg;
    dlg.SetHistory(L"H", L"Long", 5);
    std::vector<std::wstring> messages;
    auto answerMessage = [&](HWND hBox) {
        ASSERT_EQ(nullptr, GetDlgItem(hBox, IDC_BRWS_FOLDER_FIELD)) << "no message came";
        messages.push_back(DialogDriver::ItemText(hBox, 0xFFFF));
        DialogDriver::Click(hBox, IDOK);
    };
    auto typeAndPress = [&](int id) {
        return [&typed, id](HWND hDlg) {
            DialogDriver::SetText(hDlg, IDC_BRWS_FOLDER_FIELD, typed.c_str());
            DialogDriver::Click(hDlg, id);
        };
    };
    DialogDriver driver;
    if (bReached)
    {
        driver.Then(typeAndPress(IDC_BRWS_LOCATE)).Then([&](HWND hDlg) {
            EXPECT_EQ(typed, TreeItemPath(Tree(hDlg), TreeSelection(Tree(hDlg))));
            typeAndPress(IDOK)(hDlg);
        });
    }
    else
    {
        driver.Then(typeAndPress(IDC_BRWS_LOCATE))
            .Then(answerMessage)
            .Then(typeAndPress(IDOK))
            .Then(answerMessage)
            .Then([&](HWND hDlg) {
                EXPECT_EQ(typed, Field(hDlg)) << "the field's text was changed";
                EXPECT_NE(cutSibling, TreeItemPath(Tree(hDlg), TreeSelection(Tree(hDlg))));
                DialogDriver::Click(hDlg, IDCANCEL);
            });
    }
    driver.Start();
    EXPECT_EQ(bReached ? IDOK : IDCANCEL, dlg.DoModal());
    EXPECT_TRUE(driver.Finished());
    const std::wstring returned = static_cast<LPCWSTR>(dlg.GetPathName(FALSE));
    if (bReached)
    {
        EXPECT_EQ(typed, returned);
        EXPECT_EQ(typed + L"\n", ProfileString(L"H", L"Long"));
        return;
    }
    EXPECT_EQ(2u, messages.size()) << "at Locate and at OK";
    for (const std::wstring& message : messages)
        EXPECT_NE(std::wstring::npos, message.find(L"not part of the file system")) << message;
    EXPECT_TRUE(returned.empty()) << "reported " << returned.size() << " characters";
}

// F5 reads the selected folder again (it was never opened, so nothing watches
// it); Backspace and Alt+Up go to the parent folder (Up alone would go
// to the sibling above).
TEST_F(BrowsePickerTest, F5RereadsBackspaceAndAltUpGoToTheParent)
{
    MakeFolders(m_root, L"above");
    const std::wstring leaf = MakeFolders(m_root, L"parent\\leaf");
    CBrwsForFolderDlg dlg;
    dlg.SetInitialFolder(leaf.c_str());
    auto selectedPath = [](HWND hDlg) { return TreeItemPath(Tree(hDlg), TreeSelection(Tree(hDlg))); };
    DialogDriver driver;
    driver
        .Then([&](HWND hDlg) {
            ASSERT_TRUE(SamePath(leaf, selectedPath(hDlg)));
            EXPECT_EQ(0, dlg.GetNumChildren(TreeSelection(Tree(hDlg))));
            ASSERT_TRUE(CreateDirectoryW((leaf + L"\\fresh").c_str(), nullptr));
            SetFocus(Tree(hDlg));
            DialogDriver::PostKey(Tree(hDlg), VK_F5);
        })
        .Until([&](HWND hDlg) {
            HTREEITEM hChild = TreeView_GetChild(Tree(hDlg), TreeSelection(Tree(hDlg)));
            return hChild && TreeItemText(Tree(hDlg), hChild) == L"fresh";
        })
        .Then([](HWND hDlg) { DialogDriver::PostKey(Tree(hDlg), VK_BACK); })
        .Then([&](HWND hDlg) {
            EXPECT_TRUE(SamePath(m_root / L"parent", selectedPath(hDlg)));
            EXPECT_TRUE(SamePath(m_root / L"parent", Field(hDlg)));
            // Alt is down while Alt+Up is pressed: a system key.
            PostMessageW(Tree(hDlg), WM_SYSKEYDOWN, VK_UP, 1 | (1 << 29));
        })
        .Then([&](HWND hDlg) {
            EXPECT_TRUE(SamePath(m_root.Path(), selectedPath(hDlg)));
            EXPECT_TRUE(SamePath(m_root.Path(), Field(hDlg)));
            DialogDriver::Click(hDlg, IDCANCEL);
        });
    driver.Start();
    EXPECT_EQ(IDCANCEL, dlg.DoModal());
    EXPECT_TRUE(driver.Finished());
}
