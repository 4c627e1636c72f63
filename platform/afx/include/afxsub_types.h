// Framework subset: simple value types. CRect extends the Windows RECT (so it
// passes wherever a RECT* is expected); CTime counts seconds since 1 January
// 1970 UTC.
#pragma once

#include "afxsub_string.h"

#include <time.h>

// Rectangles follow the Windows rules: right and bottom are exclusive.
class CSize : public SIZE
{
public:
    CSize() noexcept : SIZE{0, 0} {}
    CSize(int initCX, int initCY) noexcept : SIZE{initCX, initCY} {}
    CSize(SIZE initSize) noexcept : SIZE(initSize) {}
};

class CRect : public RECT
{
public:
    CRect() noexcept : RECT{0, 0, 0, 0} {}
    CRect(int l, int t, int r, int b) noexcept : RECT{l, t, r, b} {}

    int Width() const noexcept { return right - left; }
    int Height() const noexcept { return bottom - top; }
    CSize Size() const noexcept { return CSize(Width(), Height()); }
    operator LPCRECT() const noexcept { return this; }

    BOOL EqualRect(LPCRECT lpRect) const noexcept
    {
        return left == lpRect->left && top == lpRect->top && right == lpRect->right && bottom == lpRect->bottom;
    }
    void InflateRect(int x, int y) noexcept { InflateRect(x, y, x, y); }
    void InflateRect(int l, int t, int r, int b) noexcept { left -= l; top -= t; right += r; bottom += b; }
    void OffsetRect(int x, int y) noexcept { left += x; right += x; top += y; bottom += y; }

    bool operator==(const RECT& rect) const noexcept { return EqualRect(&rect) != FALSE; }
};

// A point in time, in whole seconds since 1 January 1970 UTC.
class AFX_API CTime
{
public:
    CTime(__time64_t time) noexcept : m_time(time) {}

    __time64_t GetTime() const noexcept { return m_time; }

private:
    __time64_t m_time;
};
