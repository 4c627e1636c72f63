// File existence, size and time stamps, and cutting the time of day off a date.
#pragma once

#include <afxwin.h>
#include "BrwsUtilExport.h"

// Result of CompareFileTimes; the values are fixed because hosts compare them.
enum EFileTimeComparison
{
    eFileTimeEarlier = -1, // the first time is earlier than the second
    eFileTimeEqual = 0,
    eFileTimeLater = 1,    // the first time is later than the second
};

// 1 only when the path is known not to exist (file, path or network path not
// found); any other failure to read its attributes counts as existing (0).
BRWSUTIL_API int DoesFileNotExist(const wchar_t* pszPath);

// Low 32 bits of the file's size, or 0xFFFFFFFF when it cannot be opened
// (folders included). A size of exactly 0xFFFFFFFF is indistinguishable.
BRWSUTIL_API DWORD GetFileSize(const wchar_t* pszPath);

// Orders two UTC file times; both pointers must be valid.
BRWSUTIL_API EFileTimeComparison CompareFileTimes(const FILETIME* pFirst, const FILETIME* pSecond);

// *pDest = *pSource.
BRWSUTIL_API void CopyFileTime(FILETIME* pDest, const FILETIME* pSource);

// Creation and last-write time of the path (of its first match when it holds
// wildcards); either out-pointer may be null. 1 when found. When not found, or
// the path is null or empty, the given out-pointers receive a zero time and the
// result is 0; with both out-pointers null nothing is looked up and 0 returned.
BRWSUTIL_API int GetTimeStamps(const wchar_t* pszPath, FILETIME* pCreated, FILETIME* pModified);

// Replaces the time with local midnight of its local date; a local year before
// 1900 gives 0. Throws COleException* (E_FAIL) for a local date before 1970 and
// (E_INVALIDARG) when local midnight cannot be converted back.
BRWSUTIL_API void RemoveTimeFromDate(CTime& time);

// Replaces the time with midnight UTC of its UTC date; a value that is not a
// valid date (2^63 and above) is left unchanged.
BRWSUTIL_API void RemoveTimeFromDate(FILETIME* pTime);
