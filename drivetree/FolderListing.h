// Listing a folder's subfolders as the drive tree shows them.
#pragma once

#include "drivetree/DriveTreePrivate.h"

#include <vector>

// One subfolder as the listing found it.
struct CListedFolder
{
    CIDListHolder pidl;       // relative to the listed folder
    std::wstring key;         // CChildIndex::KeyOf, when the listing was asked for keys
    std::wstring fileName;    // a file-system folder's file name, else empty
    int nHasSubfolders = 1;   // what the shell says, 1 or 0
    bool bPlain = false;      // a plain folder (IsPlainFolderAttributes)
};

struct CListingRequest
{
    HWND hwndOwner = nullptr;   // owner of any window the shell shows while listing
    bool bShowAllFolders = true; // false: only the file system and its ancestors
    bool bWithKeys = false;      // fill CListedFolder::key
};

// The subfolders of pFolder (shortcuts and items without attributes left
// out), sorted in the folder's own order. Fails only when the folder cannot
// be listed at all; a listing that breaks off keeps what came before.
HRESULT ListFolders(IShellFolder* pFolder, const CListingRequest& request, std::vector<CListedFolder>& listed);
