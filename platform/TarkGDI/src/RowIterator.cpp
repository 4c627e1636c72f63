#include "TarkGDI.h"

CRowIterator::CRowIterator()
    : m_pBits(nullptr), m_nWidth(0), m_nHeight(0), m_nBitsPerPixel(0), m_nStride(0),
      m_bBottomUp(false)
{
}

CRowIterator::~CRowIterator() = default;

bool CRowIterator::Attach(const BITMAPINFOHEADER* pInfo, void* pBits)
{
    Detach();
    if (pInfo == nullptr || pBits == nullptr || pInfo->biCompression != BI_RGB)
        return false;
    if (pInfo->biBitCount != 24 && pInfo->biBitCount != 32)
        return false;
    if (pInfo->biWidth <= 0 || pInfo->biHeight == 0)
        return false;
    m_nWidth = pInfo->biWidth;
    m_bBottomUp = pInfo->biHeight > 0;
    m_nHeight = m_bBottomUp ? pInfo->biHeight : -pInfo->biHeight;
    m_nBitsPerPixel = pInfo->biBitCount;
    m_nStride = static_cast<int>(((static_cast<LONGLONG>(m_nWidth) * m_nBitsPerPixel + 31) / 32) * 4);
    m_pBits = static_cast<BYTE*>(pBits);
    return true;
}

bool CRowIterator::Attach(HBITMAP hDibSection)
{
    DIBSECTION section = {};
    if (hDibSection == nullptr || GetObjectW(hDibSection, sizeof(section), &section) != sizeof(section))
    {
        Detach();
        return false;
    }
    return Attach(&section.dsBmih, section.dsBm.bmBits);
}

void CRowIterator::Detach()
{
    m_pBits = nullptr;
    m_nWidth = m_nHeight = m_nBitsPerPixel = m_nStride = 0;
    m_bBottomUp = false;
}

bool CRowIterator::IsAttached() const
{
    return m_pBits != nullptr;
}

int CRowIterator::GetWidth() const
{
    return m_nWidth;
}

int CRowIterator::GetHeight() const
{
    return m_nHeight;
}

int CRowIterator::GetBitsPerPixel() const
{
    return m_nBitsPerPixel;
}

int CRowIterator::GetStride() const
{
    return m_nStride;
}

BYTE* CRowIterator::GetRow(int y) const
{
    if (m_pBits == nullptr || y < 0 || y >= m_nHeight)
        return nullptr;
    int stored = m_bBottomUp ? m_nHeight - 1 - y : y;
    return m_pBits + static_cast<size_t>(stored) * static_cast<size_t>(m_nStride);
}

CRowIteratorBands::CRowIteratorBands(int nBandHeight)
    : m_nBandHeight(nBandHeight > 0 ? nBandHeight : 1)
{
}

int CRowIteratorBands::GetBandCount() const
{
    return IsAttached() ? (GetHeight() + m_nBandHeight - 1) / m_nBandHeight : 0;
}

bool CRowIteratorBands::GetBand(int n, int* pnFirstRow, int* pnRows) const
{
    if (n < 0 || n >= GetBandCount())
        return false;
    int first = n * m_nBandHeight;
    int rows = GetHeight() - first < m_nBandHeight ? GetHeight() - first : m_nBandHeight;
    if (pnFirstRow)
        *pnFirstRow = first;
    if (pnRows)
        *pnRows = rows;
    return true;
}
