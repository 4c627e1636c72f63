// Rename of one file inside its folder through the shell, checked on disk.
#include "fileops/FileOpsInternal.h"

#include "BrwsFileOpDlg.h"
#include "BrwsFileTime.h"
#include "fileutil/PathInternal.h"
#include "module/Holders.h"

namespace {

using namespace fileops;

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

// The shell's source names for file (its full path in the folder), or, after
// telling the user that it is gone, ZEC_FILES_NOT_FOUND raised.
CString ExistingSourceNames(const CBFolder* pFolder, const CBFile& file)
{
    CWaitCursorScope wait(std::in_place);
    CBFileList one;
    one.AddTail(const_cast<CBFile*>(&file));
    CBFileList notFound;
    CString strNames;
    CollectNames(pFolder->m_strPath, one, &strNames, &notFound, nullptr);
    wait.reset();
    if (!notFound.IsEmpty())
    {
        // Only tells the user; there is nothing left to go on with.
        AskToGoOn(eBFileOpRename, 0, pFolder->m_strPath, notFound);
        Raise(ZEC_FILES_NOT_FOUND);
    }
    return strNames;
}

// Raises ZEC_RENAME_FAILED unless the file that was at strOldPath is now
// named pszNewName at strNewPath.
void CheckRenamed(const CString& strDir, const CString& strOldPath, const CString& strNewPath,
                  const wchar_t* pszNewName)
{
    if (strNewPath.CompareNoCase(strOldPath) != 0)
    {
        if (DoesFileNotExist(strOldPath) == 0 || DoesFileNotExist(strNewPath) != 0)
            Raise(ZEC_RENAME_FAILED);
        return;
    }
    // Existence proves nothing when only the case changes: the name on disk
    // must read as asked. Some shells refuse such a rename as a clash of the
    // file with itself.
    if (NameOnDisk(strNewPath) == pszNewName)
        return;
    if (!ChangeCaseOnDisk(strDir, strOldPath, pszNewName))
        Raise(ZEC_RENAME_FAILED);
    ::SHChangeNotify(SHCNE_RENAMEITEM, SHCNF_PATHW, static_cast<LPCWSTR>(strOldPath),
                     static_cast<LPCWSTR>(strNewPath));
}

// The rename of RenameFSFile; raises what ends it.
void RenameInFolder(HWND hWnd, const CBFolder* pFolder, const CBFile& file, const wchar_t* pszNewName,
                    CBFile** ppNewFile)
{
    if (!AreRenameArgumentsValid(pFolder, file, pszNewName, ppNewFile))
        Raise(ZEC_INVALID_ARGUMENTS);

    // The same folder text as the source path gets, so that the shell sees
    // source and target in one folder.
    CString strDir = FolderPath(pFolder);
    AddPathBackslash(strDir);
    const CString strNewPath = strDir + pszNewName;
    const CString strOldPath = strDir + file.m_strName;

    CNameBlock from = MakeNameBlock(ExistingSourceNames(pFolder, file));
    CNameBlock to = MakeNameBlock(strNewPath + L'\n');
    RunShellOperation(hWnd, FO_RENAME, from.get(), to.get(), FOF_ALLOWUNDO);
    CheckRenamed(strDir, strOldPath, strNewPath, pszNewName);

    *ppNewFile = CreateShellFile(pszNewName, strNewPath, &file.m_ftCreation, &file.m_ftLastWrite,
                                 file.m_dwAttribs, file.m_dwSize);
}

} // namespace

CErrorAutoThrow RenameBFile(HWND hWnd, const CBFolder* pFolder, const CBFile& file, const wchar_t* pszNewName,
                            CBFile** ppNewFile)
{
    // The folder's kind is not looked at: the same checks as the worker's.
    return ResultOf([&] { RenameInFolder(hWnd, pFolder, file, pszNewName, ppNewFile); });
}

CErrorAutoThrow RenameFSFile(HWND hWnd, const CBFolder* pFolder, const CBFile& file, const wchar_t* pszNewName,
                             CBFile** ppNewFile)
{
    return ResultOf([&] { RenameInFolder(hWnd, pFolder, file, pszNewName, ppNewFile); });
}
