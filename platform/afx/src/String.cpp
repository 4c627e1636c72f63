// CString: copy-on-write wide text behind a single pointer.
#include "AfxInternal.h"

#include <oleauto.h>
#include <stdio.h>
#include <stdlib.h>
#include <wchar.h>
#include <wctype.h>

#include <algorithm>

static_assert(sizeof(CString) == sizeof(void*), "CString must stay one pointer, as code passes it by value");

namespace {

const int kMaxLength = (INT_MAX - 64) / static_cast<int>(sizeof(wchar_t));

wchar_t LowerChar(wchar_t ch)
{
    if (ch < 0x80)
        return (ch >= L'A' && ch <= L'Z') ? static_cast<wchar_t>(ch + (L'a' - L'A')) : ch;
    CharLowerBuffW(&ch, 1);
    return ch;
}

int SafeLength(LPCWSTR lpsz)
{
    if (lpsz == nullptr)
        return 0;
    size_t n = wcslen(lpsz);
    if (n > static_cast<size_t>(kMaxLength))
        AfxThrowMemoryException();
    return static_cast<int>(n);
}

} // namespace

// ---- storage ---------------------------------------------------------------

CString::CStringData* CString::NilData() noexcept
{
    // Constant-initialised, so usable before any constructor of this module
    // has run; its count below zero keeps it from being freed or written.
    alignas(16) static struct
    {
        CStringData header;
        wchar_t text[8];
    } s_nil = {{-1, 0, 0, 0}, {0}};
    return &s_nil.header;
}

CString::CStringData* CString::Allocate(int nAllocLength)
{
    if (nAllocLength < 0 || nAllocLength > kMaxLength)
        AfxThrowMemoryException();
    size_t bytes = sizeof(CStringData) + (static_cast<size_t>(nAllocLength) + 1) * sizeof(wchar_t);
    CStringData* pData = static_cast<CStringData*>(malloc(bytes));
    if (pData == nullptr)
        AfxThrowMemoryException();
    pData->nRefs = 1;
    pData->nDataLength = 0;
    pData->nAllocLength = nAllocLength;
    pData->nReserved = 0;
    pData->data()[0] = L'\0';
    return pData;
}

void CString::Release(CStringData* pData) noexcept
{
    if (pData == NilData())
        return;
    if (InterlockedDecrement(&pData->nRefs) == 0)
        free(pData);
}

void CString::Attach(CStringData* pData) noexcept
{
    CStringData* pOld = GetData();
    m_pszData = pData->data();
    Release(pOld);
}

void CString::PrepareWrite(int nLength, bool bGrow)
{
    CStringData* pOld = GetData();
    LONG nRefs = *static_cast<volatile LONG*>(&pOld->nRefs);
    if (nRefs == 1 && pOld->nAllocLength >= nLength)
        return;

    int nAlloc = nLength;
    if (bGrow && pOld->nAllocLength > 0)
    {
        int nGrown = pOld->nAllocLength < kMaxLength / 2 ? pOld->nAllocLength + pOld->nAllocLength / 2 : kMaxLength;
        nAlloc = std::max(nLength, nGrown);
    }
    CStringData* pNew = Allocate(nAlloc);
    int nKeep = std::min(pOld->nDataLength, nAlloc);
    wmemcpy(pNew->data(), pOld->data(), static_cast<size_t>(nKeep));
    pNew->nDataLength = nKeep;
    pNew->data()[nKeep] = L'\0';
    Attach(pNew);
}

void CString::SetLength(int nLength)
{
    CStringData* pData = GetData();
    if (pData->nRefs < 0)
    {
        ENSURE(nLength == 0);
        return;
    }
    ENSURE(nLength >= 0 && nLength <= pData->nAllocLength);
    pData->nDataLength = nLength;
    pData->data()[nLength] = L'\0';
}

void CString::AssignCopy(LPCWSTR pch, int nLength)
{
    if (nLength <= 0)
    {
        Empty();
        return;
    }
    CStringData* pData = GetData();
    if (pData->nRefs == 1 && pData->nAllocLength >= nLength)
    {
        // pch may point into our own text.
        wmemmove(pData->data(), pch, static_cast<size_t>(nLength));
        SetLength(nLength);
        return;
    }
    CStringData* pNew = Allocate(nLength);
    wmemcpy(pNew->data(), pch, static_cast<size_t>(nLength));
    pNew->nDataLength = nLength;
    pNew->data()[nLength] = L'\0';
    Attach(pNew);
}

void CString::AssignAnsi(LPCSTR pch, int nLength)
{
    if (pch == nullptr || nLength <= 0)
    {
        Empty();
        return;
    }
    int nWide = MultiByteToWideChar(CP_ACP, 0, pch, nLength, nullptr, 0);
    if (nWide <= 0)
    {
        Empty();
        return;
    }
    CStringData* pNew = Allocate(nWide);
    MultiByteToWideChar(CP_ACP, 0, pch, nLength, pNew->data(), nWide);
    pNew->nDataLength = nWide;
    pNew->data()[nWide] = L'\0';
    Attach(pNew);
}

bool CString::CheckImplicitLoad(const void* pv)
{
    if (pv == nullptr || !IS_INTRESOURCE(pv))
        return false;
    LoadStringW(static_cast<UINT>(reinterpret_cast<UINT_PTR>(pv)));
    return true;
}

// ---- construction and assignment -------------------------------------------

CString::CString() noexcept : m_pszData(NilData()->data())
{
}

CString::CString(const CString& stringSrc) noexcept : m_pszData(stringSrc.m_pszData)
{
    CStringData* pData = GetData();
    if (pData->nRefs >= 0)
        InterlockedIncrement(&pData->nRefs);
}

CString::CString(CString&& stringSrc) noexcept : m_pszData(stringSrc.m_pszData)
{
    stringSrc.m_pszData = NilData()->data();
}

CString::CString(LPCWSTR lpsz) : CString()
{
    if (!CheckImplicitLoad(lpsz))
        AssignCopy(lpsz, SafeLength(lpsz));
}

CString::CString(LPCSTR lpsz) : CString()
{
    if (!CheckImplicitLoad(lpsz) && lpsz != nullptr)
        AssignAnsi(lpsz, static_cast<int>(strlen(lpsz)));
}

CString::CString(LPCWSTR pch, int nLength) : CString()
{
    ENSURE(nLength >= 0 && (pch != nullptr || nLength == 0));
    AssignCopy(pch, nLength);
}

CString::CString(LPCSTR pch, int nLength) : CString()
{
    ENSURE(nLength >= 0 && (pch != nullptr || nLength == 0));
    AssignAnsi(pch, nLength);
}

CString::CString(wchar_t ch, int nRepeat) : CString()
{
    if (nRepeat > 0)
    {
        PrepareWrite(nRepeat);
        wmemset(m_pszData, ch, static_cast<size_t>(nRepeat));
        SetLength(nRepeat);
    }
}

CString::~CString()
{
    Release(GetData());
}

CString& CString::operator=(const CString& stringSrc)
{
    if (m_pszData != stringSrc.m_pszData)
    {
        CStringData* pData = stringSrc.GetData();
        if (pData->nRefs >= 0)
            InterlockedIncrement(&pData->nRefs);
        Attach(pData);
    }
    return *this;
}

CString& CString::operator=(CString&& stringSrc) noexcept
{
    if (this != &stringSrc)
    {
        Attach(stringSrc.GetData());
        stringSrc.m_pszData = NilData()->data();
    }
    return *this;
}

CString& CString::operator=(LPCWSTR lpsz)
{
    if (!CheckImplicitLoad(lpsz))
        AssignCopy(lpsz, SafeLength(lpsz));
    return *this;
}

CString& CString::operator=(LPCSTR lpsz)
{
    if (!CheckImplicitLoad(lpsz))
        AssignAnsi(lpsz, lpsz != nullptr ? static_cast<int>(strlen(lpsz)) : 0);
    return *this;
}

CString& CString::operator=(wchar_t ch)
{
    AssignCopy(&ch, 1);
    return *this;
}

void CString::Empty()
{
    if (GetData()->nRefs >= 0)
        Attach(NilData());
}

void CString::SetString(LPCWSTR pszSrc, int nLength)
{
    ENSURE(nLength >= 0 && (pszSrc != nullptr || nLength == 0));
    AssignCopy(pszSrc, nLength);
}

// ---- appending -------------------------------------------------------------

void CString::Append(LPCWSTR pszSrc, int nLength)
{
    ENSURE(nLength >= 0 && (pszSrc != nullptr || nLength == 0));
    if (nLength == 0)
        return;
    int nOldLength = GetLength();
    if (nLength > kMaxLength - nOldLength)
        AfxThrowMemoryException();
    const CStringData* pData = GetData();
    if (pszSrc >= m_pszData && pszSrc <= m_pszData + pData->nAllocLength)
    {
        // Appending part of ourselves: the buffer may move.
        CString copy(pszSrc, nLength);
        Append(copy.m_pszData, nLength);
        return;
    }
    PrepareWrite(nOldLength + nLength, true);
    wmemcpy(m_pszData + nOldLength, pszSrc, static_cast<size_t>(nLength));
    SetLength(nOldLength + nLength);
}

void CString::AppendChar(wchar_t ch)
{
    Append(&ch, 1);
}

CString& CString::operator+=(const CString& string)
{
    if (IsEmpty())
        return *this = string;
    Append(string.m_pszData, string.GetLength());
    return *this;
}

CString& CString::operator+=(LPCWSTR lpsz)
{
    Append(lpsz, SafeLength(lpsz));
    return *this;
}

CString& CString::operator+=(LPCSTR lpsz)
{
    return *this += CString(lpsz);
}

CString& CString::operator+=(wchar_t ch)
{
    AppendChar(ch);
    return *this;
}

namespace {

CString Concatenate(LPCWSTR psz1, int n1, LPCWSTR psz2, int n2)
{
    CString result;
    result.Preallocate(n1 + n2);
    result.Append(psz1, n1);
    result.Append(psz2, n2);
    return result;
}

} // namespace

CString AFXAPI operator+(const CString& string1, const CString& string2)
{
    return Concatenate(string1, string1.GetLength(), string2, string2.GetLength());
}

CString AFXAPI operator+(const CString& string, LPCWSTR lpsz)
{
    return Concatenate(string, string.GetLength(), lpsz, SafeLength(lpsz));
}

CString AFXAPI operator+(LPCWSTR lpsz, const CString& string)
{
    return Concatenate(lpsz, SafeLength(lpsz), string, string.GetLength());
}

CString AFXAPI operator+(const CString& string, wchar_t ch)
{
    return Concatenate(string, string.GetLength(), &ch, 1);
}

CString AFXAPI operator+(wchar_t ch, const CString& string)
{
    return Concatenate(&ch, 1, string, string.GetLength());
}

// ---- element access and comparison -----------------------------------------

wchar_t CString::GetAt(int iChar) const
{
    ENSURE(iChar >= 0 && iChar <= GetLength());
    return m_pszData[iChar];
}

void CString::SetAt(int iChar, wchar_t ch)
{
    ENSURE(iChar >= 0 && iChar < GetLength());
    PrepareWrite(GetLength());
    m_pszData[iChar] = ch;
}

int CString::Compare(LPCWSTR lpsz) const
{
    return wcscmp(m_pszData, lpsz != nullptr ? lpsz : L"");
}

int CString::CompareNoCase(LPCWSTR lpsz) const
{
    if (lpsz == nullptr)
        lpsz = L"";
    for (const wchar_t* p = m_pszData;; ++p, ++lpsz)
    {
        wchar_t c1 = LowerChar(*p);
        wchar_t c2 = LowerChar(*lpsz);
        if (c1 != c2)
            return c1 < c2 ? -1 : 1;
        if (c1 == L'\0')
            return 0;
    }
}

// ---- searching -------------------------------------------------------------

int CString::Find(wchar_t ch, int iStart) const
{
    int nLength = GetLength();
    if (iStart < 0 || iStart >= nLength)
        return -1;
    const wchar_t* p = wmemchr(m_pszData + iStart, ch, static_cast<size_t>(nLength - iStart));
    return p != nullptr ? static_cast<int>(p - m_pszData) : -1;
}

int CString::Find(LPCWSTR lpszSub, int iStart) const
{
    if (lpszSub == nullptr || iStart < 0 || iStart > GetLength())
        return -1;
    // An empty substring is found where the search starts (as the C standard
    // says, though not every runtime's wcsstr does).
    if (*lpszSub == L'\0')
        return iStart;
    const wchar_t* p = wcsstr(m_pszData + iStart, lpszSub);
    return p != nullptr ? static_cast<int>(p - m_pszData) : -1;
}

int CString::ReverseFind(wchar_t ch) const
{
    const wchar_t* p = wcsrchr(m_pszData, ch);
    return p != nullptr ? static_cast<int>(p - m_pszData) : -1;
}

int CString::FindOneOf(LPCWSTR lpszCharSet) const
{
    if (lpszCharSet == nullptr)
        return -1;
    const wchar_t* p = wcspbrk(m_pszData, lpszCharSet);
    return p != nullptr ? static_cast<int>(p - m_pszData) : -1;
}

// ---- extraction ------------------------------------------------------------

CString CString::Left(int nCount) const
{
    if (nCount < 0)
        nCount = 0;
    if (nCount >= GetLength())
        return *this;
    return CString(m_pszData, nCount);
}

CString CString::Right(int nCount) const
{
    if (nCount < 0)
        nCount = 0;
    int nLength = GetLength();
    if (nCount >= nLength)
        return *this;
    return CString(m_pszData + nLength - nCount, nCount);
}

CString CString::Mid(int iFirst) const
{
    return Mid(iFirst, GetLength() - std::max(iFirst, 0));
}

CString CString::Mid(int iFirst, int nCount) const
{
    int nLength = GetLength();
    if (iFirst < 0)
        iFirst = 0;
    if (nCount < 0)
        nCount = 0;
    if (iFirst > nLength)
        return CString();
    if (static_cast<long long>(iFirst) + nCount > nLength)
        nCount = nLength - iFirst;
    if (iFirst == 0 && nCount == nLength)
        return *this;
    return CString(m_pszData + iFirst, nCount);
}

CString CString::SpanIncluding(LPCWSTR lpszCharSet) const
{
    if (lpszCharSet == nullptr)
        return CString();
    return Left(static_cast<int>(wcsspn(m_pszData, lpszCharSet)));
}

CString CString::SpanExcluding(LPCWSTR lpszCharSet) const
{
    if (lpszCharSet == nullptr)
        return *this;
    return Left(static_cast<int>(wcscspn(m_pszData, lpszCharSet)));
}

CString CString::Tokenize(LPCWSTR pszTokens, int& iStart) const
{
    ENSURE(iStart >= 0);
    int nLength = GetLength();
    if (pszTokens == nullptr || *pszTokens == L'\0')
    {
        if (iStart < nLength)
            return CString(m_pszData + iStart);
    }
    else if (iStart < nLength)
    {
        const wchar_t* pPlace = m_pszData + iStart;
        int nSkip = static_cast<int>(wcsspn(pPlace, pszTokens));
        if (iStart + nSkip < nLength)
        {
            int iFrom = iStart + nSkip;
            int nToken = static_cast<int>(wcscspn(m_pszData + iFrom, pszTokens));
            iStart = iFrom + nToken + 1;
            return Mid(iFrom, nToken);
        }
    }
    iStart = -1;
    return CString();
}

// ---- changing in place -----------------------------------------------------

CString& CString::MakeLower()
{
    int nLength = GetLength();
    if (nLength > 0)
    {
        PrepareWrite(nLength);
        CharLowerBuffW(m_pszData, static_cast<DWORD>(nLength));
    }
    return *this;
}

CString& CString::MakeUpper()
{
    int nLength = GetLength();
    if (nLength > 0)
    {
        PrepareWrite(nLength);
        CharUpperBuffW(m_pszData, static_cast<DWORD>(nLength));
    }
    return *this;
}

CString& CString::MakeReverse()
{
    int nLength = GetLength();
    if (nLength > 1)
    {
        PrepareWrite(nLength);
        std::reverse(m_pszData, m_pszData + nLength);
    }
    return *this;
}

namespace {

struct IsSpace
{
    bool operator()(wchar_t ch) const { return iswspace(ch) != 0; }
};

struct IsChar
{
    wchar_t target;
    bool operator()(wchar_t ch) const { return ch == target; }
};

struct IsOneOf
{
    LPCWSTR targets;
    bool operator()(wchar_t ch) const { return ch != L'\0' && wcschr(targets, ch) != nullptr; }
};

template <class Pred>
void TrimEnds(CString& str, Pred pred, bool bLeft, bool bRight)
{
    LPCWSTR psz = str.GetString();
    int nFirst = 0;
    int nEnd = str.GetLength();
    if (bRight)
        while (nEnd > 0 && pred(psz[nEnd - 1]))
            --nEnd;
    if (bLeft)
        while (nFirst < nEnd && pred(psz[nFirst]))
            ++nFirst;
    if (nFirst != 0 || nEnd != str.GetLength())
        str = str.Mid(nFirst, nEnd - nFirst);
}

} // namespace

CString& CString::Trim()
{
    TrimEnds(*this, IsSpace(), true, true);
    return *this;
}

CString& CString::Trim(wchar_t chTarget)
{
    TrimEnds(*this, IsChar{chTarget}, true, true);
    return *this;
}

CString& CString::Trim(LPCWSTR lpszTargets)
{
    if (lpszTargets != nullptr && *lpszTargets != L'\0')
        TrimEnds(*this, IsOneOf{lpszTargets}, true, true);
    return *this;
}

CString& CString::TrimLeft()
{
    TrimEnds(*this, IsSpace(), true, false);
    return *this;
}

CString& CString::TrimLeft(wchar_t chTarget)
{
    TrimEnds(*this, IsChar{chTarget}, true, false);
    return *this;
}

CString& CString::TrimLeft(LPCWSTR lpszTargets)
{
    if (lpszTargets != nullptr && *lpszTargets != L'\0')
        TrimEnds(*this, IsOneOf{lpszTargets}, true, false);
    return *this;
}

CString& CString::TrimRight()
{
    TrimEnds(*this, IsSpace(), false, true);
    return *this;
}

CString& CString::TrimRight(wchar_t chTarget)
{
    TrimEnds(*this, IsChar{chTarget}, false, true);
    return *this;
}

CString& CString::TrimRight(LPCWSTR lpszTargets)
{
    if (lpszTargets != nullptr && *lpszTargets != L'\0')
        TrimEnds(*this, IsOneOf{lpszTargets}, false, true);
    return *this;
}

int CString::Replace(wchar_t chOld, wchar_t chNew)
{
    if (chOld == chNew)
        return 0;
    int nLength = GetLength();
    int nCount = static_cast<int>(std::count(m_pszData, m_pszData + nLength, chOld));
    if (nCount > 0)
    {
        PrepareWrite(nLength);
        std::replace(m_pszData, m_pszData + nLength, chOld, chNew);
    }
    return nCount;
}

int CString::Replace(LPCWSTR lpszOld, LPCWSTR lpszNew)
{
    int nOldLength = SafeLength(lpszOld);
    if (nOldLength == 0)
        return 0;
    int nNewLength = SafeLength(lpszNew);
    int nLength = GetLength();

    CString result;
    int nCount = 0;
    int iCopied = 0;
    for (int i = 0; i + nOldLength <= nLength;)
    {
        if (wmemcmp(m_pszData + i, lpszOld, static_cast<size_t>(nOldLength)) == 0)
        {
            result.Append(m_pszData + iCopied, i - iCopied);
            result.Append(lpszNew, nNewLength);
            i += nOldLength;
            iCopied = i;
            ++nCount;
        }
        else
        {
            ++i;
        }
    }
    if (nCount > 0)
    {
        result.Append(m_pszData + iCopied, nLength - iCopied);
        *this = std::move(result);
    }
    return nCount;
}

int CString::Remove(wchar_t chRemove)
{
    int nLength = GetLength();
    int nCount = static_cast<int>(std::count(m_pszData, m_pszData + nLength, chRemove));
    if (nCount > 0)
    {
        PrepareWrite(nLength);
        (void)std::remove(m_pszData, m_pszData + nLength, chRemove);
        SetLength(nLength - nCount);
    }
    return nCount;
}

int CString::Insert(int iIndex, wchar_t ch)
{
    return Insert(iIndex, CString(ch, 1));
}

int CString::Insert(int iIndex, LPCWSTR psz)
{
    int nLength = GetLength();
    iIndex = std::min(std::max(iIndex, 0), nLength);
    int nInsert = SafeLength(psz);
    if (nInsert > 0)
    {
        CString result;
        result.Preallocate(nLength + nInsert);
        result.Append(m_pszData, iIndex);
        result.Append(psz, nInsert);
        result.Append(m_pszData + iIndex, nLength - iIndex);
        *this = std::move(result);
    }
    return GetLength();
}

int CString::Delete(int iIndex, int nCount)
{
    int nLength = GetLength();
    if (iIndex < 0)
        iIndex = 0;
    if (nCount < 0)
        nCount = 0;
    if (static_cast<long long>(iIndex) + nCount > nLength)
        nCount = nLength - iIndex;
    if (nCount > 0)
    {
        PrepareWrite(nLength);
        wmemmove(m_pszData + iIndex, m_pszData + iIndex + nCount,
                 static_cast<size_t>(nLength - iIndex - nCount));
        SetLength(nLength - nCount);
    }
    return GetLength();
}

void CString::Truncate(int nNewLength)
{
    ENSURE(nNewLength >= 0 && nNewLength <= GetLength());
    if (nNewLength == GetLength())
        return;
    PrepareWrite(nNewLength);
    SetLength(nNewLength);
}

// ---- formatting ------------------------------------------------------------

namespace {

// The formatted text as a new string. The format and the arguments may point
// into the string that will receive the result, so it is built separately.
CString FormatToNew(LPCWSTR lpszFormat, va_list argList)
{
    ENSURE(lpszFormat != nullptr);
    va_list argCount;
    va_copy(argCount, argList);
    int nLength = _vscwprintf(lpszFormat, argCount);
    va_end(argCount);
    if (nLength < 0)
        AfxThrowInvalidArgException();
    CString result;
    LPWSTR pBuffer = result.GetBuffer(nLength);
    _vsnwprintf(pBuffer, static_cast<size_t>(nLength) + 1, lpszFormat, argList);
    result.ReleaseBufferSetLength(nLength);
    return result;
}

CString LoadFormat(UINT nFormatID)
{
    CString strFormat;
    ENSURE(strFormat.LoadStringW(nFormatID));
    return strFormat;
}

} // namespace

void CString::FormatV(LPCWSTR lpszFormat, va_list argList)
{
    *this = FormatToNew(lpszFormat, argList);
}

void CString::AppendFormatV(LPCWSTR lpszFormat, va_list argList)
{
    *this += FormatToNew(lpszFormat, argList);
}

void AFX_CDECL CString::Format(LPCWSTR lpszFormat, ...)
{
    va_list argList;
    va_start(argList, lpszFormat);
    FormatV(lpszFormat, argList);
    va_end(argList);
}

void AFX_CDECL CString::Format(UINT nFormatID, ...)
{
    CString strFormat = LoadFormat(nFormatID);
    va_list argList;
    va_start(argList, nFormatID);
    FormatV(strFormat, argList);
    va_end(argList);
}

void AFX_CDECL CString::AppendFormat(LPCWSTR lpszFormat, ...)
{
    va_list argList;
    va_start(argList, lpszFormat);
    AppendFormatV(lpszFormat, argList);
    va_end(argList);
}

void AFX_CDECL CString::AppendFormat(UINT nFormatID, ...)
{
    CString strFormat = LoadFormat(nFormatID);
    va_list argList;
    va_start(argList, nFormatID);
    AppendFormatV(strFormat, argList);
    va_end(argList);
}

// ---- buffer access ---------------------------------------------------------

LPWSTR CString::GetBuffer()
{
    return GetBuffer(0);
}

LPWSTR CString::GetBuffer(int nMinBufLength)
{
    ENSURE(nMinBufLength >= 0);
    PrepareWrite(std::max(nMinBufLength, GetLength()));
    return m_pszData;
}

LPWSTR CString::GetBufferSetLength(int nNewLength)
{
    ENSURE(nNewLength >= 0);
    PrepareWrite(nNewLength);
    SetLength(nNewLength);
    return m_pszData;
}

void CString::ReleaseBuffer(int nNewLength)
{
    CStringData* pData = GetData();
    if (nNewLength < 0)
        nNewLength = static_cast<int>(wcsnlen(m_pszData, static_cast<size_t>(pData->nAllocLength)));
    SetLength(nNewLength);
}

void CString::ReleaseBufferSetLength(int nNewLength)
{
    ENSURE(nNewLength >= 0);
    SetLength(nNewLength);
}

void CString::Preallocate(int nLength)
{
    ENSURE(nLength >= 0);
    PrepareWrite(std::max(nLength, GetLength()));
}

void CString::FreeExtra()
{
    CStringData* pData = GetData();
    if (pData->nRefs == 1 && pData->nAllocLength > pData->nDataLength)
    {
        CStringData* pNew = Allocate(pData->nDataLength);
        wmemcpy(pNew->data(), pData->data(), static_cast<size_t>(pData->nDataLength) + 1);
        pNew->nDataLength = pData->nDataLength;
        Attach(pNew);
    }
}

// ---- resources and interoperation ------------------------------------------

BOOL CString::LoadStringW(UINT nID)
{
    HINSTANCE hInstance = AfxFindStringResourceHandle(nID);
    return hInstance != nullptr && LoadStringW(hInstance, nID);
}

BOOL CString::LoadStringW(HINSTANCE hInstance, UINT nID)
{
    int nLength = 0;
    const wchar_t* pImage = afx_internal::GetStringResourceImage(hInstance, nID, &nLength);
    if (pImage == nullptr)
        return FALSE;
    SetString(pImage, nLength);
    return TRUE;
}

BSTR CString::AllocSysString() const
{
    BSTR bstr = SysAllocStringLen(m_pszData, static_cast<UINT>(GetLength()));
    if (bstr == nullptr)
        AfxThrowMemoryException();
    return bstr;
}
