// The sample host. It starts the way the image editor starts its modules: the
// application object first, then the language library's paths, then the module,
// and finally the language library calls every module back to link its resources.
//
//   TarkBrowseHost [--folder PATH] [--screenshot FILE]
//       the folder browser; with --screenshot it saves the window once it is
//       shown and exits
//   TarkBrowseHost pick [--initial PATH] [--title TEXT] [--screenshot FILE [--menu]]
//       the browse-for-folder dialog: prints the chosen path and exits 0, or
//       exits 1 on Cancel; with --screenshot it saves the open dialog (and
//       with --menu its special-folders menu) and exits
//   TarkBrowseHost info
//       where the module and its language resources were loaded from
#include <afxwin.h>
#include <TarkLanguage.h>

#include "BrwsResourceIds.h"
#include "host/BrowserWindow.h"
#include "host/FolderPicker.h"
#include "host/Screenshot.h"

#include <stdio.h>

namespace {

class CBrowseHostApp : public CWinApp
{
public:
    CBrowseHostApp() : CWinApp(L"TarkBrowseHost") {}
};

CBrowseHostApp theApp;

struct HostOptions
{
    CString strMode;
    CString strFolder;
    CString strTitle;
    CString strScreenshot;
    bool bMenu = false;
};

bool ParseOptions(int argc, wchar_t** argv, HostOptions& options)
{
    int i = 1;
    if (i < argc && argv[i][0] != L'-')
        options.strMode = argv[i++];
    for (; i < argc; ++i)
    {
        const CString strArg(argv[i]);
        const bool bHasValue = i + 1 < argc;
        if ((strArg == L"--folder" || strArg == L"--initial") && bHasValue)
            options.strFolder = argv[++i];
        else if (strArg == L"--title" && bHasValue)
            options.strTitle = argv[++i];
        else if (strArg == L"--screenshot" && bHasValue)
            options.strScreenshot = argv[++i];
        else if (strArg == L"--menu")
            options.bMenu = true;
        else
            return false;
    }
    return options.strMode.IsEmpty() || options.strMode == L"pick" || options.strMode == L"info";
}

CString FolderOfExecutable()
{
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    CString folder(path);
    const int slash = folder.ReverseFind(L'\\');
    return slash >= 0 ? folder.Left(slash) : CString(L".");
}

// The language library looks for TarkBrowserUtilRC.DLL beside the host; its
// callback links the module's resources into the framework's search.
bool LinkLanguageResources()
{
    CConnectLanguage& language = CConnectLanguage::Instance();
    const CString strFolder = FolderOfExecutable();
    language.SetPath(strFolder);
    language.SetAltPath(strFolder);
    language.CallStoredCallbacks(L"English");
    return language.GetModuleResourceHandle(CString(L"TarkBrowserUtil")) != nullptr;
}

CString ModulePath(HMODULE hModule)
{
    wchar_t path[MAX_PATH] = {};
    if (hModule != nullptr)
        ::GetModuleFileNameW(hModule, path, MAX_PATH);
    return CString(path);
}

int PrintInfo()
{
    CString strNewFolder;
    const BOOL bFound = strNewFolder.LoadString(IDS_BRWS_NEW_FOLDER_NAME);
    wprintf(L"%-22ls %ls\n", L"Module:", static_cast<LPCWSTR>(ModulePath(::GetModuleHandleW(L"TarkBrowserUtil.dll"))));
    wprintf(L"%-22ls %ls\n", L"Language resources:",
            static_cast<LPCWSTR>(ModulePath(CConnectLanguage::Instance().GetModuleResourceHandle(CString(L"TarkBrowserUtil")))));
    wprintf(L"%-22ls %ls\n", L"String 25172:", bFound ? static_cast<LPCWSTR>(strNewFolder) : L"(not found)");
    return bFound ? 0 : 1;
}

// --- Screenshots of what the modes show ----------------------------------------

// Saves the thread's open dialog, and with bMenu first opens its
// special-folders menu and saves both, then closes them again. Runs from a
// thread timer, inside the dialog's and the menu's own message loops.
class CDialogShooter
{
public:
    CDialogShooter(const CString& strFile, bool bMenu) : m_strFile(strFile), m_bMenu(bMenu)
    {
        s_pActive = this;
        m_nTimer = ::SetTimer(nullptr, 0, 100, &CDialogShooter::OnTimer);
    }
    ~CDialogShooter()
    {
        ::KillTimer(nullptr, m_nTimer);
        s_pActive = nullptr;
    }
    CDialogShooter(const CDialogShooter&) = delete;
    CDialogShooter& operator=(const CDialogShooter&) = delete;

    bool Saved() const { return m_bSaved; }

private:
    enum EStage
    {
        eWaitForDialog,
        eWaitForMenu,
        eDone,
    };

    static BOOL CALLBACK FindDialog(HWND hWnd, LPARAM lParam)
    {
        wchar_t className[16] = {};
        ::GetClassNameW(hWnd, className, ARRAYSIZE(className));
        if (wcscmp(className, L"#32770") == 0 && ::IsWindowVisible(hWnd) && ::IsWindowEnabled(hWnd))
        {
            *reinterpret_cast<HWND*>(lParam) = hWnd;
            return FALSE;
        }
        return TRUE;
    }

    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD)
    {
        if (s_pActive != nullptr)
            s_pActive->Tick();
    }

    void Tick()
    {
        if (m_eStage == eWaitForDialog)
        {
            ::EnumThreadWindows(::GetCurrentThreadId(), &CDialogShooter::FindDialog, reinterpret_cast<LPARAM>(&m_hDialog));
            if (m_hDialog == nullptr)
                return;
            if (m_bMenu)
            {
                ::PostMessageW(::GetDlgItem(m_hDialog, IDC_BRWS_SPECIAL_FOLDERS), BM_CLICK, 0, 0);
                m_eStage = eWaitForMenu;
                return;
            }
            m_bSaved = SaveWindowsAsPng(&m_hDialog, 1, m_strFile);
            Finish();
        }
        else if (m_eStage == eWaitForMenu)
        {
            HWND hMenu = ::FindWindowW(L"#32768", nullptr);
            if (hMenu == nullptr || !::IsWindowVisible(hMenu))
                return;
            const HWND windows[] = {m_hDialog, hMenu};
            m_bSaved = SaveWindowsAsPng(windows, 2, m_strFile);
            ::EndMenu();
            Finish();
        }
    }

    void Finish()
    {
        m_eStage = eDone;
        ::PostMessageW(m_hDialog, WM_COMMAND, IDCANCEL, 0);
    }

    static CDialogShooter* s_pActive;
    CString m_strFile;
    bool m_bMenu;
    bool m_bSaved = false;
    EStage m_eStage = eWaitForDialog;
    HWND m_hDialog = nullptr;
    UINT_PTR m_nTimer;
};

CDialogShooter* CDialogShooter::s_pActive = nullptr;

int RunPick(const HostOptions& options)
{
    if (!options.strScreenshot.IsEmpty())
    {
        CDialogShooter shooter(options.strScreenshot, options.bMenu);
        CString strUnused;
        PickFolder(nullptr, options.strFolder, options.strTitle, strUnused);
        if (!shooter.Saved())
            fwprintf(stderr, L"no screenshot saved to %ls\n", static_cast<LPCWSTR>(options.strScreenshot));
        return shooter.Saved() ? 0 : 2;
    }
    CString strChosen;
    if (!PickFolder(nullptr, options.strFolder, options.strTitle, strChosen))
        return 1;
    wprintf(L"%ls\n", static_cast<LPCWSTR>(strChosen));
    return 0;
}

int RunBrowser(const HostOptions& options)
{
    CBrowserWindow window;
    if (!window.CreateBrowser(options.strFolder))
    {
        fwprintf(stderr, L"the main window could not be created\n");
        return 1;
    }
    theApp.m_pMainWnd = &window;
    window.ShowWindow(SW_SHOW);
    window.UpdateWindow();
    if (!options.strScreenshot.IsEmpty())
    {
        HWND hWindow = window.GetSafeHwnd();
        const bool bSaved = SaveWindowsAsPng(&hWindow, 1, options.strScreenshot);
        window.DestroyWindow();
        if (!bSaved)
            fwprintf(stderr, L"no screenshot saved to %ls\n", static_cast<LPCWSTR>(options.strScreenshot));
        return bSaved ? 0 : 2;
    }
    return theApp.Run();
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    HostOptions options;
    if (!ParseOptions(argc, argv, options))
    {
        fwprintf(stderr, L"usage: TarkBrowseHost [--folder PATH] [--screenshot FILE]\n"
                         L"       TarkBrowseHost pick [--initial PATH] [--title TEXT] [--screenshot FILE [--menu]]\n"
                         L"       TarkBrowseHost info\n");
        return 2;
    }
    // Where the dialog keeps its history, favourites and window rectangle.
    theApp.SetRegistryKey(L"Tark Samples");
    if (!LinkLanguageResources())
    {
        fwprintf(stderr, L"TarkBrowserUtilRC.DLL was not found beside the host\n");
        return 1;
    }
    ::OleInitialize(nullptr);
    int nResult;
    if (options.strMode == L"info")
        nResult = PrintInfo();
    else if (options.strMode == L"pick")
        nResult = RunPick(options);
    else
        nResult = RunBrowser(options);
    fflush(stdout);
    ::OleUninitialize();
    return nResult;
}
