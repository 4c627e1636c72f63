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
