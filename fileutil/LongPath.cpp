// Paths of any length: the "\\?\" spelling that lets the file functions reach
// paths of MAX_PATH characters or more, and whether two spellings name one
// object on disk.
#include "fileutil/PathInternal.h"
#include "module/Holders.h"

#include <cwctype>

namespace {

bool IsSeparator(wchar_t c)
{
    return c == L'\\' || c == L'/';
}

// The path without the trailing separators that a drive root keeps.
CString WithoutTrailer(const wchar_t* pszPath)
{
    CString strPath(pszPath);
    while (strPath.GetLength() > 3 && IsSeparator(strPath[strPath.GetLength() - 1]))
        strPath = strPath.Left(strPath.GetLength() - 1);
    return strPath;
}

bool IdentityOf(const wchar_t* pszPath, BY_HANDLE_FILE_INFORMATION& info)
{
    // No access asked and every sharing allowed: a folder opened by others
    // still answers; backup semantics let a folder be opened at all.
    CScopedFileHandle file(::CreateFileW(ExtendedLengthPath(pszPath), 0,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                         OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    return file.IsValid() && ::GetFileInformationByHandle(file.Get(), &info);
}

} // namespace

CString ReadWholeText(const std::function<DWORD(LPWSTR pszBuffer, DWORD cch)>& read)
{
    CString strText;
    // The longest path the system knows is 32767 characters.
    for (DWORD cch = MAX_PATH; cch <= 65536;)
    {
        const DWORD cchGot = read(strText.GetBuffer(static_cast<int>(cch)), cch);
        strText.ReleaseBuffer(cchGot < cch ? static_cast<int>(cchGot) : 0);
        if (cchGot < cch)
            break;
        cch = cchGot > cch ? cchGot : cch * 2;
    }
    return strText;
}

bool IsDriveOrNetworkPath(const wchar_t* pszPath)
{
    if (!pszPath || !pszPath[0] || !pszPath[1])
        return false;
    if (IsSeparator(pszPath[0]) && IsSeparator(pszPath[1]))
        return true;
    return std::iswalpha(pszPath[0]) && pszPath[1] == L':';
}

CString ExtendedLengthPath(const wchar_t* pszPath)
{
    if (!pszPath || wcslen(pszPath) < MAX_PATH || wcsncmp(pszPath, L"\\\\?\\", 4) == 0)
        return CString(pszPath);
    CString strFull = ReadWholeText([pszPath](LPWSTR pszBuffer, DWORD cch) {
        return ::GetFullPathNameW(pszPath, cch, pszBuffer, nullptr);
    });
    // The "\\?\" form is taken literally: only backslashes separate there.
    strFull.Replace(L'/', L'\\');
    if (strFull.GetLength() > 2 && strFull[0] == L'\\' && strFull[1] == L'\\')
        return L"\\\\?\\UNC\\" + strFull.Mid(2);
    if (strFull.GetLength() > 2 && strFull[1] == L':')
        return L"\\\\?\\" + strFull;
    return CString(pszPath);
}

bool IsSameFileSystemObject(const wchar_t* pszFirst, const wchar_t* pszSecond)
{
    if (!pszFirst || !pszSecond || !*pszFirst || !*pszSecond)
        return false;
    if (WithoutTrailer(pszFirst).CompareNoCase(WithoutTrailer(pszSecond)) == 0)
        return true;
    BY_HANDLE_FILE_INFORMATION first = {};
    BY_HANDLE_FILE_INFORMATION second = {};
    return IdentityOf(pszFirst, first) && IdentityOf(pszSecond, second) &&
           first.dwVolumeSerialNumber == second.dwVolumeSerialNumber &&
           first.nFileIndexHigh == second.nFileIndexHigh && first.nFileIndexLow == second.nFileIndexLow;
}
