// CDriveTreeUtil: filling, sorting and searching the folder tree.
//
// Invariant: every item of the tree carries a CDriveTreeItemData made here,
// freed only by OnDeleteItem. Folder items are filled from the shell when they
// first open; a folder is found again by its identifier list.
//
// Speed: a folder of n subfolders is filled at about the cost of its shell
// enumeration. Children are matched against the existing ones through a hash
// of their identities (CChildIndex), icons are looked up only when the tree
// asks for them, and a sort already in order is not run again.
#include "drivetree/DriveTreePrivate.h"

#include "BrwsFolderFactory.h"
#include "BrwsIDList.h"
#include "BrwsShellSettings.h"
#include "shellmodel/ShellHolders.h"

#include <memory>
#include <cstdint>
#include <utility>

IMPLEMENT_DYNCREATE(CDriveTreeUtil, CObject)

namespace {

const UINT kItemMask = TVIF_TEXT | TVIF_IMAGE | TVIF_PARAM | TVIF_SELECTEDIMAGE | TVIF_CHILDREN;
const ULONG kEnumBatch = 15;

const CBShellData* ShellDataOf(const CDriveTreeItemData* pData)
{
    return pData && pData->m_pFolder ? pData->m_pFolder->GetShellData() : nullptr;
}

bool IsShellFolder(const CBFolder* pFolder)
{
    return pFolder && pFolder->m_nKind == eBKindShell && pFolder->GetShellData();
}

int SmallIconOf(const CBShellData* pShell, bool bOpen)
{
    return GetShellIconIndex(pShell->m_pidlFull, bOpen ? SHGFI_SMALLICON | SHGFI_OPENICON : SHGFI_SMALLICON);
}

// A child of the folder being filled, in the tree's order.
struct CChildSlot
{
    HTREEITEM hItem;
    CDriveTreeItemData* pData;
    bool bStale; // not (yet) seen in this enumeration
};

} // namespace

std::wstring CChildIndex::NameKeyOf(const CString& strParsingName)
{
    std::wstring key(strParsingName.GetString(), static_cast<size_t>(strParsingName.GetLength()));
    if (!key.empty())
        ::CharUpperBuffW(&key[0], static_cast<DWORD>(key.size()));
    return key;
}

size_t CChildIndex::BytesKeyOf(LPCITEMIDLIST pidl)
{
    // FNV-1a over the first item's bytes.
    const BYTE* pb = reinterpret_cast<const BYTE*>(pidl);
    const size_t cb = pb[0] | (pb[1] << 8);
    uint64_t hash = 14695981039346656037ull;
    for (size_t i = 0; i < cb; ++i)
        hash = (hash ^ pb[i]) * 1099511628211ull;
    return static_cast<size_t>(hash);
}

void CChildIndex::AddExisting(const std::wstring& nameKey)
{
    if (nameKey.empty())
        m_unnamed.push_back(m_nExisting);
    else
        m_byName.emplace(nameKey, m_nExisting);
    ++m_nExisting;
}

void CChildIndex::AddNew(size_t bytesKey)
{
    if ((m_nNew + 1) * 2 > m_cells.size())
    {
        std::vector<Cell> old(m_cells.empty() ? 64 : m_cells.size() * 2, Cell{0, 0});
        old.swap(m_cells);
        for (const Cell& cell : old)
            if (cell.nSlotPlus1)
                Place(cell);
    }
    Place(Cell{bytesKey, m_nExisting + m_nNew + 1});
    ++m_nNew;
}

void CChildIndex::Place(const Cell& cell)
{
    size_t i = cell.key & (m_cells.size() - 1);
    while (m_cells[i].nSlotPlus1)
        i = (i + 1) & (m_cells.size() - 1);
    m_cells[i] = cell;
}

// ---- CDriveTreeItemData --------------------------------------------------------

CDriveTreeItemData::CDriveTreeItemData(CBFolder* pFolder, CDriveTreeThreadInfo* pThreadInfo) noexcept
    : m_pFolder(pFolder), m_pThreadInfo(pThreadInfo)
{
}

CDriveTreeItemData::~CDriveTreeItemData()
{
    delete m_pThreadInfo;
    delete m_pFolder;
}

// ---- Construction --------------------------------------------------------------

CDriveTreeUtil::CDriveTreeUtil()
    : m_bShowAllFolders(1), m_pTreeCtrl(nullptr), m_hLinkRoot(nullptr), m_hShellRoot(nullptr),
      m_hNotifyWnd(nullptr), m_pState(new CDriveTreeState)
{
}

CDriveTreeUtil::~CDriveTreeUtil()
{
    if (m_pTreeCtrl && ::IsWindow(m_pTreeCtrl->GetSafeHwnd()))
        Destroy();
}

void CDriveTreeUtil::Initialize(CTreeCtrl* pTree, HWND hNotifyWnd, int bShowAllFolders)
{
    m_pTreeCtrl = pTree;
    m_hNotifyWnd = hNotifyWnd;
    m_bShowAllFolders = bShowAllFolders;
    if (!m_pTreeCtrl)
        return;
    m_pTreeCtrl->SetImageList(GetShellImageList(), TVSIL_NORMAL);

    std::unique_ptr<CBFolder> desktop(CreateShellDesktop(hNotifyWnd));
    if (!desktop)
        return;
    // Whether the owner routes TVN_GETDISPINFO decides how icons are found:
    // asking the tree for the root's image makes it call back at once.
    m_pState->bLazyIcons = true;
    m_pState->bDispInfoSeen = false;
    m_hShellRoot = InsertFolderItem(nullptr, desktop.get(), nullptr);
    if (!m_hShellRoot)
        return;
    desktop.release();
    int nImage = 0;
    int nSelected = 0;
    m_pTreeCtrl->GetItemImage(m_hShellRoot, nImage, nSelected);
    if (!m_pState->bDispInfoSeen)
    {
        m_pState->bLazyIcons = false;
        const CBShellData* pShell = ShellDataOf(ItemData(m_hShellRoot));
        m_pTreeCtrl->SetItemImage(m_hShellRoot, SmallIconOf(pShell, false), SmallIconOf(pShell, true));
    }
    m_pTreeCtrl->Expand(m_hShellRoot, TVE_EXPAND);
}

// ---- Public operations -----------------------------------------------------------

HTREEITEM CDriveTreeUtil::AddFolder(CBFolder* pFolder)
{
    return IsShellFolder(pFolder) ? AddShellFolder(pFolder) : nullptr;
}

HTREEITEM CDriveTreeUtil::FindFolder(CBFolder* pFolder)
{
    return IsShellFolder(pFolder) ? FindShellFolder(pFolder) : nullptr;
}

HTREEITEM CDriveTreeUtil::FindOrAddFolder(CBFolder* pFolder, int bDeleteUnused, int* pbFound)
{
    const bool bShell = IsShellFolder(pFolder);
    HTREEITEM hItem = bShell ? FindShellFolder(pFolder) : nullptr;
    if (pbFound)
        *pbFound = hItem ? 1 : 0;
    if (hItem)
    {
        // The caller may have passed the very folder the item owns.
        if (bDeleteUnused && GetItemFolder(hItem) != pFolder)
            delete pFolder;
        return hItem;
    }
    if (bShell)
    {
        hItem = AddShellFolder(pFolder);
        if (hItem)
            return hItem;
    }
    if (bDeleteUnused)
        delete pFolder;
    return nullptr;
}

CBFolder* CDriveTreeUtil::FindShellFolderByName(CBFolder* pParent, CString strName1, CString strName2)
{
    HTREEITEM hParent = IsShellFolder(pParent) ? FindShellFolder(pParent) : nullptr;
    if (!hParent)
        return nullptr;
    PopulateShellFolder(hParent, 0);

    // An empty name would match every folder without a path.
    auto matches = [](const CString& strText, const CString& strName) {
        return !strName.IsEmpty() && strText.CompareNoCase(strName) == 0;
    };
    CList<HTREEITEM, HTREEITEM> children;
    GetChildItems(hParent, children);
    for (POSITION pos = children.GetHeadPosition(); pos;)
    {
        CDriveTreeItemData* pData = ItemData(children.GetNext(pos));
        CBFolder* pFolder = pData ? pData->m_pFolder : nullptr;
        if (!pFolder)
            continue;
        if (matches(pFolder->m_strName, strName1) || matches(pFolder->m_strPath, strName1) ||
            matches(pFolder->m_strName, strName2) || matches(pFolder->m_strPath, strName2))
            return pFolder;
    }
    return nullptr;
}

CBFolder* CDriveTreeUtil::FindTargetFolder(HTREEITEM /*hItem*/)
{
    return nullptr;
}

CBFolder* CDriveTreeUtil::GetCurrentFolder()
{
    if (!m_pTreeCtrl)
        return nullptr;
    HTREEITEM hItem = m_pTreeCtrl->GetSelectedItem();
    return hItem ? GetItemFolder(hItem) : nullptr;
}

CBFolder* CDriveTreeUtil::GetItemFolder(HTREEITEM hItem)
{
    CDriveTreeItemData* pData = ItemData(hItem);
    return pData ? pData->m_pFolder : nullptr;
}

// ---- Notification handlers -----------------------------------------------------

LRESULT CDriveTreeUtil::OnItemExpanding(NMTREEVIEWW* pNMTreeView)
{
    if (!pNMTreeView || !m_pTreeCtrl)
        return 0;
    HTREEITEM hItem = pNMTreeView->itemNew.hItem;
    if (pNMTreeView->action == TVE_EXPAND && (m_pTreeCtrl->GetItemState(hItem, TVIS_EXPANDEDONCE) & TVIS_EXPANDEDONCE))
        return 0;
    CDriveTreeItemData* pData = ItemData(hItem);
    if (pData && IsShellFolder(pData->m_pFolder))
        PopulateShellFolder(hItem, 0);
    return 0;
}

LRESULT CDriveTreeUtil::OnItemExpanded(NMTREEVIEWW* /*pNMTreeView*/)
{
    return 0;
}

LRESULT CDriveTreeUtil::OnSelChanged(NMTREEVIEWW* /*pNMTreeView*/)
{
    return 0;
}

LRESULT CDriveTreeUtil::OnSelChanging(NMTREEVIEWW* /*pNMTreeView*/)
{
    return 0;
}

LRESULT CDriveTreeUtil::OnGetDispInfo(NMTVDISPINFOW* pDispInfo)
{
    if (!pDispInfo || !m_pTreeCtrl || pDispInfo->hdr.hwndFrom != m_pTreeCtrl->GetSafeHwnd())
        return 0;
    m_pState->bDispInfoSeen = true;
    TVITEMW& item = pDispInfo->item;
    const CBShellData* pShell = ShellDataOf(reinterpret_cast<CDriveTreeItemData*>(item.lParam));
    const UINT nAsked = item.mask & (TVIF_IMAGE | TVIF_SELECTEDIMAGE);
    if (!pShell || !nAsked)
        return 0;
    if (nAsked & TVIF_IMAGE)
        item.iImage = SmallIconOf(pShell, false);
    if (nAsked & TVIF_SELECTEDIMAGE)
        item.iSelectedImage = SmallIconOf(pShell, true);
    // The tree keeps the index from now on: each icon is looked up once.
    item.mask |= TVIF_DI_SETITEM;
    return 0;
}

// ---- Insertion -------------------------------------------------------------------

HTREEITEM CDriveTreeUtil::InsertFolderItem(HTREEITEM hParent, CBFolder* pFolder, CDriveTreeItemData** ppData)
{
    const CBShellData* pShell = pFolder ? pFolder->GetShellData() : nullptr;
    if (!m_pTreeCtrl || !pShell)
        return nullptr;

    TVINSERTSTRUCTW insert = {};
    insert.hParent = hParent ? hParent : TVI_ROOT;
    insert.hInsertAfter = TVI_LAST;
    TVITEMW& item = insert.item;
    item.mask = kItemMask;
    item.pszText = const_cast<LPWSTR>(pFolder->m_strName.GetString());
    if (m_pState->bLazyIcons)
    {
        item.iImage = I_IMAGECALLBACK;
        item.iSelectedImage = I_IMAGECALLBACK;
    }
    else
    {
        item.iImage = SmallIconOf(pShell, false);
        item.iSelectedImage = SmallIconOf(pShell, true);
    }
    item.cChildren = 1;
    if (pShell->m_pParentFolder)
    {
        LPCITEMIDLIST relative = pShell->m_pidlRelative;
        SFGAOF attributes = SFGAO_HASSUBFOLDER;
        if (SUCCEEDED(pShell->m_pParentFolder->GetAttributesOf(1, &relative, &attributes)))
            item.cChildren = (attributes & SFGAO_HASSUBFOLDER) ? 1 : 0;
    }

    std::unique_ptr<CDriveTreeItemData> data(new CDriveTreeItemData(pFolder, nullptr));
    item.lParam = reinterpret_cast<LPARAM>(data.get());
    HTREEITEM hItem = m_pTreeCtrl->InsertItem(&insert);
    if (!hItem)
    {
        data->m_pFolder = nullptr; // the folder stays the caller's
        return nullptr;
    }
    if (ppData)
        *ppData = data.get();
    data.release();
    return hItem;
}

HTREEITEM CDriveTreeUtil::AddShellFolder(HTREEITEM hParent, CBFolder* pFolder)
{
    return InsertFolderItem(hParent, pFolder, nullptr);
}

HTREEITEM CDriveTreeUtil::AddShellFolder(CBFolder* pFolder)
{
    const CBShellData* pShell = IsShellFolder(pFolder) ? pFolder->GetShellData() : nullptr;
    if (!m_hShellRoot || !pShell || IsEmptyIDList(pShell->m_pidlFull))
        return nullptr;

    HTREEITEM hCurrent = m_hShellRoot;
    for (LPCITEMIDLIST pItem = pShell->m_pidlFull;; pItem = GetNextIDListOf(pItem))
    {
        if (IsEmptyIDList(GetNextIDListOf(pItem)))
            return AddShellFolder(hCurrent, pFolder);
        HTREEITEM hNext = FindShellFolder(hCurrent, pItem);
        if (!hNext)
        {
            const CBShellData* pCurrent = ShellDataOf(ItemData(hCurrent));
            HWND hwndOwner = pCurrent ? pCurrent->m_hwndOwner : m_hNotifyWnd;
            std::unique_ptr<CBFolder> ancestor(CreateShellFolderChainLink(hwndOwner, pShell->m_pidlFull, pItem));
            if (!ancestor)
                return nullptr;
            hNext = AddShellFolder(hCurrent, ancestor.get());
            if (!hNext)
                return nullptr;
            ancestor.release();
        }
        hCurrent = hNext;
    }
}

// ---- Finding -------------------------------------------------------------------

CDriveTreeItemData* CDriveTreeUtil::ItemData(HTREEITEM hItem) const
{
    if (!m_pTreeCtrl || !hItem)
        return nullptr;
    return reinterpret_cast<CDriveTreeItemData*>(m_pTreeCtrl->GetItemData(hItem));
}

HTREEITEM CDriveTreeUtil::FindShellFolder(HTREEITEM hParent, const ITEMIDLIST* pidl)
{
    if (!m_pTreeCtrl || !hParent || IsEmptyIDList(pidl) || !m_pTreeCtrl->ItemHasChildren(hParent))
        return nullptr;
    CIDListHolder first(CopyNextIDListOf(pidl));
    if (!first)
        return nullptr;
    for (HTREEITEM hChild = m_pTreeCtrl->GetChildItem(hParent); hChild;
         hChild = m_pTreeCtrl->GetNextSiblingItem(hChild))
    {
        const CBShellData* pShell = ShellDataOf(ItemData(hChild));
        if (pShell && pShell->m_pParentFolder &&
            CompareIDLists(0, pShell->m_pParentFolder, pShell->m_pidlRelative, first.Get()) == 0)
            return hChild;
    }
    return nullptr;
}

HTREEITEM CDriveTreeUtil::FindShellFolder(CBFolder* pFolder)
{
    const CBShellData* pShell = IsShellFolder(pFolder) ? pFolder->GetShellData() : nullptr;
    if (!pShell || !m_hShellRoot)
        return nullptr;
    HTREEITEM hItem = m_hShellRoot;
    for (LPCITEMIDLIST pItem = pShell->m_pidlFull; hItem && !IsEmptyIDList(pItem); pItem = GetNextIDListOf(pItem))
        hItem = FindShellFolder(hItem, pItem);
    return hItem;
}

// ---- Population ----------------------------------------------------------------

void CDriveTreeUtil::PopulateShellFolder(HTREEITEM hItem, int bRefresh)
{
    CWaitCursor waitCursor;
    CDriveTreeItemData* pData = ItemData(hItem);
    const CBShellData* pShell = ShellDataOf(pData);
    if (!pShell)
        return;
    CTreeCtrl& tree = *m_pTreeCtrl;

    // The children already there, in the tree's order. With a clear children
    // indicator they are not looked at (nor refreshed), as GetChildItems says;
    // then the tree's own sort decides the order below.
    std::vector<CChildSlot> slots;
    CChildIndex index;
    CList<HTREEITEM, HTREEITEM> existing;
    GetChildItems(hItem, existing);
    const bool bAllChildrenKnown = !existing.IsEmpty() || !tree.GetChildItem(hItem);
    slots.reserve(static_cast<size_t>(existing.GetCount()));
    for (POSITION pos = existing.GetHeadPosition(); pos;)
    {
        HTREEITEM hChild = existing.GetNext(pos);
        CDriveTreeItemData* pChildData = ItemData(hChild);
        const CBShellData* pChild = ShellDataOf(pChildData);
        CString strName;
        if (pChild && pChild->m_pParentFolder)
            strName = GetNameOf(pChild->m_pParentFolder, pChild->m_pidlRelative, SHGDN_FORPARSING);
        slots.push_back({hChild, pChildData, bRefresh != 0});
        index.AddExisting(CChildIndex::NameKeyOf(strName));
    }

    // A folder that will be watched is watched from before its enumeration:
    // a subfolder made while it is filled, or before the thread runs (it
    // runs at idle priority), then still reaches the tree.
    CChangeNotificationHandle armed;
    const CString& strPath = pData->m_pFolder->m_strPath;
    if (!pData->m_pThreadInfo && !strPath.IsEmpty())
        armed.Reset(OpenFolderChangeNotification(strPath));

    CShellFolderBind bound(pShell->m_pParentFolder, pShell->m_pidlRelative);
    if (!bound.IsBound())
    {
        DeleteItemChildren(hItem);
        return;
    }
    IShellFolder* pFolder = bound.m_pFolder;
    CComHolder<IEnumIDList> enumerator;
    const SHCONTF flags = SHCONTF_FOLDERS | (ShowHiddenFiles() ? SHCONTF_INCLUDEHIDDEN : 0);
    if (FAILED(pFolder->EnumObjects(pShell->m_hwndOwner, flags, enumerator.Receive())) || !enumerator)
    {
        DeleteItemChildren(hItem);
        return;
    }

    const SFGAOF request = m_bShowAllFolders
                               ? SFGAO_LINK | SFGAO_HIDDEN
                               : SFGAO_FILESYSTEM | SFGAO_FILESYSANCESTOR | SFGAO_LINK | SFGAO_HIDDEN;
    // Whether a slot is the child that CompareIDs calls the same as relative.
    auto sameItem = [&slots](LPCITEMIDLIST relative) {
        return [&slots, relative](size_t nSlot) {
            const CBShellData* pChild = ShellDataOf(slots[nSlot].pData);
            return pChild && pChild->m_pParentFolder &&
                   CompareIDLists(0, pChild->m_pParentFolder, pChild->m_pidlRelative, relative) == 0;
        };
    };

    HRESULT hrNext = S_OK;
    while (hrNext == S_OK)
    {
        LPITEMIDLIST batch[kEnumBatch] = {};
        ULONG nFetched = 0;
        hrNext = enumerator->Next(kEnumBatch, batch, &nFetched);
        if (FAILED(hrNext))
            break;
        if (nFetched > kEnumBatch)
            nFetched = kEnumBatch;
        for (ULONG i = 0; i < nFetched; ++i)
        {
            CIDListHolder relative(batch[i]);
            LPCITEMIDLIST pidl = relative.Get();
            if (!pidl)
                continue;
            SFGAOF attributes = request;
            if (FAILED(pFolder->GetAttributesOf(1, &pidl, &attributes)) || (attributes & SFGAO_LINK) ||
                (!m_bShowAllFolders && !(attributes & (SFGAO_FILESYSTEM | SFGAO_FILESYSANCESTOR))))
                continue;

            std::wstring nameKey;
            if (index.HasExisting())
                nameKey = CChildIndex::NameKeyOf(GetNameOf(pFolder, pidl, SHGDN_FORPARSING));
            const size_t bytesKey = CChildIndex::BytesKeyOf(pidl);
            const ptrdiff_t nFound = index.Find(nameKey, bytesKey, sameItem(pidl));
            if (nFound >= 0)
            {
                slots[static_cast<size_t>(nFound)].bStale = false;
                continue;
            }

            CIDListHolder full(ConcatIDLists(pShell->m_pidlFull, pidl));
            if (!full)
                continue;
            CShellFolderHolder parent = CShellFolderHolder::Share(pFolder);
            std::unique_ptr<CBFolder> child(CreateShellFolder(pShell->m_hwndOwner, parent.Get(), full.Get(), true));
            if (!child)
                continue;
            parent.Detach();
            full.Detach();
            CDriveTreeItemData* pChildData = nullptr;
            HTREEITEM hChild = InsertFolderItem(hItem, child.get(), &pChildData);
            if (!hChild)
                continue;
            child.release();
            slots.push_back({hChild, pChildData, false});
            index.AddNew(bytesKey);
        }
    }
    enumerator.Reset();

    // Folders that are gone, first to last.
    if (bRefresh)
    {
        std::vector<CChildSlot> kept;
        kept.reserve(slots.size());
        for (const CChildSlot& slot : slots)
        {
            if (slot.bStale)
                tree.DeleteItem(slot.hItem);
            else
                kept.push_back(slot);
        }
        slots.swap(kept);
    }

    if (bAllChildrenKnown)
    {
        // Children already in the folder's order are left as they are: a
        // sort of them would give that same order, at n log n comparisons.
        bool bInOrder = true;
        for (size_t i = 1; i < slots.size() && bInOrder; ++i)
            bInOrder = ShellSortProc(reinterpret_cast<LPARAM>(slots[i - 1].pData),
                                     reinterpret_cast<LPARAM>(slots[i].pData), 0) < 0;
        if (!bInOrder)
            SortShellFolder(hItem);
        // The tree also reports a failed sort for a single child; only a
        // folder without children loses its button.
        if (slots.empty())
            SetNoChildren(hItem);
    }
    else if (!SortShellFolder(hItem) && !tree.GetChildItem(hItem))
    {
        SetNoChildren(hItem);
    }

    if (tree.ItemHasChildren(hItem) && !pData->m_pThreadInfo && !strPath.IsEmpty())
    {
        m_pState->hArmedItem = hItem;
        m_pState->hArmedChange = armed.Release();
        CreateShellMonitoringThread(hItem);
        // Not taken (no record could be made): closed here.
        armed.Reset(m_pState->hArmedChange);
        m_pState->hArmedItem = nullptr;
        m_pState->hArmedChange = INVALID_HANDLE_VALUE;
    }
}

void CDriveTreeUtil::SetNoChildren(HTREEITEM hItem)
{
    TVITEMW item = {};
    item.mask = TVIF_HANDLE | TVIF_CHILDREN;
    item.hItem = hItem;
    item.cChildren = 0;
    m_pTreeCtrl->SetItem(&item);
}

BOOL CDriveTreeUtil::SortShellFolder(HTREEITEM hItem)
{
    if (!m_pTreeCtrl)
        return FALSE;
    TVSORTCB sort = {};
    sort.hParent = hItem;
    sort.lpfnCompare = &CDriveTreeUtil::ShellSortProc;
    sort.lParam = 0;
    return m_pTreeCtrl->SortChildrenCB(&sort);
}

int CALLBACK CDriveTreeUtil::ShellSortProc(LPARAM lParam1, LPARAM lParam2, LPARAM lParamSort)
{
    const CBShellData* pFirst = ShellDataOf(reinterpret_cast<CDriveTreeItemData*>(lParam1));
    const CBShellData* pSecond = ShellDataOf(reinterpret_cast<CDriveTreeItemData*>(lParam2));
    if (!pFirst || !pSecond || !pFirst->m_pParentFolder)
        return 0;
    return CompareIDLists(static_cast<int>(lParamSort), pFirst->m_pParentFolder, pFirst->m_pidlRelative,
                          pSecond->m_pidlRelative);
}

// ---- Small accessors -------------------------------------------------------------

void CDriveTreeUtil::GetChildItems(HTREEITEM hItem, CList<HTREEITEM, HTREEITEM>& items)
{
    if (!m_pTreeCtrl || !hItem || !m_pTreeCtrl->ItemHasChildren(hItem))
        return;
    for (HTREEITEM hChild = m_pTreeCtrl->GetChildItem(hItem); hChild; hChild = m_pTreeCtrl->GetNextSiblingItem(hChild))
        items.AddTail(hChild);
}

HTREEITEM CDriveTreeUtil::GetRootItem(CBFolder* pFolder)
{
    if (!pFolder)
        return nullptr;
    switch (pFolder->m_nKind)
    {
    case eBKindShell:
        return m_hShellRoot;
    case eBKindLink:
        return m_hLinkRoot;
    default:
        return nullptr;
    }
}

CImageList* CDriveTreeUtil::GetShellImageList()
{
    CImageList& list = m_pState->imlShell;
    if (!list.GetSafeHandle())
    {
        wchar_t szWindows[MAX_PATH] = {};
        ::GetWindowsDirectoryW(szWindows, MAX_PATH);
        SHFILEINFOW info = {};
        // The shell's own list: the state lets it go again (never destroys it).
        HIMAGELIST hList = reinterpret_cast<HIMAGELIST>(
            ::SHGetFileInfoW(szWindows, 0, &info, sizeof(info), SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
        if (hList)
            list.Attach(hList);
    }
    if (list.GetSafeHandle())
        list.SetBkColor(::GetSysColor(COLOR_WINDOW));
    return &list;
}

CTreeCtrl* CDriveTreeUtil::GetTreeCtrl()
{
    return m_pTreeCtrl;
}

HTREEITEM CDriveTreeUtil::AddLinkFolder(CBFolder* /*pFolder*/)
{
    return nullptr;
}

HTREEITEM CDriveTreeUtil::FindLinkFolder(CBFolder* /*pFolder*/)
{
    return nullptr;
}
