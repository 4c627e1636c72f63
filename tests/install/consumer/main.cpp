// A host built only from the installed package: it starts the module the way
// the sample host does and uses it through the installed headers and import
// libraries. It runs from the installed bin/ folder, so every DLL it reports
// must have been loaded from there.
#include <afxwin.h>
#include <TarkLanguage.h>

#include <BrwsFolderFactory.h>
#include <BrwsForFolderDlg.h>
#include <BrwsModule.h>
#include <BrwsPathUtil.h>
#include <BrwsResourceIds.h>

#include <stdio.h>

#include <memory>

namespace {

CWinApp theApp(L"TarkInstallConsumer");

int g_failures = 0;

void Check(bool ok, const char* what)
{
    g_failures += ok ? 0 : 1;
    if (!ok)
        fprintf(stderr, "FAILED: %s\n", what);
}

CString FolderOf(HMODULE module)
{
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(module, path, MAX_PATH);
    CString folder(path);
    int slash = folder.ReverseFind(L'\\');
    return slash >= 0 ? folder.Left(slash) : CString();
}

// A copy found elsewhere (the build folder, Wine's own runtime) would hide a
// file missing from the package.
void CheckLoadedFrom(const CString& folder, HMODULE module, const wchar_t* name)
{
    const CString from = module ? FolderOf(module) : CString(L"(nowhere)");
    printf("loaded %ls from %ls\n", name, static_cast<LPCWSTR>(from));
    Check(from.CompareNoCase(folder) == 0, "a DLL loaded from the package's bin folder");
}

} // namespace

int main()
{
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);

    CString folder = FolderOf(nullptr);
    CConnectLanguage& language = CConnectLanguage::Instance();
    language.SetPath(folder);
    language.SetAltPath(folder);
    Check(language.CallStoredCallbacks(L"English") >= 1, "the module left no language callback");

    HINSTANCE resources = language.GetModuleResourceHandle(CString(BRWSUTIL_MODULE_KEY));
    CheckLoadedFrom(folder, resources, L"language resources");
    const wchar_t* dlls[] = {L"TarkBrowserUtil.dll", L"AfxSubset.dll", L"TarkLanguage.dll",
                             L"TarkErrorCodes.dll", L"TarkGDI.dll", L"libstdc++-6.dll",
                             L"libgcc_s_seh-1.dll", L"libwinpthread-1.dll"};
    for (const wchar_t* dll : dlls)
        CheckLoadedFrom(folder, GetModuleHandleW(dll), dll);

    CString newFolderName;
    BOOL found = newFolderName.LoadString(IDS_BRWS_NEW_FOLDER_NAME);
    printf("string %u: %ls\n", IDS_BRWS_NEW_FOLDER_NAME, found ? static_cast<LPCWSTR>(newFolderName) : L"(not found)");
    Check(found && newFolderName == L"New Folder", "string 25172 through the resource search");

    Check(DoesFileNameMatchFilter(L"Photo.JPG", L"*.jpg", FALSE) != 0, "filter match ignoring case");
    std::unique_ptr<CBFolder> shellFolder(CreateShellFolder(nullptr, static_cast<LPCWSTR>(folder)));
    Check(shellFolder && shellFolder->m_strPath.CompareNoCase(folder) == 0, "the shell folder of bin");
    shellFolder.reset(); // its shell objects go while COM is still there
    VBrwsForFolderDlg* dialog = MakeBrwsForFolderDlg();
    Check(dialog != nullptr && dialog->GetPathName(FALSE).IsEmpty(), "a new dialog without a result folder");
    if (dialog != nullptr)
        dialog->DeleteThis();

    CoUninitialize();
    printf("%s\n", g_failures == 0 ? "consumer: all checks passed" : "consumer: checks failed");
    return g_failures == 0 ? 0 : 1;
}
