// Start-up of the module: linking its language resources in each outcome, the
// extra chain entry, the resource holder, and what the module's files export.
#include <gtest/gtest.h>

#include <afxwin.h>
#include <afxdllx.h>
#include <TarkLanguage.h>

#include "BrwsModule.h"
#include "BrwsResourceIds.h"
#include "ChainEntries.h"
#include "TestProcess.h"

#include <map>
#include <set>
#include <sstream>
#include <string>

using testing_support::BinaryFolder;
using testing_support::RunProcess;
using testing_support::ScratchFolder;
using testing_support::Widen;

namespace {

// "key=value" lines of the probe's report.
std::map<std::string, std::string> ProbeLink(const std::wstring& path, const std::wstring& altPath)
{
    auto quoted = [](const std::wstring& s) { return s.empty() ? std::wstring(L"-") : L"\"" + s + L"\""; };
    testing_support::ProcessResult result =
        RunProcess(L"module_probe.exe", L"link " + quoted(path) + L" " + quoted(altPath));
    EXPECT_EQ(0u, result.exitCode);
    std::map<std::string, std::string> report;
    std::istringstream lines(result.output);
    std::string line;
    while (std::getline(lines, line))
    {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        size_t eq = line.find('=');
        if (eq != std::string::npos)
            report[line.substr(0, eq)] = line.substr(eq + 1);
    }
    return report;
}

std::string Lower(std::string s)
{
    for (char& c : s)
        c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    return s;
}

bool IsNullPointerText(const std::string& text)
{
    return text.find_first_not_of("0x") == std::string::npos;
}

const std::wstring kResourceFile = L"TarkBrowserUtilRC.DLL";

} // namespace

// Each run is a fresh process. Without the language module the module still
// joins the chain, with itself as resource handle; an empty language path
// links nothing at all.
TEST(LinkExtensionOutcome, LanguagePathThenAlternativePathThenNone)
{
    ScratchFolder empty;
    const std::wstring bin = BinaryFolder();
    const std::string rcPath = Lower(testing_support::Narrow(bin + L"\\" + kResourceFile));
    const struct { std::wstring path, altPath; const char *records, *resourcePath, *newEntries, *string; } rows[] = {
        {bin, empty.Path(), "1", rcPath.c_str(), "1", "New Folder"},
        {empty.Path(), bin, "1", rcPath.c_str(), "1", "New Folder"},
        {empty.Path(), empty.Path(), "1", "", "1", "!"},
        {L"", bin, "0", nullptr, "0", "!"}};
    for (const auto& r : rows)
    {
        SCOPED_TRACE(testing_support::Narrow(r.path + L" | " + r.altPath));
        auto report = ProbeLink(r.path, r.altPath);
        EXPECT_EQ(r.records, report["records"]);
        EXPECT_EQ(r.newEntries, report["newEntries"]);
        EXPECT_EQ(r.string, report["string"]);
        const bool bLoaded = *r.string != '!';
        EXPECT_EQ(bLoaded, !IsNullPointerText(report["rcModule"]));
        if (r.resourcePath == nullptr)
            continue;
        EXPECT_EQ(r.resourcePath, Lower(report["record.resourcePath"]));
        EXPECT_EQ(bLoaded ? report["rcModule"] : report["module"], report["headResource"]);
        if (bLoaded)
        {
            EXPECT_EQ(report["rcModule"], report["record.resourceHandle"]);
        }
        EXPECT_EQ(bLoaded, !IsNullPointerText(report["record.resourceHandle"]));
        if (&r != &rows[0])
            continue;
        // What the record holds besides the resources.
        EXPECT_EQ(Lower(testing_support::Narrow(bin + L"\\TarkBrowserUtil.dll")), Lower(report["record.module"]));
        EXPECT_EQ("1", report["record.kind"]);
        EXPECT_EQ("1", report["record.flag"]);
        EXPECT_EQ("1", report["record.emptyTexts"]);
    }
}

// One walk through the life of the module in this process: before the language
// library calls back, after, and the resource holder in both states.
TEST(ModuleLifecycle, ChainEntriesAndResourceHolderBeforeAndAfterLinking)
{
    HMODULE module = GetModuleHandleW(L"TarkBrowserUtil.dll");
    ASSERT_NE(nullptr, module);
    CString text;
    ASSERT_FALSE(text.LoadString(IDS_BRWS_NEW_FOLDER_NAME)) << "found before linking";

    // Before linking: the extra entry carries the module itself.
    int entries = testing_support::CountChainEntries(module);
    ZBrwsUtilDLLCDynLink();
    EXPECT_EQ(entries + 1, testing_support::CountChainEntries(module));
    ASSERT_NE(nullptr, testing_support::FirstChainEntry(module));
    EXPECT_EQ(module, testing_support::FirstChainEntry(module)->m_hResource);

    // No language handle yet: the holder changes nothing but still restores.
    HINSTANCE before = AfxGetResourceHandle();
    {
        CZarnResourceManager holder(CString(BRWSUTIL_MODULE_KEY));
        EXPECT_EQ(before, AfxGetResourceHandle());
        AfxSetResourceHandle(module);
    }
    EXPECT_EQ(before, AfxGetResourceHandle());

    CConnectLanguage& language = CConnectLanguage::Instance();
    language.SetPath(BinaryFolder().c_str());
    language.SetAltPath(L"");
    ASSERT_GE(language.CallStoredCallbacks(L"English"), 1);
    HINSTANCE resources = GetModuleHandleW(kResourceFile.c_str());
    ASSERT_NE(nullptr, resources);
    EXPECT_EQ(resources, language.GetModuleResourceHandle(CString(BRWSUTIL_MODULE_KEY)));

    // The framework's resource search now reaches the language module.
    ASSERT_TRUE(text.LoadString(IDS_BRWS_NEW_FOLDER_NAME));
    EXPECT_STREQ(L"New Folder", text);
    EXPECT_EQ(resources, AfxFindResourceHandle(MAKEINTRESOURCEW(IDS_BRWS_NEW_FOLDER_NAME / 16 + 1), RT_STRING));

    ZBrwsUtilDLLCDynLink();
    EXPECT_EQ(resources, testing_support::FirstChainEntry(module)->m_hResource);

    {
        CZarnResourceManager holder(CString(BRWSUTIL_MODULE_KEY));
        EXPECT_EQ(resources, AfxGetResourceHandle());
    }
    EXPECT_EQ(before, AfxGetResourceHandle());
}

// Export names of a loaded module, read from its export directory.
std::set<std::string> ExportNames(HMODULE module)
{
    std::set<std::string> names;
    auto* base = reinterpret_cast<const BYTE*>(module);
    auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
    if (dir.Size == 0)
        return names;
    auto* exports = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + dir.VirtualAddress);
    auto* nameRvas = reinterpret_cast<const DWORD*>(base + exports->AddressOfNames);
    for (DWORD i = 0; i < exports->NumberOfNames; ++i)
        names.insert(reinterpret_cast<const char*>(base + nameRvas[i]));
    return names;
}

bool AnyNameContains(const std::set<std::string>& names, const std::string& part)
{
    for (const std::string& name : names)
        if (name.find(part) != std::string::npos)
            return true;
    return false;
}

BOOL CALLBACK CollectType(HMODULE, LPWSTR type, LONG_PTR context)
{
    reinterpret_cast<std::set<ULONG_PTR>*>(context)->insert(
        IS_INTRESOURCE(type) ? reinterpret_cast<ULONG_PTR>(type) : ~ULONG_PTR(0));
    return TRUE;
}

TEST(ModuleFiles, SeparateDllsExportsAndVersionOnlyResources)
{
    for (const wchar_t* dll : {L"TarkBrowserUtil.dll", L"AfxSubset.dll", L"TarkErrorCodes.dll",
                               L"TarkLanguage.dll", L"TarkGDI.dll"})
        EXPECT_NE(nullptr, GetModuleHandleW(dll)) << testing_support::Narrow(dll);

    HMODULE module = GetModuleHandleW(L"TarkBrowserUtil.dll");
    std::set<std::string> names = ExportNames(module);
    EXPECT_TRUE(AnyNameContains(names, "LinkExtension"));
    EXPECT_TRUE(AnyNameContains(names, "ZBrwsUtilDLLCDynLink"));
    EXPECT_TRUE(AnyNameContains(names, "CZarnResourceManager"));
    EXPECT_FALSE(AnyNameContains(names, "DllMain"));

    std::set<ULONG_PTR> types;
    EnumResourceTypesW(module, CollectType, reinterpret_cast<LONG_PTR>(&types));
    EXPECT_EQ(std::set<ULONG_PTR>{reinterpret_cast<ULONG_PTR>(RT_VERSION)}, types);

    HMODULE resources = LoadLibraryExW((BinaryFolder() + L"\\" + kResourceFile).c_str(), nullptr,
                                       LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(nullptr, resources);
    types.clear();
    EnumResourceTypesW(resources, CollectType, reinterpret_cast<LONG_PTR>(&types));
    EXPECT_EQ(1u, types.count(reinterpret_cast<ULONG_PTR>(RT_STRING)));
    EXPECT_EQ(1u, types.count(reinterpret_cast<ULONG_PTR>(RT_VERSION)));
    FreeLibrary(resources);
}
