// Start-up of the module: linking its language resources in each outcome, the
// extra chain entry, the resource holder, and what the module's files hold.
#include <gtest/gtest.h>

#include <afxwin.h>
#include <afxdllx.h>
#include <TarkLanguage.h>

#include "BrwsModule.h"
#include "ChainEntries.h"
#include "TestProcess.h"

#include <algorithm>
#include <set>
#include <string>

using testing_support::BinaryFolder;
using testing_support::Narrow;

namespace {

const std::wstring kResourceFile = L"TarkBrowserUtilRC.DLL";

// A path as the probe reports it: lower case.
std::string Lower(std::wstring path)
{
    CharLowerBuffW(&path[0], static_cast<DWORD>(path.size()));
    return Narrow(path);
}

} // namespace

// Each run is a fresh process: the language path, then the alternative path,
// then neither. Without the language module the module still joins the chain,
// with itself as resource handle; an empty language path links nothing.
TEST(LinkExtensionOutcome, LanguagePathThenAlternativePathThenNone)
{
    testing_support::ScratchFolder empty;
    const std::wstring bin = BinaryFolder();
    const std::string record = "records=1\nrecord=" + Lower(bin + L"\\TarkBrowserUtil.dll") + "|";
    const std::string linked =
        record + Lower(bin + L"\\" + kResourceFile) + "|rc|1|1|1\nnewEntries=1\nrcLoaded=1\nhead=rc\nstring=New Folder\n";
    const struct { std::wstring path, altPath; std::string report; } rows[] = {
        {bin, empty.Path(), linked},
        {empty.Path(), bin, linked},
        {empty.Path(), empty.Path(), record + "|null|1|1|1\nnewEntries=1\nrcLoaded=0\nhead=module\nstring=!\n"},
        {L"", bin, "records=0\nnewEntries=0\nrcLoaded=0\nhead=none\nstring=!\n"}};
    auto quoted = [](const std::wstring& s) { return s.empty() ? std::wstring(L"-") : L"\"" + s + L"\""; };
    for (const auto& r : rows)
    {
        testing_support::ProcessResult result =
            testing_support::RunProcess(L"module_probe.exe", L"link " + quoted(r.path) + L" " + quoted(r.altPath));
        EXPECT_EQ(0u, result.exitCode);
        result.output.erase(std::remove(result.output.begin(), result.output.end(), '\r'), result.output.end());
        EXPECT_EQ(r.report, result.output) << Narrow(r.path + L" | " + r.altPath);
    }
}

// One walk through the life of the module in this process: before the language
// library calls back, after, and the resource holder in both states. (Which
// strings are found before and after is the link report's.)
TEST(ModuleLifecycle, ChainEntriesAndResourceHolderBeforeAndAfterLinking)
{
    HMODULE module = GetModuleHandleW(L"TarkBrowserUtil.dll");
    // Before linking: the extra entry carries the module itself, and the
    // holder, without a language handle, changes nothing but still restores.
    const size_t entries = testing_support::ChainEntries(module).size();
    ZBrwsUtilDLLCDynLink();
    ASSERT_EQ(entries + 1, testing_support::ChainEntries(module).size());
    EXPECT_EQ(module, testing_support::ChainEntries(module)[0]->m_hResource);
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
    ZBrwsUtilDLLCDynLink();
    EXPECT_EQ(resources, testing_support::ChainEntries(module)[0]->m_hResource);
    {
        CZarnResourceManager holder(CString(BRWSUTIL_MODULE_KEY));
        EXPECT_EQ(resources, AfxGetResourceHandle());
    }
    EXPECT_EQ(before, AfxGetResourceHandle());
}

// The module's own file holds only its version block, no entry-point export;
// its texts and dialogs live in the language module (the link report finds
// them there).
TEST(ModuleFiles, VersionOnlyResourcesAndNoEntryPointExport)
{
    HMODULE module = GetModuleHandleW(L"TarkBrowserUtil.dll");
    std::set<ULONG_PTR> types;
    auto collect = [](HMODULE, LPWSTR type, LONG_PTR types) -> BOOL {
        return reinterpret_cast<std::set<ULONG_PTR>*>(types)->insert(reinterpret_cast<ULONG_PTR>(type)), TRUE;
    };
    EnumResourceTypesW(module, collect, reinterpret_cast<LONG_PTR>(&types));
    EXPECT_EQ(std::set<ULONG_PTR>{reinterpret_cast<ULONG_PTR>(RT_VERSION)}, types);
    EXPECT_EQ(nullptr, GetProcAddress(module, "DllMain"));
}
