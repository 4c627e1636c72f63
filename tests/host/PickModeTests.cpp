// The sample host's pick mode as a script uses it: the dialog of a separate
// host process is answered from here, and its exit code and output checked.
#include <gtest/gtest.h>
#include <windows.h>

#include "BrwsResourceIds.h"
#include "RegistryScope.h"
#include "TestProcess.h"

#include <functional>
#include <string>

using testing_support::ProcessResult;
using testing_support::RunProcess;
using testing_support::ScratchFolder;

namespace {

const wchar_t kTitle[] = L"Choose the export folder";
const wchar_t kHostProfile[] = L"Software\\Tark Samples\\TarkBrowseHost";

// The host's own profile is set aside for each test, so that a test neither
// sees nor leaves history in it.
class PickMode : public ::testing::Test
{
protected:
    testing_support::ScopedRegistryKeyAbsent m_profile{kHostProfile};
};

std::wstring HostHistory()
{
    wchar_t value[4096] = {};
    DWORD size = sizeof(value);
    const std::wstring key = std::wstring(kHostProfile) + L"\\Browse for folder";
    if (RegGetValueW(HKEY_CURRENT_USER, key.c_str(), L"History", RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS)
        return L"<missing>";
    return value;
}

struct DialogSearch
{
    DWORD processId;
    HWND hDialog;
};

BOOL CALLBACK FindTitledDialog(HWND hWnd, LPARAM lParam)
{
    auto* search = reinterpret_cast<DialogSearch*>(lParam);
    DWORD processId = 0;
    GetWindowThreadProcessId(hWnd, &processId);
    wchar_t title[128] = {};
    GetWindowTextW(hWnd, title, ARRAYSIZE(title));
    if (processId == search->processId && IsWindowVisible(hWnd) && wcscmp(title, kTitle) == 0 &&
        GetDlgItem(hWnd, IDC_BRWS_FOLDER_FIELD) != nullptr)
    {
        search->hDialog = hWnd;
        return FALSE;
    }
    return TRUE;
}

// The host's dialog, titled as asked, once it is shown; null when the host
// ended first or the time ran out.
HWND WaitForDialog(const PROCESS_INFORMATION& process)
{
    DialogSearch search = {process.dwProcessId, nullptr};
    const ULONGLONG end = GetTickCount64() + 20000;
    WaitForInputIdle(process.hProcess, 20000);
    while (GetTickCount64() < end)
    {
        EnumWindows(&FindTitledDialog, reinterpret_cast<LPARAM>(&search));
        if (search.hDialog != nullptr)
            return search.hDialog;
        // Wakes early when the host ends.
        if (WaitForSingleObject(process.hProcess, 50) == WAIT_OBJECT_0)
            return nullptr;
    }
    return nullptr;
}

// Ends a host whose dialog never showed, so that the test does not wait on it.
void Abandon(const PROCESS_INFORMATION& process)
{
    ADD_FAILURE() << "the host's dialog did not show";
    TerminateProcess(process.hProcess, 99);
}

std::wstring PickArguments(const std::wstring& initial)
{
    return L"pick --initial \"" + initial + L"\" --title \"" + kTitle + L"\"";
}

std::string TrimmedLine(const std::string& text)
{
    std::string line = text;
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
        line.pop_back();
    return line;
}

// Runs "TarkBrowseHost pick" at initial and lets answer act on its dialog.
ProcessResult RunPick(const std::wstring& initial, const std::function<void(HWND hDialog)>& answer)
{
    return RunProcess(L"TarkBrowseHost.exe", PickArguments(initial), [&](const PROCESS_INFORMATION& process) {
        HWND hDialog = WaitForDialog(process);
        if (hDialog == nullptr)
            return Abandon(process);
        answer(hDialog);
    });
}

} // namespace

TEST_F(PickMode, PrintsTheFolderTypedIntoTheDialogAndExitsZero)
{
    ScratchFolder root(L"pick");
    const std::wstring target = root / L"exports";
    ASSERT_TRUE(CreateDirectoryW(target.c_str(), nullptr));

    ProcessResult result = RunPick(root.Path(), [&](HWND hDialog) {
        HWND hField = GetDlgItem(hDialog, IDC_BRWS_FOLDER_FIELD);
        SendMessageW(hField, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(target.c_str()));
        SendMessageW(hDialog, WM_COMMAND, MAKEWPARAM(IDC_BRWS_FOLDER_FIELD, CBN_EDITCHANGE),
                     reinterpret_cast<LPARAM>(hField));
        PostMessageW(GetDlgItem(hDialog, IDOK), BM_CLICK, 0, 0);
    });
    EXPECT_EQ(0u, result.exitCode);
    EXPECT_EQ(testing_support::Narrow(target), TrimmedLine(result.output));
    EXPECT_NE(std::wstring::npos, HostHistory().find(target)) << "the host's profile has no history of it";
}

TEST_F(PickMode, CancelPrintsNothingAndExitsOne)
{
    ScratchFolder root(L"pick");
    ProcessResult result = RunPick(root.Path(), [](HWND hDialog) {
        PostMessageW(GetDlgItem(hDialog, IDCANCEL), BM_CLICK, 0, 0);
    });
    EXPECT_EQ(1u, result.exitCode);
    EXPECT_EQ("", result.output);
}

// The host's manifest declares it DPI-aware, read as the system reads it when
// the host starts: through an activation context made from the executable.
TEST(HostManifest, DeclaresTheHostDpiAware)
{
    const std::wstring host = testing_support::BinaryFolder() + L"\\TarkBrowseHost.exe";
    ACTCTXW context = {sizeof(context)};
    context.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
    context.lpSource = host.c_str();
    context.lpResourceName = CREATEPROCESS_MANIFEST_RESOURCE_ID;
    HANDLE hContext = CreateActCtxW(&context);
    ASSERT_NE(INVALID_HANDLE_VALUE, hContext) << "no manifest in the host (error " << GetLastError() << ")";
    wchar_t value[16] = {};
    SIZE_T written = 0;
    EXPECT_TRUE(QueryActCtxSettingsW(0, hContext, nullptr, L"dpiAware", value, ARRAYSIZE(value), &written));
    EXPECT_STREQ(L"true", value);
    ReleaseActCtx(hContext);
}
