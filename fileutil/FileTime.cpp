// File existence, size and time stamps; cutting the time of day off a date.
#include "BrwsFileTime.h"
#include "fileutil/PathInternal.h"
#include "module/Holders.h"

#include <time.h>

int DoesFileNotExist(const wchar_t* pszPath)
{
    if (pszPath == nullptr || *pszPath == L'\0')
        return 1;
    // A path of MAX_PATH characters or more is asked in its "\\?\" form,
    // which the system reaches where the plain one would be refused as too long.
    const CString strPath = ExtendedLengthPath(pszPath);
    if (GetFileAttributesW(strPath) != INVALID_FILE_ATTRIBUTES)
        return 0;
    // Only "not found" answers prove absence; access denied, sharing violations,
    // a drive that is not ready and the like mean something is there.
    switch (GetLastError())
    {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_BAD_NETPATH:
        return 1;
    default:
        return 0;
    }
}

DWORD GetFileSize(const wchar_t* pszPath)
{
    if (pszPath == nullptr)
        return INVALID_FILE_SIZE;
    // No access rights asked: the size is readable even while others hold the
    // file open without sharing.
    CScopedFileHandle file(CreateFileW(pszPath, 0, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file.IsValid())
        return INVALID_FILE_SIZE;
    return ::GetFileSize(file.Get(), nullptr);
}

EFileTimeComparison CompareFileTimes(const FILETIME* pFirst, const FILETIME* pSecond)
{
    LONG order = CompareFileTime(pFirst, pSecond);
    if (order < 0)
        return eFileTimeEarlier;
    return order > 0 ? eFileTimeLater : eFileTimeEqual;
}

void CopyFileTime(FILETIME* pDest, const FILETIME* pSource)
{
    if (pDest && pSource)
        *pDest = *pSource;
}

int GetTimeStamps(const wchar_t* pszPath, FILETIME* pCreated, FILETIME* pModified)
{
    if (pCreated == nullptr && pModified == nullptr)
        return 0;
    const FILETIME zero = {};
    WIN32_FIND_DATAW data = {};
    CScopedFindHandle search;
    if (pszPath && *pszPath)
        *search.Receive() = FindFirstFileW(pszPath, &data);
    bool found = search.IsValid();
    if (pCreated)
        *pCreated = found ? data.ftCreationTime : zero;
    if (pModified)
        *pModified = found ? data.ftLastWriteTime : zero;
    return found ? 1 : 0;
}

void RemoveTimeFromDate(CTime& time)
{
    __time64_t value = time.GetTime();
    struct tm local = {};
    // A time the runtime cannot show as a local date is treated like one before
    // 1900: it becomes the epoch.
    if (_localtime64_s(&local, &value) != 0 || local.tm_year < 0)
    {
        time = CTime(static_cast<__time64_t>(0));
        return;
    }
    if (local.tm_year < 70 || local.tm_mon < 0 || local.tm_mon > 11 || local.tm_mday < 1 ||
        local.tm_mday > 31)
        AfxThrowOleException(E_FAIL);

    struct tm midnight = {};
    midnight.tm_year = local.tm_year;
    midnight.tm_mon = local.tm_mon;
    midnight.tm_mday = local.tm_mday;
    midnight.tm_isdst = -1;
    __time64_t result = _mktime64(&midnight);
    if (result == -1)
        AfxThrowOleException(E_INVALIDARG);
    time = CTime(result);
}

void RemoveTimeFromDate(FILETIME* pTime)
{
    SYSTEMTIME date;
    if (pTime == nullptr || !FileTimeToSystemTime(pTime, &date))
        return;
    date.wHour = date.wMinute = date.wSecond = date.wMilliseconds = 0;
    FILETIME midnight;
    if (SystemTimeToFileTime(&date, &midnight))
        *pTime = midnight;
}
