// Shell item identifier lists: measuring, walking, copying, joining, splitting,
// naming and freeing them, and CShellFolderBind, the holder of one bound folder.
//
// A list is a run of items, each a 16-bit byte count (counting itself) and the
// shell's bytes, ended by a zero count; it is read without alignment
// assumptions. The empty list (a lone terminator) names the desktop. Every list
// returned here is new, comes from the shell's task allocator and belongs to
// the caller, who frees it with FreeShellMem; a list passed in is never taken
// over. Lists must be well formed: walks stop only at the terminator.
#pragma once

#include <afxwin.h>
#include <shlobj.h>

#include "BrwsUtilExport.h"

// Walking and measuring (no allocation).

// Length in bytes including the terminator (2 for the empty list, 0 for null).
BRWSUTIL_API unsigned long GetIDListLength(LPCITEMIDLIST pidl);
// Number of items; 0 for a null or empty list.
BRWSUTIL_API int GetNumSegmentsOf(LPCITEMIDLIST pidl);
// TRUE for a null pointer or a list whose first count is 0.
BRWSUTIL_API int IsEmptyIDList(LPCITEMIDLIST pidl);
// The pointer past the first item; the same pointer for an empty list.
BRWSUTIL_API LPITEMIDLIST GetNextIDListOf(LPCITEMIDLIST pidl);
// The last item of the list; the list itself when it is empty.
BRWSUTIL_API LPITEMIDLIST GetLastIDListOf(LPCITEMIDLIST pidl);

// Creating lists: each returns null when the task allocator fails.

// A raw block of exactly cb bytes, contents undefined; the caller frees it with FreeShellMem.
BRWSUTIL_API LPITEMIDLIST CreateIDList(unsigned long cb);
// A copy of the whole list; null gives null. The caller frees the result with FreeShellMem.
BRWSUTIL_API LPITEMIDLIST CopyIDList(LPCITEMIDLIST pidl);
// The first item alone; null or empty gives null. The caller frees the result with FreeShellMem.
BRWSUTIL_API LPITEMIDLIST CopyNextIDListOf(LPCITEMIDLIST pidl);
// The items of first, then those of second (either may be empty, neither null).
// The caller frees the result with FreeShellMem.
BRWSUTIL_API LPITEMIDLIST ConcatIDLists(LPCITEMIDLIST first, LPCITEMIDLIST second);
// All items but the last; an empty or one-item list gives the empty list.
// The caller frees the result with FreeShellMem.
BRWSUTIL_API LPITEMIDLIST CreateParentIDList(LPCITEMIDLIST pidl);
// The items of chain up to and including the item at link (an item boundary of
// chain; at the terminator, the whole list); null when link is not in chain.
// The caller frees the result with FreeShellMem.
BRWSUTIL_API LPITEMIDLIST CreateLinkIDList(LPCITEMIDLIST chain, LPCITEMIDLIST link);

// Frees a block of the shell's task allocator (our lists and the shell's); null is accepted.
BRWSUTIL_API void FreeShellMem(void* pv);

// Shell queries.

// The absolute list of a parsing name or file-system path, parsed by the
// desktop with hwndOwner as owner; null when it cannot be parsed.
// The caller frees the result with FreeShellMem.
BRWSUTIL_API LPITEMIDLIST GetFullIDList(HWND hwndOwner, const wchar_t* pszName);
// The absolute list of an item of pParent, found through the item's parsing
// name; a null or empty relative list is copied. Null on failure.
// The caller frees the result with FreeShellMem.
BRWSUTIL_API LPITEMIDLIST GetFullIDList(IShellFolder* pParent, LPCITEMIDLIST relative);
// The display name of an item of pFolder (SHGDN_* flags); empty on failure.
BRWSUTIL_API CString GetNameOf(IShellFolder* pFolder, LPCITEMIDLIST relative, DWORD dwFlags);
// The system image-list index of an item's icon (SHGFI_* flags are added to
// SHGFI_SYSICONINDEX | SHGFI_PIDL; SHGFI_ICON is left out, no icon is made);
// 0 on failure, which is also a valid index.
BRWSUTIL_API int GetShellIconIndex(LPCITEMIDLIST absolute, DWORD dwFlags);
// Orders two relative lists of pFolder as the folder does with sort parameter
// lParam: negative, 0 (the same item) or positive.
BRWSUTIL_API int CompareIDLists(int lParam, IShellFolder* pFolder, LPCITEMIDLIST first,
                                LPCITEMIDLIST second);

// Holds the shell folder interface of one item of a parent folder for its
// lifetime. It never takes or releases the caller's reference to the parent.
// Not copyable: two holders must never own one reference.
class BRWSUTIL_API CShellFolderBind
{
public:
    // Binds the item at relative within pParent; a null or empty relative list
    // holds pParent itself (one more reference). Unbound when binding fails or
    // pParent is null.
    CShellFolderBind(IShellFolder* pParent, LPCITEMIDLIST relative);
    // Releases the held reference, if any.
    ~CShellFolderBind();

    CShellFolderBind(const CShellFolderBind&) = delete;
    CShellFolderBind& operator=(const CShellFolderBind&) = delete;

    // TRUE when an interface is held.
    int IsBound() const;
    // Hands the held reference over: the caller releases the result; the holder is left unbound.
    IShellFolder* Detach();

    IShellFolder* m_pFolder; // the bound folder (one reference owned), or null
};
