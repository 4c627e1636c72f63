// module_probe link <path|-> <altpath|->   set the language paths, let the language
//                                            library call the module back, report
// module_probe trace <info|debug|none> <category|-> <file|-> <line> <message>
//                                            write one trace record (\n in the message
//                                            stands for a line feed)
// module_probe attach                       only load the module (its start-up traces)
#include <afxwin.h>
#include <TarkLanguage.h>

#include "BrwsModule.h"
#include "BrwsTrace.h"
#include "BrwsResourceIds.h"
#include "ChainEntries.h"

#include <stdio.h>
#include <string>

using testing_support::CountChainEntries;
using testing_support::FirstChainEntry;

namespace {

CString ArgOrEmpty(const wchar_t* arg)
{
    return wcscmp(arg, L"-") == 0 ? CString() : CString(arg);
}

std::wstring Unescape(const wchar_t* text)
{
    std::wstring out;
    for (const wchar_t* p = text; *p; ++p)
    {
        if (p[0] == L'\\' && p[1] == L'n')
        {
            out += L'\n';
            ++p;
        }
        else
            out += *p;
    }
    return out;
}

HMODULE ModuleOf(const void* address)
{
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                           GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       static_cast<LPCWSTR>(address), &module);
    return module;
}

int ReportLink(const wchar_t* path, const wchar_t* altPath)
{
    CConnectLanguage& language = CConnectLanguage::Instance();
    language.SetPath(ArgOrEmpty(path));
    language.SetAltPath(ArgOrEmpty(altPath));
    HMODULE module = ModuleOf(reinterpret_cast<const void*>(&LinkExtension));
    int entriesBefore = CountChainEntries(module);
    language.CallStoredCallbacks(L"English");

    wprintf(L"records=%d\n", language.GetModuleInfoCount());
    CLanguageModuleInfo info;
    if (language.GetModuleInfo(language.GetModuleInfoCount() - 1, &info))
    {
        wprintf(L"record.module=%ls\n", static_cast<LPCWSTR>(info.strModuleFile));
        wprintf(L"record.resourcePath=%ls\n", static_cast<LPCWSTR>(info.strResourcePath));
        wprintf(L"record.resourceHandle=%p\n", static_cast<void*>(info.hResource));
        wprintf(L"record.kind=%d\n", info.nKind);
        wprintf(L"record.flag=%d\n", info.bFlag ? 1 : 0);
        wprintf(L"record.emptyTexts=%d\n", info.strText2.IsEmpty() && info.strText4.IsEmpty() &&
                                                  info.strText7.IsEmpty() && info.strText9.IsEmpty());
    }
    wprintf(L"module=%p\n", static_cast<void*>(module));
    wprintf(L"rcModule=%p\n", static_cast<void*>(GetModuleHandleW(L"TarkBrowserUtilRC.DLL")));
    wprintf(L"newEntries=%d\n", CountChainEntries(module) - entriesBefore);
    CDynLinkLibrary* head = FirstChainEntry(module);
    wprintf(L"headResource=%p\n", head ? static_cast<void*>(head->m_hResource) : nullptr);
    CString text;
    wprintf(L"string=%ls\n", text.LoadString(IDS_BRWS_NEW_FOLDER_NAME) ? static_cast<LPCWSTR>(text) : L"!");
    return 0;
}

int WriteTrace(wchar_t** argv)
{
    const wchar_t* level = nullptr;
    if (wcscmp(argv[2], L"info") == 0)
        level = RTRACE_LEVEL_INFO;
    else if (wcscmp(argv[2], L"debug") == 0)
        level = RTRACE_LEVEL_DEBUG;
    CString category = ArgOrEmpty(argv[3]);
    CString file = ArgOrEmpty(argv[4]);
    std::wstring message = Unescape(argv[6]);
    RTRACE(category.IsEmpty() ? nullptr : static_cast<LPCWSTR>(category),
           file.IsEmpty() ? nullptr : static_cast<LPCWSTR>(file), level, _wtoi(argv[5]))(
        L"%s", message.c_str());
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc == 4 && wcscmp(argv[1], L"link") == 0)
        return ReportLink(argv[2], argv[3]);
    if (argc == 7 && wcscmp(argv[1], L"trace") == 0)
        return WriteTrace(argv);
    if (argc == 2 && wcscmp(argv[1], L"attach") == 0)
        return 0;
    fwprintf(stderr, L"usage: module_probe link|trace|attach ...\n");
    return 2;
}
