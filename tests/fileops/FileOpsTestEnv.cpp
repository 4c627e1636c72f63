#include "FileOpsTestEnv.h"

#include <TarkLanguage.h>

namespace fileops_test {

namespace {

CWinApp theApp(L"File Operation Tests");

// Links the language module the way a host does, so that the prompt's
// template, its texts and the copy name patterns come from it.
class CLanguageEnvironment : public ::testing::Environment
{
public:
    void SetUp() override
    {
        CConnectLanguage::Instance().SetPath(testing_support::BinaryFolder().c_str());
        CConnectLanguage::Instance().CallStoredCallbacks(L"English");
        ASSERT_EQ(L"%s - Copy", ResourceText(IDS_BRWS_COPY_NAME_FIRST)) << "language module not linked";
        // A fresh home lacks the data folder; without it Wine has no recycle
        // bin (it looks once per process) and deletes for good instead.
        std::wstring dataHome = testing_support::DataHome();
        ASSERT_FALSE(dataHome.empty()) << "XDG_DATA_HOME must name the test's own data folder";
        int nResult = SHCreateDirectoryExW(nullptr, dataHome.c_str(), nullptr);
        ASSERT_TRUE(nResult == ERROR_SUCCESS || nResult == ERROR_ALREADY_EXISTS) << nResult;
    }
};

::testing::Environment* const g_environment = ::testing::AddGlobalTestEnvironment(new CLanguageEnvironment);

} // namespace

NoDialogExpected::NoDialogExpected()
    : m_timer(SetTimer(nullptr, 0, 20, [](HWND, UINT, UINT_PTR, DWORD) {
          if (HWND hDlg = DialogDriver::ActiveDialog())
          {
              ADD_FAILURE() << "unexpected dialog: " << testing_support::Narrow(DialogDriver::Text(hDlg)) << " / "
                            << testing_support::Narrow(DialogDriver::ItemText(hDlg, IDC_BRWS_FILEOP_MESSAGE));
              PostMessageW(hDlg, WM_COMMAND, IDCANCEL, 0);
          }
      }))
{
}

} // namespace fileops_test
