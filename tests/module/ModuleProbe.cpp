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

namespace {

CString ArgOrEmpty(const wchar_t* arg)
{
    return wcscmp(arg, L"-") == 0 ? CString() : CString(arg);
}

// What a module handle is, as the report names it.
const wchar_t* Which(HMODULE hModule, HMODULE module, HMODULE languageModule)
{
    return !hModule ? L"null" : hModule == languageModule ? L"rc" : hModule == module ? L"module" : L"other";
}

// Reports the language library's record for the module (paths in lower
// case), the chain entries it added, where the head entry takes resources
// from and whether a string of the language module is found.
int ReportLink(const wchar_t* path, const wchar_t* altPath)
{
    CConnectLanguage& language = CConnectLanguage::Instance();
    language.SetPath(ArgOrEmpty(path));
    language.SetAltPath(ArgOrEmpty(altPath));
    HMODULE module = GetModuleHandleW(L"TarkBrowserUtil.dll");
    const size_t entriesBefore = testing_support::ChainEntries(module).size();
    language.CallStoredCallbacks(L"English");
    HMODULE rc = GetModuleHandleW(L"TarkBrowserUtilRC.DLL");

    wprintf(L"records=%d\n", language.GetModuleInfoCount());
    CLanguageModuleInfo info;
    if (language.GetModuleInfo(language.GetModuleInfoCount() - 1, &info))
    {
        info.strModuleFile.MakeLower();
        info.strResourcePath.MakeLower();
        wprintf(L"record=%ls|%ls|%ls|%d|%d|%d\n", static_cast<LPCWSTR>(info.strModuleFile),
                static_cast<LPCWSTR>(info.strResourcePath), Which(info.hResource, module, rc), info.nKind,
                info.bFlag ? 1 : 0,
                info.strText2.IsEmpty() && info.strText4.IsEmpty() && info.strText7.IsEmpty() && info.strText9.IsEmpty());
    }
    const std::vector<CDynLinkLibrary*> chain = testing_support::ChainEntries(module);
    CString text;
    wprintf(L"newEntries=%d\nrcLoaded=%d\nhead=%ls\nstring=%ls\n", static_cast<int>(chain.size() - entriesBefore),
            rc != nullptr, chain.empty() ? L"none" : Which(chain[0]->m_hResource, module, rc),
            text.LoadString(IDS_BRWS_NEW_FOLDER_NAME) ? static_cast<LPCWSTR>(text) : L"!");
    return 0;
}

int WriteTrace(wchar_t** argv)
{
    const wchar_t* level = wcscmp(argv[2], L"info") == 0    ? RTRACE_LEVEL_INFO
                           : wcscmp(argv[2], L"debug") == 0 ? RTRACE_LEVEL_DEBUG
                                                            : nullptr;
    CString category = ArgOrEmpty(argv[3]), file = ArgOrEmpty(argv[4]);
    std::wstring message = argv[6];
    for (size_t at; (at = message.find(L"\\n")) != std::wstring::npos;)
        message.replace(at, 2, L"\n");
    RTRACE(category.IsEmpty() ? nullptr : static_cast<LPCWSTR>(category),
           file.IsEmpty() ? nullptr : static_cast<LPCWSTR>(file), level, _wtoi(argv[5]))(L"%s", message.c_str());
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
