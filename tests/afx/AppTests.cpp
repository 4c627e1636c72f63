// The application's profile in an INI file, read on the real file in the
// framework's format (the library's own tests use the registry), and the
// nesting of wait cursors.
#include <afxwin.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// GetProfileBinary's bytes; none when it answers FALSE.
std::vector<BYTE> ProfileBytes(CWinApp& app, LPCWSTR pszEntry)
{
    LPBYTE pData = nullptr;
    UINT nBytes = 0;
    std::vector<BYTE> bytes;
    if (app.GetProfileBinary(L"Sec", pszEntry, &pData, &nBytes))
        bytes.assign(pData, pData + nBytes);
    delete[] pData;
    return bytes;
}

} // namespace

// Without a registry key the profile is the INI file named after the
// executable, in the Windows folder.
TEST(ProfileTest, IniValuesHaveTheFrameworksFormatAndAreReadWhole)
{
    wchar_t file[MAX_PATH];
    GetWindowsDirectoryW(file, MAX_PATH);
    wcscat(file, L"\\afx_tests.INI");
    DeleteFileW(file);
    CWinApp app(L"IniApp");
    std::vector<BYTE> bytes = {0x12, 0xAB, 0x00, 0xFF};
    ASSERT_TRUE(app.WriteProfileBinary(L"Sec", L"Blob", bytes.data(), 4));
    wchar_t szStored[64];
    GetPrivateProfileStringW(L"Sec", L"Blob", L"", szStored, 64, file);
    // Each byte as two letters from 'A', the low nibble first.
    EXPECT_STREQ(L"CBLKAAPP", szStored);
    EXPECT_EQ(bytes, ProfileBytes(app, L"Blob"));
    WritePrivateProfileStringW(L"Sec", L"Manual", L"BADC", file);
    EXPECT_EQ((std::vector<BYTE>{0x01, 0x23}), ProfileBytes(app, L"Manual"));
    EXPECT_TRUE(ProfileBytes(app, L"Missing").empty());
    EXPECT_STREQ(L"fallback", app.GetProfileString(L"Sec", L"Missing", L"fallback"));

    CString longValue;
    for (int i = 0; i < 600; ++i)
        longValue.AppendFormat(L"%d;", i);
    ASSERT_TRUE(app.WriteProfileString(L"Sec", L"Long", longValue));
    EXPECT_STREQ(longValue, app.GetProfileString(L"Sec", L"Long"));
    DeleteFileW(file);
}

TEST(WaitCursorTest, NestedWaitsRestoreTheOriginalCursorOnlyAtTheOutermostEnd)
{
    CWinApp app(L"CursorApp");
    HCURSOR hArrow = LoadCursorW(nullptr, IDC_ARROW);
    HCURSOR hWait = LoadCursorW(nullptr, IDC_WAIT);
    SetCursor(hArrow);
    {
        CWaitCursor outer;
        EXPECT_EQ(hWait, GetCursor());
        { CWaitCursor inner; }
        EXPECT_EQ(hWait, GetCursor());
    }
    EXPECT_EQ(hArrow, GetCursor());
}
