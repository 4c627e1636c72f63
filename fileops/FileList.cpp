// File lists, the line-separated path strings and the shell's double-null
// name blocks, and the helpers the operations share.
#include "fileops/FileOpsInternal.h"

#include <new>
#include <set>
#include <string>

#include "BrwsFileOpDlg.h"
#include "BrwsFileTime.h"
#include "BrwsPathUtil.h"
#include "fileutil/PathInternal.h"

namespace fileops {

CErrorAutoThrow Failure(ZarnErrorCode code)
{
    CErrorAutoThrow result;
    if (code != ZEC_NO_ERROR)
        result.SetError(code, nullptr, nullptr, 0);
    return result;
}

CString FolderPath(const CBFolder* pFolder)
{
    CString strPath;
    if (pFolder != nullptr)
        strPath = pFolder->m_strPath;
    RemovePathTrailer_Br(strPath);
    return strPath;
}

bool IsSameFolder(const CString& strFirst, const CString& strSecond)
{
    CString first = strFirst;
    CString second = strSecond;
    RemovePathTrailer_Br(first);
    RemovePathTrailer_Br(second);
    return first.CompareNoCase(second) == 0;
}

bool IsExistingFolder(const CString& strPath)
{
    DWORD dwAttribs = GetFileAttributesW(strPath);
    return dwAttribs != INVALID_FILE_ATTRIBUTES && (dwAttribs & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

void CNewFileList::HandTo(CBFileList* pDest)
{
    while (!m_list.IsEmpty())
    {
        pDest->AddTail(m_list.GetHead());
        m_list.RemoveHead();
    }
}

CShellResult RunShellOperation(HWND hWnd, UINT wFunc, const unsigned char* pFrom, const unsigned char* pTo,
                               FILEOP_FLAGS fFlags)
{
    SHFILEOPSTRUCTW op = {};
    op.hwnd = hWnd;
    op.wFunc = wFunc;
    op.pFrom = reinterpret_cast<LPCWSTR>(pFrom);
    op.pTo = reinterpret_cast<LPCWSTR>(pTo);
    op.fFlags = fFlags;
    CShellResult result;
    result.nResult = SHFileOperationW(&op);
    result.bAborted = op.fAnyOperationsAborted;
    return result;
}

CErrorAutoThrow BuildNameString(const wchar_t* pszFolder, const CBFileList& files, CString* pstrNames,
                                CBFileList* pNotFound, CBFileList* pFound)
{
    CString strFolder = pszFolder != nullptr ? pszFolder : L"";
    // A not-found list that is the input itself would grow while it is walked.
    if ((pstrNames == nullptr && pNotFound == nullptr) || strFolder.IsEmpty() || files.IsEmpty() ||
        pNotFound == &files)
        return Failure(ZEC_INVALID_ARGUMENTS);
    if (pstrNames != nullptr)
        pstrNames->Empty();

    RemovePathTrailer_Br(strFolder);
    bool bFolderMissing = DoesFileNotExist(strFolder) != 0;
    AddPathBackslash(strFolder);

    CString strNames;
    // Workers hand each path to the shell once: a second copy of a name would
    // meet its own first copy (a replace prompt) or a file already deleted.
    std::set<std::wstring> seen;
    POSITION pos = files.GetHeadPosition();
    while (pos != nullptr)
    {
        CBFile* pFile = files.GetNext(pos);
        if (pFile == nullptr)
            continue; // not a file: neither found nor missing
        // A name that could reach outside the folder is never looked up.
        bool bFound = !bFolderMissing && IsPlainFileName(pFile->m_strName);
        if (bFound)
        {
            CString strFull = strFolder + pFile->m_strName;
            bFound = DoesFileNotExist(strFull) == 0;
            if (bFound && pFound != nullptr)
            {
                CString strKey = strFull;
                strKey.MakeUpper();
                if (!seen.insert(std::wstring(strKey)).second)
                    continue;
            }
            if (bFound)
            {
                strNames += strFull;
                strNames += L'\n';
                if (pFound != nullptr)
                    pFound->AddTail(pFile);
            }
        }
        if (!bFound && pNotFound != nullptr)
            pNotFound->AddTail(pFile);
    }
    if (strNames.IsEmpty())
        return Failure(ZEC_FILES_NOT_FOUND);
    strNames += L'\n';
    if (pstrNames != nullptr)
        *pstrNames = strNames;
    return CErrorAutoThrow();
}

CErrorAutoThrow GatherNamesOrAsk(EBFileOp eOp, const CString& strFolder, const CBFileList& files,
                                 CString* pstrNames, CBFileList* pFound, CBFileList* pNotFound)
{
    CWaitCursorScope wait(std::in_place);
    CBFileList notFound;
    CErrorAutoThrow names = BuildNameString(strFolder, files, pstrNames, &notFound, pFound);
    const ZarnErrorCode nameCode = names;
    if (nameCode != ZEC_NO_ERROR && nameCode != ZEC_FILES_NOT_FOUND)
        return names;
    if (!notFound.IsEmpty() && pNotFound != nullptr)
        pNotFound->AddTail(&notFound);
    wait.reset();

    if (!notFound.IsEmpty())
    {
        CErrorAutoThrow answer =
            DisplayFileOpEmptyFilesPrompt(eOp, nameCode != ZEC_FILES_NOT_FOUND, strFolder, notFound);
        if (answer.HasError())
            return answer;
    }
    return names; // ZEC_FILES_NOT_FOUND for only null entries: nothing to show, nothing to do
}

} // namespace fileops

void FreeBFileList(CList<CBFile*, CBFile*>* pList)
{
    while (!pList->IsEmpty())
        delete pList->RemoveHead();
}

unsigned char* CreateDoubleNullList(const CString& strNames)
{
    int nLength = strNames.GetLength();
    if (nLength < 2)
        return nullptr;
    // Allocated as the byte array that the caller deletes, holding wide text.
    unsigned char* pBlock = new (std::nothrow) unsigned char[(nLength + 1) * sizeof(wchar_t)];
    if (pBlock == nullptr)
        return nullptr;
    wchar_t* pText = reinterpret_cast<wchar_t*>(pBlock);
    const wchar_t* pSource = strNames;
    for (int i = 0; i < nLength; ++i)
        pText[i] = pSource[i] == L'\n' ? L'\0' : pSource[i];
    pText[nLength] = L'\0';
    return pBlock;
}

CErrorAutoThrow CreateFileOpFileNameString(const wchar_t* pszFolder, const CList<CBFile*, CBFile*>& files,
                                           CString* pstrNames, CList<CBFile*, CBFile*>* pNotFound)
{
    return fileops::BuildNameString(pszFolder, files, pstrNames, pNotFound, nullptr);
}
