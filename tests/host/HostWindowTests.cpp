// The sample host's main window driven the way a person uses it: choosing a
// folder in the tree, watching a folder made outside appear, the name filter,
// the path field, copying files through the browse dialog, duplicating,
// renaming in the list and deleting to the recycle bin. Every step is checked
// on disk and in the window.
#include <gtest/gtest.h>
#include <afxwin.h>
#include <TarkLanguage.h>

#include "BrwsResourceIds.h"
#include "DialogDriver.h"
#include "RegistryScope.h"
#include "TestProcess.h"
#include "host/BrowserWindow.h"
#include "host/FolderPicker.h"

#include <commctrl.h>
#include <ole2.h>

#include <fstream>
#include <iterator>

using testing_support::DialogDriver;
using testing_support::Narrow;
using testing_support::PumpMessagesUntil;

namespace {

CWinApp theApp(L"HostWindowTests");

// A file's content; empty when there is no such file.
std::string ReadFile(const std::wstring& path)
{
    std::ifstream in(path.c_str(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The window opened at a scratch folder that holds "photos" (a subfolder and
// three files, each holding its own name) and an empty "copies".
class HostWindowTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        OleInitialize(nullptr);
        theApp.SetRegistryKey(L"TarkHostWindowTests");
        CConnectLanguage::Instance().SetPath(testing_support::BinaryFolder().c_str());
        ASSERT_GE(CConnectLanguage::Instance().CallStoredCallbacks(L"English"), 1);
        // Wine has a recycle bin only when this exists at the first delete.
        ASSERT_FALSE(testing_support::DataHome().empty()) << "XDG_DATA_HOME must name the test's own data folder";
        SHCreateDirectoryExW(nullptr, testing_support::DataHome().c_str(), nullptr);
    }
    static void TearDownTestSuite() { OleUninitialize(); }

    void SetUp() override
    {
        ASSERT_TRUE(CreateDirectoryW(source.c_str(), nullptr) && CreateDirectoryW(destination.c_str(), nullptr));
        ASSERT_TRUE(CreateDirectoryW((source + L"\\older").c_str(), nullptr));
        for (const wchar_t letter : {L'a', L'b', L'c'})
            std::ofstream((source + L"\\" + Name(letter)).c_str(), std::ios::binary) << Narrow(Name(letter));
        ASSERT_TRUE(window.CreateBrowser(CString(root.Path().c_str())));
        window.ShowWindow(SW_SHOW);
    }

    std::wstring Name(wchar_t letter) const { return tag + L"-" + letter + L".jpg"; }
    // What the file of that name holds in the folder; empty when it is not there.
    std::string In(const std::wstring& folder, wchar_t letter) const { return ReadFile(folder + L"\\" + Name(letter)); }
    // The folder named so below hParent in the tree, or null.
    HTREEITEM Child(HTREEITEM hParent, const wchar_t* name)
    {
        CTreeCtrl& tree = window.Tree();
        for (HTREEITEM h = tree.GetChildItem(hParent); h != nullptr; h = tree.GetNextSiblingItem(h))
            if (tree.GetItemText(h).CompareNoCase(name) == 0)
                return h;
        return nullptr;
    }
    // The names of the file list's rows, in order: all, or the selected ones.
    std::vector<std::wstring> Rows(bool bSelectedOnly = false)
    {
        const HWND hList = window.Files().Window().GetSafeHwnd();
        std::vector<std::wstring> rows;
        for (int i = 0; i < ListView_GetItemCount(hList); ++i)
        {
            wchar_t text[MAX_PATH] = {};
            ListView_GetItemText(hList, i, 0, text, MAX_PATH);
            if (!bSelectedOnly || ListView_GetItemState(hList, i, LVIS_SELECTED))
                rows.push_back(text);
        }
        return rows;
    }
    // Selects exactly the rows with these names.
    void Select(std::initializer_list<std::wstring> names)
    {
        CStringList list;
        for (const std::wstring& name : names)
            list.AddTail(name.c_str());
        window.Files().SelectNames(list);
    }
    // Clicks a button of the window that opens a dialog, which answer takes.
    void ClickAnswering(int id, std::function<void(HWND)> answer)
    {
        DialogDriver driver;
        driver.Then(std::move(answer)).Start();
        DialogDriver::Click(window.GetSafeHwnd(), id);
        EXPECT_TRUE(driver.Finished());
    }

    // The profile starts empty, and what a test writes is gone afterwards.
    testing_support::ScopedRegistryKeyAbsent profile{L"Software\\TarkHostWindowTests"};
    testing_support::ScratchFolder root{L"host"};
    const std::wstring source = root / L"photos";
    const std::wstring destination = root / L"copies";
    // Unique names: the recycle bin outlives the run.
    const std::wstring tag = root.Path().substr(root.Path().rfind(L'\\') + 1);
    CBrowserWindow window;
};

} // namespace

// Opened at its folder, the window lists the files of the folder chosen in
// the tree; a folder made on disk appears in the tree; the filter narrows the
// list to matching names, and clearing it brings every file back. Copy to...
// takes the destination typed into the browse dialog (which keeps it in its
// history in the host's profile); Duplicate makes a copy beside the file and
// selects it; Rename edits the label in place and Enter commits it, the new
// name selected; Delete moves the file into the recycle bin once the shell's
// question is answered.
TEST_F(HostWindowTest, FilesOfTheFolderChosenCopiedDuplicatedRenamedAndDeleted)
{
    testing_support::TrashEntries trashed({Name(L'b')});
    const HTREEITEM hPhotos = Child(window.Tree().GetSelectedItem(), L"photos");
    window.Tree().SelectItem(hPhotos);
    window.Tree().Expand(hPhotos, TVE_EXPAND);
    EXPECT_EQ(source, static_cast<LPCWSTR>(window.CurrentFolder()));
    EXPECT_EQ(source, static_cast<LPCWSTR>(window.PathField().GetEditText()));
    EXPECT_EQ((std::vector<std::wstring>{Name(L'a'), Name(L'b'), Name(L'c')}), Rows());
    ASSERT_NE(nullptr, Child(hPhotos, L"older"));
    ASSERT_TRUE(CreateDirectoryW((source + L"\\made outside").c_str(), nullptr));
    EXPECT_TRUE(PumpMessagesUntil([&] { return Child(hPhotos, L"made outside") != nullptr; }))
        << "the tree did not follow the new folder";
    DialogDriver::SetText(window.GetSafeHwnd(), IDC_HOST_FILTER, L"*-b.jpg");
    EXPECT_EQ(std::vector<std::wstring>{Name(L'b')}, Rows());
    DialogDriver::SetText(window.GetSafeHwnd(), IDC_HOST_FILTER, L"");

    Select({Name(L'a'), Name(L'b')});
    ClickAnswering(IDC_HOST_COPY, [&](HWND hDlg) {
        DialogDriver::SetText(hDlg, IDC_BRWS_FOLDER_FIELD, destination.c_str());
        DialogDriver::Click(hDlg, IDOK);
    });
    EXPECT_EQ(Narrow(Name(L'a')), In(destination, L'a'));
    EXPECT_EQ(Narrow(Name(L'b')), In(destination, L'b'));
    EXPECT_EQ("", In(destination, L'c'));
    const std::wstring history = static_cast<LPCWSTR>(theApp.GetProfileString(HOST_PICKER_SECTION, L"History"));
    EXPECT_NE(std::wstring::npos, history.find(destination)) << "the destination is not in the dialog's history";

    Select({Name(L'c')});
    DialogDriver::Click(window.GetSafeHwnd(), IDC_HOST_DUPLICATE);
    const std::vector<std::wstring> duplicate = Rows(true);
    ASSERT_EQ(1u, duplicate.size());
    EXPECT_NE(Name(L'c'), duplicate[0]);
    EXPECT_EQ(Narrow(Name(L'c')), ReadFile(source + L"\\" + duplicate[0]));

    Select({Name(L'a')});
    DialogDriver::Click(window.GetSafeHwnd(), IDC_HOST_RENAME);
    HWND hEdit = ListView_GetEditControl(window.Files().Window().GetSafeHwnd());
    ASSERT_NE(nullptr, hEdit);
    SetWindowTextW(hEdit, Name(L'r').c_str());
    DialogDriver::PostKey(hEdit, VK_RETURN);
    ASSERT_TRUE(PumpMessagesUntil([&] { return Rows(true) == std::vector<std::wstring>{Name(L'r')}; }))
        << "the list does not show the new name selected";
    EXPECT_EQ(Narrow(Name(L'a')), In(source, L'r'));
    EXPECT_EQ("", In(source, L'a'));

    Select({Name(L'b')});
    ClickAnswering(IDC_HOST_DELETE, [](HWND hDlg) { DialogDriver::Click(hDlg, IDYES); });
    EXPECT_EQ("", In(source, L'b'));
    EXPECT_EQ(Narrow(Name(L'b')), In(testing_support::TrashFiles(), L'b'));
    EXPECT_EQ(3u, Rows().size()) << "the list still shows the deleted file";
}

// The path field: a folder typed and Enter goes there; a folder that does not
// exist is refused with a message and the field shows the current one again.
// "..." beside it opens the browse dialog, and the folder picked there is
// opened at once.
TEST_F(HostWindowTest, PathFieldGoesToATypedOrPickedFolder)
{
    // Clicking into the field starts its edit, which takes the keys that follow.
    auto type = [&](const std::wstring& path) {
        HWND hEdit = window.PathField().GetEdit().GetSafeHwnd();
        SetFocus(hEdit);
        SetWindowTextW(hEdit, path.c_str());
        DialogDriver::PostKey(hEdit, VK_RETURN);
    };
    DialogDriver driver;
    driver.Next([&](HWND) { type(source); })
        .Until([&](HWND) { return source == static_cast<LPCWSTR>(window.CurrentFolder()); })
        .Next([&](HWND) {
            EXPECT_EQ(3u, Rows().size());
            type(root / L"not here");
        })
        .Then([](HWND hMessage) { DialogDriver::Click(hMessage, IDOK); })
        .Next([&](HWND) {
            EXPECT_EQ(source, static_cast<LPCWSTR>(window.CurrentFolder()));
            EXPECT_EQ(source, static_cast<LPCWSTR>(window.PathField().GetEditText()));
            DialogDriver::Click(window.PathField().GetSafeHwnd(), CEditWithBrowse::ID_BROWSE);
        })
        .Then([&](HWND hDlg) {
            DialogDriver::SetText(hDlg, IDC_BRWS_FOLDER_FIELD, destination.c_str());
            DialogDriver::Click(hDlg, IDOK);
        })
        .Until([&](HWND) { return destination == static_cast<LPCWSTR>(window.CurrentFolder()); });
    driver.Start();
    EXPECT_TRUE(PumpMessagesUntil([&] { return driver.Finished(); }, 15000));
    EXPECT_EQ(destination, static_cast<LPCWSTR>(window.PathField().GetEditText()));
    EXPECT_STREQ(L"copies", window.Tree().GetItemText(window.Tree().GetSelectedItem()));
}
