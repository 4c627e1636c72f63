// CRect, CPoint and CSize.
#include <afx.h>

#include <gtest/gtest.h>

TEST(CRectTest, GeometryFollowsWindowsRules)
{
    CRect rc(10, 20, 110, 70);
    EXPECT_EQ(CPoint(60, 45), rc.CenterPoint());
    EXPECT_EQ(CSize(100, 50), rc.Size());
    EXPECT_TRUE(rc.PtInRect(CPoint(10, 20)));
    EXPECT_FALSE(rc.PtInRect(CPoint(110, 20))); // right edge excluded
    EXPECT_FALSE(rc.PtInRect(CPoint(10, 70)));
    rc.TopLeft() = CPoint(0, 0); // the corners are references
    rc.BottomRight().x = 5;
    EXPECT_EQ(CRect(0, 0, 5, 70), rc);

    rc.OffsetRect(3, 4);
    rc.InflateRect(1, 2);
    rc.DeflateRect(1, 1, 2, 2);
    EXPECT_EQ(CRect(3, 3, 7, 74), rc);
    ::OffsetRect(rc, -3, -3); // usable as LPRECT
    EXPECT_EQ(CRect(0, 0, 4, 71), rc);

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
    EXPECT_EQ(CSize(4, 4), CPoint(5, 6) - CPoint(1, 2));
}
