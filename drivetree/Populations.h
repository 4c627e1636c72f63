// The populations of one drive tree that go on in the background.
#pragma once

#include "drivetree/FolderPopulation.h"

#include <memory>
#include <unordered_map>
#include <unordered_set>

// Starts the fillings of a controller's items and keeps those that outlast
// their budget: the message-only window their listings tell, the time limit
// of each, and what happens to them when their item or a child comes or goes.
// Everything here runs on the tree's thread.
class CPopulations
{
public:
    // The budget, the expansion and its first paint stay within 100 ms.
    static const DWORD kDefaultBudgetMs = 50;
    static const DWORD kDefaultTimeLimitMs = 15000;

    explicit CPopulations(CDriveTreeUtil& controller) : m_controller(controller) {}
    // Stops every population (their listings end on their own).
    ~CPopulations();
    CPopulations(const CPopulations&) = delete;
    CPopulations& operator=(const CPopulations&) = delete;

    // Fills the item (within the budget, else it goes on in the background).
    // A refresh asked for while one runs is done once that one ends.
    void Populate(CTreeItemNode& node, bool bRefresh);
    // The item's population, run to its end now (up to the time limit).
    void FinishNow(CTreeItemNode& node);
    // The item is collapsed: a first listing that still shows its
    // placeholder stops, and the item lists again when it next opens.
    // False when there was none.
    bool StopSearching(CTreeItemNode& node);
    // The item goes: its population stops; its parent's forgets it.
    void OnNodeDeleted(CTreeItemNode& node);
    // A child inserted by others under an item that is being filled.
    void OnChildAdded(CTreeItemNode& parent, CTreeItemNode& child);
    // Every population stops; the window goes.
    void StopAll();

    DWORD m_dwBudgetMs = kDefaultBudgetMs;
    DWORD m_dwTimeLimitMs = kDefaultTimeLimitMs;

private:
    HWND Sink();
    std::shared_ptr<CFolderPopulation> Of(const CTreeItemNode& node) const;
    void Keep(const std::shared_ptr<CFolderPopulation>& population);
    void Forget(const CFolderPopulation& population);
    void Ended(const std::shared_ptr<CFolderPopulation>& population);
    void OnProgress(UINT_PTR nId);
    void OnSliceDue(UINT_PTR nId);
    void StopSlicing(UINT_PTR nId);
    void OnTimeOut(UINT_PTR nId);
    static LRESULT CALLBACK SinkProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    CDriveTreeUtil& m_controller;
    HWND m_hwndSink = nullptr;
    UINT_PTR m_nLastId = 0;
    std::unordered_map<const CTreeItemNode*, std::shared_ptr<CFolderPopulation>> m_byNode;
    std::unordered_map<UINT_PTR, std::shared_ptr<CFolderPopulation>> m_byId;
    std::unordered_set<UINT_PTR> m_slicing; // populations whose slice timer runs
    bool m_bYielded = false;                // the last slice due waited for other timers
};
