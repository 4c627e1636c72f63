// The browse file and folder objects (CBFile, CBFolder), their data blocks,
// and the functions that assemble or copy them from parts already in hand.
//
// Objects live on the heap and are deleted by whoever holds the pointer. An
// object owns its data block and, through it, the kind's record; a folder's
// shell data owns its identifier list and parent reference when m_bOwner is
// true. None of these classes can be copied member-wise (the copy and the
// source would free the same data): independent copies are made with
// CopyBFile and CopyBFolder.
#pragma once

#include <afxwin.h>
#include <shlobj.h>

#include "BrwsUtilExport.h"

// The kind of a file or folder object (m_nKind).
enum EBObjectKind
{
    eBKindNone = 0,  // default-constructed: no data block
    eBKindShell = 1, // an object of the shell namespace; everything this library makes
    eBKindLink = 2,  // carries a link record; made only by hosts
};

// The data block of a file of kind 1 (no fields).
class BRWSUTIL_API CBShellFileData
{
};

// The data block record of a file of kind 2.
class BRWSUTIL_API CBLinkFileData
{
public:
    CString m_strLink; // kept for the host, never read here
};

// The data block record of a folder of kind 2.
class BRWSUTIL_API CBLinkData
{
public:
    CString m_strLink; // kept for the host, never read here
};

// A file's data block: its record, read according to the file's kind. The
// owning CBFile deletes the record; this block never does.
class BRWSUTIL_API CBFileData
{
public:
    CBFileData() noexcept : m_pShellFileData(nullptr) {}
    CBFileData(const CBFileData&) = delete;
    CBFileData& operator=(const CBFileData&) = delete;

    union
    {
        CBShellFileData* m_pShellFileData; // kind 1
        CBLinkFileData* m_pLinkFileData;   // kind 2
    };
};

// The shell binding of a folder of kind 1.
class BRWSUTIL_API CBShellData
{
public:
    // All pointers null; bOwner says whether the list and parent reference
    // that are stored later belong to this object.
    explicit CBShellData(bool bOwner = true) noexcept;
    // When the owner: frees m_pidlFull and releases m_pParentFolder.
    ~CBShellData();
    CBShellData(const CBShellData&) = delete;
    CBShellData& operator=(const CBShellData&) = delete;

    IShellFolder* m_pParentFolder; // the containing folder (the desktop's own for the desktop); null for a clip folder
    LPITEMIDLIST m_pidlFull;       // absolute list; empty for the desktop
    LPITEMIDLIST m_pidlRelative;   // last item of m_pidlFull (m_pidlFull itself when empty); never freed on its own
    HWND m_hwndOwner;              // owner window for the shell calls made for this folder
    bool m_bOwner;                 // owns m_pidlFull and one reference to m_pParentFolder
};

// A folder's data block: its record, read according to the folder's kind. The
// owning CBFolder deletes the record; this block never does.
class BRWSUTIL_API CBFolderData
{
public:
    CBFolderData() noexcept : m_pShellData(nullptr) {}
    CBFolderData(const CBFolderData&) = delete;
    CBFolderData& operator=(const CBFolderData&) = delete;

    union
    {
        CBShellData* m_pShellData; // kind 1
        CBLinkData* m_pLinkData;   // kind 2
    };
};

// A file: kind, data block, name, full path, attributes, size and two times.
// The library carries attributes, size and times along without reading them.
class BRWSUTIL_API CBFile
{
public:
    static const DWORD sm_kdwDefAttribs;      // 0
    static const DWORD sm_kdwDefSize;         // 0
    static const FILETIME sm_koftDefCreation;  // zero: no time
    static const FILETIME sm_koftDefLastWrite; // zero: no time

    // Kind 0, no data block, empty texts, the default attributes, size and times.
    CBFile();
    // Deletes the data block and the record it holds for kinds 1 and 2.
    ~CBFile();
    CBFile(const CBFile&) = delete;
    CBFile& operator=(const CBFile&) = delete;

    int m_nKind;              // EBObjectKind
    CBFileData* m_pFileData;  // owned, may be null (files made here have none)
    CString m_strName;        // bare name with extension
    CString m_strPath;        // full path
    DWORD m_dwAttribs;
    DWORD m_dwSize;
    FILETIME m_ftCreation;
    FILETIME m_ftLastWrite;
};

// A folder: kind, data block, in-folder display name and file-system path.
class BRWSUTIL_API CBFolder
{
public:
    // Kind 0, no data block, empty texts.
    CBFolder();
    // Deletes the data block and its record (for kind 1 the shell data, which
    // frees its list and releases its parent when it owns them). Never throws.
    ~CBFolder();
    CBFolder(const CBFolder&) = delete;
    CBFolder& operator=(const CBFolder&) = delete;

    // The shell data of a folder of kind 1, or null for any other folder.
    CBShellData* GetShellData() const noexcept
    {
        return m_nKind == eBKindShell && m_pFolderData ? m_pFolderData->m_pShellData : nullptr;
    }

    int m_nKind;                 // EBObjectKind
    CBFolderData* m_pFolderData; // owned; every folder made here has one
    CString m_strName;           // display name within the parent; empty for a clip folder
    CString m_strPath;           // file-system path; empty for a virtual folder
};

// A new file of kind 1 with the given name, path, times (copied only when the
// pointer is not null), attributes and size. Never null; the caller deletes it.
BRWSUTIL_API CBFile* CreateShellFile(const wchar_t* pszName, const wchar_t* pszPath,
                                     const FILETIME* pftCreation, const FILETIME* pftLastWrite,
                                     unsigned long dwAttribs, unsigned long dwSize);
// An independent copy of a file of kind 1; null for any other kind (nothing to
// copy). The caller deletes the result.
BRWSUTIL_API CBFile* CopyBFile(const CBFile* pFile);
// A new file of kind 1 with the source's name, path, times, attributes and
// size, without a data block; null for a null source. The caller deletes it.
BRWSUTIL_API CBFile* CopyShellFile(const CBFile* pFile);

// The base factory of shell folders: a folder of kind 1 for the absolute list
// pidlFull whose containing folder is pParent; its path and name are asked of
// pParent. Takes over pParent's reference and pidlFull when bOwner is true and
// it returns a folder; null (nothing taken over) when pParent or pidlFull is
// null. The caller deletes the result.
BRWSUTIL_API CBFolder* CreateShellFolder(HWND hwndOwner, IShellFolder* pParent,
                                         LPITEMIDLIST pidlFull, bool bOwner);
// A clip folder: kind 1 with the list, the given path, no name and no parent
// interface, made without asking the shell. Takes over pidlFull when it returns
// a folder; null for a null list. The caller deletes the result.
BRWSUTIL_API CBFolder* CreateShellClipFolder(HWND hwndOwner, LPITEMIDLIST pidlFull,
                                             const wchar_t* pszPath);
// An independent copy of a full folder of kind 1; null for any other kind and
// for a clip folder (it has no parent interface). The caller deletes the result.
BRWSUTIL_API CBFolder* CopyBFolder(const CBFolder* pFolder);
// A new folder for the source's list, parent and owner window, with its own
// list and parent reference, its name and path asked afresh; null when the
// source is not a full shell folder. The caller deletes the result.
BRWSUTIL_API CBFolder* CopyShellFolder(const CBFolder* pFolder);
