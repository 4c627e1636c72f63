// CBFile, CBFolder, their data blocks, and the factories that assemble them
// from parts already in hand.
#include "BrwsFileObjects.h"

#include "BrwsFileTime.h"
#include "BrwsIDList.h"
#include "shellmodel/ShellModelPrivate.h"

#include <memory>

const DWORD CBFile::sm_kdwDefAttribs = 0;
const DWORD CBFile::sm_kdwDefSize = 0;
const FILETIME CBFile::sm_koftDefCreation = {0, 0};
const FILETIME CBFile::sm_koftDefLastWrite = {0, 0};

CBShellData::CBShellData(bool bOwner) noexcept
    : m_pParentFolder(nullptr), m_pidlFull(nullptr), m_pidlRelative(nullptr),
      m_hwndOwner(nullptr), m_bOwner(bOwner)
{
}

CBShellData::~CBShellData()
{
    if (!m_bOwner)
        return;
    FreeShellMem(m_pidlFull);
    if (m_pParentFolder)
        m_pParentFolder->Release();
}

CBFile::CBFile()
    : m_nKind(eBKindNone), m_pFileData(nullptr), m_dwAttribs(sm_kdwDefAttribs),
      m_dwSize(sm_kdwDefSize), m_ftCreation(sm_koftDefCreation), m_ftLastWrite(sm_koftDefLastWrite)
{
}

CBFile::~CBFile()
{
    if (!m_pFileData)
        return;
    // Any other kind's record is not ours to interpret, so it is left alone.
    if (m_nKind == eBKindShell)
        delete m_pFileData->m_pShellFileData;
    else if (m_nKind == eBKindLink)
        delete m_pFileData->m_pLinkFileData;
    delete m_pFileData;
}

CBFolder::CBFolder() : m_nKind(eBKindNone), m_pFolderData(nullptr)
{
}

CBFolder::~CBFolder()
{
    if (!m_pFolderData)
        return;
    if (m_nKind == eBKindShell)
        delete m_pFolderData->m_pShellData;
    else if (m_nKind == eBKindLink)
        delete m_pFolderData->m_pLinkData;
    delete m_pFolderData;
}

CBFile* CreateShellFile(const wchar_t* pszName, const wchar_t* pszPath, const FILETIME* pftCreation,
                        const FILETIME* pftLastWrite, unsigned long dwAttribs, unsigned long dwSize)
{
    std::unique_ptr<CBFile> file(new CBFile);
    file->m_nKind = eBKindShell;
    file->m_strName = pszName;
    file->m_strPath = pszPath;
    if (pftCreation)
        CopyFileTime(&file->m_ftCreation, pftCreation);
    if (pftLastWrite)
        CopyFileTime(&file->m_ftLastWrite, pftLastWrite);
    file->m_dwAttribs = dwAttribs;
    file->m_dwSize = dwSize;
    return file.release();
}

CBFile* CopyBFile(const CBFile* pFile)
{
    return pFile && pFile->m_nKind == eBKindShell ? CopyShellFile(pFile) : nullptr;
}

CBFile* CopyShellFile(const CBFile* pFile)
{
    if (!pFile)
        return nullptr;
    std::unique_ptr<CBFile> file(new CBFile);
    file->m_nKind = eBKindShell;
    // The copy shares the source's text until either changes it.
    file->m_strName = pFile->m_strName;
    file->m_strPath = pFile->m_strPath;
    CopyFileTime(&file->m_ftCreation, &pFile->m_ftCreation);
    CopyFileTime(&file->m_ftLastWrite, &pFile->m_ftLastWrite);
    file->m_dwAttribs = pFile->m_dwAttribs;
    file->m_dwSize = pFile->m_dwSize;
    return file.release();
}

namespace {

LPITEMIDLIST RelativePartOf(LPITEMIDLIST pidlFull)
{
    return IsEmptyIDList(pidlFull) ? pidlFull : GetLastIDListOf(pidlFull);
}

// A folder of kind 1 with an empty shell data block. Its list and parent are
// stored only once nothing can throw any more, so that an exception leaves
// them with the caller.
std::unique_ptr<CBFolder> NewShellFolder(bool bOwner)
{
    std::unique_ptr<CBFolder> folder(new CBFolder);
    folder->m_nKind = eBKindShell;
    folder->m_pFolderData = new CBFolderData;
    folder->m_pFolderData->m_pShellData = new CBShellData(bOwner);
    return folder;
}

// What SHGetPathFromIDListW reports for the item, asked of the parent that we
// already hold: that call would bind every ancestor from the desktop down
// again, which costs a desktop.ini probe per ancestor and per child of a tree.
// Unlike it, a path of MAX_PATH characters or more comes back whole.
CString FileSystemPathOf(IShellFolder* pParent, LPCITEMIDLIST relative)
{
    SFGAOF attributes = SFGAO_FILESYSTEM;
    if (FAILED(pParent->GetAttributesOf(1, &relative, &attributes)) ||
        !(attributes & SFGAO_FILESYSTEM))
        return CString();
    return GetNameOf(pParent, relative, SHGDN_FORPARSING);
}

} // namespace

CBFolder* CreateShellFolder(HWND hwndOwner, IShellFolder* pParent, LPITEMIDLIST pidlFull, bool bOwner)
{
    if (!pParent || !pidlFull)
        return nullptr;
    return CreateShellFolderAt(hwndOwner, pParent, pidlFull, bOwner,
                               FileSystemPathOf(pParent, RelativePartOf(pidlFull)));
}

CBFolder* CreateShellFolderAt(HWND hwndOwner, IShellFolder* pParent, LPITEMIDLIST pidlFull, bool bOwner,
                              const CString& strPath)
{
    if (!pParent || !pidlFull)
        return nullptr;
    LPITEMIDLIST pidlRelative = RelativePartOf(pidlFull);
    std::unique_ptr<CBFolder> folder = NewShellFolder(bOwner);
    folder->m_strPath = strPath;
    folder->m_strName = GetNameOf(pParent, pidlRelative, SHGDN_INFOLDER);

    CBShellData* pShell = folder->GetShellData();
    pShell->m_pParentFolder = pParent;
    pShell->m_pidlFull = pidlFull;
    pShell->m_pidlRelative = pidlRelative;
    pShell->m_hwndOwner = hwndOwner;
    return folder.release();
}

CBFolder* CreateShellClipFolder(HWND hwndOwner, LPITEMIDLIST pidlFull, const wchar_t* pszPath)
{
    if (!pidlFull)
        return nullptr;
    std::unique_ptr<CBFolder> folder = NewShellFolder(true);
    folder->m_strPath = pszPath;

    CBShellData* pShell = folder->GetShellData();
    pShell->m_pidlFull = pidlFull;
    pShell->m_pidlRelative = RelativePartOf(pidlFull);
    pShell->m_hwndOwner = hwndOwner;
    return folder.release();
}

CBFolder* CopyBFolder(const CBFolder* pFolder)
{
    return pFolder && pFolder->m_nKind == eBKindShell ? CopyShellFolder(pFolder) : nullptr;
}

CBFolder* CopyShellFolder(const CBFolder* pFolder)
{
    const CBShellData* pShell = pFolder ? pFolder->GetShellData() : nullptr;
    if (!pShell || !pShell->m_pParentFolder || !pShell->m_pidlFull)
        return nullptr;
    CIDListHolder pidlCopy(CopyIDList(pShell->m_pidlFull));
    if (!pidlCopy)
        return nullptr;
    CShellFolderHolder parent = CShellFolderHolder::Share(pShell->m_pParentFolder);
    CBFolder* pCopy = CreateShellFolder(pShell->m_hwndOwner, parent.Get(), pidlCopy.Get(), true);
    if (pCopy)
    {
        parent.Detach();
        pidlCopy.Detach();
    }
    return pCopy;
}
