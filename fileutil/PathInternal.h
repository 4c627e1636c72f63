// Path helpers that the library's own subsystems share but hosts do not see.
#pragma once

#include <afxwin.h>

// Appends a backslash unless the text is empty or already ends in one (a
// trailing slash does not count: "D:/dir/" becomes "D:/dir/\").
void AddPathBackslash(CString& path);
