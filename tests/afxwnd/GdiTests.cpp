// GDI wrappers: who deletes a handle, what a selection gives back, painting
// through CPaintDC, and bitmaps found through the resource chain.
#include "WndTestEnv.h"

namespace {

class CPaintProbeWnd : public CWnd
{
public:
    int m_nPaints = 0;
    CSize m_textSize;

protected:
    afx_msg void OnPaint()
    {
        CPaintDC dc(this);
        ++m_nPaints;
        m_textSize = dc.GetTextExtent(CString(L"Wide text"));
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CPaintProbeWnd, CWnd)
    ON_WM_PAINT()
END_MESSAGE_MAP()

HFONT MakeFont(int nHeight)
{
    LOGFONTW lf = {};
    lf.lfHeight = nHeight;
    lstrcpyW(lf.lfFaceName, L"Tahoma");
    return CreateFontIndirectW(&lf);
}

} // namespace

TEST(GdiObjects, OwnedHandlesAreDeletedTemporaryOnesAreNot)
{
    HFONT hOwned = nullptr;
    {
        CFont font;
        ASSERT_TRUE(font.Attach(MakeFont(-20)));
        hOwned = font;
        EXPECT_FALSE(font.Attach(MakeFont(-10))) << "one handle per object";
    }
    EXPECT_EQ(0u, GetObjectType(hOwned)) << "the owner deleted it";

    HFONT hKept = MakeFont(-20);
    {
        CFont font;
        font.Attach(hKept);
        EXPECT_EQ(hKept, font.Detach());
    }
    EXPECT_EQ(static_cast<DWORD>(OBJ_FONT), GetObjectType(hKept));

    CFont* pTemp = CFont::FromHandle(hKept);
    ASSERT_NE(nullptr, pTemp);
    EXPECT_EQ(pTemp, CGdiObject::FromHandle(hKept));
    LOGFONTW lf = {};
    ASSERT_EQ(static_cast<int>(sizeof(lf)), pTemp->GetLogFont(&lf));
    EXPECT_EQ(-20, lf.lfHeight);
    EXPECT_EQ(nullptr, CBitmap::FromHandle(reinterpret_cast<HBITMAP>(hKept))) << "not a bitmap";
    AfxLockTempMaps();
    AfxUnlockTempMaps(TRUE);
    EXPECT_EQ(static_cast<DWORD>(OBJ_FONT), GetObjectType(hKept)) << "temporaries never delete";
    DeleteObject(hKept);
}

TEST(GdiObjects, SelectionAndTextExtents)
{
    CPaintProbeWnd wnd;
    ASSERT_TRUE(CreateFrame(wnd, L"paint", true));
    CFont small;
    CFont large;
    ASSERT_TRUE(small.Attach(MakeFont(-10)));
    ASSERT_TRUE(large.Attach(MakeFont(-30)));
    {
        CClientDC dc(&wnd);
        CFont* pOld = dc.SelectObject(&small);
        ASSERT_NE(nullptr, pOld);
        CSize smallSize = dc.GetTextExtent(L"Wide text", 9);
        CFont* pSmall = dc.SelectObject(&large);
        EXPECT_EQ(static_cast<HFONT>(small), static_cast<HFONT>(*pSmall)) << "the previous font comes back";
        CSize largeSize = dc.GetTextExtent(CString(L"Wide text"));
        EXPECT_GT(largeSize.cx, smallSize.cx);
        EXPECT_GT(largeSize.cy, smallSize.cy);
        EXPECT_EQ(static_cast<HFONT>(large), static_cast<HFONT>(*dc.GetCurrentFont()));
        EXPECT_GT(dc.GetDeviceCaps(LOGPIXELSX), 0);
        dc.SelectObject(pOld);
    }

    wnd.Invalidate();
    wnd.UpdateWindow();
    EXPECT_EQ(1, wnd.m_nPaints);
    EXPECT_GT(wnd.m_textSize.cx, 0);
    EXPECT_FALSE(GetUpdateRect(wnd.m_hWnd, nullptr, FALSE)) << "CPaintDC validated the window";
}

TEST(GdiObjects, BitmapsComeFromTheResourceChain)
{
    CBitmap bitmap;
    ASSERT_TRUE(bitmap.LoadBitmap(IDB_STRIP));
    BITMAP bm = {};
    ASSERT_TRUE(bitmap.GetBitmap(&bm));
    EXPECT_EQ(48, bm.bmWidth);
    EXPECT_EQ(16, bm.bmHeight);
    CBitmap missing;
    EXPECT_FALSE(missing.LoadBitmap(IDB_STRIP + 1));
}
