// Helpers shared by the shell-model sources; not exported.
#pragma once

#include "BrwsFileObjects.h"
#include "module/Holders.h"

// The desktop folder, or an empty holder when the shell cannot supply it.
CShellFolderHolder GetDesktopFolder();

// Parses pszName within pFolder (no bind context, no attribute query) and
// returns the relative list, or null. The caller frees the result.
LPITEMIDLIST ParseNameIn(IShellFolder* pFolder, HWND hwndOwner, const wchar_t* pszName);

// CreateShellFolder (parent interface and absolute list) for a folder whose
// file-system path the caller knows already: it is taken as it is.
CBFolder* CreateShellFolderAt(HWND hwndOwner, IShellFolder* pParent, LPITEMIDLIST pidlFull, bool bOwner,
                              const CString& strPath);

// The absolute list of an existing path, asked on a thread of its own: null
// when the path does not exist or cannot be parsed, or when the answer takes
// longer than dwLimitMs (a dead network path can take the system's own
// time-out, tens of seconds; the thread then ends on its own). The caller
// frees the result with FreeShellMem.
LPITEMIDLIST ParseExistingPathWithin(const wchar_t* pszPath, DWORD dwLimitMs);
// CreateShellFolder for an existing path, asked as ParseExistingPathWithin
// does; null when it does not answer in time. The caller deletes the result.
CBFolder* CreateShellFolderWithin(HWND hwndOwner, const wchar_t* pszPath, DWORD dwLimitMs);
