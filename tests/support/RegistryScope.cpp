#include "RegistryScope.h"

#include "TestProcess.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <vector>

namespace testing_support {

namespace {

// A note's values: for a value, "Key" and "Name" say which, "Old" holds it
// with its type and bytes when it was there, and "Created0", "Created1" ...
// name the keys Set made, outermost first; for a hidden key, "Hidden" names
// it and the subkey "Saved" holds its copy when it was there. The key's name
// is written last, so that a note cut short by a kill undoes nothing.
const wchar_t kTestsKey[] = L"Software\\TarkBrowserUtilTests";
const wchar_t kNotesKey[] = L"Software\\TarkBrowserUtilTests\\Undo";
const wchar_t kOwnerPrefix[] = L"TarkBrowserUtilTests-";

CScopedRegKey Open(const std::wstring& key)
{
    CScopedRegKey h;
    RegOpenKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, h.Receive());
    return h;
}

bool KeyExists(const std::wstring& key) { return Open(key).IsValid(); }

bool KeyIsEmpty(const std::wstring& key)
{
    DWORD subkeys = 1, values = 1;
    RegQueryInfoKeyW(Open(key).Get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr, nullptr,
                     nullptr, nullptr);
    return subkeys == 0 && values == 0;
}

// Copies key from with its values and subkeys into key to (created when missing).
bool CopyKey(const std::wstring& from, const std::wstring& to)
{
    CScopedRegKey hFrom = Open(from), hTo;
    return hFrom &&
           RegCreateKeyExW(HKEY_CURRENT_USER, to.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, hTo.Receive(),
                           nullptr) == ERROR_SUCCESS &&
           RegCopyTreeW(hFrom.Get(), nullptr, hTo.Get()) == ERROR_SUCCESS;
}

void DeleteKey(const std::wstring& key)
{
    RegDeleteTreeW(HKEY_CURRENT_USER, key.c_str());
    RegDeleteKeyW(HKEY_CURRENT_USER, key.c_str());
}

// Copies value name of key from, with its type and bytes, into key to under
// the name as; false when there is none to copy.
bool CopyValue(const std::wstring& from, const wchar_t* name, const std::wstring& to, const wchar_t* as)
{
    CScopedRegKey h = Open(from);
    DWORD type = 0, size = 0;
    std::vector<BYTE> data;
    bool read = h && RegQueryValueExW(h.Get(), name, nullptr, &type, nullptr, &size) == ERROR_SUCCESS;
    data.resize(size + 1);
    read = read && RegQueryValueExW(h.Get(), name, nullptr, &type, data.data(), &size) == ERROR_SUCCESS;
    return read && RegSetKeyValueW(HKEY_CURRENT_USER, to.c_str(), as, type, data.data(), size) == ERROR_SUCCESS;
}

std::wstring ReadText(const std::wstring& key, const wchar_t* name)
{
    wchar_t text[512] = {};
    DWORD size = sizeof(text);
    const LONG status = RegGetValueW(HKEY_CURRENT_USER, key.c_str(), name, RRF_RT_REG_SZ, nullptr, text, &size);
    return status == ERROR_SUCCESS ? text : L"";
}

bool WriteText(const std::wstring& key, const wchar_t* name, const std::wstring& text)
{
    return RegSetKeyValueW(HKEY_CURRENT_USER, key.c_str(), name, REG_SZ, text.c_str(),
                           static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

void UndoValue(const std::wstring& note, const std::wstring& key)
{
    const std::wstring name = ReadText(note, L"Name");
    if (!CopyValue(note, L"Old", key, name.c_str()))
        RegDeleteKeyValueW(HKEY_CURRENT_USER, key.c_str(), name.c_str());
    std::vector<std::wstring> created;
    for (std::wstring made; !(made = ReadText(note, (L"Created" + std::to_wstring(created.size())).c_str())).empty();)
        created.push_back(made);
    for (auto made = created.rbegin(); made != created.rend(); ++made)
        if (KeyIsEmpty(*made))
            RegDeleteKeyW(HKEY_CURRENT_USER, made->c_str());
}

// Puts back what the note says and drops the note.
void ApplyNote(const std::wstring& note)
{
    const std::wstring valueKey = ReadText(note, L"Key"), hiddenKey = ReadText(note, L"Hidden");
    if (!valueKey.empty())
        UndoValue(note, valueKey);
    else if (!hiddenKey.empty())
    {
        DeleteKey(hiddenKey);
        EXPECT_TRUE(!KeyExists(note + L"\\Saved") || CopyKey(note + L"\\Saved", hiddenKey))
            << "could not put a registry key back";
    }
    DeleteKey(note);
    for (const wchar_t* parent : {kNotesKey, kTestsKey})
        if (KeyIsEmpty(parent))
            RegDeleteKeyW(HKEY_CURRENT_USER, parent);
}

} // namespace

RegistryUndoNote::RegistryUndoNote()
{
    // Names sort as the notes were made: the time, then a count within the process.
    static std::atomic<unsigned> count{0};
    FILETIME now = {};
    GetSystemTimeAsFileTime(&now);
    wchar_t order[32] = {};
    swprintf(order, 32, L"%08lX%08lX%08X-", now.dwHighDateTime, now.dwLowDateTime, count++);
    const std::wstring name = order + UniqueTag(), key = std::wstring(kNotesKey) + L"\\" + name;
    // The owner's mark comes first, so that no other process takes the note
    // for a leftover while it is being written.
    m_owner.Reset(CreateMutexW(nullptr, FALSE, (kOwnerPrefix + name).c_str()));
    CScopedRegKey h;
    if (m_owner && RegCreateKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, h.Receive(),
                                   nullptr) == ERROR_SUCCESS)
        m_key = key;
    else
        ADD_FAILURE() << "cannot note how to undo a registry change";
}

RegistryUndoNote::~RegistryUndoNote()
{
    if (!m_key.empty())
        ApplyNote(m_key);
}

ScopedRegistryValue::ScopedRegistryValue(std::wstring key, std::wstring name)
    : m_key(std::move(key)), m_name(std::move(name))
{
    if (m_note.Key().empty())
        return;
    CopyValue(m_key, m_name.c_str(), m_note.Key(), L"Old");
    WriteText(m_note.Key(), L"Name", m_name);
    WriteText(m_note.Key(), L"Key", m_key);
}

bool ScopedRegistryValue::Set(DWORD type, const void* data, DWORD size)
{
    // Note every missing key, outermost first, before creating it.
    for (size_t end = m_key.find(L'\\'); ; end = m_key.find(L'\\', end + 1))
    {
        std::wstring prefix = m_key.substr(0, end);
        if (!KeyExists(prefix) && !m_note.Key().empty())
            WriteText(m_note.Key(), (L"Created" + std::to_wstring(m_nCreatedKeys++)).c_str(), prefix);
        if (end == std::wstring::npos)
            break;
    }
    return RegSetKeyValueW(HKEY_CURRENT_USER, m_key.c_str(), m_name.c_str(), type, data, size) == ERROR_SUCCESS;
}

void ScopedRegistryValue::Remove()
{
    RegDeleteKeyValueW(HKEY_CURRENT_USER, m_key.c_str(), m_name.c_str());
}

ScopedRegistryKeyAbsent::ScopedRegistryKeyAbsent(std::wstring key)
{
    if (m_note.Key().empty())
        return;
    if (KeyExists(key) && !CopyKey(key, m_note.Key() + L"\\Saved"))
    {
        ADD_FAILURE() << "could not copy a registry key aside";
        return;
    }
    WriteText(m_note.Key(), L"Hidden", key);
    DeleteKey(key);
    EXPECT_FALSE(KeyExists(key));
}

void UndoLeftoverRegistryChanges()
{
    std::vector<std::wstring> names;
    CScopedRegKey h = Open(kNotesKey);
    wchar_t name[256];
    for (DWORD i = 0, length = 256; RegEnumKeyExW(h.Get(), i, name, &length, nullptr, nullptr, nullptr, nullptr) ==
                                    ERROR_SUCCESS;
         ++i, length = 256)
        names.push_back(name);
    h.Reset(); // the notes key itself may go with the last note
    std::sort(names.rbegin(), names.rend());
    // A note whose owner's mutex is still there belongs to a live scope.
    for (const std::wstring& note : names)
        if (!CScopedKernelHandle(OpenMutexW(SYNCHRONIZE, FALSE, (kOwnerPrefix + note).c_str())))
            ApplyNote(std::wstring(kNotesKey) + L"\\" + note);
}

ScopedNewProcessDpi::ScopedNewProcessDpi(DWORD dpi)
{
    // Keys under the volatile branch must be volatile themselves.
    const wchar_t* const key = L"Software\\Wine\\Temporary System Parameters\\Control Panel\\Desktop";
    LONG status = RegCreateKeyExW(HKEY_CURRENT_USER, key, 0, nullptr, REG_OPTION_VOLATILE, KEY_SET_VALUE, nullptr,
                                  m_key.Receive(), nullptr);
    if (status == ERROR_SUCCESS)
        status = RegSetValueExW(m_key.Get(), L"LogPixels", 0, REG_DWORD, reinterpret_cast<BYTE*>(&dpi), sizeof(dpi));
    EXPECT_EQ(ERROR_SUCCESS, status) << "the resolution of new processes could not be set";
}

ScopedNewProcessDpi::~ScopedNewProcessDpi()
{
    if (m_key)
        RegDeleteValueW(m_key.Get(), L"LogPixels");
}

} // namespace testing_support
