// File-name, path, network-path (UNC) and file-name filter helpers on wide text;
// none of them touches the file system or keeps state between calls.
#pragma once

#include <afxwin.h>
#include "BrwsUtilExport.h"

// Index of the first character of the file name (just after the last backslash);
// 0 when there is no backslash (slashes do not count) or the text is empty or
// null, -1 when the text ends in a backslash.
BRWSUTIL_API int GetFileNameIndex(const wchar_t* path);

// Index just after the last dot anywhere in the text (a dot in a folder part
// counts too); the length of the text for a trailing dot, -1 when there is none.
BRWSUTIL_API int GetFileNameExtIndex(const wchar_t* name);

// Removes one trailing backslash or slash, except from a lone separator and from
// a drive root such as "D:\"; returns its argument.
BRWSUTIL_API CString& RemovePathTrailer_Br(CString& path);

// Splits a network path "\\server\share\rest" (backslashes or slashes) into
// "\\server", "share" and "rest"; a path without the leading pair is read from
// its first character. Every given out-string is emptied first and left empty
// on failure. FALSE when neither server nor share is asked for, for an empty or
// drive path, when the server part is too short, and when the path (780
// characters or more) or a part (260 or more) is too long. An empty share ends
// the split with TRUE and no rest. Safe to call from several threads at once.
BRWSUTIL_API int GetUNCComponents(const wchar_t* path, CString* pstrServer, CString* pstrShare,
                                  CString* pstrRest);

// TRUE when the name matches the filter. A filter with '*' (any run of
// characters) or '?' (one UTF-16 unit) must match the whole name; a filter
// without either matches when it occurs anywhere in the name, so an empty one
// matches every name. Unless bCaseSensitive, both are lower-cased first. Null
// texts count as empty.
BRWSUTIL_API int DoesFileNameMatchFilter(const wchar_t* pszName, const wchar_t* pszFilter,
                                         int bCaseSensitive);
