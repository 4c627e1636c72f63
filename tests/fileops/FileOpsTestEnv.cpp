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

bool IsFileOpPrompt(HWND hDlg)
{
    return GetDlgItem(hDlg, IDC_BRWS_FILEOP_MESSAGE) != nullptr && GetDlgItem(hDlg, IDC_BRWS_FILEOP_FILES) != nullptr;
}

PromptView ReadPrompt(HWND hDlg)
{
    PromptView view;
    view.title = DialogDriver::Text(hDlg);
    view.message = DialogDriver::ItemText(hDlg, IDC_BRWS_FILEOP_MESSAGE);
    const std::wstring files = DialogDriver::ItemText(hDlg, IDC_BRWS_FILEOP_FILES);
    for (size_t start = 0, end = 0; start < files.size(); start = end + 2)
    {
        end = std::min(files.find(L"\r\n", start), files.size());
        view.fileLines.push_back(files.substr(start, end - start));
    }
    for (int nID : {IDOK, IDYES, IDNO})
        if (IsWindowVisible(GetDlgItem(hDlg, nID)))
            view.buttons.push_back(nID);
    view.iconShown = SendDlgItemMessageW(hDlg, IDC_BRWS_FILEOP_ICON, STM_GETICON, 0, 0) != 0;
    return view;
}

// Runs operation while the driver performs steps, one per dialog shown.
int WithDialogsDriven(const std::vector<std::function<void(HWND)>>& steps, const std::function<int()>& operation)
{
    DialogDriver driver;
    for (const auto& step : steps)
        driver.Then(step);
    driver.Start();
    const int nResult = operation();
    EXPECT_TRUE(driver.Finished());
    return nResult;
}

} // namespace

Strings Listing(const std::wstring& folder)
{
    Strings names;
    WIN32_FIND_DATAW data;
    CScopedFindHandle find(FindFirstFileW((folder + L"\\*").c_str(), &data));
    for (bool bMore = find.IsValid(); bMore; bMore = FindNextFileW(find.Get(), &data))
    {
        if (wcscmp(data.cFileName, L".") != 0 && wcscmp(data.cFileName, L"..") != 0)
            names.push_back(data.cFileName);
    }
    std::sort(names.begin(), names.end());
    return names;
}

int WithPromptAnswered(const std::function<void(HWND)>& answer, PromptView* pView,
                       const std::function<int()>& operation, bool bConfirmInShell)
{
    std::vector<std::function<void(HWND)>> steps = {[&](HWND hDlg) {
        EXPECT_TRUE(IsFileOpPrompt(hDlg));
        *pView = ReadPrompt(hDlg);
        answer(hDlg);
    }};
    if (bConfirmInShell)
        steps.push_back(Clicking(IDYES));
    return WithDialogsDriven(steps, operation);
}

int WithShellAnswer(int nID, const std::function<int()>& operation)
{
    return WithDialogsDriven({[nID](HWND hDlg) {
                                 EXPECT_FALSE(IsFileOpPrompt(hDlg)) << "expected the shell's dialog, found the prompt";
                                 DialogDriver::Click(hDlg, nID);
                             }},
                             operation);
}

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
