// Factories that make shell folder objects (kind 1) from the desktop, a path,
// an absolute identifier list, a prefix of one or a clip folder, and queries on
// the drive that holds a folder.
//
// Every factory returns a new CBFolder that the caller deletes, or null; on
// every null path it has freed what it made and released what it took, and a
// list handed to it is still the caller's. The owner window is stored in the
// folder and passed to the shell calls. The base factory, which takes a parent
// interface as well, is declared in BrwsFileObjects.h.
#pragma once

#include "BrwsFileObjects.h"

// The desktop folder (its own parent), or null. The caller deletes the result.
BRWSUTIL_API CBFolder* CreateShellDesktop(HWND hwndOwner);

// The folder of a parsing name or file-system path, or null. A drive or network
// path gives null rather than another folder when the shell's folder is not the
// object on disk that the path names (a parser that cuts long paths short). The
// caller deletes the result.
BRWSUTIL_API CBFolder* CreateShellFolder(HWND hwndOwner, const wchar_t* pszPath);

// The folder of an absolute list. With bOwner true it takes over pidlFull when
// it returns a folder; with false pidlFull stays the caller's and the folder
// keeps a copy of its own. Null on failure. The caller deletes the result.
BRWSUTIL_API CBFolder* CreateShellFolder(HWND hwndOwner, LPITEMIDLIST pidlFull, bool bOwner);

// The ancestor of chain (an absolute, non-empty list) whose list ends with the
// item at link (an item boundary of chain); chain is not taken over. Null when
// link is not in chain or the shell fails. The caller deletes the result.
BRWSUTIL_API CBFolder* CreateShellFolderChainLink(HWND hwndOwner, LPCITEMIDLIST chain,
                                                  LPCITEMIDLIST link);

// A full folder for a clip folder's list and owner window (the desktop when the
// list is empty); the clip folder stays the caller's, unchanged. Null when pClip
// is not a shell folder or the shell fails. The caller deletes the result.
BRWSUTIL_API CBFolder* CreateShellFolderFromClipFolder(CBFolder* pClip);

// The folder of a path. A path strictly below the user's documents folder is
// reached through the desktop's virtual documents item, so that its list runs
// through that item; any other path, or a failure on that route (a folder that
// is not the path's object included), gives what CreateShellFolder(hwndOwner,
// pszPath) gives. The caller deletes the result.
BRWSUTIL_API CBFolder* CreateSpecialShellFolder(HWND hwndOwner, const wchar_t* pszPath);

// TRUE when the folder is a shell folder (a clip folder too) with the empty
// list, that is the desktop.
BRWSUTIL_API int IsShellDesktop(const CBFolder* pFolder);
// TRUE when the folder is a shell folder whose path starts with a drive letter
// of a removable or CD drive.
BRWSUTIL_API int IsRemovable(const CBFolder* pFolder);
// TRUE when the folder is a shell folder on a removable or CD drive whose
// volume can be read; *pdwSerial (when not null) receives the volume serial
// number, or 0xFFFFFFFF when the result is FALSE. Fixed disks give FALSE.
BRWSUTIL_API int IsMediaInserted(const CBFolder* pFolder, unsigned long* pdwSerial);
