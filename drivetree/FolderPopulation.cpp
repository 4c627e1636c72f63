// Filling a folder item: the steps of CFolderPopulation.
//
// Speed: a folder of n subfolders is filled at about the cost of its shell
// enumeration and one sort of the listing. The children are read from the
// controller's mirror (never by walking the tree control), found again by
// name in constant time, and put in order by inserting each new folder at its
// place instead of sorting the tree.
#include "drivetree/FolderPopulation.h"
#include "drivetree/ListingSeam.h"

#include "BrwsIDList.h"
#include "BrwsModule.h"
#include "resources/BrwsResourceIds.h"
#include "shellmodel/ShellModelPrivate.h"

#include <algorithm>
#include <atomic>
#include <unordered_set>

namespace {

// Keeps a tree from laying itself out and painting while the children of an
// open folder change: some trees do both after every single insertion, which
// makes inserting k children under n visible ones cost k * n.
//
// Given the row the new children go after, and that row lies below what the
// tree shows, the children change nothing in view: the whole repaint that
// some trees ask for when redrawing is turned back on is then dropped. A big
// folder shown slice by slice would otherwise be repainted once per slice.
class CRedrawHold
{
public:
    CRedrawHold(CTreeCtrl& tree, bool bHold, HTREEITEM hAppendAfter = nullptr) : m_tree(tree), m_bHold(bHold)
    {
        if (!m_bHold)
            return;
        m_tree.GetClientRect(&m_rcClient);
        // A repaint already due is left to happen.
        m_bOutOfView = hAppendAfter && !m_tree.GetUpdateRect(nullptr) && IsBelowView(hAppendAfter);
        m_tree.SendMessage(WM_SETREDRAW, FALSE, 0);
    }
    ~CRedrawHold()
    {
        if (!m_bHold)
            return;
        m_tree.SendMessage(WM_SETREDRAW, TRUE, 0);
        CRect rcClient;
        m_tree.GetClientRect(&rcClient);
        // A scroll bar that came or went moved the rows: they are repainted.
        if (m_bOutOfView && rcClient == m_rcClient)
            m_tree.ValidateRect(nullptr);
    }
    CRedrawHold(const CRedrawHold&) = delete;
    CRedrawHold& operator=(const CRedrawHold&) = delete;

private:
    bool IsBelowView(HTREEITEM hItem) const
    {
        CRect rcItem;
        return m_tree.GetItemRect(hItem, &rcItem, FALSE) && rcItem.top >= m_rcClient.bottom;
    }

    CTreeCtrl& m_tree;
    const bool m_bHold;
    bool m_bOutOfView = false;
    CRect m_rcClient;
};

// A child item that is no folder: what the item's listing is doing.
HTREEITEM InsertPlaceholder(CTreeCtrl& tree, HTREEITEM hParent, UINT nText)
{
    CString strText;
    {
        CZarnResourceManager resources(CString(BRWSUTIL_MODULE_KEY));
        if (!strText.LoadString(nText))
            strText = L"...";
    }
    TVINSERTSTRUCTW insert = {};
    insert.hParent = hParent;
    insert.hInsertAfter = TVI_FIRST;
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM | TVIF_CHILDREN;
    insert.item.pszText = const_cast<LPWSTR>(strText.GetString());
    insert.item.iImage = I_IMAGENONE;
    insert.item.iSelectedImage = I_IMAGENONE;
    insert.item.lParam = 0; // no folder: the controller leaves it alone
    insert.item.cChildren = 0;
    return tree.InsertItem(&insert);
}

// Whether the children are in the order of their ranks (ties in their
// present order), and the ranks' order for a sort.
bool RankedBefore(const CTreeItemNode* a, const CTreeItemNode* b)
{
    return a->m_nRank != b->m_nRank ? a->m_nRank < b->m_nRank : a->SlotInParent() < b->SlotInParent();
}

int CALLBACK CompareRanks(LPARAM lParam1, LPARAM lParam2, LPARAM)
{
    const CTreeItemNode* a = CTreeItemNode::Of(reinterpret_cast<CDriveTreeItemData*>(lParam1));
    const CTreeItemNode* b = CTreeItemNode::Of(reinterpret_cast<CDriveTreeItemData*>(lParam2));
    return RankedBefore(a, b) ? -1 : RankedBefore(b, a) ? 1 : 0;
}

const DWORD kSliceMs = 40;        // what a slice of folders found in the background should take
const size_t kFirstSliceSize = 2048; // the first slice once the item is open
const size_t kMinSliceSize = 64;  // the fewest folders a slice shows

std::atomic<LONG> g_nInProgress{0}; // for BrwsFillingsInProgress

} // namespace

CFolderPopulation::CFolderPopulation(CDriveTreeUtil& controller, CTreeItemNode& node, bool bRefresh,
                                     bool bStreaming, HWND hwndSink, UINT_PTR nId)
    : m_controller(controller), m_tree(*controller.m_pTreeCtrl), m_node(node), m_bRefresh(bRefresh),
      m_bStreaming(bStreaming), m_hwndSink(hwndSink), m_nId(nId)
{
    ++g_nInProgress;
}

CFolderPopulation::~CFolderPopulation()
{
    --g_nInProgress;
}

LONG BrwsFillingsInProgress()
{
    return g_nInProgress;
}

bool CFolderPopulation::Start(DWORD dwBudgetMs)
{
    // What an earlier listing left (it was stopped, or failed) goes first.
    if (m_node.m_hPlaceholder)
        m_tree.DeleteItem(m_node.m_hPlaceholder);
    m_node.m_hPlaceholder = nullptr;
    GatherExistingChildren();
    ArmWatch();
    if (!Bind() || !StartListing())
    {
        ShowUnavailable();
        return true;
    }
    if (!m_bStreaming)
        return m_job->WaitForEnd(dwBudgetMs) && Continue();
    m_index.reset(new CChildIndex(m_existing));
    if (ShowWithinBudget(dwBudgetMs))
        return true;
    // The budget is spent: the rest comes in slices.
    m_node.m_hPlaceholder = InsertPlaceholder(m_tree, m_node.m_hItem, IDS_BRWS_TREE_SEARCHING);
    m_controller.SetChildrenIndicator(m_node.m_hItem, true);
    return false;
}

// While the caller waits, the folders are shown as they come: the item is not
// open yet, so that costs the tree no layout, and the work goes on beside the
// listing's instead of after it. True when the listing ended meanwhile.
bool CFolderPopulation::ShowWithinBudget(DWORD dwBudgetMs)
{
    const DWORD dwStart = ::GetTickCount();
    m_nSliceSize = SIZE_MAX;
    for (;;)
    {
        const bool bEnded = m_job->Take(m_arrived);
        ShowArrived();
        if (bEnded)
        {
            Finish();
            return true;
        }
        const DWORD dwSpent = ::GetTickCount() - dwStart;
        if (dwBudgetMs != INFINITE && dwSpent >= dwBudgetMs)
            break;
        m_job->WaitForMore(dwBudgetMs == INFINITE ? INFINITE : dwBudgetMs - dwSpent);
    }
    m_nSliceSize = kFirstSliceSize;
    return false;
}

bool CFolderPopulation::StartListing()
{
    CListingRequest request;
    request.bShowAllFolders = m_controller.m_bShowAllFolders != 0;
    request.bWithKeys = !m_existing.empty();
    m_job = CListingJob::Start(m_node.Shell()->m_pidlFull, request, m_hwndSink, CDriveTreeUtil::kListingMessage,
                               m_nId);
    return m_job != nullptr;
}

bool CFolderPopulation::Continue()
{
    const bool bEnded = m_job->Take(m_arrived);
    // A slice shown is this turn's work; the end comes in a turn of its own.
    m_bEndDue = m_index && ShowArrived() && bEnded;
    if (!bEnded || HasWaiting())
        return false;
    Finish();
    return true;
}

bool CFolderPopulation::RunToEnd(DWORD dwLimitMs)
{
    if (!m_job->WaitForEnd(dwLimitMs))
    {
        GiveUp();
        return false;
    }
    m_nSliceSize = SIZE_MAX; // the caller waits anyway: all at once
    while (!Continue())
    {
    }
    return true;
}

void CFolderPopulation::GiveUp()
{
    m_job->Cancel();
    ShowUnavailable();
}

void CFolderPopulation::StopAndReset()
{
    m_job->Cancel();
    m_controller.ResetToList(m_node.m_hItem);
}

void CFolderPopulation::AdoptChild(CTreeItemNode* pChild)
{
    m_existing.push_back(pChild);
    if (m_index)
        m_index->Add(pChild);
}

void CFolderPopulation::ForgetChild(CTreeItemNode* pChild)
{
    m_existing.erase(std::remove(m_existing.begin(), m_existing.end(), pChild), m_existing.end());
    m_stale.erase(std::remove(m_stale.begin(), m_stale.end(), pChild), m_stale.end());
    std::replace(m_listedAs.begin(), m_listedAs.end(), pChild, static_cast<CTreeItemNode*>(nullptr));
    if (m_index)
        m_index->Forget(pChild);
}

// Folders as they come, while the placeholder shows: each goes last (or is
// a child inserted before the listing began), and takes its place in the
// folder's order when the listing ends. A slice is sized to take about
// kSliceMs with the tree's layout afterwards (which, in some trees, measures
// every new row's text then): the sizes follow what the last slice took.
bool CFolderPopulation::ShowArrived()
{
    const size_t nCount = std::min(m_arrived.size() - m_nArrivedShown, m_nSliceSize);
    if (!nCount)
        return false;
    const DWORD dwStart = ::GetTickCount();
    {
        // New folders go last: after the last child, or the placeholder.
        const std::vector<CTreeItemNode*>& children = m_node.Children();
        CRedrawHold hold(m_tree, (m_tree.GetItemState(m_node.m_hItem, TVIS_EXPANDED) & TVIS_EXPANDED) != 0,
                         children.empty() ? m_node.m_hPlaceholder : children.back()->m_hItem);
        for (size_t i = 0; i < nCount; ++i)
            ShowArrivedOne(m_arrived[m_nArrivedShown + i]);
    }
    m_nArrivedShown += nCount;
    if (m_nArrivedShown == m_arrived.size())
    {
        m_arrived.clear();
        m_nArrivedShown = 0;
    }
    const DWORD dwTook = ::GetTickCount() - dwStart;
    if (m_nSliceSize != SIZE_MAX && nCount == m_nSliceSize)
        m_nSliceSize = std::max<size_t>(kMinSliceSize, nCount * kSliceMs / std::max<DWORD>(dwTook, 1));
    return true;
}

void CFolderPopulation::ShowArrivedOne(CListedFolder& listed)
{
    const uint32_t nOrder = m_nShown++;
    if (CTreeItemNode* pChild = m_index->Take(m_folder.Get(), listed.pidl.Get(), listed.key))
    {
        pChild->m_nRank = nOrder;
        return;
    }
    std::unique_ptr<CBFolder> folder = MakeChildFolder(listed);
    if (!folder)
        return;
    CDriveTreeUtil::CInsertHints hints;
    hints.nHasSubfolders = listed.nHasSubfolders;
    hints.bPlain = listed.bPlain;
    if (CTreeItemNode* pChild = m_controller.InsertFolderItem(m_node.m_hItem, folder.get(), hints))
    {
        folder.release();
        pChild->m_nRank = nOrder;
        m_node.Adopt(pChild, m_node.Children().size());
    }
}

void CFolderPopulation::Finish()
{
    if (FAILED(m_job->Result()))
        ShowUnavailable();
    else if (m_index)
        FinishStreaming();
    else
        FinishWhole();
}

void CFolderPopulation::FinishStreaming()
{
    {
        CRedrawHold hold(m_tree, (m_tree.GetItemState(m_node.m_hItem, TVIS_EXPANDED) & TVIS_EXPANDED) != 0);
        if (m_node.m_hPlaceholder)
            m_tree.DeleteItem(m_node.m_hPlaceholder);
        m_node.m_hPlaceholder = nullptr;
        const std::vector<uint32_t>& ranks = m_job->Ranks();
        for (CTreeItemNode* pChild : m_node.Children())
            pChild->m_nRank = pChild->m_nRank < ranks.size() ? ranks[pChild->m_nRank] : CTreeItemNode::kNoRank;
        SortByRank();
        SetButton();
    }
    m_node.m_bFilled = true;
    StartMonitoring();
}

// Everything at once, in the folder's order, as a listing on this thread
// would have given it.
void CFolderPopulation::FinishWhole()
{
    const std::vector<uint32_t>& ranks = m_job->Ranks();
    std::vector<CListedFolder> sorted(m_arrived.size());
    for (size_t i = 0; i < m_arrived.size(); ++i)
        sorted[i < ranks.size() ? ranks[i] : i] = std::move(m_arrived[i]);
    m_arrived.clear();
    m_listed = std::move(sorted);
    MatchListed();
    m_hFirstVisible = m_tree.GetFirstVisibleItem();
    {
        CRedrawHold hold(m_tree, (m_tree.GetItemState(m_node.m_hItem, TVIS_EXPANDED) & TVIS_EXPANDED) != 0);
        DropStale();
        PutExistingInOrder();
        InsertNew();
        SetButton();
    }
    if (m_hFirstVisible && m_tree.GetFirstVisibleItem() != m_hFirstVisible)
        m_tree.SelectSetFirstVisible(m_hFirstVisible);
    m_node.m_bFilled = true;
    StartMonitoring();
}

// The folder cannot be read: its children go, and one placeholder says so.
void CFolderPopulation::ShowUnavailable()
{
    if (m_node.m_hPlaceholder)
        m_tree.DeleteItem(m_node.m_hPlaceholder);
    m_node.m_hPlaceholder = nullptr;
    m_controller.DeleteItemChildren(m_node.m_hItem);
    m_node.m_hPlaceholder = InsertPlaceholder(m_tree, m_node.m_hItem, IDS_BRWS_TREE_NOT_AVAILABLE);
    m_node.m_bFilled = false;
    m_controller.SetChildrenIndicator(m_node.m_hItem, true);
}

void CFolderPopulation::GatherExistingChildren()
{
    m_existing = m_node.Children();
}

// A folder that will be watched is watched from before it is listed: a
// subfolder made while it is filled, or before the thread runs (it runs at
// idle priority), then still reaches the tree.
void CFolderPopulation::ArmWatch()
{
    const CString& strPath = m_node.m_pFolder->m_strPath;
    if (!m_node.m_pThreadInfo && !strPath.IsEmpty())
        m_armed = OpenFolderChangeNotification(strPath);
}

bool CFolderPopulation::Bind()
{
    const CBShellData* pShell = m_node.Shell();
    CShellFolderBind bound(pShell->m_pParentFolder, pShell->m_pidlRelative);
    if (!bound.IsBound())
        return false;
    m_folder = CShellFolderHolder::Share(bound.m_pFolder);
    return true;
}

void CFolderPopulation::MatchListed()
{
    m_listedAs.assign(m_listed.size(), nullptr);
    if (m_existing.empty())
        return;
    CChildIndex index(m_existing);
    for (size_t i = 0; i < m_listed.size(); ++i)
        m_listedAs[i] = index.Take(m_folder.Get(), m_listed[i].pidl.Get(), m_listed[i].key);
    for (CTreeItemNode* pChild : m_existing)
        if (index.Holds(pChild))
            m_stale.push_back(pChild);
}

// Folders gone from disk leave with their subtrees. A selection inside one
// moves to this folder first, so that the owner hears of it as of any other
// change of selection.
void CFolderPopulation::DropStale()
{
    if (!m_bRefresh || m_stale.empty())
        return;
    std::unordered_set<const CTreeItemNode*> doomed(m_stale.begin(), m_stale.end());
    auto isDoomed = [&](HTREEITEM hItem) {
        for (CTreeItemNode* p = m_controller.ItemNode(hItem); p; p = p->m_pParentNode)
            if (doomed.count(p))
                return true;
        return false;
    };
    if (HTREEITEM hSelected = m_tree.GetSelectedItem())
        if (isDoomed(hSelected))
            m_tree.SelectItem(m_node.m_hItem);
    if (m_hFirstVisible && isDoomed(m_hFirstVisible))
        m_hFirstVisible = nullptr;
    for (CTreeItemNode* pChild : m_stale)
        m_tree.DeleteItem(pChild->m_hItem); // frees pChild
    m_stale.clear();
}

// Children inserted since the last filling (AddFolder puts them last) may be
// out of place; everything else already is in the folder's order.
void CFolderPopulation::PutExistingInOrder()
{
    const std::vector<CTreeItemNode*>& children = m_node.Children();
    for (size_t i = 1; i < children.size(); ++i)
    {
        if (CDriveTreeUtil::ShellSortProc(reinterpret_cast<LPARAM>(children[i - 1]),
                                          reinterpret_cast<LPARAM>(children[i]), 0) > 0)
        {
            m_controller.SortShellFolder(m_node.m_hItem);
            return;
        }
    }
}

// The children in the order of their ranks: one sort of the tree when they
// are not in it already (many file systems list in the shell's order).
void CFolderPopulation::SortByRank()
{
    std::vector<CTreeItemNode*> children = m_node.Children();
    if (std::is_sorted(children.begin(), children.end(), RankedBefore))
        return;
    TVSORTCB sort = {};
    sort.hParent = m_node.m_hItem;
    sort.lpfnCompare = &CompareRanks;
    m_tree.SortChildrenCB(&sort);
    std::sort(children.begin(), children.end(), RankedBefore);
    m_node.SetChildren(std::move(children));
}

// Merges the new folders into the children, both in the folder's order:
// each goes in right after the last child that sorts before it.
void CFolderPopulation::InsertNew()
{
    const std::vector<CTreeItemNode*> kept = m_node.Children();
    std::vector<CTreeItemNode*> merged;
    merged.reserve(kept.size() + m_listed.size());
    size_t nKept = 0;
    for (size_t i = 0; i < m_listed.size(); ++i)
    {
        if (m_listedAs[i])
            continue;
        LPCITEMIDLIST relative = m_listed[i].pidl.Get();
        while (nKept < kept.size() &&
               CompareIDLists(0, m_folder.Get(), kept[nKept]->Shell()->m_pidlRelative, relative) < 0)
            merged.push_back(kept[nKept++]);
        std::unique_ptr<CBFolder> folder = MakeChildFolder(m_listed[i]);
        if (!folder)
            continue;
        CDriveTreeUtil::CInsertHints hints;
        // TVI_LAST where it is the same: a named place is a handle the tree
        // validates, which some trees do by a scan of all their items.
        hints.hInsertAfter = nKept == kept.size() ? TVI_LAST : merged.empty() ? TVI_FIRST : merged.back()->m_hItem;
        hints.nHasSubfolders = m_listed[i].nHasSubfolders;
        hints.bPlain = m_listed[i].bPlain;
        if (CTreeItemNode* pChild = m_controller.InsertFolderItem(m_node.m_hItem, folder.get(), hints))
        {
            folder.release();
            merged.push_back(pChild);
        }
    }
    merged.insert(merged.end(), kept.begin() + static_cast<ptrdiff_t>(nKept), kept.end());
    m_node.SetChildren(std::move(merged));
}

// A new child's folder object. A file-system folder's path is this folder's
// path and its file name, once the shell is seen to agree for the first one
// (a folder that merges others, as the desktop does, names them elsewhere).
std::unique_ptr<CBFolder> CFolderPopulation::MakeChildFolder(const CListedFolder& listed)
{
    const CBShellData* pShell = m_node.Shell();
    CIDListHolder full(ConcatIDLists(pShell->m_pidlFull, listed.pidl.Get()));
    if (!full)
        return nullptr;
    CShellFolderHolder parent = CShellFolderHolder::Share(m_folder.Get());
    std::unique_ptr<CBFolder> folder;
    if (!listed.fileName.empty() && PathsAreJoined(listed))
        folder.reset(CreateShellFolderAt(pShell->m_hwndOwner, parent.Get(), full.Get(), true,
                                         JoinedPath(listed.fileName)));
    else
        folder.reset(CreateShellFolder(pShell->m_hwndOwner, parent.Get(), full.Get(), true));
    if (folder)
    {
        parent.Detach();
        full.Detach();
    }
    return folder;
}

bool CFolderPopulation::PathsAreJoined(const CListedFolder& listed)
{
    if (m_nPathsJoined < 0)
        m_nPathsJoined = !m_node.m_pFolder->m_strPath.IsEmpty() &&
                         GetNameOf(m_folder.Get(), listed.pidl.Get(), SHGDN_FORPARSING) == JoinedPath(listed.fileName);
    return m_nPathsJoined == 1;
}

CString CFolderPopulation::JoinedPath(const std::wstring& fileName) const
{
    CString strPath = m_node.m_pFolder->m_strPath;
    if (strPath.IsEmpty() || strPath[strPath.GetLength() - 1] != L'\\')
        strPath.AppendChar(L'\\');
    strPath.Append(fileName.c_str(), static_cast<int>(fileName.size()));
    return strPath;
}

// The expand button says whether there are subfolders now: a folder that
// gained its first gets one, one that lost its last loses it.
void CFolderPopulation::SetButton()
{
    m_controller.SetChildrenIndicator(m_node.m_hItem, !m_node.Children().empty());
}

void CFolderPopulation::StartMonitoring()
{
    if (!m_node.m_pThreadInfo && !m_node.m_pFolder->m_strPath.IsEmpty())
        m_controller.StartMonitoring(m_node.m_hItem, std::move(m_armed));
}
