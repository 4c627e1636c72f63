// File existence, size and time stamps on real files; cutting times to midnight.
#include "BrwsFileTime.h"
#include "TestProcess.h"

#include <gtest/gtest.h>

#include <random>
#include <stdlib.h>
#include <string>
#include <time.h>

using testing_support::ScratchFolder;

namespace {

ULONGLONG Ticks(const FILETIME& ft)
{
    return (static_cast<ULONGLONG>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
}

FILETIME FromTicks(ULONGLONG ticks)
{
    return {static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
}

void WriteFile(const std::wstring& path, DWORD size)
{
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, h);
    std::string bytes(size, 'x');
    DWORD written = 0;
    EXPECT_TRUE(::WriteFile(h, bytes.data(), size, &written, nullptr));
    CloseHandle(h);
}

TEST(FileTime, ExistenceAndSize)
{
    ScratchFolder folder;
    const std::wstring file = folder / L"\u5199\u771f 1.jpg";
    WriteFile(file, 1234);
    WriteFile(folder / L"empty", 0);

    EXPECT_EQ(0, DoesFileNotExist(file.c_str()));
    EXPECT_EQ(0, DoesFileNotExist(folder.Path().c_str()));
    EXPECT_EQ(1, DoesFileNotExist((folder / L"missing.jpg").c_str()));
    EXPECT_EQ(1, DoesFileNotExist((folder / L"missing\\a.jpg").c_str()));
    EXPECT_EQ(1, DoesFileNotExist(L""));
    // An error other than "not found" (here an invalid name) is not proof of absence.
    EXPECT_EQ(0, DoesFileNotExist((folder / L"a<b>|.jpg").c_str()));

    EXPECT_EQ(1234u, GetFileSize(file.c_str()));
    EXPECT_EQ(0u, GetFileSize((folder / L"empty").c_str()));
    EXPECT_EQ(0xFFFFFFFFu, GetFileSize((folder / L"missing.jpg").c_str()));
    EXPECT_EQ(0xFFFFFFFFu, GetFileSize(folder.Path().c_str()));
    // The size is read even while someone else holds the file without sharing.
    HANDLE locked = CreateFileW(file.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, locked);
    EXPECT_EQ(1234u, GetFileSize(file.c_str()));
    CloseHandle(locked);
}

TEST(FileTime, TimeStampsAndComparison)
{
    ScratchFolder folder;
    const std::wstring file = folder / L"\u03b1.png";
    WriteFile(file, 1);
    const FILETIME created = FromTicks(130000000000000000ULL + 1234567);
    const FILETIME modified = FromTicks(132000000000000000ULL + 7654321);
    HANDLE h = CreateFileW(file.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, h);
    ASSERT_TRUE(SetFileTime(h, &created, nullptr, &modified));
    CloseHandle(h);

    // Creation times cannot be set on every file system (Wine on Linux): the
    // system's own answer is the reference.
    WIN32_FILE_ATTRIBUTE_DATA system = {};
    ASSERT_TRUE(GetFileAttributesExW(file.c_str(), GetFileExInfoStandard, &system));
    ASSERT_EQ(Ticks(modified), Ticks(system.ftLastWriteTime));

    const FILETIME sentinel = FromTicks(0x1122334455667788ULL);
    FILETIME c = sentinel, m = sentinel;
    EXPECT_EQ(1, GetTimeStamps(file.c_str(), &c, &m));
    EXPECT_EQ(Ticks(system.ftCreationTime), Ticks(c));
    EXPECT_EQ(Ticks(modified), Ticks(m));
    m = sentinel;
    EXPECT_EQ(1, GetTimeStamps((folder / L"*.png").c_str(), nullptr, &m));
    EXPECT_EQ(Ticks(modified), Ticks(m));
    EXPECT_EQ(0, GetTimeStamps(file.c_str(), nullptr, nullptr));
    const std::wstring none = folder / L"none.png";
    for (const wchar_t* missing : {none.c_str(), L""})
    {
        c = m = sentinel;
        EXPECT_EQ(0, GetTimeStamps(missing, &c, &m));
        EXPECT_EQ(0u, Ticks(c));
        EXPECT_EQ(0u, Ticks(m));
    }

    FILETIME copy = sentinel;
    CopyFileTime(&copy, &modified);
    EXPECT_EQ(Ticks(modified), Ticks(copy));
    const ULONGLONG values[] = {0, 1, 0xFFFFFFFFULL, 0x100000000ULL, Ticks(created), Ticks(modified)};
    for (ULONGLONG a : values)
    {
        for (ULONGLONG b : values)
        {
            FILETIME fa = FromTicks(a), fb = FromTicks(b);
            EXPECT_EQ(a < b ? eFileTimeEarlier : a > b ? eFileTimeLater : eFileTimeEqual,
                      CompareFileTimes(&fa, &fb));
        }
    }
}

TEST(FileTime, FileTimeCutToUtcMidnight)
{
    const ULONGLONG day = 864000000000ULL; // 1601-01-01 was a UTC midnight
    SYSTEMTIME st = {2020, 3, 0, 1, 23, 59, 59, 999};
    FILETIME ft;
    ASSERT_TRUE(SystemTimeToFileTime(&st, &ft));
    RemoveTimeFromDate(&ft);
    FileTimeToSystemTime(&ft, &st);
    EXPECT_EQ(2020, st.wYear);
    EXPECT_EQ(1, st.wDay);
    EXPECT_EQ(0, st.wHour + st.wMinute + st.wSecond + st.wMilliseconds);

    std::mt19937_64 random(7);
    for (int i = 0; i < 1000; ++i)
    {
        ULONGLONG value = random() % (0x7FFFFFFFFFFFFFFFULL / day * day);
        FILETIME t = FromTicks(value);
        RemoveTimeFromDate(&t);
        EXPECT_EQ(value - value % day, Ticks(t));
    }
    FILETIME invalid = FromTicks(0x8000000000000000ULL);
    RemoveTimeFromDate(&invalid);
    EXPECT_EQ(0x8000000000000000ULL, Ticks(invalid));
}

// Runs the test body with the C runtime's local time zone set through TZ.
class LocalZone
{
public:
    explicit LocalZone(const char* tz) { Apply(tz); }
    ~LocalZone() { Apply("TZ="); }

private:
    static void Apply(const char* tz)
    {
        _putenv(tz);
        _tzset();
    }
};

SCODE ThrownCode(CTime& time)
{
    try
    {
        RemoveTimeFromDate(time);
    }
    catch (COleException* e)
    {
        SCODE sc = e->m_sc;
        e->Delete();
        return sc;
    }
    return S_OK;
}

TEST(FileTime, CTimeCutToLocalMidnight)
{
    for (const char* zone : {"TZ=EST5", "TZ=CET-1", "TZ=PST8PDT", "TZ=JST-9"})
    {
        LocalZone local(zone);
        std::mt19937 random(11);
        for (int i = 0; i < 300; ++i)
        {
            __time64_t value = 86400 * 2 + random() % 2100000000;
            CTime time(value);
            ASSERT_EQ(S_OK, ThrownCode(time)) << zone << " " << value;
            tm before = {}, after = {};
            ASSERT_EQ(0, _localtime64_s(&before, &value));
            __time64_t result = time.GetTime();
            ASSERT_EQ(0, _localtime64_s(&after, &result));
            EXPECT_EQ(before.tm_year * 400 + before.tm_yday, after.tm_year * 400 + after.tm_yday);
            EXPECT_EQ(0, after.tm_hour * 3600 + after.tm_min * 60 + after.tm_sec) << zone << " " << value;
        }
    }
    {
        // West of UTC the epoch is still 1969 locally.
        LocalZone local("TZ=EST5");
        CTime epoch(static_cast<__time64_t>(0));
        EXPECT_EQ(E_FAIL, ThrownCode(epoch));
    }
    {
        // East of UTC local midnight of 1 January 1970 precedes the epoch; the
        // runtime decides whether it can be converted.
        LocalZone local("TZ=CET-1");
        tm midnight = {0, 0, 0, 1, 0, 70, 0, 0, -1};
        __time64_t expected = _mktime64(&midnight);
        CTime epoch(static_cast<__time64_t>(0));
        EXPECT_EQ(expected == -1 ? E_INVALIDARG : S_OK, ThrownCode(epoch));
        if (expected != -1)
        {
            EXPECT_EQ(expected, epoch.GetTime());
        }
    }
    // Before 1900 (or not convertible at all) gives the epoch.
    CTime old(static_cast<__time64_t>(-3000000000LL));
    EXPECT_EQ(S_OK, ThrownCode(old));
    EXPECT_EQ(0, old.GetTime());
}

} // namespace
