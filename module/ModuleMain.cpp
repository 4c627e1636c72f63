// Loading and unloading of the module, and linking its language resources.
#include "BrwsModule.h"
#include "BrwsTrace.h"
#include "module/ExtensionModule.h"

#include <TarkLanguage.h>

#include <new>
#include <utility>

namespace {

AFX_EXTENSION_MODULE g_brwsUtilModule = {};

const int kModuleFileNameChars = 520;

// A chain entry joins the framework's list on construction and belongs to it
// from then on; when memory runs out the entry is simply not made.
template <typename... Args>
void AddChainEntry(Args&&... args)
{
    try
    {
        new CDynLinkLibrary(std::forward<Args>(args)...);
    }
    catch (CMemoryException* e)
    {
        e->Delete();
    }
    catch (const std::bad_alloc&)
    {
    }
}

CString GetOwnModuleFileName()
{
    wchar_t fileName[kModuleFileNameChars] = {};
    GetModuleFileNameW(g_brwsUtilModule.hModule, fileName, kModuleFileNameChars);
    fileName[kModuleFileNameChars - 1] = L'\0';
    return CString(fileName);
}

} // namespace

AFX_EXTENSION_MODULE& BrwsUtilExtensionModule()
{
    return g_brwsUtilModule;
}

extern "C" BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD dwReason, LPVOID /*pReserved*/)
{
    if (dwReason == DLL_PROCESS_ATTACH)
    {
        RTRACE(L"DllMain", nullptr, RTRACE_LEVEL_INFO, 0)(L"ZBRWSUTIL.DLL Initializing \n");
        if (!AfxInitExtensionModule(g_brwsUtilModule, hInstance))
            return 0;
        CConnectLanguage::Instance().StoreCB(LinkExtension, CString(BRWSUTIL_MODULE_KEY));
        return 1;
    }
    if (dwReason == DLL_PROCESS_DETACH)
    {
        RTRACE(L"DllMain", nullptr, RTRACE_LEVEL_INFO, 0)(L"ZBRWSUTIL.DLL Terminating \n");
        AfxTermExtensionModule(g_brwsUtilModule, FALSE);
    }
    return 1;
}

void LinkExtension(CString /*strUnused*/)
{
    CString strModuleKey(BRWSUTIL_MODULE_KEY);
    CString strSuffix(BRWSUTIL_RC_SUFFIX);
    CString strResourcePath;
    CString strLanguagePath;

    CConnectLanguage& language = CConnectLanguage::Instance();
    CString strAltPath = language.GetAltPath();
    strLanguagePath = language.GetPath();
    if (strLanguagePath.IsEmpty())
    {
        RTRACE()(L"\n***CRITICAL FAILURE\n");
        return;
    }

    strLanguagePath += L"\\";
    strResourcePath = strLanguagePath + strModuleKey + strSuffix;
    RTRACE()(L"\n***Attempting to load RC dll: %s\n", static_cast<LPCWSTR>(strResourcePath));
    HINSTANCE hResource = LoadLibraryW(strResourcePath);
    if (hResource == nullptr)
    {
        strResourcePath = strAltPath + L"\\" + strModuleKey + strSuffix;
        hResource = LoadLibraryW(strResourcePath);
    }

    if (hResource != nullptr)
    {
        g_brwsUtilModule.hResource = hResource;
        AddChainEntry(g_brwsUtilModule, FALSE);
        RTRACE()(L"\n***Recorded Language DLL info %s\n", static_cast<LPCWSTR>(strResourcePath));
        language.AddModuleInfo(GetOwnModuleFileName(), CString(), strResourcePath, CString(), 1,
                               hResource, CString(), true, CString());
    }
    else
    {
        language.AddModuleInfo(GetOwnModuleFileName(), CString(), CString(), CString(), 1,
                               nullptr, CString(), true, CString());
        AddChainEntry(g_brwsUtilModule, FALSE);
        RTRACE()(L"\n***Failed to record language DLL info %s\n",
                 static_cast<LPCWSTR>(strResourcePath));
    }
}

void ZBrwsUtilDLLCDynLink(void)
{
    AddChainEntry(g_brwsUtilModule.hModule, g_brwsUtilModule.hResource);
    RTRACE(L"ZBrwsUtilDLLCDynLink", nullptr, RTRACE_LEVEL_INFO, 0)(
        L"ZarnBrowserUtilDLL CDynLinkLibrary Created \n");
}
