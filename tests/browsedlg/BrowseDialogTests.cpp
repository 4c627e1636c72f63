// The browse-for-folder dialog run for real: opened, clicked, typed into and
// closed from its own message loop, one step per tick; results checked in the
// result folder, on disk and in the profile in the registry.
#include "BrowseDialogEnv.h"
#include "ListingGate.h"
#include "IconSize.h"
#include "RegistryScope.h"

#include <commctrl.h>
#include <shlobj.h>

#include <cstddef>
#include <cstring>

using namespace browsedlg_test;
using testing_support::DialogDriver;
using testing_support::ScratchFolder;

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

std::vector<std::wstring> ChildTexts(HWND hTree, HTREEITEM hItem)
{
    std::vector<std::wstring> texts;
    for (HTREEITEM h = TreeView_GetChild(hTree, hItem); h; h = TreeView_GetNextSibling(hTree, h))
        texts.push_back(TreeItemText(hTree, h));
    return texts;
}

class BrowseDialogTest : public ::testing::Test
{
protected:
    void SetUp() override { ClearProfile(); }
    void TearDown() override { ClearProfile(); }
    ScratchFolder m_root{L"bff"};
};

} // namespace

// The host calls the interface through its table; the destructor takes two
// entries under this ABI, so operation n of the interface sits at n + 1.
TEST(BrowseDialogInterface, TableOrderAndUndecoratedFactory)
{
    EXPECT_EQ(2, VirtualIndex(&VBrwsForFolderDlg::GetFolderName));
    EXPECT_EQ(3, VirtualIndex(&VBrwsForFolderDlg::GetNumChildren));
    EXPECT_EQ(4, VirtualIndex(&VBrwsForFolderDlg::GetPathName));
    EXPECT_EQ(5, VirtualIndex(&VBrwsForFolderDlg::SetFavoritesHistory));
    EXPECT_EQ(6, VirtualIndex(&VBrwsForFolderDlg::SetHistory));
    EXPECT_EQ(7, VirtualIndex(&VBrwsForFolderDlg::GetSaveStartPlacement));
    EXPECT_EQ(8, VirtualIndex(&VBrwsForFolderDlg::SetSaveStartPlacement));
    EXPECT_EQ(9, VirtualIndex(&VBrwsForFolderDlg::SetInitialFolder));
    EXPECT_EQ(10, VirtualIndex(&VBrwsForFolderDlg::Do));
    EXPECT_EQ(11, VirtualIndex(&VBrwsForFolderDlg::DeleteThis));

    HMODULE hModule = GetModuleHandleW(L"TarkBrowserUtil.dll");
    ASSERT_NE(nullptr, hModule);
    typedef VBrwsForFolderDlg* (*MakeFn)();
    MakeFn make = reinterpret_cast<MakeFn>(reinterpret_cast<void*>(GetProcAddress(hModule, "MakeBrwsForFolderDlg")));
    ASSERT_NE(nullptr, make);
    VBrwsForFolderDlg* pDlg = make();
    ASSERT_NE(nullptr, pDlg);
    EXPECT_EQ(0, pDlg->GetSaveStartPlacement());
    pDlg->SetSaveStartPlacement(TRUE, L"S", L"E");
    EXPECT_EQ(1, pDlg->GetSaveStartPlacement());
    EXPECT_STREQ(L"", pDlg->GetPathName(FALSE));
    pDlg->DeleteThis();
}

// Opening below a drive inserts the ancestors; OK reports the folder and puts
// it on top of the history.
TEST_F(BrowseDialogTest, OpensDeepFolderWithItsAncestorsAndOkReportsIt)
{
    std::wstring deep = MakeFolders(m_root, L"alpha\\beta\\gamma");
    CBrwsForFolderDlg dlg;
    dlg.SetInitialFolder(deep.c_str());
    dlg.SetHistory(L"Hist", L"Folders", 5);
    DialogDriver driver;
    driver.Then([&](HWND hDlg) {
        HWND hTree = Tree(hDlg);
        HTREEITEM hSel = TreeSelection(hTree);
        EXPECT_EQ(L"gamma", TreeItemText(hTree, hSel));
        HTREEITEM hParent = TreeView_GetParent(hTree, hSel);
        EXPECT_EQ(L"beta", TreeItemText(hTree, hParent));
        EXPECT_EQ(L"alpha", TreeItemText(hTree, TreeView_GetParent(hTree, hParent)));
        EXPECT_EQ(0, dlg.GetNumChildren(hSel));
        EXPECT_EQ(1, dlg.GetNumChildren(hParent));
        EXPECT_TRUE(SamePath(deep, Field(hDlg)));
        EXPECT_TRUE(Enabled(hDlg, IDOK));
        EXPECT_TRUE(Enabled(hDlg, IDC_BRWS_NEW_FOLDER));
        EXPECT_EQ(L"Choose a folder:", DialogDriver::ItemText(hDlg, IDC_BRWS_FOLDER_PROMPT));
        EXPECT_NE(nullptr, reinterpret_cast<HICON>(
                               SendDlgItemMessageW(hDlg, IDC_BRWS_LOCATE, BM_GETIMAGE, IMAGE_ICON, 0)));
        DialogDriver::Click(hDlg, IDOK);
    });
    driver.Start();
    EXPECT_EQ(IDOK, dlg.DoModal());
    EXPECT_TRUE(driver.Finished());
    EXPECT_TRUE(SamePath(deep, static_cast<LPCWSTR>(dlg.GetPathName(FALSE))));
    EXPECT_STREQ(L"gamma", dlg.GetFolderName());
    std::wstring history = ProfileString(L"Hist", L"Folders");
    ASSERT_FALSE(history.empty());
    EXPECT_TRUE(SamePath(deep, history.substr(0, history.find(L'\n'))));
    EXPECT_EQ(L'\n', history.back());
}

// Without any folder OK waits for text; a typed existing path is the result.
TEST_F(BrowseDialogTest, TypedPathIsAcceptedByOkAndHeadsTheHistory)
{
    std::wstring typed = MakeFolders(m_root, L"typed");
    SetProfileString(L"BFF", L"FolderHistory", L"Q:\\one\nQ:\\two\nQ:\\three\nQ:\\tail-without-feed");
    CBrwsForFolderDlg dlg;
    dlg.SetHistory(nullptr, nullptr, 2);
    DialogDriver driver;
    driver.Then([&](HWND hDlg) {
        std::vector<std::wstring> entries = ComboEntries(GetDlgItem(hDlg, IDC_BRWS_FOLDER_FIELD));
        EXPECT_EQ((std::vector<std::wstring>{L"Q:\\one", L"Q:\\two", L"Q:\\three"}), entries);
        // The first entry does not exist: nothing is selected in the tree.
        EXPECT_EQ(nullptr, TreeSelection(Tree(hDlg)));
        DialogDriver::SetText(hDlg, IDC_BRWS_FOLDER_FIELD, L"");
        EXPECT_FALSE(Enabled(hDlg, IDOK));
        DialogDriver::SetText(hDlg, IDC_BRWS_FOLDER_FIELD, typed.c_str());
        EXPECT_TRUE(Enabled(hDlg, IDOK));
        EXPECT_FALSE(Enabled(hDlg, IDC_BRWS_NEW_FOLDER));
        DialogDriver::Click(hDlg, IDOK);
    });
    driver.Start();
    EXPECT_EQ(IDOK, dlg.DoModal());
    EXPECT_TRUE(SamePath(typed, static_cast<LPCWSTR>(dlg.GetPathName(FALSE))));
    // Most recent first, cut to the limit of two.
    EXPECT_EQ(typed + L"\nQ:\\one\n", ProfileString(L"BFF", L"FolderHistory"));
}

// A folder outside the file system is refused with the message; the dialog
// stays open until it is cancelled.
TEST_F(BrowseDialogTest, VirtualFolderShowsTheMessageAndStaysOpen)
{
    CBrwsForFolderDlg dlg;
    dlg.SetHistory(L"H", L"E", 3);
    HWND hBrowse = nullptr;
    std::wstring message;
    DialogDriver driver;
    driver
        .Then([&](HWND hDlg) {
            hBrowse = hDlg;
            HWND hTree = Tree(hDlg);
            HTREEITEM hRoot = TreeView_GetRoot(hTree);
            HTREEITEM hVirtual = nullptr;
            for (HTREEITEM h = TreeView_GetChild(hTree, hRoot); h && !hVirtual; h = TreeView_GetNextSibling(hTree, h))
                if (TreeItemPath(hTree, h).empty())
                    hVirtual = h;
            ASSERT_NE(nullptr, hVirtual) << "no virtual folder below the desktop";
            TreeView_SelectItem(hTree, hVirtual);
            EXPECT_FALSE(Enabled(hDlg, IDOK));
            // Enter would be ignored with OK disabled; press it anyway.
            SendMessageW(hDlg, WM_COMMAND, IDOK, 0);
        })
        .Then([&](HWND hBox) {
            EXPECT_NE(hBrowse, hBox);
            HWND hText = GetDlgItem(hBox, 0xFFFF);
            message = hText ? DialogDriver::Text(hText) : L"";
            DialogDriver::Click(hBox, IDOK);
        })
        .Then([&](HWND hDlg) {
            EXPECT_EQ(hBrowse, hDlg) << "the browse dialog closed";
            DialogDriver::Click(hDlg, IDCANCEL);
        });
    driver.Start();
    EXPECT_EQ(IDCANCEL, dlg.DoModal());
    EXPECT_NE(std::wstring::npos, message.find(L"not part of the file system")) << message;
}

// While the dialog is open its tree follows the disk: a folder made there
// appears, one removed goes.
TEST_F(BrowseDialogTest, TheTreeFollowsFoldersMadeAndRemovedWhileOpen)
{
    MakeFolders(m_root, L"live\\doomed");
    MakeFolders(m_root, L"live\\old");
    const std::wstring live = m_root / L"live";
    CBrwsForFolderDlg dlg;
    dlg.SetInitialFolder(live.c_str());
    HTREEITEM hLive = nullptr;
    DialogDriver driver;
    driver
        .Then([&](HWND hDlg) {
            HWND hTree = Tree(hDlg);
            hLive = TreeSelection(hTree);
            TreeView_Expand(hTree, hLive, TVE_EXPAND);
            EXPECT_EQ((std::vector<std::wstring>{L"doomed", L"old"}), ChildTexts(hTree, hLive));
            EXPECT_TRUE(CreateDirectoryW((live + L"\\new").c_str(), nullptr));
            EXPECT_TRUE(RemoveDirectoryW((live + L"\\doomed").c_str()));
        })
        .Until([&](HWND hDlg) {
            return ChildTexts(Tree(hDlg), hLive) == std::vector<std::wstring>{L"new", L"old"};
        })
        .Then([](HWND hDlg) { DialogDriver::Click(hDlg, IDCANCEL); });
    driver.Start();
    EXPECT_EQ(IDCANCEL, dlg.DoModal());
    EXPECT_TRUE(driver.Finished());
}

// Opened at a folder below one that is slow to list, the dialog shows the
// folder at once; its siblings come when the listing ends, and the selection
// stays.
TEST_F(BrowseDialogTest, OpensAtOnceBelowASlowFolderAndItsSiblingsComeLater)
{
    MakeFolders(m_root, L"slow\\alpha");
    MakeFolders(m_root, L"slow\\zulu");
    const std::wstring start = MakeFolders(m_root, L"slow\\mike");
    testing_support::ListingGate gate;
    gate.Set(m_root / L"slow", testing_support::ListingGate::Mode::Hold);
    CBrwsForFolderDlg dlg;
    dlg.SetInitialFolder(start.c_str());
    CString strSearching;
    strSearching.LoadString(IDS_BRWS_TREE_SEARCHING);
    HTREEITEM hStart = nullptr;
    DialogDriver driver;
    driver
        .Then([&](HWND hDlg) {
            HWND hTree = Tree(hDlg);
            hStart = TreeSelection(hTree);
            EXPECT_TRUE(SamePath(start, TreeItemPath(hTree, hStart)));
            const std::vector<std::wstring> shown = {strSearching.GetString(), L"mike"};
            EXPECT_EQ(shown, ChildTexts(hTree, TreeView_GetParent(hTree, hStart)));
            gate.Open();
        })
        .Until([&](HWND hDlg) {
            HWND hTree = Tree(hDlg);
            return ChildTexts(hTree, TreeView_GetParent(hTree, hStart)) ==
                   std::vector<std::wstring>{L"alpha", L"mike", L"zulu"};
        })
        .Then([&](HWND hDlg) {
            EXPECT_EQ(hStart, TreeSelection(Tree(hDlg)));
            DialogDriver::Click(hDlg, IDOK);
        });
    driver.Start();
    EXPECT_EQ(IDOK, dlg.DoModal());
    EXPECT_TRUE(SamePath(start, static_cast<LPCWSTR>(dlg.GetPathName(FALSE))));
}

// Cancel keeps the history as it was but still reports the current item.
TEST_F(BrowseDialogTest, CancelWithCurrentItemReportsItsFolderAndKeepsTheHistory)
{
    std::wstring start = MakeFolders(m_root, L"start");
    SetProfileString(L"BFF", L"FolderHistory", L"Q:\\a\nQ:\\b\nQ:\\c\n");
    CBrwsForFolderDlg dlg;
    dlg.SetInitialFolder(start.c_str());
    dlg.SetHistory(nullptr, nullptr, 2);
    DialogDriver driver;
    driver.Then([](HWND hDlg) { DialogDriver::Click(hDlg, IDCANCEL); });
    driver.Start();
    EXPECT_EQ(IDCANCEL, dlg.DoModal());
    ASSERT_NE(nullptr, dlg.GetCurrentFolder());
    EXPECT_TRUE(SamePath(start, static_cast<LPCWSTR>(dlg.GetPathName(FALSE))));
    EXPECT_EQ(L"Q:\\a\nQ:\\b\n", ProfileString(L"BFF", L"FolderHistory"));
}

// The history written by OK is read back by the next dialog, whose first
// entry opens when it exists.
TEST_F(BrowseDialogTest, HistoryWrittenByOkIsReadBackAndOpened)
{
    std::wstring first = MakeFolders(m_root, L"first");
    std::wstring second = MakeFolders(m_root, L"second");
    for (const std::wstring& path : {first, second})
    {
        CBrwsForFolderDlg dlg;
        dlg.SetHistory(L"H", L"Recent", 10);
        DialogDriver driver;
        driver.Then([&](HWND hDlg) {
            DialogDriver::SetText(hDlg, IDC_BRWS_FOLDER_FIELD, path.c_str());
            DialogDriver::Click(hDlg, IDOK);
        });
        driver.Start();
        EXPECT_EQ(IDOK, dlg.DoModal());
    }
    EXPECT_EQ(second + L"\n" + first + L"\n", ProfileString(L"H", L"Recent"));

    CBrwsForFolderDlg dlg;
    dlg.SetHistory(L"H", L"Recent", 10);
    DialogDriver driver;
    driver.Then([&](HWND hDlg) {
        EXPECT_EQ((std::vector<std::wstring>{second, first}), ComboEntries(GetDlgItem(hDlg, IDC_BRWS_FOLDER_FIELD)));
        HTREEITEM hSel = TreeSelection(Tree(hDlg));
        EXPECT_TRUE(SamePath(second, TreeItemPath(Tree(hDlg), hSel)));
        // Picking the older entry makes the field's text the choice.
        DialogDriver::Select(hDlg, IDC_BRWS_FOLDER_FIELD, 1);
        DialogDriver::Click(hDlg, IDOK);
    });
    driver.Start();
    EXPECT_EQ(IDOK, dlg.DoModal());
    EXPECT_TRUE(SamePath(first, static_cast<LPCWSTR>(dlg.GetPathName(FALSE))));
    EXPECT_EQ(first + L"\n" + second + L"\n", ProfileString(L"H", L"Recent"));
}

// Under NoFileMru the field loses its list, in place, and the history is
// neither read nor written.
TEST_F(BrowseDialogTest, NoFileMruPolicyDropsTheListAndLeavesTheHistoryAlone)
{
    testing_support::ScopedRegistryValue policy(L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Comdlg32",
                                                L"NoFileMru");
    ASSERT_TRUE(policy.SetDword(1));
    std::wstring typed = MakeFolders(m_root, L"policy");
    SetProfileString(L"BFF", L"FolderHistory", L"Q:\\kept\n");
    CBrwsForFolderDlg dlg;
    dlg.SetHistory(nullptr, nullptr, 5);
    DialogDriver driver;
    driver.Then([&](HWND hDlg) {
        HWND hField = GetDlgItem(hDlg, IDC_BRWS_FOLDER_FIELD);
        ASSERT_NE(nullptr, hField);
        EXPECT_EQ(static_cast<DWORD>(CBS_SIMPLE), GetWindowLongW(hField, GWL_STYLE) & 3u);
        EXPECT_EQ(0, SendMessageW(hField, CB_GETCOUNT, 0, 0));
        EXPECT_EQ(GetDlgItem(hDlg, IDC_BRWS_FOLDER_PROMPT), GetWindow(hField, GW_HWNDPREV));
        EXPECT_EQ(GetDlgItem(hDlg, IDC_BRWS_LOCATE), GetWindow(hField, GW_HWNDNEXT));
        DialogDriver::SetText(hDlg, IDC_BRWS_FOLDER_FIELD, typed.c_str());
        DialogDriver::Click(hDlg, IDOK);
    });
    driver.Start();
    EXPECT_EQ(IDOK, dlg.DoModal());
    EXPECT_TRUE(SamePath(typed, static_cast<LPCWSTR>(dlg.GetPathName(FALSE))));
    EXPECT_EQ(L"Q:\\kept\n", ProfileString(L"BFF", L"FolderHistory"));
}

namespace {

int ButtonIconWidth()
{
    int width = -1;
    CBrwsForFolderDlg dlg;
    DialogDriver driver;
    driver.Then([&](HWND hDlg) {
        width = testing_support::IconWidth(reinterpret_cast<HICON>(
            SendDlgItemMessageW(hDlg, IDC_BRWS_SPECIAL_FOLDERS, BM_GETIMAGE, IMAGE_ICON, 0)));
        DialogDriver::Click(hDlg, IDCANCEL);
    });
    driver.Start();
    EXPECT_EQ(IDCANCEL, dlg.DoModal());
    return width;
}

} // namespace

// The screen here has 96 pixels per inch; "u32comm.ini" beside the
// executable can ask for two or three times that, and then the icons come at
// 32 or 48 pixels.
TEST_F(BrowseDialogTest, ButtonIconsFollowTheScreenOrTheIniRatio)
{
    std::wstring ini = testing_support::BinaryFolder() + L"\\u32comm.ini";
    DeleteFileW(ini.c_str());
    HDC hdc = GetDC(nullptr);
    int dpi = GetDeviceCaps(hdc, LOGPIXELSX);
    ReleaseDC(nullptr, hdc);
    ASSERT_LT(dpi, 144) << "the checks below assume a screen at scale 1";
    EXPECT_EQ(16, ButtonIconWidth());

    ASSERT_TRUE(WritePrivateProfileStringW(L"XUIDPI", L"DPIXRatio", L"2", ini.c_str()));
    EXPECT_EQ(32, ButtonIconWidth());
    ASSERT_TRUE(WritePrivateProfileStringW(L"XUIDPI", L"DPIXRatio", L"3", ini.c_str()));
    EXPECT_EQ(48, ButtonIconWidth());
    ASSERT_TRUE(WritePrivateProfileStringW(L"XUIDPI", L"DPIXRatio", L"0", ini.c_str()));
    EXPECT_EQ(16, ButtonIconWidth());
    DeleteFileW(ini.c_str());
}
