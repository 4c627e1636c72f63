// CRect, CPoint, CSize and CTime.
#include <afx.h>

#include <gtest/gtest.h>

TEST(CRectTest, GeometryFollowsWindowsRules)
{
    CRect rc(10, 20, 110, 70);
    EXPECT_EQ(100, rc.Width());
    EXPECT_EQ(50, rc.Height());
    EXPECT_EQ(CPoint(60, 45), rc.CenterPoint());
    EXPECT_EQ(CSize(100, 50), rc.Size());
    EXPECT_TRUE(rc.PtInRect(CPoint(10, 20)));
    EXPECT_FALSE(rc.PtInRect(CPoint(110, 20)));  // right edge excluded
    EXPECT_FALSE(rc.PtInRect(CPoint(10, 70)));

    rc.TopLeft() = CPoint(0, 0);   // the corners are references
    rc.BottomRight().x = 5;
    EXPECT_EQ(CRect(0, 0, 5, 70), rc);

    CRect moved(rc);
    moved.OffsetRect(3, 4);
    moved.InflateRect(1, 2);
    EXPECT_EQ(CRect(2, 2, 9, 76), moved);
    moved.DeflateRect(1, 1, 2, 2);
    EXPECT_EQ(CRect(3, 3, 7, 74), moved);
    ::OffsetRect(moved, -3, -3);   // usable as LPRECT
    EXPECT_EQ(CRect(0, 0, 4, 71), moved);

    CRect inverted(10, 10, 0, 0);
    EXPECT_TRUE(inverted.IsRectEmpty());
    inverted.NormalizeRect();
    EXPECT_EQ(CRect(0, 0, 10, 10), inverted);

    CRect overlap;
    EXPECT_TRUE(overlap.IntersectRect(CRect(0, 0, 10, 10), CRect(5, 5, 20, 20)));
    EXPECT_EQ(CRect(5, 5, 10, 10), overlap);
    EXPECT_FALSE(overlap.IntersectRect(CRect(0, 0, 10, 10), CRect(10, 0, 20, 10)));
    EXPECT_TRUE(overlap.IsRectNull());
    EXPECT_EQ(CRect(0, 0, 20, 20), CRect(0, 0, 10, 10) | CRect(5, 5, 20, 20));
    EXPECT_NE(CRect(0, 0, 1, 1), CRect(0, 0, 1, 2));
    EXPECT_EQ(CPoint(2, 3), CPoint(1, 1) + CSize(1, 2));
    EXPECT_EQ(CSize(4, 4), CPoint(5, 6) - CPoint(1, 2));
}

TEST(CTimeTest, LocalFieldsRoundTrip)
{
    CTime t(2021, 6, 15, 12, 34, 56);
    EXPECT_EQ(2021, t.GetYear());
    EXPECT_EQ(6, t.GetMonth());
    EXPECT_EQ(15, t.GetDay());
    EXPECT_EQ(12, t.GetHour());
    EXPECT_EQ(34, t.GetMinute());
    EXPECT_EQ(56, t.GetSecond());
    EXPECT_EQ(3, t.GetDayOfWeek());  // a Tuesday
    EXPECT_STREQ(L"2021-06-15 12:34:56", t.Format(L"%Y-%m-%d %H:%M:%S"));

    SYSTEMTIME st = {};
    ASSERT_TRUE(t.GetAsSystemTime(st));
    EXPECT_EQ(2021, st.wYear);
    EXPECT_EQ(12, st.wHour);
    EXPECT_EQ(t, CTime(st));

    CTime later = t + CTimeSpan(1, 2, 3, 4);
    CTimeSpan span = later - t;
    EXPECT_EQ(1, span.GetDays());
    EXPECT_EQ(2, span.GetHours());
    EXPECT_EQ(3, span.GetMinutes());
    EXPECT_EQ(4, span.GetSeconds());
    EXPECT_EQ(93784, span.GetTotalSeconds());
    EXPECT_TRUE(later > t);
}

TEST(CTimeTest, FileTimesAreUtcAndFieldsAreLocal)
{
    SYSTEMTIME utc = {2020, 1, 4, 2, 3, 4, 5, 0};
    FILETIME ft;
    ASSERT_TRUE(SystemTimeToFileTime(&utc, &ft));
    CTime t(ft);

    // The fields are what the system calls the local time of that instant.
    FILETIME localFt;
    SYSTEMTIME local;
    ASSERT_TRUE(FileTimeToLocalFileTime(&ft, &localFt));
    ASSERT_TRUE(FileTimeToSystemTime(&localFt, &local));
    EXPECT_EQ(local.wYear, t.GetYear());
    EXPECT_EQ(local.wDay, t.GetDay());
    EXPECT_EQ(local.wHour, t.GetHour());
    EXPECT_EQ(local.wMinute, t.GetMinute());

    // FileTimeToLocalFileTime applies today's offset; where that equals the
    // offset of the date itself, the instant is kept exactly.
    SYSTEMTIME dateLocal;
    ASSERT_TRUE(SystemTimeToTzSpecificLocalTime(nullptr, &utc, &dateLocal));
    if (dateLocal.wHour == local.wHour && dateLocal.wMinute == local.wMinute)
    {
        ULARGE_INTEGER ticks;
        ticks.LowPart = ft.dwLowDateTime;
        ticks.HighPart = ft.dwHighDateTime;
        const ULONGLONG kUnixEpochTicks = 116444736000000000ULL;
        EXPECT_EQ(static_cast<__time64_t>((ticks.QuadPart - kUnixEpochTicks) / 10000000ULL), t.GetTime());
        struct tm gmt;
        ASSERT_NE(nullptr, t.GetGmtTm(&gmt));
        EXPECT_EQ(3, gmt.tm_hour);
        EXPECT_STREQ(L"03:04:05", t.FormatGmt(L"%H:%M:%S"));
    }
}

TEST(CTimeTest, BadDatesThrowAndEarlySystemTimesGiveZero)
{
    EXPECT_THROW(CTime(2021, 13, 1, 0, 0, 0), CInvalidArgException*);
    EXPECT_THROW(CTime(2021, 1, 1, 24, 0, 0), CInvalidArgException*);
    EXPECT_THROW(CTime(1899, 1, 1, 0, 0, 0), CInvalidArgException*);
    SYSTEMTIME early = {1800, 1, 0, 1, 0, 0, 0, 0};
    EXPECT_EQ(0, CTime(early).GetTime());
    EXPECT_GT(CTime::GetCurrentTime().GetTime(), CTime(2020, 1, 1, 0, 0, 0).GetTime());
}
