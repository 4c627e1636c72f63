// Copy and move through the shell, with free names for copies made in the
// folder the files come from.
#include "fileops/FileOpsInternal.h"

#include <vector>

#include "BrwsFileTime.h"
#include "BrwsPathUtil.h"
#include "fileutil/PathInternal.h"
#include "resources/BrwsResourceIds.h"

namespace {

const int kMaxCopyNumber = 500; // candidates 1 to 499

// The Escape key is down now. The asynchronous state, because no message is
// read while names are searched, so the thread's own key state would not
// see a key pressed meanwhile.
bool IsEscapeHeld()
{
    return (::GetAsyncKeyState(VK_ESCAPE) & 0x8000) != 0;
}

using namespace fileops;

// One file of a copy or move, as planned before the shell runs.
struct CTransfer
{
    CString strSource;         // the file's full path now
    CString strName;           // its name at the target
    CString strTarget;         // its full path at the target
    bool bTargetTaken = false; // something was at strTarget before the shell ran
};

// What the shell is asked to do, file by file in input order.
struct CTransferPlan
{
    std::vector<CTransfer> transfers;
    CString strTargets; // the shell's target names, each ended by a line feed
    FILEOP_FLAGS fFlags = FOF_ALLOWUNDO;
};

// Raises ZEC_INVALID_ARGUMENTS for the arguments a copy or move refuses.
void CheckCopyArguments(const CBFolder* pSrcFolder, const CBFileList& files, const CBFolder* pDestFolder,
                        const CBFileList* pNotFound, const CBFileList* pNewFiles)
{
    // Output lists that are the input, or one another, would be walked while they grow.
    if (pSrcFolder == nullptr || pDestFolder == nullptr || pSrcFolder->m_strPath.IsEmpty() ||
        pDestFolder->m_strPath.IsEmpty() || files.IsEmpty() || pNotFound == &files || pNewFiles == &files ||
        (pNewFiles != nullptr && pNewFiles == pNotFound))
        Raise(ZEC_INVALID_ARGUMENTS);
}

// Where each found file goes. Copies into their own folder get free names,
// searched with the wait cursor up; ZEC_NO_UNIQUE_NAME is raised when a file
// has none.
CTransferPlan PlanTransfers(bool bCopy, bool bSameFolder, const CBFileList& found, const CBFolder* pSrcFolder,
                            const CBFolder* pDestFolder)
{
    CString strSrcDir = FolderPath(pSrcFolder);
    AddPathBackslash(strSrcDir);
    CString strDestDir = FolderPath(pDestFolder);
    AddPathBackslash(strDestDir);
    const bool bNewNames = bSameFolder && bCopy;
    // One target per file for copies into the source folder (their new
    // names) and for every move (some shells refuse to move several files
    // to a single folder target); other copies name the folder once.
    const bool bOneTargetPerFile = bSameFolder || !bCopy;

    CTransferPlan plan;
    CWaitCursorScope searchWait;
    if (bNewNames)
        searchWait.emplace();
    POSITION pos = found.GetHeadPosition();
    while (pos != nullptr)
    {
        const CBFile* pFile = found.GetNext(pos);
        CTransfer transfer;
        transfer.strSource = strSrcDir + pFile->m_strName;
        transfer.strName = pFile->m_strName;
        if (bNewNames && !GetFirstUniqueCopyFileName(pDestFolder->m_strPath, transfer.strName))
            Raise(ZEC_NO_UNIQUE_NAME);
        transfer.strTarget = strDestDir + transfer.strName;
        if (bOneTargetPerFile)
            plan.strTargets += transfer.strTarget + L'\n';
        plan.transfers.push_back(transfer);
    }
    if (!bOneTargetPerFile)
        plan.strTargets = pDestFolder->m_strPath + L'\n';
    plan.fFlags = bOneTargetPerFile ? FOF_MULTIDESTFILES | FOF_ALLOWUNDO : FOF_ALLOWUNDO;
    return plan;
}

// Notes what is at each target now, then hands the whole plan to the shell
// in one call.
CShellResult RunTransfers(HWND hWnd, bool bCopy, const CNameBlock& from, CTransferPlan& plan)
{
    CNameBlock to = MakeNameBlock(plan.strTargets);
    for (CTransfer& transfer : plan.transfers)
        transfer.bTargetTaken = DoesFileNotExist(transfer.strTarget) == 0;
    return RunShellOperation(hWnd, bCopy ? FO_COPY : FO_MOVE, from.get(), to.get(), plan.fFlags);
}

// The new object the caller gets for a file at its target.
CBFile* NewFileAt(const CTransfer& transfer)
{
    return CreateShellFile(transfer.strName, transfer.strTarget, nullptr, nullptr, 0, 0);
}

// Adds to arrived, in plan order, a new object for each file that is at its
// target now (and, for a move, gone from where it was); true when all are.
bool CollectArrivals(bool bCopy, const CTransferPlan& plan, bool bShellComplete, CNewFileList& arrived)
{
    bool bAllArrived = true;
    for (const CTransfer& transfer : plan.transfers)
    {
        const bool bArrived = DoesFileNotExist(transfer.strTarget) == 0 &&
                              (bCopy || DoesFileNotExist(transfer.strSource) != 0);
        bAllArrived = bAllArrived && bArrived;
        // A target that was there before proves nothing when the user
        // declined to replace it.
        if (bArrived && (bShellComplete || !transfer.bTargetTaken))
            arrived.List().AddTail(NewFileAt(transfer));
    }
    return bAllArrived;
}

// The copy or move of CopyFSFiles; raises what ends it.
void CopyInFolder(bool bCopy, HWND hWnd, const CBFolder* pSrcFolder, const CBFileList& files,
                  const CBFolder* pDestFolder, CBFileList* pNotFound, CBFileList* pNewFiles)
{
    CheckCopyArguments(pSrcFolder, files, pDestFolder, pNotFound, pNewFiles);
    const bool bSameFolder = IsSameFolder(pSrcFolder->m_strPath, pDestFolder->m_strPath);
    // The shell would take a missing destination for the name of a single
    // copy, or make the folder, instead of failing.
    if (!bSameFolder && !IsExistingFolder(pDestFolder->m_strPath))
        Raise(ZEC_FILES_NOT_FOUND);

    CString strNames;
    CBFileList found;
    GatherNamesOrAsk(bCopy ? eBFileOpCopy : eBFileOpMove, pSrcFolder->m_strPath, files, &strNames, &found,
                     pNotFound);
    CNewFileList arrived;
    if (bSameFolder && !bCopy)
    {
        // A move into the folder the files are in changes nothing; the shell
        // would only report that source and target are the same.
        for (const CTransfer& transfer : PlanTransfers(false, true, found, pSrcFolder, pDestFolder).transfers)
            arrived.List().AddTail(NewFileAt(transfer));
        arrived.HandTo(pNewFiles);
        return;
    }

    CNameBlock from = MakeNameBlock(strNames);
    CTransferPlan plan = PlanTransfers(bCopy, bSameFolder, found, pSrcFolder, pDestFolder);
    const CShellResult shell = RunTransfers(hWnd, bCopy, from, plan);
    const bool bAllArrived = CollectArrivals(bCopy, plan, !shell.bAborted && shell.nResult == 0, arrived);
    arrived.HandTo(pNewFiles);
    if (shell.bAborted)
        Raise(ZEC_USER_STOPPED);
    if (shell.nResult != 0 || !bAllArrived)
        Raise(ZEC_SHELL_OP_FAILED);
}

} // namespace

int GetFirstUniqueCopyFileName(CString strFolder, CString& strName)
{
    CString strFirst;
    CString strNumbered;
    strFirst.LoadStringW(IDS_BRWS_COPY_NAME_FIRST);
    strNumbered.LoadStringW(IDS_BRWS_COPY_NAME_NUMBERED);
    AddPathBackslash(strFolder);

    CString strBase = strName;
    CString strExt;
    int nExt = GetFileNameExtIndex(strName);
    if (nExt > 0)
    {
        strBase = strName.Left(nExt - 1);
        strExt = strName.Mid(nExt - 1);
    }

    CString strCandidate;
    bool bFound = false;
    for (int n = 1; n < kMaxCopyNumber; ++n)
    {
        if (IsEscapeHeld())
            break;
        CString strNext;
        if (!ExpandNamePattern(n == 1 ? strFirst : strNumbered, &strBase, n == 1 ? nullptr : &n, strNext))
            break;
        strNext += strExt;
        // A pattern must not lead the copy out of the folder.
        if (!IsPlainFileName(strNext))
            break;
        strCandidate = strNext;
        if (DoesFileNotExist(strFolder + strCandidate))
        {
            bFound = true;
            break;
        }
    }
    strName = strCandidate;
    return bFound ? 1 : 0;
}

CErrorAutoThrow CopyBFiles(int bCopy, HWND hWnd, const CBFolder* pSrcFolder, const CList<CBFile*, CBFile*>& files,
                           const CBFolder* pDestFolder, CList<CBFile*, CBFile*>* pNotFound,
                           CList<CBFile*, CBFile*>* pNewFiles)
{
    // Folders of any kind with a file-system path: the worker's own checks.
    return ResultOf([&] { CopyInFolder(bCopy != 0, hWnd, pSrcFolder, files, pDestFolder, pNotFound, pNewFiles); });
}

CErrorAutoThrow CopyFSFiles(int bCopy, HWND hWnd, const CBFolder* pSrcFolder, const CList<CBFile*, CBFile*>& files,
                            const CBFolder* pDestFolder, CList<CBFile*, CBFile*>* pNotFound,
                            CList<CBFile*, CBFile*>* pNewFiles)
{
    return ResultOf([&] { CopyInFolder(bCopy != 0, hWnd, pSrcFolder, files, pDestFolder, pNotFound, pNewFiles); });
}
