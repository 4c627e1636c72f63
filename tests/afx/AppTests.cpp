// The application object: registration, default names, the profile in the
// registry and in INI files (checked on the real key and file), the wait cursor.
#include <afxwin.h>

#include "AfxTestPrint.h"
#include "res/ids.h"

#include <gtest/gtest.h>

#include <stdlib.h>

#include <string>
#include <vector>

namespace {

const wchar_t kTestKey[] = L"Software\\TarkAfxTests";

BYTE g_bytes[] = {0x12, 0xAB, 0x00, 0xFF};

struct RegValue
{
    LONG result = -1;
    DWORD type = 0;
    std::vector<BYTE> data;
};

RegValue QueryValue(LPCWSTR pszKey, LPCWSTR pszValue)
{
    RegValue value;
    HKEY hKey = nullptr;
    value.result = RegOpenKeyExW(HKEY_CURRENT_USER, pszKey, 0, KEY_READ, &hKey);
    if (value.result != ERROR_SUCCESS)
        return value;
    DWORD cb = 0;
    value.result = RegQueryValueExW(hKey, pszValue, nullptr, &value.type, nullptr, &cb);
    if (value.result == ERROR_SUCCESS)
    {
        value.data.resize(cb);
        value.result = RegQueryValueExW(hKey, pszValue, nullptr, &value.type, value.data.data(), &cb);
    }
    RegCloseKey(hKey);
    return value;
}

const std::vector<BYTE> kMissing = {'<', 'm', 'i', 's', 's', 'i', 'n', 'g', '>'};

// GetProfileBinary's bytes, or "<missing>" when it answers FALSE (having
// reset its out-values, which start as something else).
std::vector<BYTE> ProfileBytes(CWinApp& app, LPCWSTR pszSection, LPCWSTR pszEntry)
{
    UINT nBytes = 77;
    LPBYTE pData = reinterpret_cast<LPBYTE>(&nBytes);
    if (!app.GetProfileBinary(pszSection, pszEntry, &pData, &nBytes))
    {
        EXPECT_EQ(nullptr, pData);
        EXPECT_EQ(0u, nBytes);
        return kMissing;
    }
    std::vector<BYTE> bytes(pData, pData + nBytes);
    delete[] pData;
    return bytes;
}

std::wstring IniValue(LPCWSTR pszSection, LPCWSTR pszEntry, LPCWSTR pszFile)
{
    wchar_t buffer[256];
    GetPrivateProfileStringW(pszSection, pszEntry, L"<missing>", buffer, 256, pszFile);
    return buffer;
}

} // namespace

TEST(CWinAppTest, RegistersItselfAndTakesItsNamesFromTheExecutable)
{
    EXPECT_EQ(nullptr, AfxGetApp());
    EXPECT_EQ(nullptr, AfxGetMainWnd());
    {
        CWinApp app;
        EXPECT_EQ(&app, AfxGetApp());
        EXPECT_EQ(&app, AfxGetThread());
        EXPECT_STREQ(L"afx_tests", app.m_pszExeName);
        EXPECT_STREQ(L"afx_tests", AfxGetAppName());
        EXPECT_STREQ(L"afx_tests.INI", app.m_pszProfileName);
        EXPECT_EQ(GetModuleHandleW(nullptr), AfxGetInstanceHandle());
        EXPECT_EQ(GetCurrentThreadId(), app.m_nThreadID);

        int marker = 0;
        app.m_pMainWnd = reinterpret_cast<CWnd*>(&marker);
        EXPECT_EQ(reinterpret_cast<CWnd*>(&marker), AfxGetMainWnd());

        // A bare profile name is a file in the Windows folder.
        wchar_t path[MAX_PATH];
        GetWindowsDirectoryW(path, MAX_PATH);
        wcscat(path, L"\\afx_tests.INI");
        DeleteFileW(path);
        ASSERT_TRUE(app.WriteProfileInt(L"Start", L"Count", 3));
        EXPECT_EQ(L"3", IniValue(L"Start", L"Count", path));
        DeleteFileW(path);

        PostQuitMessage(5);
        EXPECT_EQ(5, app.Run());
    }
    EXPECT_EQ(nullptr, AfxGetApp());
    EXPECT_EQ(nullptr, AfxGetAppName());
}

TEST(CWinAppTest, WaitCursorNestsAndRestoresTheOriginalCursor)
{
    CWinApp app(L"CursorApp");
    HCURSOR hArrow = LoadCursorW(nullptr, IDC_ARROW);
    HCURSOR hWait = LoadCursorW(nullptr, IDC_WAIT);
    SetCursor(hArrow);
    {
        CWaitCursor wait;
        EXPECT_EQ(hWait, GetCursor());
        app.BeginWaitCursor();
        EXPECT_EQ(2, app.m_nWaitCursorCount);
        app.EndWaitCursor();
        EXPECT_EQ(hWait, GetCursor());
        SetCursor(hArrow);  // something else changed it meanwhile
        app.DoWaitCursor(0);
        EXPECT_EQ(hWait, GetCursor());
    }
    EXPECT_EQ(hArrow, GetCursor());
    EXPECT_EQ(0, app.m_nWaitCursorCount);
    app.EndWaitCursor();  // unbalanced: stays at zero
    EXPECT_EQ(0, app.m_nWaitCursorCount);
    EXPECT_EQ(hArrow, GetCursor());
}

class RegistryProfileTest : public ::testing::Test
{
protected:
    void SetUp() override { RegDeleteTreeW(HKEY_CURRENT_USER, kTestKey); }
    void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, kTestKey); }
};

TEST_F(RegistryProfileTest, ValuesLandUnderTheKeyWithTheFrameworksTypes)
{
    CWinApp app(L"ProfileApp");
    app.SetRegistryKey(L"TarkAfxTests");
    EXPECT_STREQ(L"ProfileApp", app.m_pszProfileName);

    ASSERT_TRUE(app.WriteProfileString(L"Section", L"Text", L"hello \u2713"));
    ASSERT_TRUE(app.WriteProfileInt(L"Section", L"Number", -5));
    ASSERT_TRUE(app.WriteProfileBinary(L"Section", L"Blob", g_bytes, sizeof(g_bytes)));

    const wchar_t kSection[] = L"Software\\TarkAfxTests\\ProfileApp\\Section";
    const wchar_t text[] = L"hello \u2713";
    const DWORD number = 0xFFFFFFFB;
    const struct { const wchar_t* name; DWORD type; const void* data; size_t size; } values[] = {
        {L"Text", REG_SZ, text, sizeof(text)}, {L"Number", REG_DWORD, &number, sizeof(number)},
        {L"Blob", REG_BINARY, g_bytes, sizeof(g_bytes)}};
    for (const auto& v : values)
    {
        SCOPED_TRACE(testing::Message() << v.type);
        RegValue value = QueryValue(kSection, v.name);
        EXPECT_EQ(ERROR_SUCCESS, value.result);
        EXPECT_EQ(v.type, value.type);
        const BYTE* bytes = static_cast<const BYTE*>(v.data);
        EXPECT_EQ(std::vector<BYTE>(bytes, bytes + v.size), value.data);
    }

    EXPECT_EQ(CString(L"hello \u2713"), app.GetProfileString(L"Section", L"Text"));
    EXPECT_EQ(static_cast<UINT>(-5), app.GetProfileInt(L"Section", L"Number", 0));
    EXPECT_EQ(std::vector<BYTE>(g_bytes, g_bytes + sizeof(g_bytes)), ProfileBytes(app, L"Section", L"Blob"));

    // Missing values and values of another type give the defaults.
    EXPECT_EQ(CString(L"fallback"), app.GetProfileString(L"Section", L"Missing", L"fallback"));
    EXPECT_EQ(CString(), app.GetProfileString(L"Other", L"Missing"));
    EXPECT_EQ(17u, app.GetProfileInt(L"Section", L"Missing", 17));
    EXPECT_EQ(3u, app.GetProfileInt(L"Section", L"Text", 3));
    EXPECT_EQ(kMissing, ProfileBytes(app, L"Section", L"Text"));

    // A null value removes the entry, a null entry the whole section.
    ASSERT_TRUE(app.WriteProfileString(L"Section", L"Text", nullptr));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, QueryValue(kSection, L"Text").result);
    EXPECT_EQ(ERROR_SUCCESS, QueryValue(kSection, L"Number").result);
    ASSERT_TRUE(app.WriteProfileString(L"Section", nullptr, nullptr));
    HKEY hKey = nullptr;
    EXPECT_NE(ERROR_SUCCESS, RegOpenKeyExW(HKEY_CURRENT_USER, kSection, 0, KEY_READ, &hKey));
}

TEST_F(RegistryProfileTest, RegistryKeyFromAStringResourceAndDelRegTree)
{
    HMODULE hA = LoadLibraryW(L"afx_test_res_a.dll");
    ASSERT_NE(nullptr, hA);
    {
        CWinApp app(L"KeyApp");
        CDynLinkLibrary* pEntry = new CDynLinkLibrary(hA, hA);
        app.SetRegistryKey(IDS_REGISTRY_KEY);
        delete pEntry;
        EXPECT_STREQ(L"TarkAfxTestsFromResource", app.m_pszRegistryKey);

        ASSERT_TRUE(app.WriteProfileInt(L"S", L"V", 1));
        const wchar_t kKey[] = L"Software\\TarkAfxTestsFromResource";
        EXPECT_EQ(ERROR_SUCCESS, QueryValue(L"Software\\TarkAfxTestsFromResource\\KeyApp\\S", L"V").result);
        EXPECT_EQ(ERROR_SUCCESS, app.DelRegTree(HKEY_CURRENT_USER, kKey));
        HKEY hKey = nullptr;
        EXPECT_NE(ERROR_SUCCESS, RegOpenKeyExW(HKEY_CURRENT_USER, kKey, 0, KEY_READ, &hKey));
    }
    FreeLibrary(hA);
}

class IniProfileTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        wchar_t folder[MAX_PATH];
        GetTempPathW(MAX_PATH, folder);
        m_path = std::wstring(folder) + L"afx_profile_test.ini";
        DeleteFileW(m_path.c_str());
    }
    void TearDown() override { DeleteFileW(m_path.c_str()); }

    std::wstring m_path;
};

TEST_F(IniProfileTest, ValuesLandInTheFileInTheFrameworksFormat)
{
    CWinApp app(L"IniApp");
    EXPECT_EQ(nullptr, app.m_pszRegistryKey);
    free(const_cast<LPWSTR>(app.m_pszProfileName));
    app.m_pszProfileName = _wcsdup(m_path.c_str());
    LPCWSTR file = m_path.c_str();

    ASSERT_TRUE(app.WriteProfileString(L"Sec", L"Text", L"hello"));
    ASSERT_TRUE(app.WriteProfileInt(L"Sec", L"Number", -5));
    ASSERT_TRUE(app.WriteProfileBinary(L"Sec", L"Blob", g_bytes, sizeof(g_bytes)));
    EXPECT_EQ(L"hello", IniValue(L"Sec", L"Text", file));
    EXPECT_EQ(L"-5", IniValue(L"Sec", L"Number", file));
    // Low nibble first, each nibble as a letter from 'A'.
    EXPECT_EQ(L"CBLKAAPP", IniValue(L"Sec", L"Blob", file));

    EXPECT_EQ(CString(L"hello"), app.GetProfileString(L"Sec", L"Text"));
    ASSERT_TRUE(app.WriteProfileInt(L"Sec", L"Count", 42));
    EXPECT_EQ(42u, app.GetProfileInt(L"Sec", L"Count", 0));
    EXPECT_EQ(std::vector<BYTE>(g_bytes, g_bytes + sizeof(g_bytes)), ProfileBytes(app, L"Sec", L"Blob"));

    // A value written by someone else decodes the same way.
    WritePrivateProfileStringW(L"Sec", L"Manual", L"BADC", file);
    EXPECT_EQ((std::vector<BYTE>{0x01, 0x23}), ProfileBytes(app, L"Sec", L"Manual"));

    EXPECT_EQ(kMissing, ProfileBytes(app, L"Sec", L"None"));
    EXPECT_EQ(CString(L"dflt"), app.GetProfileString(L"Sec", L"None", L"dflt"));
    EXPECT_EQ(9u, app.GetProfileInt(L"Sec", L"None", 9));

    ASSERT_TRUE(app.WriteProfileString(L"Sec", L"Text", nullptr));
    EXPECT_EQ(L"<missing>", IniValue(L"Sec", L"Text", file));
    EXPECT_EQ(L"-5", IniValue(L"Sec", L"Number", file));
    ASSERT_TRUE(app.WriteProfileString(L"Sec", nullptr, nullptr));
    EXPECT_EQ(L"<missing>", IniValue(L"Sec", L"Number", file));
    wchar_t sections[256] = {};
    GetPrivateProfileSectionNamesW(sections, 256, file);
    EXPECT_STRNE(L"Sec", sections);

    // Long values are read whole.
    CString longValue;
    for (int i = 0; i < 600; ++i)
        longValue.AppendFormat(L"%d;", i);
    ASSERT_GT(longValue.GetLength(), 2000);
    ASSERT_TRUE(app.WriteProfileString(L"Sec", L"Long", longValue));
    EXPECT_EQ(longValue, app.GetProfileString(L"Sec", L"Long"));

    std::vector<BYTE> big(3000);
    for (size_t i = 0; i < big.size(); ++i)
        big[i] = static_cast<BYTE>(i * 7);
    ASSERT_TRUE(app.WriteProfileBinary(L"Sec", L"BigBlob", big.data(), static_cast<UINT>(big.size())));
    EXPECT_EQ(big, ProfileBytes(app, L"Sec", L"BigBlob"));
}
