// The drive tree: CDriveTreeUtil fills a tree control with the folders of the
// shell namespace on demand and keeps expanded file-system folders current
// through one change-monitoring thread each (CDriveTreeThreadInfo).
//
// The controller does not subclass anything: the window that owns the tree
// routes to it, on the tree's thread,
//   TVN_ITEMEXPANDING -> OnItemExpanding   (fills a folder when it opens)
//   TVN_DELETEITEM    -> OnDeleteItem      (frees item data, stops threads;
//                                           without it nothing is ever freed)
//   TVN_GETDISPINFO   -> OnGetDispInfo     (icons looked up only for the items
//                                           the tree draws or is asked about)
//   WM_USER           -> OnChangeNotification(wParam, lParam)
// An owner that does not route TVN_GETDISPINFO still gets every icon: the
// controller notices at Initialize and then looks icons up as it inserts.
// The owner calls Destroy while the tree window still exists.
#pragma once

#include <afxwin.h>
#include <afxcmn.h>
#include <afxmt.h>

#include "BrwsFileObjects.h"

#include <memory>

class CDriveTreeThreadInfo;
class CChangeNotificationHandle;
class CTreeItemNode;
struct CDriveTreeState;

// The lParam of every item the controller inserts; deleted only by
// OnDeleteItem. Not copyable: both copies would delete the same folder.
class BRWSUTIL_API CDriveTreeItemData
{
public:
    // Takes over both (either may be null).
    CDriveTreeItemData(CBFolder* pFolder, CDriveTreeThreadInfo* pThreadInfo) noexcept;
    // Deletes the thread record (which first ends a thread still running,
    // since the thread reads the folder) and then the folder.
    ~CDriveTreeItemData();
    CDriveTreeItemData(const CDriveTreeItemData&) = delete;
    CDriveTreeItemData& operator=(const CDriveTreeItemData&) = delete;

    CBFolder* m_pFolder;                 // owned
    CDriveTreeThreadInfo* m_pThreadInfo; // owned; null until monitoring starts
};

// The monitoring record of one tree item.
class BRWSUTIL_API CDriveTreeThreadInfo
{
public:
    CDriveTreeThreadInfo();
    // Ends a thread that still runs (StopThread) before the event goes.
    ~CDriveTreeThreadInfo();
    CDriveTreeThreadInfo(const CDriveTreeThreadInfo&) = delete;
    CDriveTreeThreadInfo& operator=(const CDriveTreeThreadInfo&) = delete;

    // Signals m_evStop, waits until the thread has ended and deletes its
    // object; nothing when no thread is recorded. On the owner's thread only.
    void StopThread();

    HTREEITEM m_hItem;      // the monitored item
    CEvent m_evStop;        // manual reset; signalled to end the thread
    HWND m_hNotifyWnd;      // receives the change messages
    CWinThread* m_pThread;  // owned (not auto-deleting) while it runs; else null

private:
    friend class CDriveTreeUtil;
    // A change notification opened before the folder was enumerated, so that
    // a change made while it was filled still reaches the tree; owned until
    // the thread takes it over (INVALID_HANDLE_VALUE then, or without one).
    HANDLE volatile m_hArmedChange;
    // 1 from a posted change message until the tree takes it: changes that
    // come meanwhile are seen by the filling that message leads to.
    volatile LONG m_lChangePosted;
};

class BRWSUTIL_API CDriveTreeUtil : public CObject
{
    DECLARE_DYNCREATE(CDriveTreeUtil)
public:
    CDriveTreeUtil();
    // Calls Destroy when the owner forgot to and the tree still exists.
    ~CDriveTreeUtil() override;

    // Attaches the tree (not owned), shows the system's small icons, inserts
    // the desktop and expands it. hNotifyWnd receives the change messages and
    // owns the folders made here. bShowAllFolders 0 shows only file-system
    // folders and their ancestors.
    void Initialize(CTreeCtrl* pTree, HWND hNotifyWnd, int bShowAllFolders);

    // Inserts a shell folder with its missing ancestors; on success the tree
    // owns pFolder, on failure (null) it stays the caller's. Other kinds: null.
    HTREEITEM AddFolder(CBFolder* pFolder);
    // The item of a shell folder among the items already in the tree, or null.
    HTREEITEM FindFolder(CBFolder* pFolder);
    // The folder's item, inserted with its ancestors when missing. *pbFound
    // (when given) says whether it was there already. With bDeleteUnused the
    // call always disposes of pFolder: the tree keeps it or it is deleted
    // (never when it is the found item's own folder).
    HTREEITEM FindOrAddFolder(CBFolder* pFolder, int bDeleteUnused, int* pbFound);
    // The first child of pParent's item (filled first) whose display name or
    // path equals strName1, or else strName2, ignoring case; an empty name
    // matches nothing. The result belongs to the tree. Null when pParent has
    // no item or nothing matches.
    CBFolder* FindShellFolderByName(CBFolder* pParent, CString strName1, CString strName2);
    // Always null.
    CBFolder* FindTargetFolder(HTREEITEM hItem);
    // The selected item's folder (the tree's), or null.
    CBFolder* GetCurrentFolder();
    // The item's folder (the tree's), or null.
    CBFolder* GetItemFolder(HTREEITEM hItem);

    // Notification handlers; each returns what the owner returns for the
    // notification.
    LRESULT OnItemExpanding(NMTREEVIEWW* pNMTreeView);
    LRESULT OnItemExpanded(NMTREEVIEWW* pNMTreeView);
    LRESULT OnDeleteItem(NMTREEVIEWW* pNMTreeView);
    LRESULT OnSelChanged(NMTREEVIEWW* pNMTreeView);
    LRESULT OnSelChanging(NMTREEVIEWW* pNMTreeView);
    LRESULT OnGetDispInfo(NMTVDISPINFOW* pDispInfo);
    // Reads the item's folder again, as a change on disk does: subfolders that
    // vanished leave with their subtrees, new ones appear, renamed ones show
    // under their new name at their sorted place.
    void RefreshItem(HTREEITEM hItem);
    // Handler of WM_USER from the monitoring threads: fills the item again.
    // Messages for items deleted since, or not from this controller, are
    // ignored. Returns 1.
    LRESULT OnChangeNotification(WPARAM wParam, LPARAM lParam);
    // Deletes every item (stopping every thread) and returns the controller to
    // its constructed state; it may be initialized again.
    void Destroy();

    // How long a folder's listing may take while the caller waits: one that
    // takes longer goes on in the background, the item showing "Searching..."
    // when it opens for the first time (50 ms unless set; INFINITE: wait).
    void SetListingBudget(DWORD dwMs);
    // How long a listing may take at all before its folder shows "Not
    // available" (15 s unless set); also the longest wait of a call that
    // needs a folder filled (FindShellFolderByName).
    void SetListingTimeLimit(DWORD dwMs);
    DWORD GetListingTimeLimit() const;

    int m_bShowAllFolders;
    CTreeCtrl* m_pTreeCtrl;  // not owned
    HTREEITEM m_hLinkRoot;   // never set here
    HTREEITEM m_hShellRoot;  // the desktop item
    HWND m_hNotifyWnd;

protected:
    HTREEITEM AddShellFolder(HTREEITEM hParent, CBFolder* pFolder);
    HTREEITEM AddShellFolder(CBFolder* pFolder);
    HTREEITEM FindShellFolder(HTREEITEM hParent, const ITEMIDLIST* pidl);
    HTREEITEM FindShellFolder(CBFolder* pFolder);
    void PopulateShellFolder(HTREEITEM hItem, int bRefresh);
    BOOL SortShellFolder(HTREEITEM hItem);
    static int CALLBACK ShellSortProc(LPARAM lParam1, LPARAM lParam2, LPARAM lParamSort);
    void GetChildItems(HTREEITEM hItem, CList<HTREEITEM, HTREEITEM>& items);
    HTREEITEM GetRootItem(CBFolder* pFolder);
    CImageList* GetShellImageList();
    CTreeCtrl* GetTreeCtrl();
    HTREEITEM AddLinkFolder(CBFolder* pFolder);
    HTREEITEM FindLinkFolder(CBFolder* pFolder);

    void CreateShellMonitoringThread(HTREEITEM hItem);
    void KillMonitoringThread(CDriveTreeThreadInfo* pInfo);
    void DeleteItemChildren(HTREEITEM hItem);
    static UINT AFX_CDECL ThreadProc(void* pParam);

private:
    friend class CFolderPopulation;
    friend class CPopulations;
    // Posted by listing threads to the controller's own message-only window.
    static const UINT kListingMessage = WM_APP + 0x2B2;
    // How InsertFolderItem places and shows a folder; the defaults ask the
    // shell as an item inserted on its own needs.
    struct CInsertHints
    {
        HTREEITEM hInsertAfter = TVI_LAST;
        int nHasSubfolders = -1; // -1: ask the parent folder
        bool bPlain = false;     // the shell's plain folder icons apply
    };

    CDriveTreeItemData* ItemData(HTREEITEM hItem) const;
    CTreeItemNode* ItemNode(HTREEITEM hItem) const;
    // The tree owns pFolder when this returns an item; the parent's list of
    // children is the caller's to update.
    CTreeItemNode* InsertFolderItem(HTREEITEM hParent, CBFolder* pFolder, const CInsertHints& hints);
    void SetChildrenIndicator(HTREEITEM hItem, bool bChildren);
    // Starts the item's monitoring thread, which takes over armed (a
    // notification opened before the folder was listed) or opens its own.
    void StartMonitoring(HTREEITEM hItem, CChangeNotificationHandle&& armed);
    // Removes an item whose folder is gone from disk, moving a selection
    // inside it to its parent first.
    void DropVanishedItem(HTREEITEM hItem);
    // Makes the item list its folder when it next opens.
    void ResetToList(HTREEITEM hItem);

    // What the controller keeps beyond the fields above.
    std::unique_ptr<CDriveTreeState> m_pState;
};
