// The sample host. It starts the way the image editor starts its modules: the
// application object first, then the language library's paths, then the module,
// and finally the language library calls every module back to link its resources.
#include <afxwin.h>
#include <TarkLanguage.h>

#include "BrwsResourceIds.h"
#include "host/PathField.h"

#include <stdio.h>

namespace {

class CBrowseHostApp : public CWinApp
{
public:
    CBrowseHostApp() : CWinApp(L"TarkBrowseHost") {}
};

CBrowseHostApp theApp;

CString FolderOfExecutable()
{
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    CString folder(path);
    int slash = folder.ReverseFind(L'\\');
    return slash >= 0 ? folder.Left(slash) : CString(L".");
}

void PrintLine(LPCWSTR pszLabel, LPCWSTR pszValue)
{
    wprintf(L"%-22ls %ls\n", pszLabel, pszValue);
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    CString folder = FolderOfExecutable();
    CConnectLanguage& language = CConnectLanguage::Instance();
    language.SetPath(folder);
    language.SetAltPath(folder);

    HMODULE module = LoadLibraryW(L"TarkBrowserUtil.dll");
    if (module == nullptr)
    {
        fwprintf(stderr, L"TarkBrowserUtil.dll did not load (error %lu)\n", GetLastError());
        return 1;
    }
    language.CallStoredCallbacks(L"English");

    wchar_t modulePath[MAX_PATH] = {};
    GetModuleFileNameW(module, modulePath, MAX_PATH);
    PrintLine(L"Module:", modulePath);

    HINSTANCE resources = language.GetModuleResourceHandle(CString(L"TarkBrowserUtil"));
    wchar_t resourcePath[MAX_PATH] = {};
    if (resources != nullptr)
        GetModuleFileNameW(resources, resourcePath, MAX_PATH);
    PrintLine(L"Language resources:", resources ? resourcePath : L"(not loaded)");

    CString newFolderName;
    BOOL found = newFolderName.LoadString(IDS_BRWS_NEW_FOLDER_NAME);
    PrintLine(L"String 25172:", found ? static_cast<LPCWSTR>(newFolderName) : L"(not found)");
    fflush(stdout);
    if (!found || resources == nullptr)
        return 1;

    if (argc >= 2 && wcscmp(argv[1], L"path") == 0)
        return RunPathField(argc >= 3 ? argv[2] : L"");
    return 0;
}
