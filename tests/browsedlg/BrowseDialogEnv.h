// Shared set-up of the browse-for-folder dialog tests: an application object
// whose profile lives in the registry, the language module linked in, and
// helpers that run the dialog and look at it the way a person sees it.
#pragma once

#include <gtest/gtest.h>
#include <afxwin.h>
#include <commctrl.h>
#include <ole2.h>
#include <shlobj.h>
#include <TarkLanguage.h>

#include "BrwsForFolderDlg.h"
#include "BrwsResourceIds.h"
#include "DialogDriver.h"
#include "RegistryScope.h"
#include "TestProcess.h"

#include <functional>

namespace browsedlg_test {

using testing_support::DialogDriver;
using testing_support::ScratchFolder;

// The key of the common dialogs' policies, which the dialog follows too.
inline const wchar_t* const kComdlg32Policies = L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Comdlg32";

// The application whose profile the dialog keeps its values in.
inline CWinApp theApp(L"BrowseDlgTests");

// The profile string value, or "<missing>".
inline std::wstring ProfileString(const wchar_t* section, const wchar_t* entry)
{
    return static_cast<LPCWSTR>(theApp.GetProfileString(section, entry, L"<missing>"));
}

// Runs the dialog with the driver's script (or a single step); checks that
// every step ran and answers what DoModal answered.
inline INT_PTR RunDialog(CDialog& dlg, DialogDriver& driver)
{
    driver.Start();
    const INT_PTR result = dlg.DoModal();
    EXPECT_TRUE(driver.Finished());
    return result;
}
inline INT_PTR RunDialog(CDialog& dlg, std::function<void(HWND)> step)
{
    DialogDriver driver;
    return RunDialog(dlg, driver.Then(std::move(step)));
}

// The dialog's folder tree, the folder field's text, whether a control is enabled.
inline HWND Tree(HWND hDlg) { return GetDlgItem(hDlg, IDC_BRWS_FOLDER_TREE); }
inline std::wstring Field(HWND hDlg) { return DialogDriver::ItemText(hDlg, IDC_BRWS_FOLDER_FIELD); }
inline bool Enabled(HWND hDlg, int id) { return IsWindowEnabled(GetDlgItem(hDlg, id)) != FALSE; }

// A folder tree on disk: creates every folder of the relative path.
inline std::wstring MakeFolders(const ScratchFolder& root, const std::wstring& relative)
{
    SHCreateDirectoryExW(nullptr, (root / relative).c_str(), nullptr);
    return root / relative;
}

// The language module linked in; every test starts with an empty profile,
// leaves none behind and has a scratch folder.
class BrowseDialogTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        OleInitialize(nullptr);
        INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_TREEVIEW_CLASSES | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&icc);
        theApp.SetRegistryKey(L"TarkBrowseDlgTests");
        CConnectLanguage& language = CConnectLanguage::Instance();
        language.SetPath(testing_support::BinaryFolder().c_str());
        language.SetAltPath(L"");
        ASSERT_GE(language.CallStoredCallbacks(L"English"), 1) << "no language module";
    }
    static void TearDownTestSuite() { OleUninitialize(); }
    testing_support::ScopedRegistryKeyAbsent m_profile{L"Software\\TarkBrowseDlgTests"};
    ScratchFolder m_root{L"bff"};
};

} // namespace browsedlg_test
