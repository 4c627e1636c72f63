// CTime: conversions between seconds since 1970 and local calendar fields.
#include "afx.h"

#include <time.h>
#include <wchar.h>

static_assert(sizeof(time_t) == sizeof(__time64_t), "the C runtime's time_t must be 64-bit");

namespace {

bool ValidFields(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec)
{
    return nYear >= 1900 && nMonth >= 1 && nMonth <= 12 && nDay >= 1 && nDay <= 31 && nHour >= 0 &&
           nHour <= 23 && nMin >= 0 && nMin <= 59 && nSec >= 0 && nSec <= 59;
}

CString FormatTm(const struct tm* ptm, LPCWSTR pszFormat)
{
    ENSURE(pszFormat != nullptr);
    if (ptm == nullptr)
        AfxThrowInvalidArgException();
    if (*pszFormat == L'\0')
        return CString();
    // wcsftime reports a too small buffer only by returning 0, which a format
    // producing no text also does: grow a few times, then accept an empty text.
    for (int nSize = 128; nSize <= 128 * 1024; nSize *= 4)
    {
        CString result;
        LPWSTR pBuffer = result.GetBuffer(nSize);
        size_t n = wcsftime(pBuffer, static_cast<size_t>(nSize) + 1, pszFormat, ptm);
        if (n != 0)
        {
            result.ReleaseBufferSetLength(static_cast<int>(n));
            return result;
        }
        result.ReleaseBufferSetLength(0);
    }
    return CString();
}

} // namespace

CTime PASCAL CTime::GetCurrentTime()
{
    return CTime(time(nullptr));
}

BOOL PASCAL CTime::IsValidFILETIME(const FILETIME& ft)
{
    FILETIME ftLocal;
    SYSTEMTIME st;
    return FileTimeToLocalFileTime(&ft, &ftLocal) && FileTimeToSystemTime(&ftLocal, &st) && st.wYear >= 1900;
}

CTime::CTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec, int nDST)
{
    if (!ValidFields(nYear, nMonth, nDay, nHour, nMin, nSec))
        AfxThrowInvalidArgException();
    struct tm atm = {};
    atm.tm_sec = nSec;
    atm.tm_min = nMin;
    atm.tm_hour = nHour;
    atm.tm_mday = nDay;
    atm.tm_mon = nMonth - 1;
    atm.tm_year = nYear - 1900;
    atm.tm_isdst = nDST;
    m_time = mktime(&atm);
    if (m_time == -1)
        AfxThrowInvalidArgException();
}

CTime::CTime(const SYSTEMTIME& st, int nDST) : m_time(0)
{
    if (st.wYear >= 1900)
        *this = CTime(st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond, nDST);
}

CTime::CTime(const FILETIME& ft, int nDST) : m_time(0)
{
    FILETIME ftLocal;
    SYSTEMTIME st;
    if (!FileTimeToLocalFileTime(&ft, &ftLocal) || !FileTimeToSystemTime(&ftLocal, &st))
        AfxThrowInvalidArgException();
    *this = CTime(st, nDST);
}

struct tm* CTime::GetGmtTm(struct tm* ptm) const
{
    if (ptm == nullptr)
        return nullptr;
    time_t t = m_time;
    return gmtime_s(ptm, &t) == 0 ? ptm : nullptr;
}

struct tm* CTime::GetLocalTm(struct tm* ptm) const
{
    if (ptm == nullptr)
        return nullptr;
    time_t t = m_time;
    return localtime_s(ptm, &t) == 0 ? ptm : nullptr;
}

int CTime::LocalField(int tm::*field) const
{
    struct tm atm;
    if (GetLocalTm(&atm) == nullptr)
        AfxThrowInvalidArgException();
    return atm.*field;
}

int CTime::GetYear() const
{
    return LocalField(&tm::tm_year) + 1900;
}

int CTime::GetMonth() const
{
    return LocalField(&tm::tm_mon) + 1;
}

int CTime::GetDay() const
{
    return LocalField(&tm::tm_mday);
}

int CTime::GetHour() const
{
    return LocalField(&tm::tm_hour);
}

int CTime::GetMinute() const
{
    return LocalField(&tm::tm_min);
}

int CTime::GetSecond() const
{
    return LocalField(&tm::tm_sec);
}

int CTime::GetDayOfWeek() const
{
    return LocalField(&tm::tm_wday) + 1;
}

BOOL CTime::GetAsSystemTime(SYSTEMTIME& timeDest) const
{
    struct tm atm;
    if (GetLocalTm(&atm) == nullptr)
        return FALSE;
    timeDest.wYear = static_cast<WORD>(1900 + atm.tm_year);
    timeDest.wMonth = static_cast<WORD>(1 + atm.tm_mon);
    timeDest.wDayOfWeek = static_cast<WORD>(atm.tm_wday);
    timeDest.wDay = static_cast<WORD>(atm.tm_mday);
    timeDest.wHour = static_cast<WORD>(atm.tm_hour);
    timeDest.wMinute = static_cast<WORD>(atm.tm_min);
    timeDest.wSecond = static_cast<WORD>(atm.tm_sec);
    timeDest.wMilliseconds = 0;
    return TRUE;
}

CString CTime::Format(LPCWSTR pszFormat) const
{
    struct tm atm;
    return FormatTm(GetLocalTm(&atm), pszFormat);
}

CString CTime::FormatGmt(LPCWSTR pszFormat) const
{
    struct tm atm;
    return FormatTm(GetGmtTm(&atm), pszFormat);
}
