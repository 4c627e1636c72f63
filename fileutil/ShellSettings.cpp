// Explorer's hidden-files setting and the shell policies. Every registry failure
// reads as "off": a policy that cannot be read must not take features away.
#include "BrwsShellSettings.h"
#include "module/Holders.h"

#include <cstddef>
#include <vector>

namespace {

const wchar_t kComdlg32Policies[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Comdlg32";
const wchar_t kExplorerPolicies[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";
const wchar_t kExplorerAdvanced[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced";
const wchar_t kExplorer[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer";

// Slots of the policy table that this library uses.
const int kSlotNoFileMru = 4;
const int kSlotNoPlacesBar = 6;
const int kSlotNoRecentDocsHistory = 7;

// The value read as a 32-bit number whatever its type; 0 when it cannot be
// read or does not fit. Shorter values fill the low bytes.
DWORD QueryNumber(HKEY key, const wchar_t* pszValue)
{
    DWORD number = 0;
    DWORD size = sizeof(number);
    if (RegQueryValueExW(key, pszValue, nullptr, nullptr, reinterpret_cast<BYTE*>(&number), &size) !=
        ERROR_SUCCESS)
        return 0;
    return number;
}

// The first flag byte of Explorer's "ShellState" blob (after its 4-byte size
// field); 0 when the value is missing or too short.
BYTE ReadShellStateFlags()
{
    CScopedRegKey key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kExplorer, 0, KEY_QUERY_VALUE, key.Receive()) != ERROR_SUCCESS)
        return 0;
    DWORD size = 0;
    if (RegQueryValueExW(key.Get(), L"ShellState", nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS ||
        size <= 4)
        return 0;
    std::vector<BYTE> state(size, 0);
    if (RegQueryValueExW(key.Get(), L"ShellState", nullptr, nullptr, state.data(), &size) !=
            ERROR_SUCCESS ||
        size <= 4)
        return 0;
    return state[4];
}

} // namespace

int ShowHiddenFiles()
{
    CScopedRegKey advanced;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kExplorerAdvanced, 0, KEY_QUERY_VALUE, advanced.Receive()) ==
        ERROR_SUCCESS)
        return QueryNumber(advanced.Get(), L"Hidden") == 1 ? 1 : 0;
    // Older systems keep the setting only in the shell-state blob. Its low bit
    // is the "show all objects" flag; the other bits are unrelated settings
    // (bit 1 shows extensions), so they must not hide the answer.
    return (ReadShellStateFlags() & 0x01) ? 1 : 0;
}

CShellPolicyCache::CShellPolicyCache() : m_abRead(), m_abValue()
{
    static_assert(sizeof(CShellPolicyCache) == 2 * sm_knSlots, "two bytes per slot, nothing else");
    static_assert(offsetof(CShellPolicyCache, m_abValue) == sm_knSlots, "read flags first");
}

bool CShellPolicyCache::NoFileMru()
{
    return ReadSlot(kSlotNoFileMru, kComdlg32Policies, L"NoFileMru");
}

bool CShellPolicyCache::NoPlacesBar()
{
    return ReadSlot(kSlotNoPlacesBar, kComdlg32Policies, L"NoPlacesBar");
}

bool CShellPolicyCache::NoRecentDocsHistory()
{
    return ReadSlot(kSlotNoRecentDocsHistory, kExplorerPolicies, L"NoRecentDocsHistory");
}

bool CShellPolicyCache::ReadSlot(int nSlot, const wchar_t* pszKey, const wchar_t* pszValue)
{
    if (!m_abRead[nSlot])
    {
        DWORD number = 0;
        CScopedRegKey key;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, pszKey, 0, KEY_READ, key.Receive()) == ERROR_SUCCESS)
            number = QueryNumber(key.Get(), pszValue);
        m_abValue[nSlot] = number == 1;
        m_abRead[nSlot] = 1;
    }
    return m_abValue[nSlot] != 0;
}
