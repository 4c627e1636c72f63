// The hidden-files setting and the policy switches, on values written into the
// test prefix's HKEY_CURRENT_USER (and put back afterwards).
#include "BrwsShellSettings.h"
#include "RegistryScope.h"
#include "TestProcess.h"

#include <gtest/gtest.h>

using testing_support::ScopedRegistryKeyAbsent;
using testing_support::ScopedRegistryValue;

namespace {

const wchar_t kExplorer[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer";
const wchar_t kAdvanced[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced";
const wchar_t kPolicies[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\";
const BYTE kOne[8] = {1};

// Four bytes of any type are a number; eight are none.
const struct { DWORD type, size; bool bOne; } kOneAs[] = {{REG_DWORD, 4, true}, {REG_BINARY, 4, true}, {REG_QWORD, 8, false}};

// With the Advanced key its "Hidden" number decides, 1 showing hidden files,
// and the shell state does not count. Without it the low bit of the shell
// state's fifth byte decides, whatever the other bits.
TEST(ShellSettings, HiddenFiles)
{
    {
        ScopedRegistryValue hidden(kAdvanced, L"Hidden"), state(kExplorer, L"ShellState");
        const BYTE shown[8] = {8, 0, 0, 0, 0x01};
        ASSERT_TRUE(state.Set(REG_BINARY, shown, sizeof(shown)));
        for (const auto& one : kOneAs)
        {
            ASSERT_TRUE(hidden.Set(one.type, kOne, one.size));
            EXPECT_EQ(one.bOne ? 1 : 0, ShowHiddenFiles()) << one.type;
        }
        hidden.SetDword(2);
        EXPECT_EQ(0, ShowHiddenFiles());
        hidden.Remove();
        EXPECT_EQ(0, ShowHiddenFiles());
    }
    ScopedRegistryKeyAbsent noAdvanced(kAdvanced);
    ScopedRegistryValue state(kExplorer, L"ShellState");
    // A state of four bytes has no flags after its size field.
    const struct { BYTE flags; DWORD size; int shown; } cases[] = {
        {0x01, 36, 1}, {0x03, 36, 1}, {0x33, 36, 1}, {0x00, 36, 0}, {0x02, 36, 0}, {0x01, 4, 0}};
    for (const auto& c : cases)
    {
        const BYTE value[36] = {36, 0, 0, 0, c.flags};
        ASSERT_TRUE(state.Set(REG_BINARY, value, c.size));
        EXPECT_EQ(c.shown, ShowHiddenFiles()) << int(c.flags) << " " << c.size;
    }
    state.Remove();
    EXPECT_EQ(0, ShowHiddenFiles());
}

// Each switch reads its own value, once per object; 1 switches it on. The
// value is read as the hidden-files number is.
TEST(ShellSettings, PolicySwitchesReadOncePerObject)
{
    const struct { const wchar_t *key, *name; bool (CShellPolicyCache::*read)(); } policies[] = {
        {L"Comdlg32", L"NoFileMru", &CShellPolicyCache::NoFileMru},
        {L"Comdlg32", L"NoPlacesBar", &CShellPolicyCache::NoPlacesBar},
        {L"Explorer", L"NoRecentDocsHistory", &CShellPolicyCache::NoRecentDocsHistory}};
    for (const auto& p : policies)
    {
        SCOPED_TRACE(testing_support::Narrow(p.name));
        const std::wstring key = kPolicies + std::wstring(p.key);
        {
            ScopedRegistryValue value(key, p.name);
            ASSERT_TRUE(value.SetDword(1));
            CShellPolicyCache cache;
            for (const auto& other : policies)
                EXPECT_EQ(&other == &p, (cache.*other.read)());
            value.SetDword(2);
            EXPECT_TRUE((cache.*p.read)()) << "answered from the cache";
            EXPECT_FALSE((CShellPolicyCache().*p.read)());
        }
        ScopedRegistryKeyAbsent noKey(key);
        EXPECT_FALSE((CShellPolicyCache().*p.read)());
    }
}

} // namespace
