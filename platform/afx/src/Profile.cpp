// The application's profile: the registry below HKEY_CURRENT_USER\Software
// when a registry key is set, the INI file m_pszProfileName otherwise. The
// storage formats are the framework's, so that profiles written by either
// implementation read back in the other.
#include "AfxInternal.h"

#include <wchar.h>

namespace {

// Closes a registry key at scope end.
class CRegKeyHolder
{
public:
    explicit CRegKeyHolder(HKEY hKey) : m_hKey(hKey) {}
    ~CRegKeyHolder()
    {
        if (m_hKey != nullptr)
            RegCloseKey(m_hKey);
    }
    CRegKeyHolder(const CRegKeyHolder&) = delete;
    CRegKeyHolder& operator=(const CRegKeyHolder&) = delete;

    HKEY Get() const { return m_hKey; }

private:
    HKEY m_hKey;
};

HKEY CreateSubKey(HKEY hParent, LPCWSTR lpszName)
{
    HKEY hKey = nullptr;
    DWORD dwDisposition = 0;
    if (hParent == nullptr ||
        RegCreateKeyExW(hParent, lpszName, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_READ | KEY_WRITE, nullptr,
                        &hKey, &dwDisposition) != ERROR_SUCCESS)
        return nullptr;
    return hKey;
}

} // namespace

HKEY CWinApp::GetAppRegistryKey()
{
    if (m_pszRegistryKey == nullptr || m_pszProfileName == nullptr)
        return nullptr;
    HKEY hSoftware = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Software", 0, KEY_READ | KEY_WRITE, &hSoftware) != ERROR_SUCCESS)
        return nullptr;
    CRegKeyHolder software(hSoftware);
    CRegKeyHolder company(CreateSubKey(software.Get(), m_pszRegistryKey));
    return CreateSubKey(company.Get(), m_pszProfileName);
}

HKEY CWinApp::GetSectionKey(LPCWSTR lpszSection)
{
    ENSURE(lpszSection != nullptr);
    CRegKeyHolder app(GetAppRegistryKey());
    return CreateSubKey(app.Get(), lpszSection);
}

LONG CWinApp::DelRegTree(HKEY hParentKey, const CString& strKeyName)
{
    return RegDeleteTreeW(hParentKey, strKeyName);
}

UINT CWinApp::GetProfileInt(LPCWSTR lpszSection, LPCWSTR lpszEntry, int nDefault)
{
    ENSURE(lpszSection != nullptr && lpszEntry != nullptr);
    if (!UseRegistry())
        return GetPrivateProfileIntW(lpszSection, lpszEntry, nDefault, m_pszProfileName);

    CRegKeyHolder section(GetSectionKey(lpszSection));
    if (section.Get() == nullptr)
        return static_cast<UINT>(nDefault);
    DWORD dwValue = 0;
    DWORD dwType = 0;
    DWORD cbValue = sizeof(dwValue);
    if (RegQueryValueExW(section.Get(), lpszEntry, nullptr, &dwType, reinterpret_cast<LPBYTE>(&dwValue),
                         &cbValue) == ERROR_SUCCESS &&
        dwType == REG_DWORD && cbValue == sizeof(dwValue))
        return dwValue;
    return static_cast<UINT>(nDefault);
}

BOOL CWinApp::WriteProfileInt(LPCWSTR lpszSection, LPCWSTR lpszEntry, int nValue)
{
    ENSURE(lpszSection != nullptr && lpszEntry != nullptr);
    if (!UseRegistry())
    {
        wchar_t szValue[16];
        _snwprintf(szValue, _countof(szValue), L"%d", nValue);
        szValue[_countof(szValue) - 1] = L'\0';
        return WritePrivateProfileStringW(lpszSection, lpszEntry, szValue, m_pszProfileName);
    }
    CRegKeyHolder section(GetSectionKey(lpszSection));
    if (section.Get() == nullptr)
        return FALSE;
    DWORD dwValue = static_cast<DWORD>(nValue);
    return RegSetValueExW(section.Get(), lpszEntry, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dwValue),
                          sizeof(dwValue)) == ERROR_SUCCESS;
}

CString CWinApp::GetProfileString(LPCWSTR lpszSection, LPCWSTR lpszEntry, LPCWSTR lpszDefault)
{
    ENSURE(lpszSection != nullptr && lpszEntry != nullptr);
    if (lpszDefault == nullptr)
        lpszDefault = L"";
    if (!UseRegistry())
    {
        // A value that fills the buffer may have been cut: try again larger.
        for (DWORD nSize = 256;; nSize *= 4)
        {
            CString strValue;
            LPWSTR pBuffer = strValue.GetBuffer(static_cast<int>(nSize));
            DWORD nCopied =
                GetPrivateProfileStringW(lpszSection, lpszEntry, lpszDefault, pBuffer, nSize, m_pszProfileName);
            strValue.ReleaseBufferSetLength(static_cast<int>(nCopied < nSize ? nCopied : 0));
            if (nCopied + 1 < nSize || nSize >= 16 * 1024 * 1024)
                return strValue;
        }
    }

    CRegKeyHolder section(GetSectionKey(lpszSection));
    if (section.Get() == nullptr)
        return lpszDefault;
    DWORD dwType = 0;
    DWORD cbValue = 0;
    if (RegQueryValueExW(section.Get(), lpszEntry, nullptr, &dwType, nullptr, &cbValue) != ERROR_SUCCESS ||
        dwType != REG_SZ)
        return lpszDefault;
    CString strValue;
    int nChars = static_cast<int>(cbValue / sizeof(wchar_t));
    LPWSTR pBuffer = strValue.GetBuffer(nChars);
    if (RegQueryValueExW(section.Get(), lpszEntry, nullptr, &dwType, reinterpret_cast<LPBYTE>(pBuffer),
                         &cbValue) != ERROR_SUCCESS)
    {
        strValue.ReleaseBufferSetLength(0);
        return lpszDefault;
    }
    // The stored size normally counts the terminator, but need not.
    strValue.ReleaseBufferSetLength(static_cast<int>(wcsnlen(pBuffer, cbValue / sizeof(wchar_t))));
    return strValue;
}

BOOL CWinApp::WriteProfileString(LPCWSTR lpszSection, LPCWSTR lpszEntry, LPCWSTR lpszValue)
{
    ENSURE(lpszSection != nullptr);
    if (!UseRegistry())
        return WritePrivateProfileStringW(lpszSection, lpszEntry, lpszValue, m_pszProfileName);

    if (lpszEntry == nullptr)
    {
        CRegKeyHolder app(GetAppRegistryKey());
        return app.Get() != nullptr && RegDeleteKeyW(app.Get(), lpszSection) == ERROR_SUCCESS;
    }
    CRegKeyHolder section(GetSectionKey(lpszSection));
    if (section.Get() == nullptr)
        return FALSE;
    if (lpszValue == nullptr)
        return RegDeleteValueW(section.Get(), lpszEntry) == ERROR_SUCCESS;
    DWORD cbValue = static_cast<DWORD>((wcslen(lpszValue) + 1) * sizeof(wchar_t));
    return RegSetValueExW(section.Get(), lpszEntry, 0, REG_SZ, reinterpret_cast<const BYTE*>(lpszValue),
                          cbValue) == ERROR_SUCCESS;
}

BOOL CWinApp::GetProfileBinary(LPCWSTR lpszSection, LPCWSTR lpszEntry, LPBYTE* ppData, UINT* pBytes)
{
    ENSURE(lpszSection != nullptr && lpszEntry != nullptr && ppData != nullptr && pBytes != nullptr);
    *ppData = nullptr;
    *pBytes = 0;
    if (!UseRegistry())
    {
        CString strValue = GetProfileString(lpszSection, lpszEntry, nullptr);
        if (strValue.IsEmpty())
            return FALSE;
        UINT nBytes = static_cast<UINT>(strValue.GetLength()) / 2;
        LPBYTE pData = new BYTE[nBytes];
        for (UINT i = 0; i < nBytes; ++i)
        {
            unsigned nLow = static_cast<unsigned>(strValue[static_cast<int>(2 * i)] - L'A');
            unsigned nHigh = static_cast<unsigned>(strValue[static_cast<int>(2 * i + 1)] - L'A');
            pData[i] = static_cast<BYTE>(((nHigh & 0x0F) << 4) | (nLow & 0x0F));
        }
        *ppData = pData;
        *pBytes = nBytes;
        return TRUE;
    }

    CRegKeyHolder section(GetSectionKey(lpszSection));
    if (section.Get() == nullptr)
        return FALSE;
    DWORD dwType = 0;
    DWORD cbValue = 0;
    if (RegQueryValueExW(section.Get(), lpszEntry, nullptr, &dwType, nullptr, &cbValue) != ERROR_SUCCESS ||
        dwType != REG_BINARY)
        return FALSE;
    LPBYTE pData = new BYTE[cbValue];
    if (RegQueryValueExW(section.Get(), lpszEntry, nullptr, &dwType, pData, &cbValue) != ERROR_SUCCESS)
    {
        delete[] pData;
        return FALSE;
    }
    *ppData = pData;
    *pBytes = cbValue;
    return TRUE;
}

BOOL CWinApp::WriteProfileBinary(LPCWSTR lpszSection, LPCWSTR lpszEntry, LPBYTE pData, UINT nBytes)
{
    ENSURE(lpszSection != nullptr && lpszEntry != nullptr && (pData != nullptr || nBytes == 0));
    if (!UseRegistry())
    {
        CString strValue;
        LPWSTR pBuffer = strValue.GetBufferSetLength(static_cast<int>(nBytes * 2));
        for (UINT i = 0; i < nBytes; ++i)
        {
            pBuffer[2 * i] = static_cast<wchar_t>(L'A' + (pData[i] & 0x0F));
            pBuffer[2 * i + 1] = static_cast<wchar_t>(L'A' + ((pData[i] >> 4) & 0x0F));
        }
        strValue.ReleaseBufferSetLength(static_cast<int>(nBytes * 2));
        return WritePrivateProfileStringW(lpszSection, lpszEntry, strValue, m_pszProfileName);
    }
    CRegKeyHolder section(GetSectionKey(lpszSection));
    if (section.Get() == nullptr)
        return FALSE;
    return RegSetValueExW(section.Get(), lpszEntry, 0, REG_BINARY, pData, nBytes) == ERROR_SUCCESS;
}
