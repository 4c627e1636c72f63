// One filling of a folder item from a listing of its folder.
#pragma once

#include "drivetree/FolderListing.h"

#include <memory>
#include <vector>

// Fills a folder item in steps, in this order: gather the children already
// there, arm the watch, list the folder, match the listing against the
// children, drop the stale ones (when refreshing), put the rest in order,
// insert the new folders at their sorted places, set the expand button, and
// start monitoring. What stays keeps its item, state and children; the
// selection and the first visible row survive unless their item goes.
class CFolderPopulation
{
public:
    CFolderPopulation(CDriveTreeUtil& controller, CTreeItemNode& node, bool bRefresh);
    CFolderPopulation(const CFolderPopulation&) = delete;
    CFolderPopulation& operator=(const CFolderPopulation&) = delete;

    // Every step on this thread. A folder that cannot be bound or listed
    // loses its children.
    void Run();

private:
    void GatherExistingChildren();
    void ArmWatch();
    bool Bind();
    bool List();
    void MatchListed();
    void DropStale();
    void PutExistingInOrder();
    void InsertNew();
    std::unique_ptr<CBFolder> MakeChildFolder(const CListedFolder& listed);
    bool PathsAreJoined(const CListedFolder& listed);
    CString JoinedPath(const std::wstring& fileName) const;
    void SetButton();
    void StartMonitoring();

    CDriveTreeUtil& m_controller;
    CTreeCtrl& m_tree;
    CTreeItemNode& m_node;
    const bool m_bRefresh;
    std::vector<CTreeItemNode*> m_existing;   // the children before, in the tree's order
    CChangeNotificationHandle m_armed;
    CShellFolderHolder m_folder;              // the item's folder, bound here
    std::vector<CListedFolder> m_listed;      // in the folder's order
    std::vector<CTreeItemNode*> m_listedAs;   // per listed folder: the child it already is, or null
    std::vector<CTreeItemNode*> m_stale;      // children the listing did not name
    HTREEITEM m_hFirstVisible = nullptr;      // kept at the top unless it goes
    int m_nPathsJoined = -1;                  // see PathsAreJoined; -1 until known
};
