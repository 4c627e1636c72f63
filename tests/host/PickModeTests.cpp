// The sample host's pick mode as a script uses it: the dialog of a separate
// host process is answered from here, and its exit code and output checked.
#include <gtest/gtest.h>
#include <windows.h>

#include "BrwsResourceIds.h"
#include "DialogDriver.h"
#include "RegistryScope.h"
#include "TestProcess.h"

#include <string>

namespace {

const wchar_t kTitle[] = L"Choose the export folder";

// The host's dialog, titled as asked, once it shows; null when the host ended
// first or the time ran out.
HWND WaitForDialog(const PROCESS_INFORMATION& process)
{
    // Waits on the host between looks, so that one that ends is given up at once.
    const ULONGLONG end = GetTickCount64() + 20000;
    while (WaitForSingleObject(process.hProcess, 50) == WAIT_TIMEOUT && GetTickCount64() < end)
    {
        HWND hDialog = FindWindowW(L"#32770", kTitle);
        DWORD processId = 0;
        GetWindowThreadProcessId(hDialog, &processId);
        if (hDialog != nullptr && processId == process.dwProcessId && IsWindowVisible(hDialog))
            return hDialog;
    }
    return nullptr;
}

} // namespace

// "TarkBrowseHost pick" prints the folder typed into its dialog and exits 0,
// the folder now in the host's own history; Cancel prints nothing and exits 1.
TEST(PickMode, PrintsTheChosenFolderOrNothing)
{
    const std::wstring profile = L"Software\\Tark Samples\\TarkBrowseHost";
    // Set aside, so that the test neither sees nor leaves history in it.
    testing_support::ScopedRegistryKeyAbsent hostProfile(profile);
    testing_support::ScratchFolder root(L"pick");
    const std::wstring target = root / L"exports";
    ASSERT_TRUE(CreateDirectoryW(target.c_str(), nullptr));
    for (const int button : {IDOK, IDCANCEL})
    {
        const testing_support::ProcessResult result = testing_support::RunProcess(
            L"TarkBrowseHost.exe", L"pick --initial \"" + root.Path() + L"\" --title \"" + kTitle + L"\"",
            [&](const PROCESS_INFORMATION& process) {
                // A host whose dialog never shows is ended, exiting 99.
                HWND hDialog = WaitForDialog(process);
                if (hDialog == nullptr)
                    return (void)TerminateProcess(process.hProcess, 99);
                if (button == IDOK)
                    testing_support::DialogDriver::SetText(hDialog, IDC_BRWS_FOLDER_FIELD, target.c_str());
                PostMessageW(GetDlgItem(hDialog, button), BM_CLICK, 0, 0);
            });
        EXPECT_EQ(button == IDOK ? 0u : 1u, result.exitCode);
        EXPECT_EQ(button == IDOK ? testing_support::Narrow(target) : "",
                  result.output.substr(0, result.output.find_first_of("\r\n"))) << "the first line printed";
    }
    wchar_t history[4096] = {};
    DWORD size = sizeof(history);
    RegGetValueW(HKEY_CURRENT_USER, (profile + L"\\Browse for folder").c_str(), L"History", RRF_RT_REG_SZ, nullptr,
                 history, &size);
    EXPECT_NE(nullptr, wcsstr(history, target.c_str())) << "the host's profile has no history of it";
}

// The host's manifest declares it DPI-aware, read as the system reads it when
// the host starts: through an activation context made from the executable.
TEST(HostManifest, DeclaresTheHostDpiAware)
{
    const std::wstring host = testing_support::BinaryFolder() + L"\\TarkBrowseHost.exe";
    // Size, flags, source, architecture, language, folder, resource name.
    ACTCTXW context = {sizeof(context), ACTCTX_FLAG_RESOURCE_NAME_VALID, host.c_str(), 0, 0, nullptr,
                       CREATEPROCESS_MANIFEST_RESOURCE_ID};
    HANDLE hContext = CreateActCtxW(&context);
    ASSERT_NE(INVALID_HANDLE_VALUE, hContext) << "no manifest in the host (error " << GetLastError() << ")";
    wchar_t value[16] = {};
    SIZE_T written = 0;
    EXPECT_TRUE(QueryActCtxSettingsW(0, hContext, nullptr, L"dpiAware", value, ARRAYSIZE(value), &written));
    EXPECT_STREQ(L"true", value);
    ReleaseActCtx(hContext);
}
