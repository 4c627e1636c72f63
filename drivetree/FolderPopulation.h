// One filling of a folder item from a listing of its folder.
#pragma once

#include "drivetree/ListingJob.h"

#include <memory>
#include <vector>

// Fills a folder item in steps: gather the children already there, arm the
// watch, list the folder (on a listing thread), match the listing against the
// children, drop the stale ones (when refreshing), put the rest in order,
// insert the new folders at their sorted places, set the expand button, and
// start monitoring. What stays keeps its item, state and children; the
// selection and the first visible row survive unless their item goes.
//
// A listing that ends within its budget is shown at once, as if it had run
// on the tree's thread. One that does not goes on in the background: an item
// opened for the first time shows a placeholder ("Searching...") and the
// folders as they come, put in order when the listing ends; a folder that is
// filled again keeps showing what it had until the listing ends. A listing
// that fails or runs past its limit leaves one placeholder ("Not available");
// the item lists again when it is next opened.
class CFolderPopulation
{
public:
    // bStreaming: the item has not been filled before, so a listing that
    // takes long shows its folders as they come.
    // The listing tells hwndSink (message CDriveTreeUtil::kListingMessage,
    // wParam nId) when it has found more or has ended.
    CFolderPopulation(CDriveTreeUtil& controller, CTreeItemNode& node, bool bRefresh, bool bStreaming,
                      HWND hwndSink, UINT_PTR nId);
    ~CFolderPopulation();
    CFolderPopulation(const CFolderPopulation&) = delete;
    CFolderPopulation& operator=(const CFolderPopulation&) = delete;

    // Starts the listing and waits up to dwBudgetMs for it; true when the
    // population is over (done, or the folder could not be listed).
    bool Start(DWORD dwBudgetMs);
    // Shows a slice of what the listing found since; true when the population
    // is over. HasWaiting() then says whether found folders still wait to be
    // shown (the listing will not tell again).
    bool Continue();
    bool HasWaiting() const { return m_index && (m_nArrivedShown < m_arrived.size() || m_bEndDue); }
    // Waits up to dwLimitMs for the listing to end and finishes; false when
    // it did not end (the folder then shows as not available).
    bool RunToEnd(DWORD dwLimitMs);
    // The listing ran past its limit: the folder shows as not available.
    void GiveUp();
    // Nothing more is shown (the item is going, with its placeholder).
    void Stop() { m_job->Cancel(); }
    // Nothing more is shown, and the item lists again when it next opens
    // (the placeholder stays until then: the item is being collapsed, and a
    // tree ends a collapse early for an item that has lost its children).
    void StopAndReset();
    // Children inserted or deleted by others while the listing runs.
    void AdoptChild(CTreeItemNode* pChild);
    void ForgetChild(CTreeItemNode* pChild);

    void RefreshAgainWhenDone() { m_bAgain = true; }
    bool WantsAgain() const { return m_bAgain; }
    bool ShowsSearching() const { return m_index && m_node.m_hPlaceholder; }
    UINT_PTR Id() const { return m_nId; }
    CTreeItemNode& Node() const { return m_node; }

private:
    void GatherExistingChildren();
    void ArmWatch();
    bool Bind();
    bool StartListing();
    bool ShowWithinBudget(DWORD dwBudgetMs);
    // Shows the next slice; false when there was nothing to show.
    bool ShowArrived();
    void ShowArrivedOne(CListedFolder& listed);
    void Finish();
    void FinishStreaming();
    void FinishWhole();
    void MatchListed();
    void DropStale();
    void PutExistingInOrder();
    void InsertNew();
    void SortByRank();
    void SetButton();
    void StartMonitoring();
    void ShowUnavailable();
    std::unique_ptr<CBFolder> MakeChildFolder(const CListedFolder& listed);
    bool PathsAreJoined(const CListedFolder& listed);
    CString JoinedPath(const std::wstring& fileName) const;

    CDriveTreeUtil& m_controller;
    CTreeCtrl& m_tree;
    CTreeItemNode& m_node;
    const bool m_bRefresh;
    const bool m_bStreaming;
    const HWND m_hwndSink;
    const UINT_PTR m_nId;
    bool m_bAgain = false;
    std::vector<CTreeItemNode*> m_existing;   // the children before, in the tree's order
    std::unique_ptr<CChildIndex> m_index;     // of m_existing, while streaming
    CChangeNotificationHandle m_armed;
    CShellFolderHolder m_folder;              // the item's folder, bound on this thread
    std::shared_ptr<CListingJob> m_job;
    std::vector<CListedFolder> m_arrived;     // found; shown up to m_nArrivedShown
    size_t m_nArrivedShown = 0;
    size_t m_nSliceSize = SIZE_MAX;           // folders the next slice shows
    bool m_bEndDue = false;                   // the listing ended; the end is still to show
    uint32_t m_nShown = 0;                    // found and shown (or matched), in order
    std::vector<CListedFolder> m_listed;      // everything found (not streaming)
    std::vector<CTreeItemNode*> m_listedAs;   // per listed folder: the child it already is, or null
    std::vector<CTreeItemNode*> m_stale;      // children the listing did not name
    HTREEITEM m_hFirstVisible = nullptr;      // kept at the top unless it goes
    int m_nPathsJoined = -1;                  // see PathsAreJoined; -1 until known
};
