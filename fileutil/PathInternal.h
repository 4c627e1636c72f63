// Path helpers that the library's own subsystems share but hosts do not see.
#pragma once

#include <afxwin.h>

#include <functional>

// Appends a backslash unless the text is empty or already ends in one (a
// trailing slash does not count: "D:/dir/" becomes "D:/dir/\").
void AddPathBackslash(CString& path);

// The whole text of a system call that fills a caller's buffer, whatever its
// length: read(buffer, cch) returns the characters written, or (as
// GetModuleFileNameW does) cch when they did not all fit, or (as
// GetFullPathNameW and GetTempPathW do) the size it needs; 0 gives "".
CString ReadWholeText(const std::function<DWORD(LPWSTR pszBuffer, DWORD cch)>& read);
// The text for the file functions: a path of MAX_PATH characters or more as
// an absolute "\\?\" path ("\\?\UNC\" for a network path), which they reach
// whatever its length; anything else unchanged.
CString ExtendedLengthPath(const wchar_t* pszPath);
// A path starting with a drive letter and colon, or with two separators.
bool IsDriveOrNetworkPath(const wchar_t* pszPath);
// Whether both paths name the same existing file or folder: the same text
// (letter case and one trailing separator aside), or one object on disk
// reached through two spellings (slashes, short names, "." and "..").
bool IsSameFileSystemObject(const wchar_t* pszFirst, const wchar_t* pszSecond);
