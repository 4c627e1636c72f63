// Pieces shared by the drive tree's sources; not exported.
#pragma once

#include "BrwsDriveTree.h"

#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

struct CDriveTreeState
{
    // The system's list is shared by the whole process: let go, never destroyed.
    ~CDriveTreeState() { imlShell.Detach(); }

    // The system image list of small icons, attached for as long as the state lives.
    CImageList imlShell;
    // Icons are looked up when the tree asks (TVN_GETDISPINFO) rather than at
    // insertion; on only while the owner is seen to route that notification.
    bool bLazyIcons = false;
    bool bDispInfoSeen = false;
    // The item data of live items whose monitoring record this controller
    // made: a change message is acted on only for these, since its item may
    // have been deleted (and its memory reused) while it sat in the queue.
    std::unordered_set<const CDriveTreeItemData*> monitored;
    // The notification a population opened for its item before enumerating
    // it, for CreateShellMonitoringThread to hand to the item's thread.
    HTREEITEM hArmedItem = nullptr;
    HANDLE hArmedChange = INVALID_HANDLE_VALUE;
};

// Owns one change notification handle (FindFirstChangeNotificationW), or none.
class CChangeNotificationHandle
{
public:
    CChangeNotificationHandle() noexcept = default;
    explicit CChangeNotificationHandle(HANDLE h) noexcept : m_h(h) {}
    ~CChangeNotificationHandle() { Reset(); }
    CChangeNotificationHandle(const CChangeNotificationHandle&) = delete;
    CChangeNotificationHandle& operator=(const CChangeNotificationHandle&) = delete;

    HANDLE Get() const noexcept { return m_h; }
    bool IsValid() const noexcept { return m_h != INVALID_HANDLE_VALUE; }
    // Hands the handle over; the holder is left empty.
    HANDLE Release() noexcept
    {
        HANDLE h = m_h;
        m_h = INVALID_HANDLE_VALUE;
        return h;
    }
    // Closes what is held and adopts h.
    void Reset(HANDLE h = INVALID_HANDLE_VALUE) noexcept
    {
        if (IsValid())
            ::FindCloseChangeNotification(m_h);
        m_h = h;
    }

private:
    HANDLE m_h = INVALID_HANDLE_VALUE;
};

// A directory-name change notification on a folder itself (not its subtree):
// what a monitoring thread waits on.
inline HANDLE OpenFolderChangeNotification(const CString& strPath)
{
    return ::FindFirstChangeNotificationW(strPath.GetString(), FALSE, FILE_NOTIFY_CHANGE_DIR_NAME);
}

// The children of one item during a population, each found in constant time
// instead of by a walk over all of them (which made a population quadratic).
//
// Children that were there before are keyed by their parsing name folded to
// upper case: identifiers that the folder's CompareIDs calls the same item
// name the same place, so they have the same parsing name up to letter case.
// Children this population inserted came from the same enumeration, which
// gives each item once and always with the same bytes, so they are keyed by
// a hash of those bytes; that spares asking the shell for a name per item.
// Either key only narrows the search: a match is still CompareIDs' word.
// Children without a name are compared one by one.
class CChildIndex
{
public:
    static std::wstring NameKeyOf(const CString& strParsingName);
    static size_t BytesKeyOf(LPCITEMIDLIST pidl);

    // A child present before the population; its slot is the number of
    // children added before it. All of these come before any AddNew.
    void AddExisting(const std::wstring& nameKey);
    // A child the population inserted; slots continue.
    void AddNew(size_t bytesKey);
    // Whether lookups need a name key (there are children from before).
    bool HasExisting() const { return m_nExisting > 0; }

    // The first slot, in the order added, that same(slot) accepts among the
    // candidates of the keys (nameKey is used only when HasExisting(); an
    // empty one makes every child from before a candidate); -1 when none.
    template <class Same>
    ptrdiff_t Find(const std::wstring& nameKey, size_t bytesKey, Same same) const
    {
        if (m_nExisting > 0)
        {
            if (nameKey.empty())
            {
                for (size_t nSlot = 0; nSlot < m_nExisting; ++nSlot)
                    if (same(nSlot))
                        return static_cast<ptrdiff_t>(nSlot);
            }
            else
            {
                ptrdiff_t nFound = -1;
                auto range = m_byName.equal_range(nameKey);
                for (auto it = range.first; it != range.second; ++it)
                    if ((nFound < 0 || it->second < static_cast<size_t>(nFound)) && same(it->second))
                        nFound = static_cast<ptrdiff_t>(it->second);
                for (size_t nSlot : m_unnamed)
                    if ((nFound < 0 || nSlot < static_cast<size_t>(nFound)) && same(nSlot))
                        nFound = static_cast<ptrdiff_t>(nSlot);
                if (nFound >= 0)
                    return nFound;
            }
        }
        if (m_cells.empty())
            return -1;
        // Open addressing with linear probing: cells hold (key, slot + 1).
        for (size_t i = bytesKey & (m_cells.size() - 1);; i = (i + 1) & (m_cells.size() - 1))
        {
            const Cell& cell = m_cells[i];
            if (!cell.nSlotPlus1)
                return -1;
            if (cell.key == bytesKey && same(cell.nSlotPlus1 - 1))
                return static_cast<ptrdiff_t>(cell.nSlotPlus1 - 1);
        }
    }

private:
    struct Cell
    {
        size_t key;
        size_t nSlotPlus1; // 0: empty
    };
    void Place(const Cell& cell);

    std::unordered_multimap<std::wstring, size_t> m_byName;
    std::vector<size_t> m_unnamed;
    size_t m_nExisting = 0;
    std::vector<Cell> m_cells; // a power of two in size, at most half full
    size_t m_nNew = 0;
};
