// TarkGDI: the maker's graphics library. Row access to device-independent bitmaps.
#pragma once

#include <windows.h>

#ifdef TARKGDI_BUILD
#define TARKGDI_API __declspec(dllexport)
#else
#define TARKGDI_API __declspec(dllimport)
#endif

// Walks the rows of a 24- or 32-bit device-independent bitmap held in memory.
// The iterator refers to the pixels; it never owns them.
class TARKGDI_API CRowIterator
{
public:
    CRowIterator();
    virtual ~CRowIterator();
    CRowIterator(const CRowIterator&) = delete;
    CRowIterator& operator=(const CRowIterator&) = delete;

    // Refers to the bitmap described by pInfo with its pixels at pBits.
    // Fails (false) for compressed, palette or zero-sized bitmaps.
    bool Attach(const BITMAPINFOHEADER* pInfo, void* pBits);
    // Refers to the pixels of a DIB section.
    bool Attach(HBITMAP hDibSection);
    void Detach();

    bool IsAttached() const;
    int GetWidth() const;
    int GetHeight() const;
    int GetBitsPerPixel() const;
    // Bytes from one row to the next (rows are DWORD aligned).
    int GetStride() const;

    // Row y counted from the top of the image, whatever the bitmap's orientation;
    // null when detached or out of range.
    BYTE* GetRow(int y) const;

private:
    BYTE* m_pBits;
    int m_nWidth;
    int m_nHeight;
    int m_nBitsPerPixel;
    int m_nStride;
    bool m_bBottomUp;
};

// A row iterator that hands the image out in bands of a fixed number of rows.
class TARKGDI_API CRowIteratorBands : public CRowIterator
{
public:
    explicit CRowIteratorBands(int nBandHeight = 16);

    int GetBandHeight() const { return m_nBandHeight; }
    int GetBandCount() const;
    // First row and row count of band n; false when n is out of range.
    bool GetBand(int n, int* pnFirstRow, int* pnRows) const;

private:
    int m_nBandHeight;
};
