// Pieces that the copy, delete and rename workers share: how a failure
// becomes a result, holders for what a worker makes before it hands it over,
// the gathering of names with the missing-files prompt, and the one call
// into the shell.
//
// Error style: a failure is raised where it is found, as the error library's
// exception carrying its code (Raise), and every exported function of the
// file operations turns what its body raised into its result in one place
// (ResultOf). No exception of the library leaves that function.
#pragma once

#include <afxwin.h>
#include <shellapi.h>

#include <memory>
#include <optional>

#include "BrwsFileOps.h"
#include "fileutil/NameRules.h"

namespace fileops {

// Throws the error library's exception carrying code.
[[noreturn]] void Raise(ZarnErrorCode code);

// Runs body(): success when it returns, else a result carrying the code it
// raised. Other exceptions (out of memory) reach the caller as they always did.
template <typename Body>
CErrorAutoThrow ResultOf(Body&& body)
{
    CErrorAutoThrow result;
    try
    {
        body();
    }
    catch (CZException& e)
    {
        result = CErrorAutoThrow(e);
    }
    return result;
}

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
// The block for strNames; raises ZEC_NAME_BLOCK_FAILED when none can be made.
CNameBlock MakeNameBlock(const CString& strNames);

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
    // Moves every object, in order, to the tail of *pDest (nothing happens
    // for a null pDest); an object stays here (and is freed) if the caller's
    // list cannot take it.
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

// The steps of CreateFileOpFileNameString: fills *pstrNames and *pNotFound as
// it describes and returns whether any file was found (false: the folder is
// missing or none of the files is there). Also lists, in order, the files it
// found (pFound may be null; when given, a path met a second time is left out
// of both the string and the list). Null entries are neither found nor
// missing. Raises ZEC_INVALID_ARGUMENTS for the arguments it refuses.
bool CollectNames(const wchar_t* pszFolder, const CBFileList& files, CString* pstrNames, CBFileList* pNotFound,
                  CBFileList* pFound);

// Shows the missing-files prompt for eOp over notFound, which lie in
// pszFolder; true only when bCanContinue is set and the user chose Yes.
bool AskToGoOn(EBFileOp eOp, int bCanContinue, const wchar_t* pszFolder, const CBFileList& notFound);

// The first step of a copy, move or delete: CollectNames over files with the
// wait cursor up, then, once the cursor is down, the prompt for eOp over the
// files that are missing (also added to the tail of *pNotFound when it is
// given). Raises what ends the operation: the names' failure, ZEC_USER_STOPPED
// when the user does not go on, or ZEC_FILES_NOT_FOUND when nothing was found.
void GatherNamesOrAsk(EBFileOp eOp, const CString& strFolder, const CBFileList& files, CString* pstrNames,
                      CBFileList* pFound, CBFileList* pNotFound);

// One SHFileOperationW call; every member not given is zero.
CShellResult RunShellOperation(HWND hWnd, UINT wFunc, const unsigned char* pFrom,
                               const unsigned char* pTo, FILEOP_FLAGS fFlags);

// The application's wait cursor, ended early with reset() or at scope exit.
typedef std::optional<CWaitCursor> CWaitCursorScope;

} // namespace fileops
