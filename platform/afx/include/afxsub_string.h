// Framework subset: CString, the framework's wide string.
//
// The object is one pointer to the characters; a header in front of them holds
// the reference count, the length and the capacity. Copies share the text until
// one of them is changed (copy on write, with an interlocked count, so distinct
// objects may be used on distinct threads even when they share text). The text
// is always terminated by a null character after GetLength() characters, and
// may contain null characters of its own.
//
// Indexes and lengths are ints, as in the framework. Failed allocations throw
// CMemoryException*; bad indexes to GetAt/SetAt/operator[] throw
// CInvalidArgException*.
#pragma once

#include "afxsub_except.h"

#include <stdarg.h>

class AFX_API CString
{
public:
    CString() noexcept;
    CString(const CString& stringSrc) noexcept;
    CString(CString&& stringSrc) noexcept;
    // A null pointer gives an empty string; a pointer made with
    // MAKEINTRESOURCE loads that string resource (as LoadString does).
    CString(LPCWSTR lpsz);
    // Converts from the ANSI code page; null and MAKEINTRESOURCE as above.
    CString(LPCSTR lpsz);
    CString(std::nullptr_t) noexcept : CString() {}
    // The first nLength characters of pch (pch may contain nulls).
    CString(LPCWSTR pch, int nLength);
    CString(LPCSTR pch, int nLength);
    explicit CString(wchar_t ch, int nRepeat = 1);
    ~CString();

    CString& operator=(const CString& stringSrc);
    CString& operator=(CString&& stringSrc) noexcept;
    CString& operator=(LPCWSTR lpsz);
    CString& operator=(LPCSTR lpsz);
    CString& operator=(wchar_t ch);

    CString& operator+=(const CString& string);
    CString& operator+=(LPCWSTR lpsz);
    CString& operator+=(LPCSTR lpsz);
    CString& operator+=(wchar_t ch);

    int GetLength() const noexcept { return GetData()->nDataLength; }
    BOOL IsEmpty() const noexcept { return GetData()->nDataLength == 0; }
    void Empty();
    LPCWSTR GetString() const noexcept { return m_pszData; }
    operator LPCWSTR() const noexcept { return m_pszData; }

    // iChar may equal GetLength() (the terminating null) for reading.
    wchar_t GetAt(int iChar) const;
    wchar_t operator[](int iChar) const { return GetAt(iChar); }
    void SetAt(int iChar, wchar_t ch);

    // Ordinal comparisons (code unit by code unit); CompareNoCase compares
    // lower-case forms, non-ASCII letters included.
    int Compare(LPCWSTR lpsz) const;
    int CompareNoCase(LPCWSTR lpsz) const;

    // Index of the first match at or after iStart, or -1. A negative iStart,
    // or one at or past the end (past the end for a substring), finds nothing.
    int Find(wchar_t ch, int iStart = 0) const;
    int Find(LPCWSTR lpszSub, int iStart = 0) const;
    int ReverseFind(wchar_t ch) const;
    int FindOneOf(LPCWSTR lpszCharSet) const;

    // Extraction; counts and starts are clamped into the string.
    CString Left(int nCount) const;
    CString Mid(int iFirst) const;
    CString Mid(int iFirst, int nCount) const;
    CString Right(int nCount) const;
    CString SpanIncluding(LPCWSTR lpszCharSet) const;
    CString SpanExcluding(LPCWSTR lpszCharSet) const;
    // The next token after iStart; iStart becomes the position after it, or
    // -1 (with an empty result) when no token is left.
    CString Tokenize(LPCWSTR pszTokens, int& iStart) const;

    CString& MakeLower();
    CString& MakeUpper();
    CString& MakeReverse();

    CString& Trim();
    CString& Trim(wchar_t chTarget);
    CString& Trim(LPCWSTR lpszTargets);
    CString& TrimLeft();
    CString& TrimLeft(wchar_t chTarget);
    CString& TrimLeft(LPCWSTR lpszTargets);
    CString& TrimRight();
    CString& TrimRight(wchar_t chTarget);
    CString& TrimRight(LPCWSTR lpszTargets);

    // Each returns the number of replacements or removals.
    int Replace(wchar_t chOld, wchar_t chNew);
    int Replace(LPCWSTR lpszOld, LPCWSTR lpszNew);
    int Remove(wchar_t chRemove);
    // Each returns the new length; the index is clamped into the string.
    int Insert(int iIndex, wchar_t ch);
    int Insert(int iIndex, LPCWSTR psz);
    int Delete(int iIndex, int nCount = 1);
    void Truncate(int nNewLength);

    void SetString(LPCWSTR pszSrc, int nLength);
    void Append(LPCWSTR pszSrc, int nLength);
    void AppendChar(wchar_t ch);

    // printf-style formatting with the C runtime's wide rules: %s and %ls take
    // a wide string, %S and %hs a narrow one. Pass (LPCWSTR)str, never a
    // CString object. The UINT forms load the format from a string resource.
    void AFX_CDECL Format(LPCWSTR lpszFormat, ...);
    void AFX_CDECL Format(UINT nFormatID, ...);
    void FormatV(LPCWSTR lpszFormat, va_list argList);
    void AFX_CDECL AppendFormat(LPCWSTR lpszFormat, ...);
    void AFX_CDECL AppendFormat(UINT nFormatID, ...);
    void AppendFormatV(LPCWSTR lpszFormat, va_list argList);

    // Direct access. GetBuffer returns a private buffer of at least nMinBufLength
    // characters (plus the terminator) holding the current text; ReleaseBuffer
    // ends the access and sets the length (to the first null when nNewLength
    // is -1). Do not call other members in between.
    LPWSTR GetBuffer();
    LPWSTR GetBuffer(int nMinBufLength);
    LPWSTR GetBufferSetLength(int nNewLength);
    void ReleaseBuffer(int nNewLength = -1);
    void ReleaseBufferSetLength(int nNewLength);
    void Preallocate(int nLength);
    void FreeExtra();
    int GetAllocLength() const noexcept { return GetData()->nAllocLength; }

    // Loads a string resource through the framework's resource search (the
    // current resource handle, then the extension-module chain). Returns FALSE,
    // leaving the string unchanged, when no module has a non-empty string nID.
    BOOL LoadStringW(UINT nID);
    // Loads from the given module only.
    BOOL LoadStringW(HINSTANCE hInstance, UINT nID);

    // A new BSTR holding the text; the caller frees it with SysFreeString.
    BSTR AllocSysString() const;

private:
    struct CStringData
    {
        LONG nRefs;        // < 0: the shared empty string, never freed
        int nDataLength;   // characters, without the terminator
        int nAllocLength;  // characters that fit, without the terminator
        int nReserved;     // keeps the text 16-byte aligned
        wchar_t* data() noexcept { return reinterpret_cast<wchar_t*>(this + 1); }
    };

    CStringData* GetData() const noexcept { return reinterpret_cast<CStringData*>(m_pszData) - 1; }
    static CStringData* NilData() noexcept;
    // A new unshared block with room for nAllocLength characters, holding none.
    static CStringData* Allocate(int nAllocLength);
    static void Release(CStringData* pData) noexcept;
    void Attach(CStringData* pData) noexcept;
    // Makes the text unshared with room for at least nLength characters,
    // keeping what fits; bGrow adds headroom for repeated appends.
    void PrepareWrite(int nLength, bool bGrow = false);
    void SetLength(int nLength);
    void AssignCopy(LPCWSTR pch, int nLength);
    void AssignAnsi(LPCSTR pch, int nLength);
    bool CheckImplicitLoad(const void* pv);

    LPWSTR m_pszData;
};

AFX_API CString AFXAPI operator+(const CString& string1, const CString& string2);
AFX_API CString AFXAPI operator+(const CString& string, LPCWSTR lpsz);
AFX_API CString AFXAPI operator+(LPCWSTR lpsz, const CString& string);
AFX_API CString AFXAPI operator+(const CString& string, wchar_t ch);
AFX_API CString AFXAPI operator+(wchar_t ch, const CString& string);

inline bool operator==(const CString& s1, const CString& s2) { return s1.Compare(s2) == 0; }
inline bool operator==(const CString& s1, LPCWSTR s2) { return s1.Compare(s2) == 0; }
inline bool operator==(LPCWSTR s1, const CString& s2) { return s2.Compare(s1) == 0; }
inline bool operator!=(const CString& s1, const CString& s2) { return s1.Compare(s2) != 0; }
inline bool operator!=(const CString& s1, LPCWSTR s2) { return s1.Compare(s2) != 0; }
inline bool operator!=(LPCWSTR s1, const CString& s2) { return s2.Compare(s1) != 0; }
inline bool operator<(const CString& s1, const CString& s2) { return s1.Compare(s2) < 0; }
inline bool operator<(const CString& s1, LPCWSTR s2) { return s1.Compare(s2) < 0; }
inline bool operator<(LPCWSTR s1, const CString& s2) { return s2.Compare(s1) > 0; }
inline bool operator>(const CString& s1, const CString& s2) { return s1.Compare(s2) > 0; }
inline bool operator>(const CString& s1, LPCWSTR s2) { return s1.Compare(s2) > 0; }
inline bool operator>(LPCWSTR s1, const CString& s2) { return s2.Compare(s1) < 0; }
inline bool operator<=(const CString& s1, const CString& s2) { return s1.Compare(s2) <= 0; }
inline bool operator<=(const CString& s1, LPCWSTR s2) { return s1.Compare(s2) <= 0; }
inline bool operator<=(LPCWSTR s1, const CString& s2) { return s2.Compare(s1) >= 0; }
inline bool operator>=(const CString& s1, const CString& s2) { return s1.Compare(s2) >= 0; }
inline bool operator>=(const CString& s1, LPCWSTR s2) { return s1.Compare(s2) >= 0; }
inline bool operator>=(LPCWSTR s1, const CString& s2) { return s2.Compare(s1) <= 0; }
inline bool operator==(const CString& s1, wchar_t ch) { return s1.GetLength() == 1 && s1[0] == ch; }
inline bool operator==(wchar_t ch, const CString& s1) { return s1 == ch; }
inline bool operator!=(const CString& s1, wchar_t ch) { return !(s1 == ch); }
inline bool operator!=(wchar_t ch, const CString& s1) { return !(s1 == ch); }
