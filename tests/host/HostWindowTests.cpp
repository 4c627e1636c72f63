// The sample host's main window driven the way a person uses it: choosing a
// folder in the tree, watching a folder made outside appear, copying files
// through the browse dialog, renaming in the list and deleting to the
// recycle bin. Every step is checked on disk and in the window.
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

#include <functional>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

using testing_support::DialogDriver;
using testing_support::ScratchFolder;

namespace {

const wchar_t kRegistryKey[] = L"TarkHostWindowTests";

CWinApp theApp(L"HostWindowTests");

class HostEnvironment : public ::testing::Environment
{
public:
    void SetUp() override
    {
        OleInitialize(nullptr);
        theApp.SetRegistryKey(kRegistryKey);
        // The profile starts empty, and what the run writes is gone afterwards.
        m_profile.emplace(std::wstring(L"Software\\") + kRegistryKey);
        CConnectLanguage& language = CConnectLanguage::Instance();
        language.SetPath(testing_support::BinaryFolder().c_str());
        ASSERT_GE(language.CallStoredCallbacks(L"English"), 1);
        const std::wstring dataHome = testing_support::DataHome();
        ASSERT_FALSE(dataHome.empty()) << "XDG_DATA_HOME must name the test's own data folder";
        // Wine has a recycle bin only when this exists at the first delete.
        SHCreateDirectoryExW(nullptr, dataHome.c_str(), nullptr);
    }
    void TearDown() override
    {
        m_profile.reset();
        OleUninitialize();
    }

private:
    std::optional<testing_support::ScopedRegistryKeyAbsent> m_profile;
};

::testing::Environment* const g_environment = ::testing::AddGlobalTestEnvironment(new HostEnvironment);

bool Exists(const std::wstring& path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void WriteFile(const std::wstring& path, const std::string& text)
{
    std::ofstream(path.c_str(), std::ios::binary) << text;
}

std::string ReadFile(const std::wstring& path)
{
    std::ifstream in(path.c_str(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::wstring TreeText(HWND hTree, HTREEITEM hItem)
{
    wchar_t text[MAX_PATH] = {};
    TVITEMW item = {};
    item.mask = TVIF_TEXT;
    item.hItem = hItem;
    item.pszText = text;
    item.cchTextMax = MAX_PATH;
    TreeView_GetItem(hTree, &item);
    return text;
}

HTREEITEM ChildNamed(HWND hTree, HTREEITEM hParent, const std::wstring& name)
{
    for (HTREEITEM hChild = TreeView_GetChild(hTree, hParent); hChild != nullptr;
         hChild = TreeView_GetNextSibling(hTree, hChild))
    {
        if (_wcsicmp(TreeText(hTree, hChild).c_str(), name.c_str()) == 0)
            return hChild;
    }
    return nullptr;
}

// (name, selected) of every row of the file list, in order.
std::vector<std::pair<std::wstring, bool>> ListRows(HWND hList)
{
    std::vector<std::pair<std::wstring, bool>> rows;
    const int count = ListView_GetItemCount(hList);
    for (int i = 0; i < count; ++i)
    {
        wchar_t text[MAX_PATH] = {};
        ListView_GetItemText(hList, i, 0, text, MAX_PATH);
        rows.emplace_back(text, ListView_GetItemState(hList, i, LVIS_SELECTED) != 0);
    }
    return rows;
}

// Selects exactly the rows with these names, as clicks with Ctrl held would.
void SelectRows(HWND hList, const std::vector<std::wstring>& names)
{
    ListView_SetItemState(hList, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    const auto rows = ListRows(hList);
    for (size_t i = 0; i < rows.size(); ++i)
    {
        for (const std::wstring& name : names)
        {
            if (rows[i].first == name)
                ListView_SetItemState(hList, static_cast<int>(i), LVIS_SELECTED | LVIS_FOCUSED,
                                      LVIS_SELECTED | LVIS_FOCUSED);
        }
    }
}

std::wstring ProfileString(const wchar_t* section, const wchar_t* entry)
{
    return static_cast<LPCWSTR>(theApp.GetProfileString(section, entry, L"<missing>"));
}

class HostWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // Unique names: the recycle bin outlives the run.
        tag = root.Path().substr(root.Path().rfind(L'\\') + 1);
        source = root / L"photos";
        destination = root / L"copies";
        ASSERT_TRUE(CreateDirectoryW(source.c_str(), nullptr));
        ASSERT_TRUE(CreateDirectoryW((source + L"\\older").c_str(), nullptr));
        ASSERT_TRUE(CreateDirectoryW(destination.c_str(), nullptr));
        for (const std::wstring& name : {A(), B(), C()})
            WriteFile(source + L"\\" + name, testing_support::Narrow(name));

        ASSERT_TRUE(window.CreateBrowser(CString(root.Path().c_str())));
        window.ShowWindow(SW_SHOW);
        window.UpdateWindow();
        hTree = window.Tree().GetSafeHwnd();
        hList = window.Files().Window().GetSafeHwnd();
    }

    std::wstring A() const { return tag + L"-a.jpg"; }
    std::wstring B() const { return tag + L"-b.jpg"; }
    std::wstring C() const { return tag + L"-c.jpg"; }

    // Clicks the "photos" folder under the opened root and opens it.
    void ChoosePhotos()
    {
        HTREEITEM hRoot = TreeView_GetSelection(hTree);
        ASSERT_EQ(L"photos", TreeText(hTree, ChildNamed(hTree, hRoot, L"photos")));
        HTREEITEM hPhotos = ChildNamed(hTree, hRoot, L"photos");
        TreeView_SelectItem(hTree, hPhotos);
        TreeView_Expand(hTree, hPhotos, TVE_EXPAND);
        ASSERT_EQ(source, static_cast<LPCWSTR>(window.CurrentFolder()));
        ASSERT_EQ(source, static_cast<LPCWSTR>(window.PathField().GetEditText()));
    }

    ScratchFolder root{L"host"};
    std::wstring tag;
    std::wstring source;
    std::wstring destination;
    CBrowserWindow window;
    HWND hTree = nullptr;
    HWND hList = nullptr;
};

} // namespace

TEST_F(HostWindowTest, OpensAtTheFolderAndShowsAFolderMadeOnDisk)
{
    ASSERT_EQ(root.Path(), static_cast<LPCWSTR>(window.CurrentFolder()));
    ChoosePhotos();
    const auto rows = ListRows(hList);
    ASSERT_EQ(3u, rows.size());
    EXPECT_EQ(A(), rows[0].first);
    EXPECT_EQ(C(), rows[2].first);

    HTREEITEM hPhotos = TreeView_GetSelection(hTree);
    ASSERT_NE(nullptr, ChildNamed(hTree, hPhotos, L"older"));
    ASSERT_TRUE(CreateDirectoryW((source + L"\\made outside").c_str(), nullptr));
    EXPECT_TRUE(testing_support::PumpMessagesUntil([&] { return ChildNamed(hTree, hPhotos, L"made outside") != nullptr; }))
        << "the tree did not follow the new folder";

    // The filter narrows the list to matching names, and clearing it brings
    // every file back.
    DialogDriver::SetText(window.GetSafeHwnd(), IDC_HOST_FILTER, (L"*" + tag + L"-b*").c_str());
    ASSERT_EQ(1u, ListRows(hList).size());
    EXPECT_EQ(B(), ListRows(hList)[0].first);
    DialogDriver::SetText(window.GetSafeHwnd(), IDC_HOST_FILTER, L"");
    EXPECT_EQ(3u, ListRows(hList).size());
}

TEST_F(HostWindowTest, CopiesThroughTheDialogRenamesAndDeletesToTheRecycleBin)
{
    testing_support::TrashEntries trashed({B()});
    ChoosePhotos();
    HWND hMain = window.GetSafeHwnd();

    // Copy to...: the destination is typed into the dialog's folder field.
    SelectRows(hList, {A(), B()});
    {
        DialogDriver driver;
        driver.Then([&](HWND hDlg) { DialogDriver::SetText(hDlg, IDC_BRWS_FOLDER_FIELD, destination.c_str()); })
            .Then([](HWND hDlg) { DialogDriver::Click(hDlg, IDOK); });
        driver.Start();
        DialogDriver::Click(hMain, IDC_HOST_COPY);
        EXPECT_TRUE(driver.Finished());
    }
    EXPECT_EQ(testing_support::Narrow(A()), ReadFile(destination + L"\\" + A()));
    EXPECT_EQ(testing_support::Narrow(B()), ReadFile(destination + L"\\" + B()));
    EXPECT_FALSE(Exists(destination + L"\\" + C()));
    EXPECT_TRUE(Exists(source + L"\\" + A()));
    EXPECT_NE(std::wstring::npos, ProfileString(HOST_PICKER_SECTION, L"History").find(destination))
        << "the destination is not in the dialog's history";

    // Rename: the label is edited in place and Enter commits it.
    const std::wstring renamed = tag + L"-renamed.jpg";
    SelectRows(hList, {A()});
    DialogDriver::Click(hMain, IDC_HOST_RENAME);
    HWND hEdit = ListView_GetEditControl(hList);
    ASSERT_NE(nullptr, hEdit);
    SetWindowTextW(hEdit, renamed.c_str());
    DialogDriver::PostKey(hEdit, VK_RETURN);
    ASSERT_TRUE(testing_support::PumpMessagesUntil([&] { return Exists(source + L"\\" + renamed) && !Exists(source + L"\\" + A()); }));
    ASSERT_TRUE(testing_support::PumpMessagesUntil([&] {
        const auto rows = ListRows(hList);
        return rows.size() == 3 && rows[2].first == renamed && rows[2].second;
    })) << "the list does not show the new name selected";
    EXPECT_EQ(testing_support::Narrow(A()), ReadFile(source + L"\\" + renamed));

    // Delete: into the recycle bin once the shell's question is answered.
    SelectRows(hList, {B()});
    {
        DialogDriver confirm;
        confirm.Then([](HWND hDlg) { DialogDriver::Click(hDlg, IDYES); });
        confirm.Start();
        DialogDriver::Click(hMain, IDC_HOST_DELETE);
        EXPECT_TRUE(confirm.Finished());
    }
    EXPECT_FALSE(Exists(source + L"\\" + B()));
    EXPECT_EQ(testing_support::Narrow(B()), ReadFile(testing_support::TrashFiles() + L"\\" + B()));
    const auto rows = ListRows(hList);
    ASSERT_EQ(2u, rows.size());
    EXPECT_EQ(C(), rows[0].first);
    EXPECT_EQ(renamed, rows[1].first);
}

TEST_F(HostWindowTest, DuplicateMakesCopiesBesideTheFilesAndSelectsThem)
{
    ChoosePhotos();
    SelectRows(hList, {C()});
    DialogDriver::Click(window.GetSafeHwnd(), IDC_HOST_DUPLICATE);
    std::vector<std::wstring> selected;
    for (const auto& row : ListRows(hList))
    {
        if (row.second)
            selected.push_back(row.first);
    }
    ASSERT_EQ(1u, selected.size());
    EXPECT_NE(C(), selected[0]);
    EXPECT_EQ(testing_support::Narrow(C()), ReadFile(source + L"\\" + selected[0]));
    EXPECT_EQ(4u, ListRows(hList).size());
}

// The path field: typing a folder and Enter goes there; a folder that does
// not exist is refused with a message and the field shows the current one.
TEST_F(HostWindowTest, PathFieldGoesToATypedFolder)
{
    HWND hEdit = window.PathField().GetEdit().GetSafeHwnd();
    {
        DialogDriver driver;
        driver.Next([&](HWND) {
            SetWindowTextW(hEdit, source.c_str());
            DialogDriver::PostKey(hEdit, VK_RETURN);
        });
        driver.Start();
        SetFocus(hEdit);
        ASSERT_TRUE(testing_support::PumpMessagesUntil([&] { return source == static_cast<LPCWSTR>(window.CurrentFolder()); }));
        EXPECT_TRUE(driver.Finished());
        EXPECT_EQ(3u, ListRows(hList).size());
    }

    const std::wstring missing = root / L"not here";
    DialogDriver refused;
    refused.Next([&](HWND) {
            SetWindowTextW(hEdit, missing.c_str());
            DialogDriver::PostKey(hEdit, VK_RETURN);
        })
        .Then([](HWND hMessage) { DialogDriver::Click(hMessage, IDOK); });
    refused.Start();
    SetFocus(hEdit);
    ASSERT_TRUE(testing_support::PumpMessagesUntil([&] { return refused.Finished(); }));
    EXPECT_EQ(source, static_cast<LPCWSTR>(window.CurrentFolder()));
    EXPECT_EQ(source, static_cast<LPCWSTR>(window.PathField().GetEditText()));
}

// "..." beside the path field opens the browse dialog; the folder picked there
// is opened at once.
TEST_F(HostWindowTest, PathFieldBrowseButtonOpensThePickedFolder)
{
    DialogDriver driver;
    driver.Then([&](HWND hDlg) { DialogDriver::SetText(hDlg, IDC_BRWS_FOLDER_FIELD, destination.c_str()); })
        .Then([](HWND hDlg) { DialogDriver::Click(hDlg, IDOK); });
    driver.Start();
    DialogDriver::Click(window.PathField().GetSafeHwnd(), CEditWithBrowse::ID_BROWSE);
    ASSERT_TRUE(testing_support::PumpMessagesUntil(
        [&] { return destination == static_cast<LPCWSTR>(window.CurrentFolder()); }));
    EXPECT_TRUE(driver.Finished());
    EXPECT_EQ(destination, static_cast<LPCWSTR>(window.PathField().GetEditText()));
    EXPECT_EQ(L"copies", TreeText(hTree, TreeView_GetSelection(hTree)));
}
