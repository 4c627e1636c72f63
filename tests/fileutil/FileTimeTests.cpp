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
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(h.Get(), std::string(1234, 'x').data(), 1234, &written, nullptr));
    const FILETIME modified = FromTicks(132000000000000000ULL + 7654321);
    ASSERT_TRUE(SetFileTime(h.Get(), nullptr, nullptr, &modified));
    h.Reset();
    // Creation times cannot be set everywhere (Wine on Linux): the system's answer is the reference.
    WIN32_FILE_ATTRIBUTE_DATA system = {};
    ASSERT_TRUE(GetFileAttributesExW(file.c_str(), GetFileExInfoStandard, &system));
    // The size is read even while someone else holds the file without sharing.
    h.Reset(CreateFileW(file.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    // An error other than "not found" (an invalid name) is no proof of absence.
    // Time stamps come from a search: a pattern finds the file; not found,
    // the times asked for are zero; -1: not asked.
    const struct { std::wstring path; int notExist; DWORD size; int stamps; bool bCreated; } paths[] = {
        {file, 0, 1234, 1, true}, {folder / L"*.jpg", 0, 0xFFFFFFFF, 1, false}, {folder.Path(), 0, 0xFFFFFFFF, -1},
        {missing, 1, 0xFFFFFFFF, 0, true}, {folder / L"none\\a.jpg", 1, 0xFFFFFFFF, 0, false},
        {folder / L"a<b>|.jpg", 0, 0xFFFFFFFF, -1}, {L"", 1, 0xFFFFFFFF, 0, true}};
    for (const auto& p : paths)
    {
        SCOPED_TRACE(testing_support::Narrow(p.path));
        EXPECT_EQ(p.notExist, DoesFileNotExist(p.path.c_str()));
        EXPECT_EQ(p.size, GetFileSize(p.path.c_str()));
        FILETIME created = FromTicks(7), lastWrite = FromTicks(7);
        if (p.stamps < 0)
            continue;
        EXPECT_EQ(p.stamps, GetTimeStamps(p.path.c_str(), p.bCreated ? &created : nullptr, &lastWrite));
        EXPECT_EQ(!p.bCreated ? 7 : p.stamps ? Ticks(system.ftCreationTime) : 0, Ticks(created));
        EXPECT_EQ(p.stamps ? Ticks(modified) : 0, Ticks(lastWrite));
    }
    EXPECT_EQ(0, GetTimeStamps(file.c_str(), nullptr, nullptr));

    const ULONGLONG values[] = {0, 0xFFFFFFFFULL, 0x100000000ULL, Ticks(modified)};
    for (ULONGLONG a : values)
        for (ULONGLONG b : values)
        {
            FILETIME fa = FromTicks(a), fb = FromTicks(b);
            EXPECT_EQ(a < b ? eFileTimeEarlier : a > b ? eFileTimeLater : eFileTimeEqual, CompareFileTimes(&fa, &fb));
            CopyFileTime(&fa, &fb);
            EXPECT_EQ(b, Ticks(fa));
        }
}

// The C runtime's local time zone, set through TZ for the scope.
struct LocalZone
{
    explicit LocalZone(const char* tz) { _putenv(tz), _tzset(); }
    ~LocalZone() { _putenv("TZ="), _tzset(); }
};

// A file time to midnight UTC (1601-01-01 began at midnight UTC; a value
// past the last valid time stays), a CTime to local midnight in any zone.
TEST(FileTime, CutToMidnight)
{
    const ULONGLONG day = 864000000000ULL;
    std::mt19937_64 random(7);
    for (int i = 0; i <= 1000; ++i)
    {
        const ULONGLONG value = i < 1000 ? random() % 0x7FFFFFFFFFFFFFFFULL : 0x8000000000000000ULL;
        FILETIME t = FromTicks(value);
        RemoveTimeFromDate(&t);
        EXPECT_EQ(value >> 63 ? value : value - value % day, Ticks(t));
    }
    for (const char* zone : {"TZ=EST5", "TZ=CET-1", "TZ=PST8PDT", "TZ=JST-9"})
    {
        LocalZone local(zone);
        for (int i = 0; i < 300; ++i)
        {
            __time64_t value = 86400 * 2 + random() % 2100000000, result;
            CTime time(value);
            ASSERT_NO_THROW(RemoveTimeFromDate(time)) << zone << " " << value;
            tm before = {}, after = {};
            result = time.GetTime();
            ASSERT_EQ(0, _localtime64_s(&before, &value) + _localtime64_s(&after, &result));
            EXPECT_EQ(before.tm_year * 400 + before.tm_yday, after.tm_year * 400 + after.tm_yday) << zone << value;
            EXPECT_EQ(0, after.tm_hour * 3600 + after.tm_min * 60 + after.tm_sec) << zone << " " << value;
        }
    }
    // Before the epoch in local time: 1874 gives 0; the epoch in a zone where
    // it is still 1969 fails.
    CTime old(static_cast<__time64_t>(-3000000000LL)), epoch(static_cast<__time64_t>(0));
    EXPECT_NO_THROW(RemoveTimeFromDate(old));
    EXPECT_EQ(0, old.GetTime());
    LocalZone west("TZ=EST5");
    try
    {
        RemoveTimeFromDate(epoch);
        ADD_FAILURE() << "no exception";
    }
    catch (COleException* e)
    {
        EXPECT_EQ(E_FAIL, e->m_sc);
        e->Delete();
    }
}

} // namespace
