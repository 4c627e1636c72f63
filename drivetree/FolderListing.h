// Listing a folder's subfolders as the drive tree shows them.
#pragma once

#include "drivetree/DriveTreePrivate.h"

#include <cstdint>
#include <functional>
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
// out), in the order the shell gives them, handed to onBatch a few at a time
// (it may move them out; false stops the listing). Fails only when the folder
// cannot be listed at all; a listing that breaks off keeps what came before.
HRESULT ListFolders(IShellFolder* pFolder, const CListingRequest& request,
                    const std::function<bool(std::vector<CListedFolder>&)>& onBatch);

// The place of each listed folder (relative to pFolder) in the folder's own
// order: ranks[i] is where listed[i] goes.
std::vector<uint32_t> RanksInFolderOrder(IShellFolder* pFolder, const std::vector<CIDListHolder>& listed);
