#include "FileOpsTestEnv.h"

#include <TarkLanguage.h>

#include "BrwsFolderFactory.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <sstream>

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

bool IsShown(HWND hDlg, int nID)
{
    HWND hControl = GetDlgItem(hDlg, nID);
    return hControl != nullptr && IsWindowVisible(hControl);
}

} // namespace

void WriteFile(const std::wstring& path, const std::string& content)
{
    std::ofstream out(path.c_str(), std::ios::binary);
    out << content;
    ASSERT_TRUE(out.good()) << testing_support::Narrow(path);
}

std::string ReadFile(const std::wstring& path)
{
    std::ifstream in(path.c_str(), std::ios::binary);
    if (!in)
        return "<missing>";
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<std::wstring> Listing(const std::wstring& folder)
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW data;
    CScopedFindHandle find(FindFirstFileW((folder + L"\\*").c_str(), &data));
    if (!find)
        return names;
    do
    {
        std::wstring name = data.cFileName;
        if (name != L"." && name != L"..")
            names.push_back(name);
    } while (FindNextFileW(find.Get(), &data));
    std::sort(names.begin(), names.end());
    return names;
}

std::unique_ptr<CBFolder> ShellFolder(const std::wstring& path)
{
    std::unique_ptr<CBFolder> folder(CreateShellFolder(nullptr, path.c_str()));
    EXPECT_TRUE(folder != nullptr) << testing_support::Narrow(path);
    return folder;
}

std::unique_ptr<CBFolder> PathFolder(const std::wstring& path, int nKind)
{
    std::unique_ptr<CBFolder> folder(new CBFolder);
    folder->m_nKind = nKind;
    folder->m_strPath = path.c_str();
    return folder;
}

TestFiles::TestFiles(std::initializer_list<const wchar_t*> names)
{
    for (const wchar_t* name : names)
        Add(name);
}

CBFile* TestFiles::Add(const wchar_t* name)
{
    CBFile* pFile = CreateShellFile(name, name, nullptr, nullptr, 0, 0);
    m_list.AddTail(pFile);
    return pFile;
}

CBFile* TestFiles::operator[](int index) const
{
    POSITION pos = m_list.FindIndex(index);
    return pos != nullptr ? m_list.GetAt(pos) : nullptr;
}

std::vector<std::wstring> Names(const CBFileList& list)
{
    std::vector<std::wstring> names;
    for (POSITION pos = list.GetHeadPosition(); pos != nullptr;)
        names.push_back(Str(list.GetNext(pos)->m_strName));
    return names;
}

std::vector<std::wstring> Paths(const CBFileList& list)
{
    std::vector<std::wstring> paths;
    for (POSITION pos = list.GetHeadPosition(); pos != nullptr;)
        paths.push_back(Str(list.GetNext(pos)->m_strPath));
    return paths;
}

std::vector<const CBFile*> Pointers(const CBFileList& list)
{
    std::vector<const CBFile*> pointers;
    for (POSITION pos = list.GetHeadPosition(); pos != nullptr;)
        pointers.push_back(list.GetNext(pos));
    return pointers;
}

bool IsFileOpPrompt(HWND hDlg)
{
    return hDlg != nullptr && GetDlgItem(hDlg, IDC_BRWS_FILEOP_MESSAGE) != nullptr &&
           GetDlgItem(hDlg, IDC_BRWS_FILEOP_FILES) != nullptr;
}

PromptView ReadPrompt(HWND hDlg)
{
    PromptView view;
    view.title = DialogDriver::Text(hDlg);
    view.message = DialogDriver::ItemText(hDlg, IDC_BRWS_FILEOP_MESSAGE);
    std::wstring files = DialogDriver::ItemText(hDlg, IDC_BRWS_FILEOP_FILES);
    if (!files.empty())
    {
        size_t start = 0;
        for (;;)
        {
            size_t end = files.find(L"\r\n", start);
            view.fileLines.push_back(files.substr(start, end == std::wstring::npos ? end : end - start));
            if (end == std::wstring::npos)
                break;
            start = end + 2;
        }
    }
    view.okShown = IsShown(hDlg, IDOK);
    view.yesShown = IsShown(hDlg, IDYES);
    view.noShown = IsShown(hDlg, IDNO);
    view.iconShown = SendDlgItemMessageW(hDlg, IDC_BRWS_FILEOP_ICON, STM_GETICON, 0, 0) != 0;
    DWORD dwDef = static_cast<DWORD>(SendMessageW(hDlg, DM_GETDEFID, 0, 0));
    if (HIWORD(dwDef) == DC_HASDEFID)
        view.defaultButton = LOWORD(dwDef);
    return view;
}

std::wstring ResourceText(UINT nID)
{
    CString text;
    text.LoadStringW(nID);
    return Str(text);
}

int WithPromptAnswered(const std::function<void(HWND)>& answer, PromptView* pView,
                       const std::function<int()>& operation, bool bConfirmInShell)
{
    DialogDriver driver;
    driver.Then([&](HWND hDlg) {
        EXPECT_TRUE(IsFileOpPrompt(hDlg));
        *pView = ReadPrompt(hDlg);
        answer(hDlg);
    });
    if (bConfirmInShell)
        driver.Then([](HWND hDlg) { AnswerShellDialog(hDlg, IDYES); });
    driver.Start();
    const int nResult = operation();
    EXPECT_TRUE(driver.Finished());
    return nResult;
}

int WithPromptAnswered(int nButton, PromptView* pView, const std::function<int()>& operation,
                       bool bConfirmInShell)
{
    return WithPromptAnswered([nButton](HWND hDlg) { DialogDriver::Click(hDlg, nButton); }, pView, operation,
                              bConfirmInShell);
}

void ClickCloseBox(HWND hWnd)
{
    PostMessageW(hWnd, WM_SYSCOMMAND, SC_CLOSE, 0);
}

void AnswerShellDialog(HWND hDlg, int nID)
{
    ASSERT_FALSE(IsFileOpPrompt(hDlg)) << "expected the shell's dialog, found the prompt";
    DialogDriver::Click(hDlg, nID);
}

NoDialogExpected::NoDialogExpected() : m_timer(SetTimer(nullptr, 0, 20, OnTimer))
{
}

NoDialogExpected::~NoDialogExpected()
{
    KillTimer(nullptr, m_timer);
}

void CALLBACK NoDialogExpected::OnTimer(HWND, UINT, UINT_PTR, DWORD)
{
    if (HWND hDlg = DialogDriver::ActiveDialog())
    {
        ADD_FAILURE() << "unexpected dialog: " << testing_support::Narrow(DialogDriver::Text(hDlg)) << " / "
                      << testing_support::Narrow(DialogDriver::ItemText(hDlg, IDC_BRWS_FILEOP_MESSAGE));
        PostMessageW(hDlg, WM_COMMAND, IDCANCEL, 0);
    }
}

EscapeHeld::EscapeHeld()
    : m_hWnd(CreateWindowExW(0, L"EDIT", L"keyboard", WS_POPUP | WS_VISIBLE, 0, 0, 80, 20, nullptr, nullptr,
                             nullptr, nullptr))
{
    EXPECT_NE(nullptr, m_hWnd);
    SetForegroundWindow(m_hWnd);
    SetFocus(m_hWnd);
    EXPECT_TRUE(PressInXServer(true));
    EXPECT_TRUE(WaitForKeyMessage(WM_KEYDOWN)) << "the Escape press did not reach the test's window";
}

EscapeHeld::~EscapeHeld()
{
    SetForegroundWindow(m_hWnd);
    SetFocus(m_hWnd);
    EXPECT_TRUE(PressInXServer(false));
    EXPECT_TRUE(WaitForKeyMessage(WM_KEYUP)) << "the Escape release did not reach the test's window";
    DestroyWindow(m_hWnd);
}

bool EscapeHeld::PressInXServer(bool bDown)
{
    typedef char*(CDECL * UnixNameFn)(LPCWSTR);
    auto toUnix = reinterpret_cast<UnixNameFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    if (toUnix == nullptr)
    {
        ADD_FAILURE() << "not running under Wine";
        return false;
    }
    char* pszScript = toUnix((testing_support::BinaryFolder() + L"\\xtest_key.py").c_str());
    if (pszScript == nullptr)
        return false;
    std::wstring command = L"Z:\\usr\\bin\\python3 \"" + testing_support::Widen(pszScript) + L"\" 0xff1b " +
                           (bDown ? L"down" : L"up");
    HeapFree(GetProcessHeap(), 0, pszScript);
    // A Unix program started by Wine has no process handle to wait on; the
    // key message that follows is what the caller waits for.
    STARTUPINFOW si = {sizeof(si)};
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
    {
        ADD_FAILURE() << "cannot start /usr/bin/python3 for xtest_key.py: error " << GetLastError();
        return false;
    }
    CScopedKernelHandle thread(pi.hThread);
    CScopedKernelHandle process(pi.hProcess);
    return true;
}

bool EscapeHeld::WaitForKeyMessage(UINT nMessage)
{
    ULONGLONG start = GetTickCount64();
    for (;;)
    {
        MSG msg;
        // Removed, so that no later dialog of the test sees the key.
        while (PeekMessageW(&msg, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE))
        {
            if (msg.message == nMessage && msg.wParam == VK_ESCAPE)
                return true;
        }
        ULONGLONG elapsed = GetTickCount64() - start;
        if (elapsed >= 5000)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(5000 - elapsed), QS_KEY);
    }
}

} // namespace fileops_test
