// The size of an icon as GDI draws it: what a person sees on a button.
#pragma once

#include <windows.h>

namespace testing_support {

// The width in pixels of the icon's image, 0 for no icon.
inline int IconWidth(HICON hIcon)
{
    ICONINFO info = {};
    if (!hIcon || !GetIconInfo(hIcon, &info))
        return 0;
    BITMAP bm = {};
    GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof(bm), &bm);
    if (info.hbmColor)
        DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return bm.bmWidth;
}

} // namespace testing_support
