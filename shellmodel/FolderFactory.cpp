// Shell folder factories and drive queries. Each factory asks the shell for the
// parent interface that the base factory needs and ends in it; the holders
// give back every list and reference on the paths that return null.
#include "BrwsFolderFactory.h"

#include "BrwsIDList.h"
#include "fileutil/PathInternal.h"
#include "shellmodel/ShellModelPrivate.h"
#include "module/DetachedThread.h"
#include "BrwsFileTime.h"

#include <memory>

namespace {

// The parsing name of the desktop's virtual documents item.
const wchar_t kDocumentsItem[] = L"::{450d8fba-ad25-11d0-98a8-0800361b1103}";

// The folder that contains the item named by the absolute list pidlFull.
CShellFolderHolder BindParentOf(LPCITEMIDLIST pidlFull)
{
    CShellFolderHolder desktop = GetDesktopFolder();
    if (!desktop || GetNumSegmentsOf(pidlFull) == 1)
        return desktop;
    // The empty list's parent list is empty again, which binds the desktop itself.
    CIDListHolder pidlParent(CreateParentIDList(pidlFull));
    if (!pidlParent)
        return CShellFolderHolder();
    CShellFolderBind bind(desktop.Get(), pidlParent.Get());
    return CShellFolderHolder(bind.Detach());
}

// The base factory over the bound parent of pidlFull; takes over pidlFull only
// when it returns a folder.
CBFolder* CreateWithBoundParent(HWND hwndOwner, LPITEMIDLIST pidlFull)
{
    CShellFolderHolder parent = BindParentOf(pidlFull);
    if (!parent)
        return nullptr;
    CBFolder* pFolder = CreateShellFolder(hwndOwner, parent.Get(), pidlFull, true);
    if (pFolder)
        parent.Detach();
    return pFolder;
}

// The same for a list made here, which is freed unless the folder took it.
CBFolder* CreateFromOwnList(HWND hwndOwner, CIDListHolder& pidl)
{
    CBFolder* pFolder = CreateWithBoundParent(hwndOwner, pidl.Get());
    if (pFolder)
        pidl.Detach();
    return pFolder;
}

// Whether a, over its first n characters, equals b ignoring case as the file
// system does (for every script, not only ASCII).
bool EqualNoCase(const wchar_t* a, const wchar_t* b, int n)
{
    return CompareStringOrdinal(a, n, b, n, TRUE) == CSTR_EQUAL;
}

// The part of pszPath below strDocuments, or null when pszPath does not lie
// strictly below it. The documents path must end at a separator of pszPath:
// "...\Documents" is no prefix of "...\DocumentsOld\x", whose rest "Old\x"
// would otherwise be found inside the documents folder.
const wchar_t* PathBelow(const wchar_t* pszPath, const CString& strDocuments)
{
    const int cchDocuments = strDocuments.GetLength();
    if (cchDocuments == 0 || static_cast<int>(wcsnlen(pszPath, cchDocuments + 1)) <= cchDocuments ||
        !EqualNoCase(pszPath, strDocuments, cchDocuments))
        return nullptr;
    const wchar_t* pszRest = pszPath + cchDocuments;
    if (*pszRest == L'\\')
        ++pszRest;
    else if (strDocuments[cchDocuments - 1] != L'\\')
        return nullptr;
    // A lone trailing separator names the documents folder itself, which the
    // plain parse finds at its place on disk.
    return *pszRest ? pszRest : nullptr;
}

// The folder of a path below the documents folder, its list running through
// the desktop's virtual documents item; null when the path is not below it or
// a step fails.
CBFolder* CreateThroughDocumentsItem(HWND hwndOwner, IShellFolder* pDesktop, const wchar_t* pszPath)
{
    CIDListHolder pidlDocuments;
    if (FAILED(SHGetSpecialFolderLocation(hwndOwner, CSIDL_PERSONAL, pidlDocuments.Receive())) ||
        !pidlDocuments)
        return nullptr;
    const CString strDocuments = GetNameOf(pDesktop, pidlDocuments.Get(), SHGDN_FORPARSING);
    const wchar_t* pszRest = PathBelow(pszPath, strDocuments);
    if (!pszRest)
        return nullptr;

    CIDListHolder pidlItem(ParseNameIn(pDesktop, hwndOwner, kDocumentsItem));
    if (!pidlItem)
        return nullptr;
    CShellFolderBind bind(pDesktop, pidlItem.Get());
    CShellFolderHolder documents(bind.Detach());
    if (!documents)
        return nullptr;
    // The rest is parsed as wide text: names outside the ANSI code page must
    // reach the parser intact.
    CIDListHolder pidlRelative(ParseNameIn(documents.Get(), nullptr, pszRest));
    if (!pidlRelative)
        return nullptr;
    CIDListHolder pidlFull(ConcatIDLists(pidlItem.Get(), pidlRelative.Get()));
    if (!pidlFull)
        return nullptr;
    return CreateFromOwnList(hwndOwner, pidlFull);
}

// "X:\" for a shell folder whose path starts with a drive letter; false otherwise.
bool DriveRootOf(const CBFolder* pFolder, wchar_t (&szRoot)[4])
{
    if (!pFolder || pFolder->m_nKind != eBKindShell || pFolder->m_strPath.GetLength() < 2 ||
        pFolder->m_strPath[1] != L':')
        return false;
    szRoot[0] = pFolder->m_strPath[0];
    szRoot[1] = L':';
    szRoot[2] = L'\\';
    szRoot[3] = L'\0';
    return true;
}

// Keeps the system's "cannot open file" boxes away while a drive is asked,
// then gives the process its error mode back.
class CErrorModeScope
{
public:
    CErrorModeScope() : m_uPrevious(SetErrorMode(SEM_NOOPENFILEERRORBOX)) {}
    ~CErrorModeScope() { SetErrorMode(m_uPrevious); }
    CErrorModeScope(const CErrorModeScope&) = delete;
    CErrorModeScope& operator=(const CErrorModeScope&) = delete;

private:
    UINT m_uPrevious;
};

bool IsRemovableType(UINT uType)
{
    return uType == DRIVE_REMOVABLE || uType == DRIVE_CDROM;
}

// The shell's parser may answer a path of MAX_PATH characters or more with the
// folder of its first 259 characters (Wine's does, when a folder of that
// shorter name exists): a folder that is another object on disk than the path
// asked for is no answer, and is deleted.
CBFolder* OnlyFolderOfPath(CBFolder* pFolder, const wchar_t* pszPath)
{
    if (pFolder && IsDriveOrNetworkPath(pszPath) && !pFolder->m_strPath.IsEmpty() &&
        !IsSameFileSystemObject(pszPath, pFolder->m_strPath))
    {
        delete pFolder;
        return nullptr;
    }
    return pFolder;
}

} // namespace

CBFolder* CreateShellDesktop(HWND hwndOwner)
{
    CShellFolderHolder desktop = GetDesktopFolder();
    if (!desktop)
        return nullptr;
    CIDListHolder pidl;
    if (FAILED(SHGetSpecialFolderLocation(hwndOwner, CSIDL_DESKTOP, pidl.Receive())) || !pidl)
        return nullptr;
    // The desktop is its own parent.
    CBFolder* pFolder = CreateShellFolder(hwndOwner, desktop.Get(), pidl.Get(), true);
    if (pFolder)
    {
        desktop.Detach();
        pidl.Detach();
    }
    return pFolder;
}

CBFolder* CreateShellFolder(HWND hwndOwner, const wchar_t* pszPath)
{
    CIDListHolder pidl(GetFullIDList(hwndOwner, pszPath));
    if (!pidl)
        return nullptr;
    return OnlyFolderOfPath(CreateFromOwnList(hwndOwner, pidl), pszPath);
}

LPITEMIDLIST ParseExistingPathWithin(const wchar_t* pszPath, DWORD dwLimitMs)
{
    // Shared with the thread, which may outlive this call.
    struct CLookup
    {
        CString strPath;
        CIDListHolder pidl;
        HANDLE hDone = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
        ~CLookup()
        {
            if (hDone)
                ::CloseHandle(hDone);
        }
    };
    auto lookup = std::make_shared<CLookup>();
    lookup->strPath = pszPath;
    if (!lookup->hDone || !StartDetachedThread([lookup] {
            const HRESULT hrInit = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
            if (!DoesFileNotExist(lookup->strPath))
                lookup->pidl.Reset(GetFullIDList(nullptr, lookup->strPath));
            ::SetEvent(lookup->hDone);
            if (SUCCEEDED(hrInit))
                ::CoUninitialize();
        }))
        return nullptr;
    if (::WaitForSingleObject(lookup->hDone, dwLimitMs) != WAIT_OBJECT_0)
        return nullptr;
    return lookup->pidl.Detach();
}

CBFolder* CreateShellFolderWithin(HWND hwndOwner, const wchar_t* pszPath, DWORD dwLimitMs)
{
    CIDListHolder pidl(ParseExistingPathWithin(pszPath, dwLimitMs));
    if (!pidl)
        return nullptr;
    return OnlyFolderOfPath(CreateFromOwnList(hwndOwner, pidl), pszPath);
}

CBFolder* CreateShellFolder(HWND hwndOwner, LPITEMIDLIST pidlFull, bool bOwner)
{
    if (!pidlFull)
        return nullptr;
    if (bOwner)
        return CreateWithBoundParent(hwndOwner, pidlFull);
    // A folder that owned neither its list nor the parent reference bound for
    // it would leak that reference; it works on a list of its own instead.
    CIDListHolder pidlCopy(CopyIDList(pidlFull));
    if (!pidlCopy)
        return nullptr;
    return CreateFromOwnList(hwndOwner, pidlCopy);
}

CBFolder* CreateShellFolderChainLink(HWND hwndOwner, LPCITEMIDLIST chain, LPCITEMIDLIST link)
{
    if (!chain || !link)
        return nullptr;
    CIDListHolder pidl(link == chain ? CopyNextIDListOf(chain) : CreateLinkIDList(chain, link));
    if (!pidl)
        return nullptr;
    return CreateFromOwnList(hwndOwner, pidl);
}

CBFolder* CreateShellFolderFromClipFolder(CBFolder* pClip)
{
    const CBShellData* pShell = pClip ? pClip->GetShellData() : nullptr;
    if (!pShell || !pShell->m_pidlFull)
        return nullptr;
    if (IsEmptyIDList(pShell->m_pidlFull))
        return CreateShellDesktop(pShell->m_hwndOwner);
    CIDListHolder pidlCopy(CopyIDList(pShell->m_pidlFull));
    if (!pidlCopy)
        return nullptr;
    return CreateFromOwnList(pShell->m_hwndOwner, pidlCopy);
}

CBFolder* CreateSpecialShellFolder(HWND hwndOwner, const wchar_t* pszPath)
{
    if (!pszPath)
        return nullptr;
    CShellFolderHolder desktop = GetDesktopFolder();
    if (desktop)
    {
        CBFolder* pFolder = CreateThroughDocumentsItem(hwndOwner, desktop.Get(), pszPath);
        if ((pFolder = OnlyFolderOfPath(pFolder, pszPath)) != nullptr)
            return pFolder;
    }
    return CreateShellFolder(hwndOwner, pszPath);
}

int IsShellDesktop(const CBFolder* pFolder)
{
    const CBShellData* pShell = pFolder ? pFolder->GetShellData() : nullptr;
    return pShell && pShell->m_pidlFull && IsEmptyIDList(pShell->m_pidlFull);
}

int IsRemovable(const CBFolder* pFolder)
{
    wchar_t szRoot[4];
    if (!DriveRootOf(pFolder, szRoot))
        return FALSE;
    CErrorModeScope errorMode;
    return IsRemovableType(GetDriveTypeW(szRoot));
}

int IsMediaInserted(const CBFolder* pFolder, unsigned long* pdwSerial)
{
    BOOL bInserted = FALSE;
    DWORD dwSerial = 0;
    wchar_t szRoot[4];
    if (DriveRootOf(pFolder, szRoot))
    {
        CErrorModeScope errorMode;
        if (IsRemovableType(GetDriveTypeW(szRoot)))
            bInserted = GetVolumeInformationW(szRoot, nullptr, 0, &dwSerial, nullptr, nullptr,
                                              nullptr, 0);
    }
    if (pdwSerial)
        *pdwSerial = bInserted ? dwSerial : 0xFFFFFFFF;
    return bInserted ? TRUE : FALSE;
}
