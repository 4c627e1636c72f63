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
const ULONGLONG kOneAsQword = 1;
const BYTE kOneAsBinary[4] = {1, 0, 0, 0};

TEST(ShellSettings, HiddenFiles)
{
    {
        ScopedRegistryValue hidden(kAdvanced, L"Hidden"), state(kExplorer, L"ShellState");
        ASSERT_TRUE(hidden.SetDword(1));
        EXPECT_EQ(1, ShowHiddenFiles());
        hidden.SetDword(2);
        EXPECT_EQ(0, ShowHiddenFiles());
        hidden.Set(REG_BINARY, kOneAsBinary, sizeof(kOneAsBinary)); // the type does not matter
        EXPECT_EQ(1, ShowHiddenFiles());
        hidden.Set(REG_QWORD, &kOneAsQword, sizeof(kOneAsQword)); // too big for a number
        EXPECT_EQ(0, ShowHiddenFiles());
        // The shell state counts only without the Advanced key.
        hidden.Remove();
        const BYTE shown[8] = {8, 0, 0, 0, 0x01};
        state.Set(REG_BINARY, shown, sizeof(shown));
        EXPECT_EQ(0, ShowHiddenFiles());
    }
    ScopedRegistryKeyAbsent noAdvanced(kAdvanced);
    ScopedRegistryValue state(kExplorer, L"ShellState");
    const struct { BYTE flags; int shown; } cases[] = {{0x01, 1}, {0x03, 1}, {0x33, 1}, {0x00, 0}, {0x02, 0}};
    for (const auto& c : cases)
    {
        const BYTE value[36] = {36, 0, 0, 0, c.flags};
        ASSERT_TRUE(state.Set(REG_BINARY, value, sizeof(value)));
        EXPECT_EQ(c.shown, ShowHiddenFiles()) << int(c.flags);
    }
    state.Set(REG_BINARY, kOneAsBinary, sizeof(kOneAsBinary)); // no flags after the size field
    EXPECT_EQ(0, ShowHiddenFiles());
    state.Remove();
    EXPECT_EQ(0, ShowHiddenFiles());
}

TEST(ShellSettings, PolicySwitchesReadOncePerObject)
{
    const wchar_t kComdlg32[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Comdlg32";
    const struct { const wchar_t *key, *name; bool (CShellPolicyCache::*read)(); } policies[] = {
        {kComdlg32, L"NoFileMru", &CShellPolicyCache::NoFileMru},
        {kComdlg32, L"NoPlacesBar", &CShellPolicyCache::NoPlacesBar},
        {L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer", L"NoRecentDocsHistory",
         &CShellPolicyCache::NoRecentDocsHistory}};
    for (const auto& p : policies)
    {
        SCOPED_TRACE(testing_support::Narrow(p.name));
        {
            ScopedRegistryValue value(p.key, p.name);
            ASSERT_TRUE(value.SetDword(1));
            CShellPolicyCache cache;
            EXPECT_TRUE((cache.*p.read)());
            for (const auto& other : policies) // each reads its own value
                EXPECT_EQ(&other == &p, (CShellPolicyCache().*other.read)());
            value.SetDword(2);
            EXPECT_TRUE((cache.*p.read)()); // answered from the cache
            EXPECT_FALSE((CShellPolicyCache().*p.read)());
            value.Set(REG_BINARY, kOneAsBinary, sizeof(kOneAsBinary));
            EXPECT_TRUE((CShellPolicyCache().*p.read)());
            value.Set(REG_QWORD, &kOneAsQword, sizeof(kOneAsQword));
            EXPECT_FALSE((CShellPolicyCache().*p.read)());
            value.Set(REG_SZ, L"1", sizeof(L"1"));
            EXPECT_FALSE((CShellPolicyCache().*p.read)());
            value.Remove();
            EXPECT_FALSE((CShellPolicyCache().*p.read)());
        }
        ScopedRegistryKeyAbsent noKey(p.key);
        EXPECT_FALSE((CShellPolicyCache().*p.read)());
    }
}

} // namespace
