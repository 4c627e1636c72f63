// Item identifier lists and CShellFolderBind.
//
// Lists come from the COM task allocator, which is the allocator SHGetMalloc
// hands out; calling CoTaskMemAlloc/CoTaskMemFree directly spares a reference
// round trip on every list, and the host calls these functions per tree item.
#include "BrwsIDList.h"

#include "BrwsTrace.h"
#include "shellmodel/ShellModelPrivate.h"

#include <string.h>

namespace {

typedef const BYTE* ItemPtr;

ItemPtr Bytes(LPCITEMIDLIST pidl)
{
    return reinterpret_cast<ItemPtr>(pidl);
}

LPITEMIDLIST ToList(ItemPtr p)
{
    return reinterpret_cast<LPITEMIDLIST>(const_cast<BYTE*>(p));
}

// Lists are byte runs that the shell may hand out at any address.
USHORT ItemSize(ItemPtr p)
{
    USHORT cb;
    memcpy(&cb, p, sizeof(cb));
    return cb;
}

// A new list of the first cb bytes of source and a terminator.
LPITEMIDLIST CopyAndTerminate(ItemPtr source, size_t cb)
{
    BYTE* p = static_cast<BYTE*>(CoTaskMemAlloc(cb + sizeof(USHORT)));
    if (!p)
        return nullptr;
    memcpy(p, source, cb);
    p[cb] = 0;
    p[cb + 1] = 0;
    return reinterpret_cast<LPITEMIDLIST>(p);
}

} // namespace

unsigned long GetIDListLength(LPCITEMIDLIST pidl)
{
    if (!pidl)
        return 0;
    ItemPtr p = Bytes(pidl);
    for (USHORT cb; (cb = ItemSize(p)) != 0;)
        p += cb;
    return static_cast<unsigned long>(p - Bytes(pidl)) + sizeof(USHORT);
}

int GetNumSegmentsOf(LPCITEMIDLIST pidl)
{
    if (!pidl)
        return 0;
    int n = 0;
    for (ItemPtr p = Bytes(pidl); USHORT cb = ItemSize(p); p += cb)
        ++n;
    return n;
}

int IsEmptyIDList(LPCITEMIDLIST pidl)
{
    return !pidl || ItemSize(Bytes(pidl)) == 0;
}

LPITEMIDLIST GetNextIDListOf(LPCITEMIDLIST pidl)
{
    if (!pidl)
        return nullptr;
    return ToList(Bytes(pidl) + ItemSize(Bytes(pidl)));
}

LPITEMIDLIST GetLastIDListOf(LPCITEMIDLIST pidl)
{
    if (!pidl)
        return nullptr;
    ItemPtr last = Bytes(pidl);
    for (ItemPtr p = last; USHORT cb = ItemSize(p); p += cb)
        last = p;
    return ToList(last);
}

LPITEMIDLIST CreateIDList(unsigned long cb)
{
    return static_cast<LPITEMIDLIST>(CoTaskMemAlloc(cb));
}

LPITEMIDLIST CopyIDList(LPCITEMIDLIST pidl)
{
    if (!pidl)
        return nullptr;
    return CopyAndTerminate(Bytes(pidl), GetIDListLength(pidl) - sizeof(USHORT));
}

LPITEMIDLIST CopyNextIDListOf(LPCITEMIDLIST pidl)
{
    if (IsEmptyIDList(pidl))
        return nullptr;
    return CopyAndTerminate(Bytes(pidl), ItemSize(Bytes(pidl)));
}

LPITEMIDLIST ConcatIDLists(LPCITEMIDLIST first, LPCITEMIDLIST second)
{
    if (!first || !second)
        return nullptr;
    const size_t cbFirst = GetIDListLength(first) - sizeof(USHORT);
    const size_t cbSecond = GetIDListLength(second);
    BYTE* p = static_cast<BYTE*>(CoTaskMemAlloc(cbFirst + cbSecond));
    if (!p)
        return nullptr;
    memcpy(p, first, cbFirst);
    memcpy(p + cbFirst, second, cbSecond);
    return reinterpret_cast<LPITEMIDLIST>(p);
}

LPITEMIDLIST CreateParentIDList(LPCITEMIDLIST pidl)
{
    if (!pidl)
        return nullptr;
    ItemPtr p = Bytes(pidl);
    for (USHORT cb = ItemSize(p); cb != 0 && ItemSize(p + cb) != 0; cb = ItemSize(p))
        p += cb;
    return CopyAndTerminate(Bytes(pidl), p - Bytes(pidl));
}

LPITEMIDLIST CreateLinkIDList(LPCITEMIDLIST chain, LPCITEMIDLIST link)
{
    if (!chain || !link)
        return nullptr;
    ItemPtr p = Bytes(chain);
    // A link outside the chain would otherwise send the copy past its end.
    while (p != Bytes(link))
    {
        const USHORT cb = ItemSize(p);
        if (cb == 0)
            return nullptr;
        p += cb;
    }
    return CopyAndTerminate(Bytes(chain), (p - Bytes(chain)) + ItemSize(p));
}

void FreeShellMem(void* pv)
{
    CoTaskMemFree(pv);
}

CShellFolderHolder GetDesktopFolder()
{
    CShellFolderHolder desktop;
    if (FAILED(SHGetDesktopFolder(desktop.Receive())))
        desktop.Reset();
    return desktop;
}

LPITEMIDLIST ParseNameIn(IShellFolder* pFolder, HWND hwndOwner, const wchar_t* pszName)
{
    if (!pFolder || !pszName)
        return nullptr;
    CIDListHolder pidl;
    ULONG cchEaten = 0;
    // ParseDisplayName only reads the name; its parameter is not const for
    // historical reasons.
    if (FAILED(pFolder->ParseDisplayName(hwndOwner, nullptr, const_cast<LPWSTR>(pszName), &cchEaten,
                                         pidl.Receive(), nullptr)))
        return nullptr; // the holder frees a list that a failing parser left behind
    return pidl.Detach();
}

LPITEMIDLIST GetFullIDList(HWND hwndOwner, const wchar_t* pszName)
{
    if (!pszName)
        return nullptr;
    CShellFolderHolder desktop = GetDesktopFolder();
    return ParseNameIn(desktop.Get(), hwndOwner, pszName);
}

LPITEMIDLIST GetFullIDList(IShellFolder* pParent, LPCITEMIDLIST relative)
{
    if (IsEmptyIDList(relative))
        return CopyIDList(relative);
    // The wide parsing name goes to the parser as it is: a detour through the
    // ANSI code page would lose every character outside it.
    const CString strName = GetNameOf(pParent, relative, SHGDN_FORPARSING);
    if (strName.IsEmpty())
        return nullptr;
    CShellFolderHolder desktop = GetDesktopFolder();
    return ParseNameIn(desktop.Get(), nullptr, strName);
}

CString GetNameOf(IShellFolder* pFolder, LPCITEMIDLIST relative, DWORD dwFlags)
{
    STRRET str;
    str.uType = STRRET_CSTR;
    str.cStr[0] = '\0';
    if (!pFolder || FAILED(pFolder->GetDisplayNameOf(relative, dwFlags, &str)))
    {
        RTRACE()(L"FASDF");
        return CString();
    }
    switch (str.uType)
    {
    case STRRET_WSTR:
    {
        CTaskMemHolder<WCHAR> text(str.pOleStr);
        return CString(text.Get());
    }
    case STRRET_OFFSET:
        return CString(reinterpret_cast<const char*>(relative) + str.uOffset);
    case STRRET_CSTR:
        return CString(str.cStr, static_cast<int>(strnlen(str.cStr, sizeof(str.cStr))));
    default:
        return CString();
    }
}

int GetShellIconIndex(LPCITEMIDLIST absolute, DWORD dwFlags)
{
    // Only the index goes back: an icon the caller's flags ask for is never
    // made, so none can leak.
    SHFILEINFOW info = {};
    if (!SHGetFileInfoW(reinterpret_cast<LPCWSTR>(absolute), 0, &info, sizeof(info),
                        (dwFlags & ~SHGFI_ICON) | SHGFI_SYSICONINDEX | SHGFI_PIDL))
        return 0;
    return info.iIcon;
}

int CompareIDLists(int lParam, IShellFolder* pFolder, LPCITEMIDLIST first, LPCITEMIDLIST second)
{
    if (!pFolder)
        return 0;
    const HRESULT hr = pFolder->CompareIDs(static_cast<LPARAM>(lParam), first, second);
    return static_cast<short>(HRESULT_CODE(hr));
}

CShellFolderBind::CShellFolderBind(IShellFolder* pParent, LPCITEMIDLIST relative)
    : m_pFolder(nullptr)
{
    if (!pParent)
        return;
    if (IsEmptyIDList(relative))
    {
        m_pFolder = pParent;
        m_pFolder->AddRef();
    }
    else if (FAILED(pParent->BindToObject(relative, nullptr, IID_IShellFolder,
                                          reinterpret_cast<void**>(&m_pFolder))))
    {
        m_pFolder = nullptr;
    }
}

CShellFolderBind::~CShellFolderBind()
{
    if (m_pFolder)
        m_pFolder->Release();
}

int CShellFolderBind::IsBound() const
{
    return m_pFolder != nullptr;
}

IShellFolder* CShellFolderBind::Detach()
{
    IShellFolder* pFolder = m_pFolder;
    m_pFolder = nullptr;
    return pFolder;
}
