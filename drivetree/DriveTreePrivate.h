// Pieces shared by the drive tree's sources; not exported.
#pragma once

#include "BrwsDriveTree.h"
#include "fileutil/PathInternal.h"
#include "module/Holders.h"

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

// The item data of every item the controller inserts. Beyond the folder and
// the monitoring record that the exported data holds, a node mirrors the
// tree's structure: its parent and its children in the tree's order. Filling,
// refreshing and searching a folder read the mirror instead of walking the
// tree control, whose every message on an item costs a scan of all items in
// some implementations (Wine's among them).
class CTreeItemNode : public CDriveTreeItemData
{
public:
    explicit CTreeItemNode(CBFolder* pFolder) noexcept : CDriveTreeItemData(pFolder, nullptr) {}
    CTreeItemNode(const CTreeItemNode&) = delete;
    CTreeItemNode& operator=(const CTreeItemNode&) = delete;

    // Every item data of the controller's trees is a node.
    static CTreeItemNode* Of(CDriveTreeItemData* pData) noexcept { return static_cast<CTreeItemNode*>(pData); }

    const CBShellData* Shell() const noexcept { return m_pFolder ? m_pFolder->GetShellData() : nullptr; }

    // The children in the tree's order.
    const std::vector<CTreeItemNode*>& Children();
    // Links pChild in before the child now at nAt (at the end for Children().size()).
    void Adopt(CTreeItemNode* pChild, size_t nAt);
    // Takes over a new list of children, in the tree's order.
    void SetChildren(std::vector<CTreeItemNode*> children);
    // Called as the item goes: leaves a hole in the parent's list and
    // forgets the children, whose own deletions may come before or after.
    void Unlink() noexcept;
    // Whether pAncestor is this node or one of its ancestors.
    bool IsWithin(const CTreeItemNode* pAncestor) const noexcept;
    // Its index among its parent's children.
    size_t SlotInParent() const noexcept { return m_nSlot; }

    // The folder's name within its parent for matching (see CChildIndex);
    // asked of the shell once, empty when it has none.
    const std::wstring& MatchKey();

    static const uint32_t kNoRank = 0xFFFFFFFF;

    HTREEITEM m_hItem = nullptr;
    CTreeItemNode* m_pParentNode = nullptr;
    // The child that says "Searching..." or "Not available", or null.
    HTREEITEM m_hPlaceholder = nullptr;
    // Filled from a listing (false again when one failed).
    bool m_bFilled = false;
    // Its place in its parent's order while a listing puts the children in
    // order; kNoRank for one the listing did not name.
    uint32_t m_nRank = kNoRank;

private:
    void CloseHoles();

    std::vector<CTreeItemNode*> m_children; // null where a child was deleted
    size_t m_nHoles = 0;
    size_t m_nSlot = 0; // this node's index in its parent's m_children
    std::wstring m_matchKey;
    bool m_bMatchKeyKnown = false;
};

// The children of a folder being filled, found again by name: a child that
// the folder's CompareIDs calls the same as a listed item has the same
// parsing name up to letter case, so the name narrows the search to one or
// two candidates and CompareIDs has the last word. Each child is taken once;
// what is left at the end is what vanished from disk.
class CChildIndex
{
public:
    explicit CChildIndex(const std::vector<CTreeItemNode*>& children);
    // The folder's name within its parent as a key: its parsing name there
    // (a file-system folder's file name, read from its identifier), upper case.
    static std::wstring KeyOf(IShellFolder* pFolder, LPCITEMIDLIST relative);
    static std::wstring KeyOf(const wchar_t* pszName);
    // The child that is the listed item (relative, with its key), or null.
    CTreeItemNode* Take(IShellFolder* pFolder, LPCITEMIDLIST relative, const std::wstring& key);
    // Whether a child (not yet taken) is in the index.
    bool Holds(const CTreeItemNode* pChild) const { return m_untaken.count(pChild) != 0; }
    // A child inserted meanwhile by others; one deleted meanwhile.
    void Add(CTreeItemNode* pChild);
    void Forget(const CTreeItemNode* pChild);

private:
    bool IsSame(IShellFolder* pFolder, LPCITEMIDLIST relative, CTreeItemNode* pChild) const;

    std::unordered_multimap<std::wstring, CTreeItemNode*> m_byKey;
    std::vector<CTreeItemNode*> m_unnamed; // children the shell gave no name
    std::unordered_set<const CTreeItemNode*> m_untaken;
};

// A directory-name change notification on a folder itself (not its subtree).
inline CChangeNotificationHandle OpenFolderChangeNotification(const CString& strPath)
{
    return CChangeNotificationHandle(::FindFirstChangeNotificationW(ExtendedLengthPath(strPath).GetString(), FALSE,
                                                                    FILE_NOTIFY_CHANGE_DIR_NAME));
}

// The icon indexes the shell gives every plain file-system folder: a folder
// that no desktop.ini can customise (neither read-only nor system) and that
// is no drive or special folder. The closed one is asked once by attributes
// alone; the open one too where the shell answers that (Wine gives the closed
// one again), else it is learnt from the first plain folder looked up whose
// closed icon is the plain one. On the tree's thread only.
class CPlainFolderIcons
{
public:
    static CPlainFolderIcons& Instance();
    // Both indexes for a plain folder; false while the open one is unknown
    // and pidlFull (a plain folder) could not teach it.
    bool Get(LPCITEMIDLIST pidlFull, int& nClosed, int& nOpen);

private:
    CPlainFolderIcons();
    int m_nClosed;
    int m_nOpen; // -1 until known
};
// Whether a file-system folder with these attributes is such a plain folder.
bool IsPlainFolderAttributes(DWORD dwAttributes);

// The find data of a file-system folder, read from its identifier alone;
// false for drives, virtual and special folders (no data, or no directory).
bool GetFileSystemFolderData(IShellFolder* pFolder, LPCITEMIDLIST relative, WIN32_FIND_DATAW& data);

class CPopulations;

// What the controller keeps beyond its exported fields.
struct CDriveTreeState
{
    explicit CDriveTreeState(CDriveTreeUtil& controller);
    ~CDriveTreeState();
    // The fillings that go on in the background.
    std::unique_ptr<CPopulations> populations;
    // The system image list of small icons, attached for as long as the
    // state lives (the list is the whole process's: let go, never destroyed).
    CImageList imlShell;
    // Icons are looked up when the tree asks (TVN_GETDISPINFO) rather than at
    // insertion; on only while the owner is seen to route that notification.
    bool bLazyIcons = false;
    bool bDispInfoSeen = false;
    // The item data of live items whose monitoring record this controller
    // made: a change message is acted on only for these, since its item may
    // have been deleted (and its memory reused) while it sat in the queue.
    std::unordered_set<const CDriveTreeItemData*> monitored;
};
