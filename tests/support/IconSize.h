// The size of an icon as GDI draws it: what a person sees on a button.
#pragma once

#include <windows.h>

#include "module/Holders.h"

namespace testing_support {

// The width in pixels of the icon's image, 0 for no icon.
inline int IconWidth(HICON hIcon)
{
    ICONINFO info = {};
    if (!hIcon || !GetIconInfo(hIcon, &info))
        return 0;
    // GetIconInfo hands out copies of the icon's bitmaps.
    CGdiObjectHolder<HBITMAP> color(info.hbmColor);
    CGdiObjectHolder<HBITMAP> mask(info.hbmMask);
    BITMAP bm = {};
    GetObjectW(color ? color.Get() : mask.Get(), sizeof(bm), &bm);
    return bm.bmWidth;
}

} // namespace testing_support
