// Fitting an image into a box for thumbnails.
#include "BrwsCacheFile.h"

#include <TarkGDI.h>

int GetScaledDIBSize(CRowIterator& image, int nMaxWidth, int nMaxHeight, int* pnWidth, int* pnHeight)
{
    if (!image.IsAttached() || pnWidth == nullptr || pnHeight == nullptr)
        return 0;
    if (image.GetWidth() <= 0 || image.GetHeight() <= 0 || nMaxWidth <= 0 || nMaxHeight <= 0)
        return 0;

    // 64 bits: a side times a box side overflows 32 bits for large images, and
    // enlarging a thin image to the box width can exceed 32 bits before the
    // height step brings it back. Truncating divisions as in 32 bits, so sizes
    // are unchanged wherever the 32-bit products fit.
    unsigned long long w = static_cast<unsigned long long>(image.GetWidth());
    unsigned long long h = static_cast<unsigned long long>(image.GetHeight());
    const unsigned long long maxW = static_cast<unsigned long long>(nMaxWidth);
    const unsigned long long maxH = static_cast<unsigned long long>(nMaxHeight);

    // The width is fitted first (enlarging an image that is narrower than the
    // box and not taller); then the height, from the already fitted values.
    bool fitWidth = w > maxW || (h <= maxH && w < maxW);
    if (fitWidth)
    {
        h = h * maxW / w;
        w = maxW;
    }
    if (h > maxH)
    {
        w = w * maxH / h;
        h = maxH;
    }
    *pnWidth = w == 0 ? 1 : static_cast<int>(w);
    *pnHeight = h == 0 ? 1 : static_cast<int>(h);
    return 1;
}
