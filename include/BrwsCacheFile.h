// The header of the host's browse cache files ("ZARN BROWS FILE") and the
// fitting of an image into a box, for thumbnails.
#pragma once

#include <afxwin.h>
#include <TarkErrorCodes.h>
#include "BrwsUtilExport.h"

class CRowIterator;

// Reads the header of a browse cache file: its format version and, for each
// out-pointer given, its first and second text field (ANSI code page, up to the
// first NUL). Any out-pointer may be null. Results carry ZEC_FILE_OPEN_FAILED
// (201), ZEC_FILE_READ_FAILED (202, also for a file too short),
// ZEC_NOT_CACHE_FILE (321, wrong magic) or ZEC_CACHE_VERSION (542, the second
// text was asked for and the version has none). Outputs read before a failure
// keep their values. Throws nothing; the file is closed on return.
BRWSUTIL_API CErrorAutoThrow ReadCacheFileInfo(const wchar_t* pszFile, DWORD* pdwVersion,
                                               CString* pstrText1, CString* pstrText2);

// The size at which the image fits nMaxWidth x nMaxHeight keeping its aspect
// ratio (enlarged when narrower than the box and not taller; sides truncated,
// at least 1). 1 with the size stored; 0, with nothing written, for a detached
// image, a null out-pointer, or an image or box side that is not positive.
BRWSUTIL_API int GetScaledDIBSize(CRowIterator& image, int nMaxWidth, int nMaxHeight, int* pnWidth,
                                  int* pnHeight);
