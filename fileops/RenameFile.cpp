// Rename of one file inside its folder through the shell, checked on disk.
#include "fileops/FileOpsInternal.h"

#include "BrwsFileOpDlg.h"
#include "BrwsFileTime.h"
#include "fileutil/PathInternal.h"
#include "fileutil/ScopedHandle.h"

namespace {

[[noreturn]] void Raise(ZarnErrorCode code)
{
    throw CZException(code, nullptr, false, false, nullptr, 0);
}

bool AreRenameArgumentsValid(const CBFolder* pFolder, const CBFile& file, const wchar_t* pszNewName,
                             CBFile** ppNewFile)
{
    // The new name must stay a name inside the folder: a separator, colon,
    // line feed, "." or ".." would move the file elsewhere or break the
    // shell's name block.
    return pFolder != nullptr && !pFolder->m_strPath.IsEmpty() && !file.m_strName.IsEmpty() &&
           IsPlainFileName(pszNewName) && ppNewFile != nullptr && *ppNewFile == nullptr;
}

// The entry's name as the file system spells it, or empty when none matches.
CString NameOnDisk(const CString& strPath)
{
    WIN32_FIND_DATAW data;
    CScopedFindHandle find(::FindFirstFileW(strPath, &data));
    return find.IsValid() ? CString(data.cFileName) : CString();
}

// Both paths open the same file (a case-sensitive folder may hold two files
// whose names differ only in case).
bool IsSameFile(const CString& strFirst, const CString& strSecond)
{
    BY_HANDLE_FILE_INFORMATION info[2];
    const CString* paths[2] = {&strFirst, &strSecond};
    for (int i = 0; i < 2; ++i)
    {
        CScopedFileHandle file(::CreateFileW(*paths[i], 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                             nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
        if (!file.IsValid() || !::GetFileInformationByHandle(file.Get(), &info[i]))
            return false;
    }
    return info[0].dwVolumeSerialNumber == info[1].dwVolumeSerialNumber &&
           info[0].nFileIndexHigh == info[1].nFileIndexHigh && info[0].nFileIndexLow == info[1].nFileIndexLow;
}

// Changes only the case of a file's name when the shell left it as it was
// (some file systems take a move onto the same name as nothing to do): first
// directly, then by way of a free temporary name, putting the old name back
// if the second step fails. True when the name on disk reads as asked.
bool ChangeCaseOnDisk(const CString& strDir, const CString& strOldPath, const wchar_t* pszNewName)
{
    const CString strNewPath = strDir + pszNewName;
    if (NameOnDisk(strNewPath) == pszNewName)
        return true;
    // Another file whose name differs only in case (a case-sensitive folder)
    // must never be touched.
    if (!IsSameFile(strOldPath, strNewPath))
        return false;
    if (::MoveFileW(strOldPath, strNewPath) && NameOnDisk(strNewPath) == pszNewName)
        return true;
    for (int n = 1; n < 100; ++n)
    {
        CString strTemp;
        strTemp.Format(L"%s~%d.tmp", static_cast<LPCWSTR>(strNewPath), n);
        // MoveFileW never replaces an existing file, so a taken name only fails.
        if (!::MoveFileW(strOldPath, strTemp))
            continue;
        if (::MoveFileW(strTemp, strNewPath) && NameOnDisk(strNewPath) == pszNewName)
            return true;
        if (DoesFileNotExist(strTemp) == 0)
            ::MoveFileW(strTemp, strOldPath);
        return false;
    }
    return false;
}

} // namespace

CErrorAutoThrow RenameBFile(HWND hWnd, const CBFolder* pFolder, const CBFile& file, const wchar_t* pszNewName,
                            CBFile** ppNewFile)
{
    if (!AreRenameArgumentsValid(pFolder, file, pszNewName, ppNewFile))
        return fileops::Failure(ZEC_INVALID_ARGUMENTS);
    return RenameFSFile(hWnd, pFolder, file, pszNewName, ppNewFile);
}

CErrorAutoThrow RenameFSFile(HWND hWnd, const CBFolder* pFolder, const CBFile& file, const wchar_t* pszNewName,
                             CBFile** ppNewFile)
{
    using namespace fileops;
    if (!AreRenameArgumentsValid(pFolder, file, pszNewName, ppNewFile))
        return Failure(ZEC_INVALID_ARGUMENTS);

    // The same folder text as the source path gets, so that the shell sees
    // source and target in one folder.
    CString strDir = FolderPath(pFolder);
    AddPathBackslash(strDir);
    const CString strNewPath = strDir + pszNewName;

    CWaitCursorScope wait(std::in_place);
    CBFileList one;
    one.AddTail(const_cast<CBFile*>(&file));
    CBFileList notFound;
    CString strNames;
    CErrorAutoThrow names = BuildNameString(pFolder->m_strPath, one, &strNames, &notFound, nullptr);
    const ZarnErrorCode nameCode = names;
    if (nameCode != ZEC_NO_ERROR && nameCode != ZEC_FILES_NOT_FOUND)
        return names;
    wait.reset();
    if (!notFound.IsEmpty())
    {
        // Only tells the user; there is nothing left to go on with.
        DisplayFileOpEmptyFilesPrompt(eBFileOpRename, 0, pFolder->m_strPath, notFound);
        return Failure(ZEC_FILES_NOT_FOUND);
    }
    const CString strOldPath = strDir + file.m_strName;

    CErrorAutoThrow result;
    try
    {
        CNameBlock from(CreateDoubleNullList(strNames));
        CNameBlock to(CreateDoubleNullList(strNewPath + L'\n'));
        if (!from || !to)
            Raise(ZEC_NAME_BLOCK_FAILED);
        RunShellOperation(hWnd, FO_RENAME, from.get(), to.get(), FOF_ALLOWUNDO);

        if (strNewPath.CompareNoCase(strOldPath) == 0)
        {
            // Existence proves nothing when only the case changes: the name on
            // disk must read as asked. Some shells refuse such a rename as a
            // clash of the file with itself.
            const bool bShellDidIt = NameOnDisk(strNewPath) == pszNewName;
            if (!bShellDidIt && !ChangeCaseOnDisk(strDir, strOldPath, pszNewName))
                Raise(ZEC_RENAME_FAILED);
            if (!bShellDidIt)
                ::SHChangeNotify(SHCNE_RENAMEITEM, SHCNF_PATHW, static_cast<LPCWSTR>(strOldPath),
                                 static_cast<LPCWSTR>(strNewPath));
        }
        else if (DoesFileNotExist(strOldPath) == 0 || DoesFileNotExist(strNewPath) != 0)
        {
            Raise(ZEC_RENAME_FAILED);
        }

        *ppNewFile = CreateShellFile(pszNewName, strNewPath, &file.m_ftCreation, &file.m_ftLastWrite,
                                     file.m_dwAttribs, file.m_dwSize);
    }
    catch (CZException& e)
    {
        result = CErrorAutoThrow(e);
    }
    return result;
}
