// What a name inside a folder may be, and how the name patterns of the
// language module are expanded. The file operations (file names, names of
// copies) and the browse dialog (new folders, folder labels) check names by
// these alone, so that a name one of them accepts the other accepts too.
#pragma once

#include <afxwin.h>

// True when pszName can only name an entry directly inside a folder: not
// empty, not made of dots and spaces alone (Windows strips those, leaving the
// folder itself or its parent), and without separators, colons, wildcards
// (the shell expands them), the other characters Windows forbids in names,
// or control characters (a line feed would split the shell's name block).
bool IsPlainFileName(const wchar_t* pszName);

// strOut = strPattern with "%s" replaced by *pBase, "%d" by *pNumber and "%%"
// by "%". A pattern comes from a translation, so it is checked before it is
// used: false (strOut then means nothing) unless it holds "%s" exactly once
// when pBase is given and never otherwise, likewise "%d" for pNumber, and no
// other '%' sequence. A faulty pattern can then neither crash the formatting
// nor yield a wrong name.
bool ExpandNamePattern(const CString& strPattern, const CString* pBase, const int* pNumber, CString& strOut);
