// Pieces that the copy, delete and rename workers share: holders for what a
// worker makes before it hands it over, and the one call into the shell.
#pragma once

#include <afxwin.h>
#include <shellapi.h>

#include <memory>
#include <optional>

#include "BrwsFileOps.h"
#include "fileutil/NameRules.h"

namespace fileops {

// A result carrying code (or nothing for ZEC_NO_ERROR).
CErrorAutoThrow Failure(ZarnErrorCode code);

// The folder's path with one trailing separator taken off ("D:\" stays), or
// empty for a null folder.
CString FolderPath(const CBFolder* pFolder);

// Same folder for a copy or move: equal paths without regard to case, with a
// trailing separator ignored on either.
bool IsSameFolder(const CString& strFirst, const CString& strSecond);

// True when the path names an existing folder.
bool IsExistingFolder(const CString& strPath);

// The shell's name block made by CreateDoubleNullList.
typedef std::unique_ptr<unsigned char[]> CNameBlock;

// New file objects that a worker made and has not handed over yet; the
// holder deletes whatever it still holds.
class CNewFileList
{
public:
    CNewFileList() = default;
    ~CNewFileList() { FreeBFileList(&m_list); }
    CNewFileList(const CNewFileList&) = delete;
    CNewFileList& operator=(const CNewFileList&) = delete;

    CBFileList& List() { return m_list; }
    // Moves every object, in order, to the tail of *pDest; an object stays
    // here (and is freed) if the caller's list cannot take it.
    void HandTo(CBFileList* pDest);

private:
    CBFileList m_list;
};

// What the shell answered.
struct CShellResult
{
    int nResult = 0;       // SHFileOperationW's return value
    BOOL bAborted = FALSE; // fAnyOperationsAborted
};

// CreateFileOpFileNameString that also lists, in order, the files it found
// (pFound may be null; when given, a path met a second time is left out of
// both the string and the list). Null entries are neither found nor missing.
CErrorAutoThrow BuildNameString(const wchar_t* pszFolder, const CBFileList& files, CString* pstrNames,
                                CBFileList* pNotFound, CBFileList* pFound);

// The first step of a copy, move or delete: BuildNameString over files with
// the wait cursor up, then, once the cursor is down, the prompt for eOp over
// the files that are missing (also added to the tail of *pNotFound when it is
// given). Any error ends the operation: the names' failure, the user's answer,
// or ZEC_FILES_NOT_FOUND when nothing was found.
CErrorAutoThrow GatherNamesOrAsk(EBFileOp eOp, const CString& strFolder, const CBFileList& files,
                                 CString* pstrNames, CBFileList* pFound, CBFileList* pNotFound);

// One SHFileOperationW call; every member not given is zero.
CShellResult RunShellOperation(HWND hWnd, UINT wFunc, const unsigned char* pFrom,
                               const unsigned char* pTo, FILEOP_FLAGS fFlags);

// The application's wait cursor, ended early with reset() or at scope exit.
typedef std::optional<CWaitCursor> CWaitCursorScope;

} // namespace fileops
