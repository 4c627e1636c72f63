// Delete through the shell, into the recycle bin or for good.
#include "fileops/FileOpsInternal.h"

#include "BrwsFileTime.h"
#include "fileutil/PathInternal.h"

CErrorAutoThrow DeleteBFiles(HWND hWnd, const CBFolder* pFolder, const CList<CBFile*, CBFile*>& files,
                             CList<CBFile*, CBFile*>* pNotFound, bool bToRecycleBin)
{
    if (pFolder == nullptr || files.IsEmpty() || pFolder->m_nKind != eBKindShell || pFolder->m_strPath.IsEmpty())
        return fileops::Failure(ZEC_INVALID_ARGUMENTS);
    return DeleteFSFiles(hWnd, pFolder, files, pNotFound, bToRecycleBin);
}

CErrorAutoThrow DeleteFSFiles(HWND hWnd, const CBFolder* pFolder, const CList<CBFile*, CBFile*>& files,
                              CList<CBFile*, CBFile*>* pNotFound, bool bToRecycleBin)
{
    using namespace fileops;
    if (pFolder == nullptr || pFolder->m_strPath.IsEmpty() || files.IsEmpty() || pNotFound == &files)
        return Failure(ZEC_INVALID_ARGUMENTS);
    const CString& strFolder = pFolder->m_strPath;

    CString strNames;
    CBFileList found;
    CErrorAutoThrow gathered = GatherNamesOrAsk(eBFileOpDelete, strFolder, files, &strNames, &found, pNotFound);
    if (gathered.HasError())
        return gathered;

    CNameBlock from(CreateDoubleNullList(strNames));
    if (!from)
        return Failure(ZEC_NAME_BLOCK_FAILED);

    // No flag spares the user the shell's own confirmation.
    CShellResult shell = RunShellOperation(hWnd, FO_DELETE, from.get(), nullptr, bToRecycleBin ? FOF_ALLOWUNDO : 0);
    if (shell.bAborted)
        return Failure(ZEC_USER_STOPPED);
    if (shell.nResult != 0)
        return Failure(ZEC_SHELL_OP_FAILED);

    CString strDir = FolderPath(pFolder);
    AddPathBackslash(strDir);
    POSITION pos = found.GetHeadPosition();
    while (pos != nullptr)
    {
        if (DoesFileNotExist(strDir + found.GetNext(pos)->m_strName) == 0)
            return Failure(ZEC_SHELL_OP_FAILED);
    }
    return CErrorAutoThrow();
}
