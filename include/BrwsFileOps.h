// Shell file operations on lists of browse files: the list type and the
// strings handed to the shell, copy and move, delete, and rename.
//
// Ownership: a list passed by const reference is never changed; a not-found
// list receives the caller's own pointers (free them once); a new-files list
// or new file receives objects made here, which the caller owns and frees with
// FreeBFileList or delete. No list ever deletes its elements by itself.
//
// Every operation returns a CErrorAutoThrow: no error means success, else the
// ZarnErrorCode says why (100 the user did not go on, 101 invalid arguments,
// 102 no shell name block, 205 no free copy name, 207 folder or files missing,
// 211 a rename did not take effect, 212 the shell refused or failed).
//
// A file of a list is looked for only inside the folder given with it: a name
// that is empty, made of dots and spaces only, or holding a path separator, a
// colon, a wildcard, a character that Windows forbids in names or a control
// character (a line feed among them) counts as not found.
#pragma once

#include <afxwin.h>
#include <TarkErrorCodes.h>

#include "BrwsFileObjects.h"
#include "BrwsUtilExport.h"

// The file list of every operation; it stores bare pointers in order.
typedef CList<CBFile*, CBFile*> CBFileList;

// The operation a missing-files prompt speaks of. Any 32-bit value may be
// passed to the prompt; 4 is kept for host callers and has no name.
enum EBFileOp : int
{
    eBFileOpMove = 0,
    eBFileOpCopy = 1,
    eBFileOpRename = 2,
    eBFileOpDelete = 3,
};

// ---- file lists and shell strings -----------------------------------------------

// Empties the list and deletes every file object it held (null entries are
// skipped); the list itself stays usable. pList must not be null.
BRWSUTIL_API void FreeBFileList(CList<CBFile*, CBFile*>* pList);

// The shell's double-null block for a line-separated string: every line feed
// becomes a NUL and one more NUL ends it. The bytes are wide characters. Null
// for a string shorter than two characters or when memory runs out; the caller
// frees the block with delete[].
BRWSUTIL_API unsigned char* CreateDoubleNullList(const CString& strNames);

// *pstrNames (emptied first) becomes the full path of every file of files that
// exists in pszFolder, each followed by a line feed, then one more line feed;
// the files not found there go, in order, to the tail of *pNotFound. Either
// output may be null, not both (101, as for an empty folder text or list, or a
// not-found list that is files itself). 207 when the folder is missing (every
// file then counts as not found) or none of the files exists.
BRWSUTIL_API CErrorAutoThrow CreateFileOpFileNameString(const wchar_t* pszFolder,
                                                        const CList<CBFile*, CBFile*>& files,
                                                        CString* pstrNames,
                                                        CList<CBFile*, CBFile*>* pNotFound);

// ---- copy and move ----------------------------------------------------------------

// Copies (bCopy nonzero) or moves the files from the source folder to the
// destination folder through the shell, owned by hWnd. Files not found go to
// *pNotFound (may be null) before the user is asked whether to go on with the
// rest. Copies into the source folder itself get free names from the two copy
// name patterns; a move into the source folder changes nothing and succeeds.
// *pNewFiles (may be null) receives, at its tail and in input order, one new
// object for every file that is at its target path after the shell ran; it is
// filled also when the shell reports 100 or 212 for part of the files, and is
// left as it was on every earlier failure. 101 for a folder without a
// file-system path or an empty list, 207 when the destination folder is
// missing, 100 when the user stops in the prompt or in the shell's dialogs,
// 205 when no copy name is found (Escape held, or 499 names taken), 212 when
// the shell fails or a file did not arrive.
BRWSUTIL_API CErrorAutoThrow CopyBFiles(int bCopy, HWND hWnd, const CBFolder* pSrcFolder,
                                        const CList<CBFile*, CBFile*>& files,
                                        const CBFolder* pDestFolder,
                                        CList<CBFile*, CBFile*>* pNotFound,
                                        CList<CBFile*, CBFile*>* pNewFiles);
// The worker of CopyBFiles for file-system folders; the same contract.
BRWSUTIL_API CErrorAutoThrow CopyFSFiles(int bCopy, HWND hWnd, const CBFolder* pSrcFolder,
                                         const CList<CBFile*, CBFile*>& files,
                                         const CBFolder* pDestFolder,
                                         CList<CBFile*, CBFile*>* pNotFound,
                                         CList<CBFile*, CBFile*>* pNewFiles);

// strName holds a file's name on entry and, on return, the first name made
// from the copy name patterns (string resources 25168 and 25169, found through
// the resource chain) with the file's extension kept at the end that no entry
// of strFolder has. Nonzero when one was found; 0 when the Escape key is held
// down, 499 candidates are taken, or a pattern is missing or malformed
// (strName then holds the last candidate, or is empty when none was formed).
BRWSUTIL_API int GetFirstUniqueCopyFileName(CString strFolder, CString& strName);

// ---- delete ------------------------------------------------------------------------

// Deletes the files of the folder (kind 1 only) through the shell, owned by
// hWnd: into the recycle bin, or for good when bToRecycleBin is false. The
// shell asks its own confirmation. Files not found go to *pNotFound (may be
// null) before the user is asked whether to go on. 101 for an empty list, a
// folder of another kind or without a path, 100 when the user stops in the
// prompt or in the shell's dialogs, 212 when the shell fails or a file is
// still there afterwards.
BRWSUTIL_API CErrorAutoThrow DeleteBFiles(HWND hWnd, const CBFolder* pFolder,
                                          const CList<CBFile*, CBFile*>& files,
                                          CList<CBFile*, CBFile*>* pNotFound, bool bToRecycleBin);
// The worker of DeleteBFiles; does not look at the folder's kind.
BRWSUTIL_API CErrorAutoThrow DeleteFSFiles(HWND hWnd, const CBFolder* pFolder,
                                           const CList<CBFile*, CBFile*>& files,
                                           CList<CBFile*, CBFile*>* pNotFound, bool bToRecycleBin);

// ---- rename -------------------------------------------------------------------------

// Renames the file inside its folder through the shell (undoable), owned by
// hWnd, and checks on disk that the new name took. On success *ppNewFile (null
// on entry) is a new object, owned by the caller, with the new name and path
// and the old file's times, attributes and size; on failure it stays null.
// 101 for a folder without a path, an empty file name, a new name that is not
// a plain name of that folder (see above: "." and ".." included), or a bad
// out-pointer; 207 after telling the user that the file is gone; 211 when the
// name did not change on disk.
BRWSUTIL_API CErrorAutoThrow RenameBFile(HWND hWnd, const CBFolder* pFolder, const CBFile& file,
                                         const wchar_t* pszNewName, CBFile** ppNewFile);
// The worker of RenameBFile; the same contract.
BRWSUTIL_API CErrorAutoThrow RenameFSFile(HWND hWnd, const CBFolder* pFolder, const CBFile& file,
                                          const wchar_t* pszNewName, CBFile** ppNewFile);
