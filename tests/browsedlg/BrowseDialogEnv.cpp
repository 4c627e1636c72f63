#include "BrowseDialogEnv.h"

#include <TarkLanguage.h>
#include <commctrl.h>
#include <ole2.h>

namespace browsedlg_test {

// The application whose profile the dialog keeps its values in.
static CWinApp theApp(L"BrowseDlgTests");

void BrowseDialogTest::SetUpTestSuite()
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

void BrowseDialogTest::TearDownTestSuite()
{
    OleUninitialize();
}

void ClearProfile()
{
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\TarkBrowseDlgTests");
}

INT_PTR RunDialog(CDialog& dlg, DialogDriver& driver)
{
    driver.Start();
    const INT_PTR result = dlg.DoModal();
    EXPECT_TRUE(driver.Finished());
    return result;
}

INT_PTR RunDialog(CDialog& dlg, std::function<void(HWND)> step)
{
    DialogDriver driver;
    driver.Then(std::move(step));
    return RunDialog(dlg, driver);
}

} // namespace browsedlg_test
