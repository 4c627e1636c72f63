// The browse-for-folder dialog run for real: opened, clicked, typed into and
// closed from its own message loop, one step per tick; results checked in the
// result folder, on disk and in the profile in the registry.
#include "BrowseDialogEnv.h"
#include "BrwsDriveTree.h"
#include "BrwsFolderFactory.h"
#include "IconSize.h"
#include "ListingGate.h"

#include <cstring>
#include <iterator>
#include <memory>
#include <sstream>
#include <stdio.h>

using namespace browsedlg_test;

namespace {

// Table index of a virtual member function under the Itanium C++ ABI that
// mingw uses: a pointer to it holds 1 + its byte offset in the table.
template <class F>
ptrdiff_t VirtualIndex(F pmf)
{
    static_assert(sizeof(F) == 2 * sizeof(ptrdiff_t), "Itanium member pointer");
    ptrdiff_t words[2];
    std::memcpy(words, &pmf, sizeof(words));
    return (words[0] - 1) / static_cast<ptrdiff_t>(sizeof(void*));
}

// The folder the dialog reported, as GetPathName(FALSE) gives it.
std::wstring Result(CBrwsForFolderDlg& dlg) { return dlg.GetPathName(FALSE).GetString(); }

CTreeCtrl& TreeOf(HWND hDlg) { return *static_cast<CTreeCtrl*>(CWnd::FromHandle(Tree(hDlg))); }

// The texts of a tree item's children.
std::vector<std::wstring> ChildTexts(HWND hDlg, HTREEITEM hItem)
{
    std::vector<std::wstring> texts;
    for (HTREEITEM h = TreeOf(hDlg).GetChildItem(hItem); h; h = TreeOf(hDlg).GetNextSiblingItem(h))
        texts.push_back(TreeOf(hDlg).GetItemText(h).GetString());
    return texts;
}

// The path of the folder behind a tree item (the selection when null).
std::wstring TreeItemPath(HWND hDlg, HTREEITEM hItem = nullptr)
{
    const auto* pData = reinterpret_cast<const CDriveTreeItemData*>(
        TreeOf(hDlg).GetItemData(hItem ? hItem : TreeOf(hDlg).GetSelectedItem()));
    return !pData ? L"<no data>" : pData->m_pFolder ? pData->m_pFolder->m_strPath.GetString() : L"<no folder>";
}

// The entries of the folder field's list.
std::vector<std::wstring> ComboEntries(HWND hDlg)
{
    auto& combo = *static_cast<CComboBox*>(CWnd::FromHandle(GetDlgItem(hDlg, IDC_BRWS_FOLDER_FIELD)));
    std::vector<std::wstring> entries;
    for (CString entry; static_cast<int>(entries.size()) < combo.GetCount(); entries.push_back(entry.GetString()))
        combo.GetLBText(static_cast<int>(entries.size()), entry);
    return entries;
}

// The list of the completion's suggestions when it shows (Wine's completion
// control puts it in a popup of its own), else null.
HWND ShownSuggestions()
{
    auto list = [](HWND hPopup) { return hPopup ? FindWindowExW(hPopup, nullptr, L"ListBox", nullptr) : nullptr; };
    return list(DialogDriver::ThreadWindow(nullptr, [&](HWND hWnd) { return list(hWnd) != nullptr; }));
}

HWND FieldEdit(HWND hDlg) { return FindWindowExW(GetDlgItem(hDlg, IDC_BRWS_FOLDER_FIELD), nullptr, L"Edit", nullptr); }

} // namespace

// The host calls the interface through its table; the destructor takes two
// entries under this ABI, so operation n of the interface sits at n + 1. It
// finds the factory by its undecorated name.
TEST(BrowseDialogInterface, TableOrderAndUndecoratedFactory)
{
    using V = VBrwsForFolderDlg;
    const ptrdiff_t slots[] = {VirtualIndex(&V::GetFolderName),        VirtualIndex(&V::GetNumChildren),
                               VirtualIndex(&V::GetPathName),          VirtualIndex(&V::SetFavoritesHistory),
                               VirtualIndex(&V::SetHistory),           VirtualIndex(&V::GetSaveStartPlacement),
                               VirtualIndex(&V::SetSaveStartPlacement), VirtualIndex(&V::SetInitialFolder),
                               VirtualIndex(&V::Do),                   VirtualIndex(&V::DeleteThis)};
    for (size_t i = 0; i < std::size(slots); ++i)
        EXPECT_EQ(static_cast<ptrdiff_t>(i + 2), slots[i]) << "operation " << i + 1;
    EXPECT_NE(nullptr, GetProcAddress(GetModuleHandleW(L"TarkBrowserUtil.dll"), "MakeBrwsForFolderDlg"));
}

// Four dialogs over one history. A typed path needs text for OK. Typing part
// of a name offers the typed parent's subfolders that start with it; Escape
// closes the offer, Down and Enter take the first into the field, neither
// closes the dialog, and the history stays the list. OK puts the folder on
// top and cuts the history to its limit (a text after the last line feed is
// no entry). The next dialog lists the history in the field and opens
// its first entry when that exists; picking an older entry makes it the
// choice. Cancel only cuts the history and reports the folder it was at.
// Under the NoFileMru policy the field loses its list, in place, and the
// history is neither read nor written.
TEST_F(BrowseDialogTest, HistoryOfFoldersTypedOpenedAndPicked)
{
    const std::wstring older = MakeFolders(m_root, L"older");
    const std::wstring typed = MakeFolders(m_root, L"typed");
    MakeFolders(m_root, L"types");
    ASSERT_TRUE(theApp.WriteProfileString(L"H", L"Recent",
                                          (L"Q:\\gone\n" + older + L"\nQ:\\three\nQ:\\tail-without-feed").c_str()));
    CBrwsForFolderDlg first;
    {
        first.SetHistory(L"H", L"Recent", 3);
        DialogDriver driver;
        driver
            .Then([&](HWND hDlg) {
                EXPECT_EQ((std::vector<std::wstring>{L"Q:\\gone", older, L"Q:\\three"}), ComboEntries(hDlg));
                EXPECT_EQ(nullptr, TreeView_GetSelection(Tree(hDlg))) << "the first entry does not exist";
                EXPECT_EQ(L"Choose a folder:", DialogDriver::ItemText(hDlg, IDC_BRWS_FOLDER_PROMPT));
                DialogDriver::SetText(hDlg, IDC_BRWS_FOLDER_FIELD, L"");
                EXPECT_FALSE(Enabled(hDlg, IDOK));
                SetFocus(FieldEdit(hDlg));
                DialogDriver::PostChars(FieldEdit(hDlg), (m_root / L"t").c_str());
            })
            .Until([](HWND) { return ShownSuggestions() != nullptr; })
            .Then([&](HWND hDlg) { DialogDriver::PostKey(FieldEdit(hDlg), VK_ESCAPE); })
            .Then([&](HWND hDlg) {
                EXPECT_EQ(nullptr, ShownSuggestions());
                EXPECT_EQ(m_root / L"t", Field(hDlg));
                DialogDriver::PostChars(FieldEdit(hDlg), L"y");
            })
            .Until([](HWND) { return ShownSuggestions() != nullptr; })
            .Then([&](HWND hDlg) {
                EXPECT_EQ(2, SendMessageW(ShownSuggestions(), LB_GETCOUNT, 0, 0)) << "typed and types";
                DialogDriver::PostKey(FieldEdit(hDlg), VK_DOWN);
            })
            .Then([&](HWND hDlg) {
                EXPECT_EQ(typed, Field(hDlg));
                DialogDriver::PostKey(FieldEdit(hDlg), VK_RETURN);
            })
            .Then([&](HWND hDlg) {
                EXPECT_EQ(nullptr, ShownSuggestions());
                EXPECT_EQ(typed, Field(hDlg));
                EXPECT_TRUE(Enabled(hDlg, IDOK));
                EXPECT_FALSE(Enabled(hDlg, IDC_BRWS_NEW_FOLDER));
                EXPECT_EQ(3u, ComboEntries(hDlg).size()) << "the history is still the list";
                DialogDriver::Click(hDlg, IDOK);
            });
        EXPECT_EQ(IDOK, RunDialog(first, driver));
    }
    EXPECT_EQ(typed, Result(first));
    EXPECT_EQ(typed + L"\nQ:\\gone\n" + older + L"\n", ProfileString(L"H", L"Recent"));

    CBrwsForFolderDlg second;
    second.SetHistory(L"H", L"Recent", 3);
    EXPECT_EQ(IDOK, RunDialog(second, [&](HWND hDlg) {
                  EXPECT_EQ(typed, TreeItemPath(hDlg));
                  EXPECT_TRUE(Enabled(hDlg, IDOK) && Enabled(hDlg, IDC_BRWS_NEW_FOLDER));
                  DialogDriver::Select(hDlg, IDC_BRWS_FOLDER_FIELD, 2);
                  DialogDriver::Click(hDlg, IDOK);
              }));
    EXPECT_EQ(older, Result(second));
    EXPECT_STREQ(L"older", second.GetFolderName());
    EXPECT_EQ(older + L"\n" + typed + L"\nQ:\\gone\n", ProfileString(L"H", L"Recent"));

    CBrwsForFolderDlg third;
    third.SetHistory(L"H", L"Recent", 1);
    EXPECT_EQ(IDCANCEL, RunDialog(third, [](HWND hDlg) { DialogDriver::Click(hDlg, IDCANCEL); }));
    EXPECT_EQ(older, Result(third));
    EXPECT_EQ(older + L"\n", ProfileString(L"H", L"Recent"));

    testing_support::ScopedRegistryValue noFileMru(kComdlg32Policies, L"NoFileMru");
    ASSERT_TRUE(noFileMru.SetDword(1));
    CBrwsForFolderDlg fourth;
    fourth.SetHistory(L"H", L"Recent", 5);
    EXPECT_EQ(IDOK, RunDialog(fourth, [&](HWND hDlg) {
                  HWND hField = GetDlgItem(hDlg, IDC_BRWS_FOLDER_FIELD);
                  EXPECT_EQ(static_cast<DWORD>(CBS_SIMPLE), GetWindowLongW(hField, GWL_STYLE) & 3u);
                  EXPECT_TRUE(ComboEntries(hDlg).empty());
                  EXPECT_EQ(nullptr, TreeView_GetSelection(Tree(hDlg))) << "the history's first entry opened";
                  EXPECT_EQ(GetDlgItem(hDlg, IDC_BRWS_FOLDER_PROMPT), GetWindow(hField, GW_HWNDPREV));
                  EXPECT_EQ(GetDlgItem(hDlg, IDC_BRWS_LOCATE), GetWindow(hField, GW_HWNDNEXT));
                  DialogDriver::SetText(hDlg, IDC_BRWS_FOLDER_FIELD, typed.c_str());
                  DialogDriver::Click(hDlg, IDOK);
              }));
    EXPECT_EQ(typed, Result(fourth));
    EXPECT_EQ(older + L"\n", ProfileString(L"H", L"Recent"));
}

// Opened at a folder below one whose listing is held, the dialog shows the
// folder with its ancestors at once, its siblings when the listing ends, and
// the selection stays. F5 reads the selected folder again (never opened,
// nothing watches it); once open, the tree follows folders made and removed
// on disk. Backspace and Alt+Up go to the parent folder (Up alone would go to
// the sibling above). On a folder outside the file system, Enter leaves the
// disabled OK alone, and OK pressed all the same shows the message; the
// dialog stays open. Then a 300-character path is typed,
// located and chosen with OK: where the shell reaches it, the dialog returns
// it whole and keeps it in the history, else it refuses it with the same
// message and leaves the text as it was; it never stands for the folder that
// the path's first 259 characters name.
TEST_F(BrowseDialogTest, TreeKeysMessagesAndLongPaths)
{
    MakeFolders(m_root, L"slow\\alpha");
    MakeFolders(m_root, L"slow\\zulu");
    const std::wstring start = MakeFolders(m_root, L"slow\\mike");
    // The long path's last name covers the 260th character; its sibling is
    // named after what fits into 259, the folder a parser that cuts at
    // MAX_PATH would find instead.
    std::wstring typed = m_root.Path();
    for (wchar_t letter = L'a'; typed.size() + 101 <= 240; ++letter)
        CreateDirectoryW((typed += L"\\" + std::wstring(100, letter)).c_str(), nullptr);
    typed += L"\\" + std::wstring(299 - typed.size(), L'z');
    const std::wstring cutSibling = typed.substr(0, MAX_PATH - 1);
    ASSERT_TRUE(CreateDirectoryW(typed.c_str(), nullptr) && CreateDirectoryW(cutSibling.c_str(), nullptr));
    const bool bReached = std::unique_ptr<CBFolder>(CreateShellFolder(nullptr, typed.c_str())) != nullptr;
    testing_support::ListingGate gate;
    gate.Set(m_root / L"slow", testing_support::ListingGate::Mode::Hold);
    CString strSearching;
    strSearching.LoadString(IDS_BRWS_TREE_SEARCHING);
    CBrwsForFolderDlg dlg;
    dlg.SetInitialFolder(start.c_str());
    dlg.SetHistory(L"H", L"Long", 5);
    HTREEITEM hStart = nullptr;
    auto siblings = [&](HWND hDlg) { return ChildTexts(hDlg, TreeView_GetParent(Tree(hDlg), hStart)); };
    auto children = [&](HWND hDlg) { return ChildTexts(hDlg, hStart); };
    std::vector<std::wstring> messages;
    auto answerMessage = [&](HWND hBox) {
        messages.push_back(DialogDriver::ItemText(hBox, 0xFFFF));
        DialogDriver::Click(hBox, IDOK);
    };
    auto typeAndPress = [&typed](int id) {
        return [&typed, id](HWND hDlg) {
            DialogDriver::SetText(hDlg, IDC_BRWS_FOLDER_FIELD, typed.c_str());
            DialogDriver::Click(hDlg, id);
        };
    };
    DialogDriver driver;
    driver
        .Then([&](HWND hDlg) {
            hStart = TreeView_GetSelection(Tree(hDlg));
            EXPECT_EQ(start, TreeItemPath(hDlg));
            EXPECT_EQ((std::vector<std::wstring>{strSearching.GetString(), L"mike"}), siblings(hDlg));
            gate.Open();
        })
        .Until([&](HWND hDlg) { return siblings(hDlg) == std::vector<std::wstring>{L"alpha", L"mike", L"zulu"}; })
        .Then([&](HWND hDlg) {
            EXPECT_EQ(hStart, TreeView_GetSelection(Tree(hDlg)));
            EXPECT_EQ(3, dlg.GetNumChildren(TreeView_GetParent(Tree(hDlg), hStart)));
            EXPECT_EQ(0, dlg.GetNumChildren(hStart));
            ASSERT_TRUE(CreateDirectoryW((start + L"\\fresh").c_str(), nullptr));
            SetFocus(Tree(hDlg));
            DialogDriver::PostKey(Tree(hDlg), VK_F5);
        })
        .Until([&](HWND hDlg) { return children(hDlg) == std::vector<std::wstring>{L"fresh"}; })
        .Then([&](HWND hDlg) {
            TreeView_Expand(Tree(hDlg), hStart, TVE_EXPAND);
            EXPECT_TRUE(CreateDirectoryW((start + L"\\new").c_str(), nullptr));
            EXPECT_TRUE(RemoveDirectoryW((start + L"\\fresh").c_str()));
        })
        .Until([&](HWND hDlg) { return children(hDlg) == std::vector<std::wstring>{L"new"}; })
        .Then([](HWND hDlg) { DialogDriver::PostKey(Tree(hDlg), VK_BACK); })
        .Then([&](HWND hDlg) {
            EXPECT_EQ(m_root / L"slow", TreeItemPath(hDlg));
            // Alt is down while Alt+Up is pressed: a system key.
            PostMessageW(Tree(hDlg), WM_SYSKEYDOWN, VK_UP, 1 | (1 << 29));
        })
        .Then([&](HWND hDlg) {
            EXPECT_EQ(m_root.Path(), TreeItemPath(hDlg));
            HWND hTree = Tree(hDlg);
            HTREEITEM hVirtual = TreeView_GetChild(hTree, TreeView_GetRoot(hTree));
            while (hVirtual && !TreeItemPath(hDlg, hVirtual).empty())
                hVirtual = TreeView_GetNextSibling(hTree, hVirtual);
            ASSERT_NE(nullptr, hVirtual) << "no virtual folder below the desktop";
            TreeView_SelectItem(hTree, hVirtual);
            EXPECT_FALSE(Enabled(hDlg, IDOK));
            // Enter goes to the default button, OK, which is disabled.
            DialogDriver::PostKey(hTree, VK_RETURN);
        })
        .Then([](HWND hDlg) {
            ASSERT_NE(nullptr, GetDlgItem(hDlg, IDC_BRWS_FOLDER_FIELD)) << "Enter pressed the disabled OK";
            SendMessageW(hDlg, WM_COMMAND, IDOK, 0); // as a host's shortcut would, all the same
        })
        .Then(answerMessage)
        .Then(typeAndPress(IDC_BRWS_LOCATE));
    if (bReached)
        driver.Then([&](HWND hDlg) {
            EXPECT_EQ(typed, TreeItemPath(hDlg));
            typeAndPress(IDOK)(hDlg);
        });
    else
        driver.Then(answerMessage).Then(typeAndPress(IDOK)).Then(answerMessage).Then([&](HWND hDlg) {
            EXPECT_EQ(typed, Field(hDlg)) << "the field's text was changed";
            EXPECT_NE(cutSibling, TreeItemPath(hDlg));
            DialogDriver::Click(hDlg, IDCANCEL);
        });
    EXPECT_EQ(bReached ? IDOK : IDCANCEL, RunDialog(dlg, driver));
    EXPECT_EQ(bReached ? 1u : 3u, messages.size()) << "at the virtual folder, and at Locate and OK when refused";
    for (const std::wstring& message : messages)
        EXPECT_NE(std::wstring::npos, message.find(L"not part of the file system")) << message;
    EXPECT_EQ(bReached ? typed : L"", Result(dlg));
    EXPECT_EQ(bReached ? typed + L"\n" : L"", ProfileString(L"H", L"Long")) << "Cancel writes the history it read";
}

// The dialog at this process's resolution, printed after "probe:" for the
// test below, which runs it in processes of their own.
TEST_F(BrowseDialogTest, DISABLED_Probe)
{
    // As the sample host's manifest says for it: the dialog is drawn for the
    // screen's resolution, not stretched from 96.
    SetProcessDPIAware();
    CBrwsForFolderDlg dlg;
    dlg.SetInitialFolder(m_root.Path().c_str());
    EXPECT_EQ(IDCANCEL, RunDialog(dlg, [](HWND hDlg) {
                  HDC hdc = GetDC(nullptr);
                  const int dpi = GetDeviceCaps(hdc, LOGPIXELSX);
                  ReleaseDC(nullptr, hdc);
                  CRect rcClient, rcTree;
                  GetClientRect(hDlg, &rcClient);
                  GetWindowRect(Tree(hDlg), &rcTree);
                  LOGFONTW font = {};
                  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(hDlg, WM_GETFONT, 0, 0)), sizeof(font), &font);
                  const int buttonIcon = testing_support::IconWidth(reinterpret_cast<HICON>(
                      SendDlgItemMessageW(hDlg, IDC_BRWS_SPECIAL_FOLDERS, BM_GETIMAGE, IMAGE_ICON, 0)));
                  int cx = 0, cy = 0;
                  ImageList_GetIconSize(TreeView_GetImageList(Tree(hDlg), TVSIL_NORMAL), &cx, &cy);
                  printf("probe: %d %d %d %d %ld %d %d\n", dpi, rcClient.Width(), rcClient.Height(), rcTree.Width(),
                         font.lfHeight, buttonIcon, cx);
                  DialogDriver::Click(hDlg, IDCANCEL);
              }));
}

// In a process started at 144 or 192 pixels per inch, the dialog, its font
// and its tree are larger in proportion, and the button and tree
// icons come at the size made for that resolution, a sixth of it. At 96,
// "u32comm.ini" beside the executable can ask for two or three times that
// for the buttons, which then come at 32 or 48 pixels.
TEST_F(BrowseDialogTest, HigherResolutionScalesLayoutFontAndIcons)
{
    // In pixels but the first and the font's height as its LOGFONT gives it
    // (negative for a character height).
    const char* const kProbed[] = {"dpi", "width", "height", "tree", "font", "button icon", "tree icon"};
    const std::wstring ini = testing_support::BinaryFolder() + L"\\u32comm.ini";
    DeleteFileW(ini.c_str());
    const struct { int dpi; const wchar_t* ratio; int buttonIcon; } rows[] = {
        {96, nullptr, 16}, {144, nullptr, 24}, {192, nullptr, 32}, {96, L"2", 32}, {96, L"3", 48}, {96, L"0", 16}};
    std::vector<int> base;
    for (const auto& row : rows)
    {
        if (row.ratio != nullptr)
            WritePrivateProfileStringW(L"XUIDPI", L"DPIXRatio", row.ratio, ini.c_str());
        // A process reads its resolution once, as it starts.
        testing_support::ScopedNewProcessDpi resolution(static_cast<DWORD>(row.dpi));
        const testing_support::ProcessResult run = testing_support::RunProcess(
            L"browsedlg_tests.exe", L"--gtest_also_run_disabled_tests --gtest_filter=BrowseDialogTest.DISABLED_Probe");
        EXPECT_EQ(0u, run.exitCode) << run.output;
        const size_t found = run.output.find("probe:");
        std::istringstream numbers(run.output.substr(found == std::string::npos ? run.output.size() : found + 6));
        std::vector<int> probed{std::istream_iterator<int>(numbers), std::istream_iterator<int>()};
        probed.resize(std::size(kProbed));
        ASSERT_EQ(row.dpi, probed[0]) << "the probe did not run at that resolution";
        EXPECT_EQ(row.buttonIcon, probed[5]) << row.dpi << " " << (row.ratio ? row.ratio : L"") << " " << kProbed[5];
        if (base.empty())
            base = probed;
        // Text metrics round: within a tenth of the resolution's ratio.
        for (size_t i = 1; i < std::size(kProbed) && row.ratio == nullptr; ++i)
            EXPECT_NEAR(row.dpi / 96.0, static_cast<double>(probed[i]) / base[i], row.dpi / 960.0)
                << row.dpi << " " << kProbed[i];
    }
    DeleteFileW(ini.c_str());
}
