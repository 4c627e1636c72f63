#include "RegistryScope.h"

#include <gtest/gtest.h>

namespace testing_support {

namespace {

bool KeyExists(const std::wstring& key)
{
    HKEY h = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS)
        return false;
    RegCloseKey(h);
    return true;
}

bool KeyIsEmpty(const std::wstring& key)
{
    HKEY h = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS)
        return false;
    DWORD subkeys = 0;
    DWORD values = 0;
    LONG status = RegQueryInfoKeyW(h, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values,
                                   nullptr, nullptr, nullptr, nullptr);
    RegCloseKey(h);
    return status == ERROR_SUCCESS && subkeys == 0 && values == 0;
}

// Copies key from with its values and subkeys into key to (created when missing).
bool CopyKey(const std::wstring& from, const std::wstring& to)
{
    HKEY hFrom = nullptr;
    HKEY hTo = nullptr;
    bool copied = RegOpenKeyExW(HKEY_CURRENT_USER, from.c_str(), 0, KEY_READ, &hFrom) == ERROR_SUCCESS &&
                  RegCreateKeyExW(HKEY_CURRENT_USER, to.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &hTo,
                                  nullptr) == ERROR_SUCCESS &&
                  RegCopyTreeW(hFrom, nullptr, hTo) == ERROR_SUCCESS;
    if (hFrom)
        RegCloseKey(hFrom);
    if (hTo)
        RegCloseKey(hTo);
    return copied;
}

void DeleteKey(const std::wstring& key)
{
    RegDeleteTreeW(HKEY_CURRENT_USER, key.c_str());
    RegDeleteKeyW(HKEY_CURRENT_USER, key.c_str());
}

} // namespace

ScopedRegistryValue::ScopedRegistryValue(std::wstring key, std::wstring name)
    : m_key(std::move(key)), m_name(std::move(name))
{
    HKEY h = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, m_key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS)
        return;
    DWORD size = 0;
    if (RegQueryValueExW(h, m_name.c_str(), nullptr, &m_oldType, nullptr, &size) == ERROR_SUCCESS)
    {
        m_oldData.resize(size);
        m_hadValue = RegQueryValueExW(h, m_name.c_str(), nullptr, &m_oldType, m_oldData.data(),
                                      &size) == ERROR_SUCCESS;
    }
    RegCloseKey(h);
}

ScopedRegistryValue::~ScopedRegistryValue()
{
    if (m_hadValue)
        Set(m_oldType, m_oldData.data(), static_cast<DWORD>(m_oldData.size()));
    else
        Remove();
    for (auto key = m_createdKeys.rbegin(); key != m_createdKeys.rend(); ++key)
    {
        if (KeyIsEmpty(*key))
            RegDeleteKeyW(HKEY_CURRENT_USER, key->c_str());
    }
}

bool ScopedRegistryValue::Set(DWORD type, const void* data, DWORD size)
{
    // Note every missing ancestor before creating, so that scope end can remove them.
    for (size_t end = m_key.find(L'\\'); ; end = m_key.find(L'\\', end + 1))
    {
        std::wstring prefix = m_key.substr(0, end);
        if (!KeyExists(prefix))
            m_createdKeys.push_back(prefix);
        if (end == std::wstring::npos)
            break;
    }
    HKEY h = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, m_key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &h,
                        nullptr) != ERROR_SUCCESS)
        return false;
    LONG status = RegSetValueExW(h, m_name.c_str(), 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(h);
    return status == ERROR_SUCCESS;
}

void ScopedRegistryValue::Remove()
{
    HKEY h = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, m_key.c_str(), 0, KEY_SET_VALUE, &h) != ERROR_SUCCESS)
        return;
    RegDeleteValueW(h, m_name.c_str());
    RegCloseKey(h);
}

ScopedRegistryKeyAbsent::ScopedRegistryKeyAbsent(std::wstring key) : m_key(std::move(key))
{
    if (!KeyExists(m_key))
        return;
    m_backup = L"Software\\TarkBrowserUtilTests\\Hidden" + std::to_wstring(GetCurrentProcessId()) +
               L"_" + std::to_wstring(GetTickCount64());
    if (!CopyKey(m_key, m_backup))
    {
        ADD_FAILURE() << "could not copy a registry key aside";
        DeleteKey(m_backup);
        m_backup.clear();
        return;
    }
    DeleteKey(m_key);
    EXPECT_FALSE(KeyExists(m_key));
}

ScopedRegistryKeyAbsent::~ScopedRegistryKeyAbsent()
{
    if (m_backup.empty())
        return;
    EXPECT_TRUE(CopyKey(m_backup, m_key)) << "could not put a registry key back";
    DeleteKey(m_backup);
    if (KeyIsEmpty(L"Software\\TarkBrowserUtilTests"))
        RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\TarkBrowserUtilTests");
}

ScopedNewProcessDpi::ScopedNewProcessDpi(DWORD dpi)
{
    // Keys under the volatile branch must be volatile themselves.
    const wchar_t* const key = L"Software\\Wine\\Temporary System Parameters\\Control Panel\\Desktop";
    LONG status = RegCreateKeyExW(HKEY_CURRENT_USER, key, 0, nullptr, REG_OPTION_VOLATILE, KEY_SET_VALUE, nullptr,
                                  &m_key, nullptr);
    if (status == ERROR_SUCCESS)
        status = RegSetValueExW(m_key, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof(dpi));
    EXPECT_EQ(ERROR_SUCCESS, status) << "the resolution of new processes could not be set";
}

ScopedNewProcessDpi::~ScopedNewProcessDpi()
{
    if (!m_key)
        return;
    RegDeleteValueW(m_key, L"LogPixels");
    RegCloseKey(m_key);
}

} // namespace testing_support
