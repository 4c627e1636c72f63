// Delete through the shell, into the recycle bin or for good.
#include "fileops/FileOpsInternal.h"

#include "BrwsFileTime.h"
#include "fileutil/PathInternal.h"

namespace {

using namespace fileops;

// The delete of DeleteFSFiles; raises what ends it.
void DeleteInFolder(HWND hWnd, const CBFolder* pFolder, const CBFileList& files, CBFileList* pNotFound,
                    bool bToRecycleBin)
{
    if (pFolder == nullptr || pFolder->m_strPath.IsEmpty() || files.IsEmpty() || pNotFound == &files)
        Raise(ZEC_INVALID_ARGUMENTS);
    const CString& strFolder = pFolder->m_strPath;

    CString strNames;
    CBFileList found;
    GatherNamesOrAsk(eBFileOpDelete, strFolder, files, &strNames, &found, pNotFound);
    CNameBlock from = MakeNameBlock(strNames);

    // No flag spares the user the shell's own confirmation.
    CShellResult shell = RunShellOperation(hWnd, FO_DELETE, from.get(), nullptr, bToRecycleBin ? FOF_ALLOWUNDO : 0);
    if (shell.bAborted)
        Raise(ZEC_USER_STOPPED);
    if (shell.nResult != 0)
        Raise(ZEC_SHELL_OP_FAILED);

    CString strDir = FolderPath(pFolder);
    AddPathBackslash(strDir);
    POSITION pos = found.GetHeadPosition();
    while (pos != nullptr)
    {
        if (DoesFileNotExist(strDir + found.GetNext(pos)->m_strName) == 0)
            Raise(ZEC_SHELL_OP_FAILED);
    }
}

} // namespace

CErrorAutoThrow DeleteBFiles(HWND hWnd, const CBFolder* pFolder, const CList<CBFile*, CBFile*>& files,
                             CList<CBFile*, CBFile*>* pNotFound, bool bToRecycleBin)
{
    return ResultOf([&] {
        // Only shell folders; the worker does not look at the kind.
        if (pFolder == nullptr || pFolder->m_nKind != eBKindShell)
            Raise(ZEC_INVALID_ARGUMENTS);
        DeleteInFolder(hWnd, pFolder, files, pNotFound, bToRecycleBin);
    });
}

CErrorAutoThrow DeleteFSFiles(HWND hWnd, const CBFolder* pFolder, const CList<CBFile*, CBFile*>& files,
                              CList<CBFile*, CBFile*>* pNotFound, bool bToRecycleBin)
{
    return ResultOf([&] { DeleteInFolder(hWnd, pFolder, files, pNotFound, bToRecycleBin); });
}
