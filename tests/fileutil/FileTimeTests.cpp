// File existence, size and time stamps on real files; cutting times to midnight.
#include "BrwsFileTime.h"
#include "TestProcess.h"
#include "module/Holders.h"

#include <gtest/gtest.h>

#include <random>
#include <stdlib.h>
#include <time.h>

namespace {

ULONGLONG Ticks(const FILETIME& ft)
{
    return (static_cast<ULONGLONG>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
}

FILETIME FromTicks(ULONGLONG ticks)
{
    return {static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
}

TEST(FileTime, ExistenceSizeAndStamps)
{
    testing_support::ScratchFolder folder;
    const std::wstring file = folder / L"\u5199\u771f 1.jpg", missing = folder / L"none.jpg";
    CScopedFileHandle h(CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    ASSERT_TRUE(h.IsValid());
    DWORD written = 0;
    WriteFile(h.Get(), std::string(1234, 'x').data(), 1234, &written, nullptr);
    const FILETIME modified = FromTicks(132000000000000000ULL + 7654321);
    ASSERT_TRUE(SetFileTime(h.Get(), nullptr, nullptr, &modified));
    h.Reset();

    EXPECT_EQ(0, DoesFileNotExist(file.c_str()));
    EXPECT_EQ(0, DoesFileNotExist(folder.Path().c_str()));
    EXPECT_EQ(1, DoesFileNotExist(missing.c_str()));
    EXPECT_EQ(1, DoesFileNotExist((folder / L"none\\a.jpg").c_str()));
    // An error other than "not found" (here an invalid name) is no proof of absence.
    EXPECT_EQ(0, DoesFileNotExist((folder / L"a<b>|.jpg").c_str()));

    EXPECT_EQ(1234u, GetFileSize(file.c_str()));
    EXPECT_EQ(0xFFFFFFFFu, GetFileSize(missing.c_str()));
    EXPECT_EQ(0xFFFFFFFFu, GetFileSize(folder.Path().c_str()));
    // The size is read even while someone else holds the file without sharing.
    h.Reset(CreateFileW(file.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    EXPECT_EQ(1234u, GetFileSize(file.c_str()));
    h.Reset();

    // Creation times cannot be set everywhere (Wine on Linux): the system's answer is the reference.
    WIN32_FILE_ATTRIBUTE_DATA system = {};
    ASSERT_TRUE(GetFileAttributesExW(file.c_str(), GetFileExInfoStandard, &system));
    const FILETIME sentinel = FromTicks(0x1122334455667788ULL);
    FILETIME created = sentinel, lastWrite = sentinel;
    EXPECT_EQ(1, GetTimeStamps(file.c_str(), &created, &lastWrite));
    EXPECT_EQ(Ticks(system.ftCreationTime), Ticks(created));
    EXPECT_EQ(Ticks(modified), Ticks(lastWrite));
    lastWrite = sentinel;
    EXPECT_EQ(1, GetTimeStamps((folder / L"*.jpg").c_str(), nullptr, &lastWrite));
    EXPECT_EQ(Ticks(modified), Ticks(lastWrite));
    EXPECT_EQ(0, GetTimeStamps(file.c_str(), nullptr, nullptr));
    for (const wchar_t* path : {missing.c_str(), L""})
    {
        created = lastWrite = sentinel;
        EXPECT_EQ(0, GetTimeStamps(path, &created, &lastWrite));
        EXPECT_EQ(0u, Ticks(created) | Ticks(lastWrite));
    }

    const ULONGLONG values[] = {0, 0xFFFFFFFFULL, 0x100000000ULL, Ticks(modified)};
    for (ULONGLONG a : values)
    {
        for (ULONGLONG b : values)
        {
            FILETIME fa = FromTicks(a), fb = FromTicks(b);
            EXPECT_EQ(a < b ? eFileTimeEarlier : a > b ? eFileTimeLater : eFileTimeEqual, CompareFileTimes(&fa, &fb));
            CopyFileTime(&fa, &fb);
            EXPECT_EQ(b, Ticks(fa));
        }
    }
}

TEST(FileTime, FileTimeCutToUtcMidnight)
{
    const ULONGLONG day = 864000000000ULL; // 1601-01-01 began at midnight UTC
    SYSTEMTIME st = {2020, 3, 0, 1, 23, 59, 59, 999};
    FILETIME ft;
    ASSERT_TRUE(SystemTimeToFileTime(&st, &ft));
    RemoveTimeFromDate(&ft);
    FileTimeToSystemTime(&ft, &st);
    EXPECT_EQ(20200301, st.wYear * 10000 + st.wMonth * 100 + st.wDay);
    EXPECT_EQ(0, st.wHour + st.wMinute + st.wSecond + st.wMilliseconds);
    std::mt19937_64 random(7);
    for (int i = 0; i < 1000; ++i)
    {
        ULONGLONG value = random() % 0x7FFFFFFFFFFFFFFFULL;
        FILETIME t = FromTicks(value);
        RemoveTimeFromDate(&t);
        EXPECT_EQ(value - value % day, Ticks(t));
    }
    FILETIME invalid = FromTicks(0x8000000000000000ULL);
    RemoveTimeFromDate(&invalid);
    EXPECT_EQ(0x8000000000000000ULL, Ticks(invalid));
}

// The C runtime's local time zone, set through TZ for the scope.
struct LocalZone
{
    explicit LocalZone(const char* tz) { _putenv(tz), _tzset(); }
    ~LocalZone() { _putenv("TZ="), _tzset(); }
};

SCODE Cut(CTime& time)
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
            __time64_t value = 86400 * 2 + random() % 2100000000, result;
            CTime time(value);
            ASSERT_EQ(S_OK, Cut(time)) << zone << " " << value;
            tm before = {}, after = {};
            result = time.GetTime();
            ASSERT_EQ(0, _localtime64_s(&before, &value) + _localtime64_s(&after, &result));
            EXPECT_EQ(before.tm_year * 400 + before.tm_yday, after.tm_year * 400 + after.tm_yday) << zone << value;
            EXPECT_EQ(0, after.tm_hour * 3600 + after.tm_min * 60 + after.tm_sec) << zone << " " << value;
        }
    }
    {
        LocalZone west("TZ=EST5"); // the epoch is still 1969 there
        CTime epoch(static_cast<__time64_t>(0));
        EXPECT_EQ(E_FAIL, Cut(epoch));
    }
    {
        // Local midnight of 1 January 1970 east of UTC precedes the epoch: the
        // runtime decides whether it converts.
        LocalZone east("TZ=CET-1");
        tm midnight = {0, 0, 0, 1, 0, 70, 0, 0, -1};
        __time64_t expected = _mktime64(&midnight);
        CTime epoch(static_cast<__time64_t>(0));
        EXPECT_EQ(expected == -1 ? E_INVALIDARG : S_OK, Cut(epoch));
        EXPECT_EQ(expected == -1 ? 0 : expected, epoch.GetTime());
    }
    CTime old(static_cast<__time64_t>(-3000000000LL)); // 1874
    EXPECT_EQ(S_OK, Cut(old));
    EXPECT_EQ(0, old.GetTime());
}

} // namespace
