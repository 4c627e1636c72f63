// CRect.
#include <afx.h>

#include <gtest/gtest.h>

TEST(CRectTest, GeometryFollowsWindowsRules)
{
    CRect empty;
    EXPECT_TRUE(empty == CRect(0, 0, 0, 0));

    CRect rc(10, 20, 110, 70);
    EXPECT_EQ(50, rc.Height());

    CRect moved(rc);
    moved.OffsetRect(3, 4);
    moved.InflateRect(1, 2);
    EXPECT_EQ(CRect(12, 22, 114, 76), moved);
    moved.InflateRect(-1, -1, -2, -2);
    EXPECT_EQ(CRect(13, 23, 112, 74), moved);
    RECT copy = {};
    ::CopyRect(&copy, moved);  // usable as LPCRECT
    EXPECT_TRUE(moved.EqualRect(&copy));
    EXPECT_FALSE(CRect(0, 0, 1, 1) == CRect(0, 0, 1, 2));
}
