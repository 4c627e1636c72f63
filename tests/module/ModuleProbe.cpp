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

int ReportLink(const wchar_t* path, const wchar_t* altPath)
{
    CConnectLanguage& language = CConnectLanguage::Instance();
    language.SetPath(ArgOrEmpty(path));
    language.SetAltPath(ArgOrEmpty(altPath));
    HMODULE module = GetModuleHandleW(L"TarkBrowserUtil.dll");
    const int entriesBefore = testing_support::CountChainEntries(module);
    language.CallStoredCallbacks(L"English");

    wprintf(L"records=%d\n", language.GetModuleInfoCount());
    CLanguageModuleInfo info;
    if (language.GetModuleInfo(language.GetModuleInfoCount() - 1, &info))
    {
        wprintf(L"record.module=%ls\nrecord.resourcePath=%ls\nrecord.resourceHandle=%p\n",
                static_cast<LPCWSTR>(info.strModuleFile), static_cast<LPCWSTR>(info.strResourcePath),
                static_cast<void*>(info.hResource));
        wprintf(L"record.kind=%d\nrecord.flag=%d\nrecord.emptyTexts=%d\n", info.nKind, info.bFlag ? 1 : 0,
                info.strText2.IsEmpty() && info.strText4.IsEmpty() && info.strText7.IsEmpty() &&
                    info.strText9.IsEmpty());
    }
    CDynLinkLibrary* head = testing_support::FirstChainEntry(module);
    wprintf(L"module=%p\nrcModule=%p\nnewEntries=%d\nheadResource=%p\n", static_cast<void*>(module),
            static_cast<void*>(GetModuleHandleW(L"TarkBrowserUtilRC.DLL")),
            testing_support::CountChainEntries(module) - entriesBefore,
            head ? static_cast<void*>(head->m_hResource) : nullptr);
    CString text;
    wprintf(L"string=%ls\n", text.LoadString(IDS_BRWS_NEW_FOLDER_NAME) ? static_cast<LPCWSTR>(text) : L"!");
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
