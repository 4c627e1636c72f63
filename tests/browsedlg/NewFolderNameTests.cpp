// New folders named by a translation other than the one the library ships:
// names that are not plain names inside the parent, and numbered patterns
// that are malformed, never reach the disk; the dialog says instead that no
// folder could be made.
#include "BrowseDialogEnv.h"

#include <TarkLanguage.h>
#include <commctrl.h>

#include "BrwsModule.h"

#include <filesystem>
#include <optional>
#include <set>

using namespace browsedlg_test;
using testing_support::DialogDriver;
using testing_support::ScratchFolder;

namespace {

// The two new-folder names of a translation: a copy of the language module
// whose string block holding 25172 and 25173 holds only the given texts,
// recorded for the module key while this lives. Everything else is found
// further down the resource chain, in the real module.
class CTranslatedNames
{
public:
    CTranslatedNames(const std::wstring& name, const std::wstring& numbered) { Make(name, numbered); }
    ~CTranslatedNames()
    {
        Record(m_hReal);
        if (m_hCopy != nullptr)
            FreeLibrary(m_hCopy);
    }
    CTranslatedNames(const CTranslatedNames&) = delete;
    CTranslatedNames& operator=(const CTranslatedNames&) = delete;

private:
    void Make(const std::wstring& name, const std::wstring& numbered)
    {
        const std::wstring copy = m_folder / L"NewFolderNames.dll";
        ASSERT_TRUE(CopyFileW((testing_support::BinaryFolder() + L"\\TarkBrowserUtilRC.dll").c_str(), copy.c_str(),
                              FALSE));
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
        ASSERT_NE(nullptr, hUpdate);
        ASSERT_TRUE(UpdateResourceW(hUpdate, RT_STRING, MAKEINTRESOURCEW(first / 16 + 1),
                                    MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL), block.data(),
                                    static_cast<DWORD>(block.size() * sizeof(WCHAR))));
        ASSERT_TRUE(EndUpdateResourceW(hUpdate, FALSE));
        m_hCopy = LoadLibraryW(copy.c_str());
        ASSERT_NE(nullptr, m_hCopy);
        Record(m_hCopy);
    }

    // The language library answers with the module recorded last for a key.
    static void Record(HINSTANCE hResources)
    {
        CConnectLanguage::Instance().AddModuleInfo(CString(BRWSUTIL_MODULE_KEY) + L".dll", CString(), CString(),
                                                   CString(), 1, hResources, CString(), true, CString());
    }

    ScratchFolder m_folder{L"nfm"}; // outlives the copy, which is freed first
    HINSTANCE m_hReal = CConnectLanguage::Instance().GetModuleResourceHandle(BRWSUTIL_MODULE_KEY);
    HMODULE m_hCopy = nullptr;
};

std::set<std::wstring> Entries(const std::wstring& folder)
{
    std::set<std::wstring> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.insert(entry.path().filename().wstring());
    return names;
}

// Some child window of hWnd shows text that contains part.
bool ShowsText(HWND hWnd, const std::wstring& part)
{
    for (HWND hChild = GetWindow(hWnd, GW_CHILD); hChild != nullptr; hChild = GetWindow(hChild, GW_HWNDNEXT))
        if (DialogDriver::Text(hChild).find(part) != std::wstring::npos)
            return true;
    return false;
}

} // namespace

TEST(NewFolderNames, OnlyPlainNamesFromWellFormedPatternsAreMade)
{
    const struct { const wchar_t *name, *numbered, *made; } rows[] = {
        {L"Taken", L"Ordner %d%%", L"Ordner 2%"},
        {L"..\\Escaped", L"Ordner (%d)", L"Ordner (2)"}, // the first name is passed over
        {L"..\\Escaped", L"..\\Escaped %d", nullptr},
        {L"Taken", L"Ordner %s", nullptr}, // a text where a number goes
        {L"Taken", L"Ordner %d of %d", nullptr},
        {L"Taken", L"Ordner %i", nullptr}}; // the one number placeholder is %d
    for (const auto& r : rows)
    {
        SCOPED_TRACE(testing_support::Narrow(r.numbered));
        ScratchFolder root{L"nfn"};
        const std::wstring parent = MakeFolders(root, L"parent");
        MakeFolders(root, L"parent\\Taken");
        std::optional<CTranslatedNames> names;
        ASSERT_NO_FATAL_FAILURE(names.emplace(r.name, r.numbered));

        CBrwsForFolderDlg dlg;
        dlg.SetInitialFolder(parent.c_str());
        HWND hBrowse = nullptr;
        bool bFailureShown = false;
        DialogDriver driver;
        driver.Then([&](HWND hDlg) {
                  hBrowse = hDlg;
                  DialogDriver::Click(hDlg, IDC_BRWS_NEW_FOLDER);
              })
            .Then([&](HWND hTop) {
                if (hTop != hBrowse)
                {
                    bFailureShown = ShowsText(hTop, parent);
                    DialogDriver::Click(hTop, IDOK);
                }
                else if (HWND hEdit = TreeView_GetEditControl(GetDlgItem(hBrowse, IDC_BRWS_FOLDER_TREE)))
                    DialogDriver::PostKey(hEdit, VK_ESCAPE); // keeps the name made
            })
            .Next([](HWND) {})
            .Then([](HWND hDlg) { DialogDriver::Click(hDlg, IDCANCEL); });
        driver.Start();
        EXPECT_EQ(IDCANCEL, dlg.DoModal());
        EXPECT_TRUE(driver.Finished());

        std::set<std::wstring> expected = {L"Taken"};
        if (r.made != nullptr)
            expected.insert(r.made);
        EXPECT_EQ(expected, Entries(parent));
        EXPECT_EQ(std::set<std::wstring>{L"parent"}, Entries(root.Path())) << "a folder made outside the parent";
        EXPECT_EQ(r.made == nullptr, bFailureShown);
    }
}
