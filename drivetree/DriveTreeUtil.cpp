// CDriveTreeUtil: inserting, sorting and searching the folder tree.
//
// Invariant: every item of the tree carries a CTreeItemNode made here, freed
// only by OnDeleteItem; the nodes mirror the tree's structure and order.
// Folder items are filled from the shell when they first open
// (CFolderPopulation); a folder is found again by its identifier list.
#include "drivetree/Populations.h"

#include "BrwsFolderFactory.h"
#include "BrwsIDList.h"
#include "BrwsShellSettings.h"

#include <algorithm>
#include <memory>
#include <utility>

IMPLEMENT_DYNCREATE(CDriveTreeUtil, CObject)

namespace {

const UINT kItemMask = TVIF_TEXT | TVIF_IMAGE | TVIF_PARAM | TVIF_SELECTEDIMAGE | TVIF_CHILDREN;

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

// A plain folder shows the shell's plain folder icons; any other folder's own
// are asked of the shell, when the tree draws it (bLazy) or now.
void ChooseIcons(TVITEMW& item, const CBShellData* pShell, bool bPlain, bool bLazy)
{
    if (bPlain && CPlainFolderIcons::Instance().Get(pShell->m_pidlFull, item.iImage, item.iSelectedImage))
        return;
    item.iImage = bLazy ? I_IMAGECALLBACK : SmallIconOf(pShell, false);
    item.iSelectedImage = bLazy ? I_IMAGECALLBACK : SmallIconOf(pShell, true);
}

} // namespace

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

CDriveTreeState::CDriveTreeState(CDriveTreeUtil& controller) : populations(new CPopulations(controller))
{
}

CDriveTreeState::~CDriveTreeState()
{
    imlShell.Detach();
}

CDriveTreeUtil::CDriveTreeUtil()
    : m_bShowAllFolders(1), m_pTreeCtrl(nullptr), m_hLinkRoot(nullptr), m_hShellRoot(nullptr),
      m_hNotifyWnd(nullptr), m_pState(new CDriveTreeState(*this))
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
    CTreeItemNode* pRoot = InsertFolderItem(nullptr, desktop.get(), CInsertHints());
    if (!pRoot)
        return;
    m_hShellRoot = pRoot->m_hItem;
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
    m_pState->populations->FinishNow(*ItemNode(hParent));

    // An empty name would match every folder without a path.
    auto matches = [](const CString& strText, const CString& strName) {
        return !strName.IsEmpty() && strText.CompareNoCase(strName) == 0;
    };
    for (CTreeItemNode* pChild : ItemNode(hParent)->Children())
    {
        CBFolder* pFolder = pChild->m_pFolder;
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
    CTreeItemNode* pNode = ItemNode(hItem);
    if (!pNode || !IsShellFolder(pNode->m_pFolder))
        return 0;
    // Collapsing a folder still searching, or not available, leaves it to
    // list again when it opens next.
    if (pNMTreeView->action == TVE_COLLAPSE && m_pState->populations->StopSearching(*pNode))
        return 0;
    if (pNMTreeView->action == TVE_COLLAPSE && pNode->m_hPlaceholder && !pNode->m_bFilled)
    {
        ResetToList(hItem);
        return 0;
    }
    PopulateShellFolder(hItem, 0);
    return 0;
}

void CDriveTreeUtil::ResetToList(HTREEITEM hItem)
{
    m_pTreeCtrl->SetItemState(hItem, 0, TVIS_EXPANDEDONCE);
}

void CDriveTreeUtil::SetListingBudget(DWORD dwMs)
{
    m_pState->populations->m_dwBudgetMs = dwMs;
}

void CDriveTreeUtil::SetListingTimeLimit(DWORD dwMs)
{
    m_pState->populations->m_dwTimeLimitMs = dwMs;
}

DWORD CDriveTreeUtil::GetListingTimeLimit() const
{
    return m_pState->populations->m_dwTimeLimitMs;
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

CTreeItemNode* CDriveTreeUtil::InsertFolderItem(HTREEITEM hParent, CBFolder* pFolder, const CInsertHints& hints)
{
    const CBShellData* pShell = pFolder ? pFolder->GetShellData() : nullptr;
    if (!m_pTreeCtrl || !pShell)
        return nullptr;

    TVINSERTSTRUCTW insert = {};
    insert.hParent = hParent ? hParent : TVI_ROOT;
    insert.hInsertAfter = hints.hInsertAfter;
    TVITEMW& item = insert.item;
    item.mask = kItemMask;
    item.pszText = const_cast<LPWSTR>(pFolder->m_strName.GetString());
    ChooseIcons(item, pShell, hints.bPlain, m_pState->bLazyIcons);
    item.cChildren = hints.nHasSubfolders;
    if (item.cChildren < 0)
    {
        item.cChildren = 1;
        if (pShell->m_pParentFolder)
        {
            LPCITEMIDLIST relative = pShell->m_pidlRelative;
            SFGAOF attributes = SFGAO_HASSUBFOLDER;
            if (SUCCEEDED(pShell->m_pParentFolder->GetAttributesOf(1, &relative, &attributes)))
                item.cChildren = (attributes & SFGAO_HASSUBFOLDER) ? 1 : 0;
        }
    }

    std::unique_ptr<CTreeItemNode> node(new CTreeItemNode(pFolder));
    item.lParam = reinterpret_cast<LPARAM>(static_cast<CDriveTreeItemData*>(node.get()));
    HTREEITEM hItem = m_pTreeCtrl->InsertItem(&insert);
    if (!hItem)
    {
        node->m_pFolder = nullptr; // the folder stays the caller's
        return nullptr;
    }
    node->m_hItem = hItem;
    return node.release();
}

HTREEITEM CDriveTreeUtil::AddShellFolder(HTREEITEM hParent, CBFolder* pFolder)
{
    CTreeItemNode* pParentNode = ItemNode(hParent);
    CTreeItemNode* pNode = InsertFolderItem(hParent, pFolder, CInsertHints());
    if (!pNode)
        return nullptr;
    if (pParentNode)
    {
        pParentNode->Adopt(pNode, pParentNode->Children().size());
        if (pParentNode->Children().size() == 1)
            SetChildrenIndicator(hParent, true);
        m_pState->populations->OnChildAdded(*pParentNode, *pNode);
    }
    return pNode->m_hItem;
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

CTreeItemNode* CDriveTreeUtil::ItemNode(HTREEITEM hItem) const
{
    CDriveTreeItemData* pData = ItemData(hItem);
    return pData ? CTreeItemNode::Of(pData) : nullptr;
}

// The children are read from the mirror, not from the tree: a folder added
// to an item whose button the last filling took away is found all the same.
HTREEITEM CDriveTreeUtil::FindShellFolder(HTREEITEM hParent, const ITEMIDLIST* pidl)
{
    CTreeItemNode* pParent = ItemNode(hParent);
    if (!pParent || IsEmptyIDList(pidl))
        return nullptr;
    CIDListHolder first(CopyNextIDListOf(pidl));
    if (!first)
        return nullptr;
    for (CTreeItemNode* pChild : pParent->Children())
    {
        const CBShellData* pShell = pChild->Shell();
        if (pShell && pShell->m_pParentFolder &&
            CompareIDLists(0, pShell->m_pParentFolder, pShell->m_pidlRelative, first.Get()) == 0)
            return pChild->m_hItem;
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
    CTreeItemNode* pNode = ItemNode(hItem);
    if (pNode && pNode->Shell() && m_pTreeCtrl)
        m_pState->populations->Populate(*pNode, bRefresh != 0);
}

void CDriveTreeUtil::SetChildrenIndicator(HTREEITEM hItem, bool bChildren)
{
    TVITEMW item = {};
    item.mask = TVIF_HANDLE | TVIF_CHILDREN;
    item.hItem = hItem;
    item.cChildren = bChildren ? 1 : 0;
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
    const BOOL bSorted = m_pTreeCtrl->SortChildrenCB(&sort);
    // The mirror takes the same order: the comparison is a strict order
    // between different folders.
    if (CTreeItemNode* pNode = ItemNode(hItem))
    {
        std::vector<CTreeItemNode*> children = pNode->Children();
        std::stable_sort(children.begin(), children.end(), [](CTreeItemNode* a, CTreeItemNode* b) {
            return ShellSortProc(reinterpret_cast<LPARAM>(a), reinterpret_cast<LPARAM>(b), 0) < 0;
        });
        pNode->SetChildren(std::move(children));
    }
    return bSorted;
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
