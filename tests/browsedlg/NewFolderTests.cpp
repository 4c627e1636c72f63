// New folders of the browse-for-folder dialog: made with a free name and named
// in place in the tree, under the names the library ships or under those of
// another translation, whose names that are not plain names inside the
// parent, and numbered patterns that are malformed, never reach the disk.
#include "BrowseDialogEnv.h"


#include "BrwsModule.h"

#include <filesystem>
#include <set>

using namespace browsedlg_test;

namespace {

// Records for the module key the module that the language library answers
// with from now on.
void RecordLanguageModule(HINSTANCE hResources)
{
    CConnectLanguage::Instance().AddModuleInfo(CString(BRWSUTIL_MODULE_KEY) + L".dll", CString(), CString(), CString(),
                                               1, hResources, CString(), true, CString());
}

// The two new-folder names of a translation: a copy of the language module
// whose string block holding 25172 and 25173 holds only the given texts,
// loaded and recorded. Everything else is found further down the resource
// chain, in the real module.
HMODULE RecordTranslatedNames(const std::wstring& copy, const std::wstring& name, const std::wstring& numbered)
{
    EXPECT_TRUE(CopyFileW((testing_support::BinaryFolder() + L"\\TarkBrowserUtilRC.dll").c_str(), copy.c_str(), FALSE));
    // A block holds 16 strings, each as its length and its characters.
    const UINT first = IDS_BRWS_NEW_FOLDER_NAME & ~15u;
    std::vector<WCHAR> block;
    for (UINT id = first; id < first + 16; ++id)
    {
        const std::wstring text = id == IDS_BRWS_NEW_FOLDER_NAME ? name
                                  : id == IDS_BRWS_NEW_FOLDER_NUMBERED ? numbered : std::wstring();
        block.push_back(static_cast<WCHAR>(text.size()));
        block.insert(block.end(), text.begin(), text.end());
    }
    HANDLE hUpdate = BeginUpdateResourceW(copy.c_str(), TRUE);
    EXPECT_TRUE(UpdateResourceW(hUpdate, RT_STRING, MAKEINTRESOURCEW(first / 16 + 1),
                                MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL), block.data(),
                                static_cast<DWORD>(block.size() * sizeof(WCHAR))));
    EXPECT_TRUE(EndUpdateResourceW(hUpdate, FALSE));
    HMODULE hCopy = LoadLibraryW(copy.c_str());
    if (hCopy != nullptr)
        RecordLanguageModule(hCopy);
    return hCopy;
}

std::set<std::wstring> Entries(const std::wstring& folder)
{
    std::set<std::wstring> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.insert(entry.path().filename().wstring());
    return names;
}

} // namespace

// Each row makes a new folder in a parent that holds "New Folder" and "Taken",
// under the names the library ships or a translation's, then names it in the
// tree's label editor when one opens: the name typed with Enter, or kept with
// Escape. A name that would leave the parent is refused; where no plain name
// comes of the translation, the dialog says that no folder could be made. OK
// waits while the label is edited; afterwards the dialog is at the folder
// made, and F2 there opens no editor.
TEST_F(BrowseDialogTest, NewFoldersMadeWithAFreeNameAndNamedInPlace)
{
    // The translation's names (null: the shipped ones), the label typed before
    // the key (null: none), the folder made (null: none, and the message shows).
    const struct { const wchar_t *name, *numbered, *label; UINT key; const wchar_t* made; } rows[] = {
        {nullptr, nullptr, L"Named", VK_RETURN, L"Named"},
        {nullptr, nullptr, L"Discarded", VK_ESCAPE, L"New Folder (2)"},
        {nullptr, nullptr, L"..\\escaped", VK_RETURN, L"New Folder (2)"},
        {L"Taken", L"Ordner %d%%", nullptr, VK_ESCAPE, L"Ordner 2%"},
        {L"..\\Escaped", L"Ordner (%d)", nullptr, VK_ESCAPE, L"Ordner (2)"}, // the first name is passed over
        {L"..\\Escaped", L"..\\Escaped %d", nullptr, 0, nullptr},
        {L"Taken", L"Ordner %s", nullptr, 0, nullptr}, // a text where a number goes
        {L"Taken", L"Ordner %d of %d", nullptr, 0, nullptr},
        {L"Taken", L"Ordner %i", nullptr, 0, nullptr}}; // the one number placeholder is %d
    const HINSTANCE hReal = CConnectLanguage::Instance().GetModuleResourceHandle(BRWSUTIL_MODULE_KEY);
    for (const auto& r : rows)
    {
        SCOPED_TRACE(testing_support::Narrow(r.numbered ? r.numbered : r.label));
        ScratchFolder root{L"nfn"};
        ScratchFolder modules{L"nfm"};
        const std::wstring parent = MakeFolders(root, L"parent");
        MakeFolders(root, L"parent\\New Folder");
        MakeFolders(root, L"parent\\Taken");
        const HMODULE hNames = r.name ? RecordTranslatedNames(modules / L"names.dll", r.name, r.numbered) : nullptr;
        ASSERT_EQ(r.name != nullptr, hNames != nullptr);
        CBrwsForFolderDlg dlg;
        dlg.SetInitialFolder(parent.c_str());
        bool bFailureShown = false;
        DialogDriver driver;
        driver.Then([](HWND hDlg) { DialogDriver::Click(hDlg, IDC_BRWS_NEW_FOLDER); })
            .Then([&](HWND hTop) {
                if (Tree(hTop) == nullptr) // a message box over the dialog
                {
                    bFailureShown = DialogDriver::ItemText(hTop, 0xFFFF).find(parent) != std::wstring::npos;
                    return DialogDriver::Click(hTop, IDOK);
                }
                HWND hEdit = TreeView_GetEditControl(Tree(hTop));
                ASSERT_NE(nullptr, hEdit) << "no label edit on the new folder";
                EXPECT_FALSE(Enabled(hTop, IDOK));
                if (r.label != nullptr)
                    SetWindowTextW(hEdit, r.label);
                DialogDriver::PostKey(hEdit, r.key);
            })
            .Next([](HWND) {})
            .Then([&](HWND hDlg) {
                EXPECT_EQ(nullptr, TreeView_GetEditControl(Tree(hDlg)));
                EXPECT_EQ(r.made ? parent + L"\\" + r.made : parent, Field(hDlg));
                EXPECT_TRUE(Enabled(hDlg, IDOK));
                SetFocus(Tree(hDlg));
                DialogDriver::PostKey(Tree(hDlg), VK_F2);
            })
            .Next([](HWND) {})
            .Then([](HWND hDlg) {
                EXPECT_EQ(nullptr, TreeView_GetEditControl(Tree(hDlg))) << "F2 on an existing folder";
                DialogDriver::Click(hDlg, IDCANCEL);
            });
        EXPECT_EQ(IDCANCEL, RunDialog(dlg, driver));
        RecordLanguageModule(hReal);
        if (hNames != nullptr)
            FreeLibrary(hNames);
        EXPECT_EQ((std::set<std::wstring>{L"New Folder", L"Taken", r.made ? r.made : L"Taken"}), Entries(parent));
        EXPECT_EQ(std::set<std::wstring>{L"parent"}, Entries(root.Path())) << "a folder made outside the parent";
        EXPECT_EQ(r.made == nullptr, bFailureShown);
    }
}
