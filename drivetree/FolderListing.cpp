// Listing a folder's subfolders: the shell's enumeration, filtered and put in
// the folder's own order, with what the tree needs to show each one.
#include "drivetree/FolderListing.h"

#include "BrwsIDList.h"
#include "BrwsShellSettings.h"

#include <algorithm>

namespace {

const ULONG kEnumBatch = 15;

// Whether an enumerated item is shown: no shortcut, and with bShowAllFolders
// clear only the file system and the folders that contain some of it. One
// question to the shell also says whether it has subfolders.
bool IsShown(IShellFolder* pFolder, bool bShowAllFolders, CListedFolder& item)
{
    LPCITEMIDLIST relative = item.pidl.Get();
    SFGAOF attributes = SFGAO_LINK | SFGAO_HIDDEN | SFGAO_HASSUBFOLDER;
    if (!bShowAllFolders)
        attributes |= SFGAO_FILESYSTEM | SFGAO_FILESYSANCESTOR;
    if (FAILED(pFolder->GetAttributesOf(1, &relative, &attributes)) || (attributes & SFGAO_LINK))
        return false;
    item.nHasSubfolders = (attributes & SFGAO_HASSUBFOLDER) ? 1 : 0;
    return bShowAllFolders || (attributes & (SFGAO_FILESYSTEM | SFGAO_FILESYSANCESTOR));
}

void Describe(IShellFolder* pFolder, const CListingRequest& request, CListedFolder& item)
{
    LPCITEMIDLIST relative = item.pidl.Get();
    WIN32_FIND_DATAW data;
    if (GetFileSystemFolderData(pFolder, relative, data))
    {
        item.fileName = data.cFileName;
        item.bPlain = IsPlainFolderAttributes(data.dwFileAttributes);
    }
    if (request.bWithKeys)
        item.key = item.fileName.empty() ? CChildIndex::KeyOf(pFolder, relative) : CChildIndex::KeyOf(data.cFileName);
}

} // namespace

CPlainFolderIcons& CPlainFolderIcons::Instance()
{
    static CPlainFolderIcons icons;
    return icons;
}

CPlainFolderIcons::CPlainFolderIcons() : m_nClosed(-1), m_nOpen(-1)
{
    auto indexOf = [](UINT nFlags) {
        SHFILEINFOW info = {};
        if (!::SHGetFileInfoW(L"folder", FILE_ATTRIBUTE_DIRECTORY, &info, sizeof(info),
                              nFlags | SHGFI_USEFILEATTRIBUTES | SHGFI_SYSICONINDEX | SHGFI_SMALLICON))
            return -1;
        return info.iIcon;
    };
    m_nClosed = indexOf(0);
    const int nOpen = indexOf(SHGFI_OPENICON);
    if (nOpen != m_nClosed)
        m_nOpen = nOpen;
}

bool CPlainFolderIcons::Get(LPCITEMIDLIST pidlFull, int& nClosed, int& nOpen)
{
    if (m_nClosed < 0)
        return false;
    if (m_nOpen < 0 && GetShellIconIndex(pidlFull, SHGFI_SMALLICON) == m_nClosed)
        m_nOpen = GetShellIconIndex(pidlFull, SHGFI_SMALLICON | SHGFI_OPENICON);
    nClosed = m_nClosed;
    nOpen = m_nOpen;
    return m_nOpen >= 0;
}

bool GetFileSystemFolderData(IShellFolder* pFolder, LPCITEMIDLIST relative, WIN32_FIND_DATAW& data)
{
    data = WIN32_FIND_DATAW();
    return SUCCEEDED(::SHGetDataFromIDListW(pFolder, relative, SHGDFIL_FINDDATA, &data, sizeof(data))) &&
           (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && data.cFileName[0];
}

bool IsPlainFolderAttributes(DWORD dwAttributes)
{
    // A desktop.ini may customise a read-only or system folder; a reparse
    // point may be a mounted volume or a link with an icon of its own.
    const DWORD dwCustomisable = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_REPARSE_POINT;
    return !(dwAttributes & dwCustomisable);
}

HRESULT ListFolders(IShellFolder* pFolder, const CListingRequest& request,
                    const std::function<bool(std::vector<CListedFolder>&)>& onBatch)
{
    CComHolder<IEnumIDList> enumerator;
    const SHCONTF flags = SHCONTF_FOLDERS | (ShowHiddenFiles() ? SHCONTF_INCLUDEHIDDEN : 0);
    HRESULT hr = pFolder->EnumObjects(request.hwndOwner, flags, enumerator.Receive());
    if (FAILED(hr) || !enumerator)
        return FAILED(hr) ? hr : E_FAIL;

    std::vector<CListedFolder> listed;
    for (HRESULT hrNext = S_OK; hrNext == S_OK;)
    {
        LPITEMIDLIST batch[kEnumBatch] = {};
        ULONG nFetched = 0;
        hrNext = enumerator->Next(kEnumBatch, batch, &nFetched);
        if (FAILED(hrNext))
            break;
        for (ULONG i = 0; i < std::min(nFetched, kEnumBatch); ++i)
        {
            CListedFolder item;
            item.pidl.Reset(batch[i]);
            if (!item.pidl || !IsShown(pFolder, request.bShowAllFolders, item))
                continue;
            Describe(pFolder, request, item);
            listed.push_back(std::move(item));
        }
        if (!listed.empty() && !onBatch(listed))
            break;
        listed.clear();
    }
    return S_OK;
}

std::vector<uint32_t> RanksInFolderOrder(IShellFolder* pFolder, const std::vector<CIDListHolder>& listed)
{
    std::vector<uint32_t> order(listed.size());
    for (uint32_t i = 0; i < order.size(); ++i)
        order[i] = i;
    // Many file systems list in the shell's order already, and a check costs
    // n comparisons where a sort costs n log n. The sort is a stable one: a
    // comparison that is not a strict order cannot make it read past the
    // ends, as it could an introsort.
    auto before = [&](uint32_t a, uint32_t b) {
        return CompareIDLists(0, pFolder, listed[a].Get(), listed[b].Get()) < 0;
    };
    if (!std::is_sorted(order.begin(), order.end(), before))
        std::stable_sort(order.begin(), order.end(), before);
    std::vector<uint32_t> ranks(order.size());
    for (uint32_t nRank = 0; nRank < order.size(); ++nRank)
        ranks[order[nRank]] = nRank;
    return ranks;
}
