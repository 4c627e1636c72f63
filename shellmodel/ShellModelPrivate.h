// Helpers shared by the shell-model sources; not exported.
#pragma once

#include "shellmodel/ShellHolders.h"

// The desktop folder, or an empty holder when the shell cannot supply it.
CShellFolderHolder GetDesktopFolder();

// Parses pszName within pFolder (no bind context, no attribute query) and
// returns the relative list, or null. The caller frees the result.
LPITEMIDLIST ParseNameIn(IShellFolder* pFolder, HWND hwndOwner, const wchar_t* pszName);
