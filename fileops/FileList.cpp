// File lists, the line-separated path strings and the shell's double-null
// name blocks, and the helpers the operations share.
#include "fileops/FileOpsInternal.h"

#include <new>
#include <set>
#include <string>

#include "BrwsFileTime.h"
#include "BrwsPathUtil.h"
#include "fileutil/PathInternal.h"

namespace fileops {

void Raise(ZarnErrorCode code)
{
    throw CZException(code, nullptr, false, false, nullptr, 0);
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

CNameBlock MakeNameBlock(const CString& strNames)
{
    CNameBlock block(CreateDoubleNullList(strNames));
    if (!block)
        Raise(ZEC_NAME_BLOCK_FAILED);
    return block;
}

void CNewFileList::HandTo(CBFileList* pDest)
{
    while (pDest != nullptr && !m_list.IsEmpty())
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

bool CollectNames(const wchar_t* pszFolder, const CBFileList& files, CString* pstrNames, CBFileList* pNotFound,
                  CBFileList* pFound)
{
    CString strFolder = pszFolder != nullptr ? pszFolder : L"";
    // A not-found list that is the input itself would grow while it is walked.
    if ((pstrNames == nullptr && pNotFound == nullptr) || strFolder.IsEmpty() || files.IsEmpty() ||
        pNotFound == &files)
        Raise(ZEC_INVALID_ARGUMENTS);
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
        return false;
    strNames += L'\n';
    if (pstrNames != nullptr)
        *pstrNames = strNames;
    return true;
}

void GatherNamesOrAsk(EBFileOp eOp, const CString& strFolder, const CBFileList& files, CString* pstrNames,
                      CBFileList* pFound, CBFileList* pNotFound)
{
    CWaitCursorScope wait(std::in_place);
    CBFileList notFound;
    const bool bAnyFound = CollectNames(strFolder, files, pstrNames, &notFound, pFound);
    if (!notFound.IsEmpty() && pNotFound != nullptr)
        pNotFound->AddTail(&notFound);
    wait.reset();

    if (!notFound.IsEmpty() && !AskToGoOn(eOp, bAnyFound, strFolder, notFound))
        Raise(ZEC_USER_STOPPED);
    // Only null entries: nothing to show, nothing to do.
    if (!bAnyFound)
        Raise(ZEC_FILES_NOT_FOUND);
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
    return fileops::ResultOf([&] {
        if (!fileops::CollectNames(pszFolder, files, pstrNames, pNotFound, nullptr))
            fileops::Raise(ZEC_FILES_NOT_FOUND);
    });
}
