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

[[noreturn]] void Raise(ZarnErrorCode code)
{
    throw CZException(code, nullptr, false, false, nullptr, 0);
}

// The Escape key is down now. The asynchronous state, because no message is
// read while names are searched, so the thread's own key state would not
// see a key pressed meanwhile.
bool IsEscapeHeld()
{
    return (::GetAsyncKeyState(VK_ESCAPE) & 0x8000) != 0;
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
    if (pSrcFolder == nullptr || pDestFolder == nullptr || pSrcFolder->m_strPath.IsEmpty() ||
        pDestFolder->m_strPath.IsEmpty() || files.IsEmpty())
        return fileops::Failure(ZEC_INVALID_ARGUMENTS);
    return CopyFSFiles(bCopy, hWnd, pSrcFolder, files, pDestFolder, pNotFound, pNewFiles);
}

CErrorAutoThrow CopyFSFiles(int bCopy, HWND hWnd, const CBFolder* pSrcFolder, const CList<CBFile*, CBFile*>& files,
                            const CBFolder* pDestFolder, CList<CBFile*, CBFile*>* pNotFound,
                            CList<CBFile*, CBFile*>* pNewFiles)
{
    using namespace fileops;
    // Output lists that are the input, or one another, would be walked while they grow.
    if (pSrcFolder == nullptr || pDestFolder == nullptr || pSrcFolder->m_strPath.IsEmpty() ||
        pDestFolder->m_strPath.IsEmpty() || files.IsEmpty() || pNotFound == &files || pNewFiles == &files ||
        (pNewFiles != nullptr && pNewFiles == pNotFound))
        return Failure(ZEC_INVALID_ARGUMENTS);

    const CString& strSrc = pSrcFolder->m_strPath;
    const CString& strDest = pDestFolder->m_strPath;
    const bool bSameFolder = IsSameFolder(strSrc, strDest);
    // The shell would take a missing destination for the name of a single
    // copy, or make the folder, instead of failing.
    if (!bSameFolder && !IsExistingFolder(strDest))
        return Failure(ZEC_FILES_NOT_FOUND);

    CString strNames;
    CBFileList found;
    CErrorAutoThrow gathered =
        GatherNamesOrAsk(bCopy ? eBFileOpCopy : eBFileOpMove, strSrc, files, &strNames, &found, pNotFound);
    if (gathered.HasError())
        return gathered;

    CString strDestDir = FolderPath(pDestFolder);
    AddPathBackslash(strDestDir);
    CString strSrcDir = FolderPath(pSrcFolder);
    AddPathBackslash(strSrcDir);
    CNewFileList made;

    // A move into the folder the files are in changes nothing; the shell
    // would only report that source and target are the same.
    if (bSameFolder && !bCopy)
    {
        POSITION pos = found.GetHeadPosition();
        while (pos != nullptr)
        {
            const CBFile* pFile = found.GetNext(pos);
            made.List().AddTail(
                CreateShellFile(pFile->m_strName, strDestDir + pFile->m_strName, nullptr, nullptr, 0, 0));
        }
        if (pNewFiles != nullptr)
            made.HandTo(pNewFiles);
        return CErrorAutoThrow();
    }

    CNameBlock from(CreateDoubleNullList(strNames));
    if (!from)
        return Failure(ZEC_NAME_BLOCK_FAILED);

    CErrorAutoThrow result;
    try
    {
        // One target per file for copies into the source folder (their new
        // names) and for every move (some shells refuse to move several files
        // to a single folder target); other copies name the folder once.
        const bool bOneTargetPerFile = bSameFolder || !bCopy;
        CString strTargets;
        std::vector<CString> sources;
        POSITION pos = found.GetHeadPosition();
        CWaitCursorScope searchWait;
        if (bSameFolder)
            searchWait.emplace();
        while (pos != nullptr)
        {
            const CBFile* pFile = found.GetNext(pos);
            CString strNewName = pFile->m_strName;
            if (bSameFolder && !GetFirstUniqueCopyFileName(strDest, strNewName))
                Raise(ZEC_NO_UNIQUE_NAME);
            if (bOneTargetPerFile)
                strTargets += strDestDir + strNewName + L'\n';
            sources.push_back(strSrcDir + pFile->m_strName);
            made.List().AddTail(CreateShellFile(strNewName, strDestDir + strNewName, nullptr, nullptr, 0, 0));
        }
        searchWait.reset();
        if (!bOneTargetPerFile)
            strTargets = strDest + L'\n';

        CNameBlock to(CreateDoubleNullList(strTargets));
        if (!to)
            Raise(ZEC_NAME_BLOCK_FAILED);

        // A target that was there before proves nothing when the user
        // declined to replace it.
        std::vector<bool> existedBefore;
        pos = made.List().GetHeadPosition();
        while (pos != nullptr)
            existedBefore.push_back(DoesFileNotExist(made.List().GetNext(pos)->m_strPath) == 0);

        CShellResult shell = RunShellOperation(hWnd, bCopy ? FO_COPY : FO_MOVE, from.get(), to.get(),
                                               bOneTargetPerFile ? FOF_MULTIDESTFILES | FOF_ALLOWUNDO
                                                                 : FOF_ALLOWUNDO);
        const bool bComplete = !shell.bAborted && shell.nResult == 0;

        // Only files that are at their target now (and, for a move, gone from
        // where they were) are handed back.
        bool bAllArrived = true;
        size_t index = 0;
        pos = made.List().GetHeadPosition();
        while (pos != nullptr)
        {
            POSITION current = pos;
            CBFile* pNew = made.List().GetNext(pos);
            const bool bArrived = DoesFileNotExist(pNew->m_strPath) == 0 &&
                                  (bCopy || DoesFileNotExist(sources[index]) != 0);
            bAllArrived = bAllArrived && bArrived;
            if (!bArrived || (existedBefore[index] && !bComplete))
            {
                made.List().RemoveAt(current);
                delete pNew;
            }
            ++index;
        }
        if (pNewFiles != nullptr)
            made.HandTo(pNewFiles);

        if (shell.bAborted)
            Raise(ZEC_USER_STOPPED);
        if (shell.nResult != 0 || !bAllArrived)
            Raise(ZEC_SHELL_OP_FAILED);
    }
    catch (CZException& e)
    {
        result = CErrorAutoThrow(e);
    }
    return result;
}
