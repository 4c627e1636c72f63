// CRect as the library uses it.
#include <afx.h>

#include <gtest/gtest.h>

// What the library does with rectangles: heights, growing, moving, and
// handing them to the system as RECT pointers.
TEST(CRectTest, GeometryFollowsWindowsRules)
{
    CRect rc(10, 20, 110, 70);
    EXPECT_EQ(100, rc.Width());
    EXPECT_EQ(50, rc.Height());
    rc.OffsetRect(3, 4);
    rc.InflateRect(1, 2);
    EXPECT_EQ(CRect(12, 22, 114, 76), rc);
    rc.InflateRect(0, -30); // shrinking past empty makes an inverted rectangle
    EXPECT_EQ(-6, rc.Height());
    ::OffsetRect(rc, -12, -22); // usable as LPRECT
    EXPECT_EQ(CRect(0, 30, 102, 24), rc);
    EXPECT_NE(CRect(0, 0, 1, 1), CRect(0, 0, 1, 2));
}
