// Pieces shared by the drive tree's sources; not exported.
#pragma once

#include "BrwsDriveTree.h"

#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

struct CDriveTreeState
{
    // The system image list of small icons, attached without owning it.
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

// The children of one item during a population, each found by its identity
// in constant time instead of by a walk over all of them.
//
// The identity is the item's parsing name folded to upper case: two
// identifiers that the folder's CompareIDs calls the same item name the same
// place and so have the same parsing name, up to letter case. A name only
// narrows the search; the match itself is still CompareIDs' word. Entries
// without a name (the shell could not give one) are compared one by one.
class CChildIndex
{
public:
    // The key of a parsing name; empty when there is none.
    static std::wstring KeyOf(const CString& strParsingName);

    // Adds the next entry; its slot is the number of entries added before it.
    void Add(const std::wstring& key);

    // The slot of the first entry, in the order they were added, for which
    // same(slot) holds among those that may match key; -1 when none does.
    template <class Same>
    ptrdiff_t Find(const std::wstring& key, Same same) const
    {
        if (key.empty())
        {
            // No name to narrow by: every entry is a candidate.
            for (size_t nSlot = 0; nSlot < m_nCount; ++nSlot)
                if (same(nSlot))
                    return static_cast<ptrdiff_t>(nSlot);
            return -1;
        }
        ptrdiff_t nFound = -1;
        auto range = m_byKey.equal_range(key);
        for (auto it = range.first; it != range.second; ++it)
            if ((nFound < 0 || it->second < static_cast<size_t>(nFound)) && same(it->second))
                nFound = static_cast<ptrdiff_t>(it->second);
        for (size_t nSlot : m_keyless)
            if ((nFound < 0 || nSlot < static_cast<size_t>(nFound)) && same(nSlot))
                nFound = static_cast<ptrdiff_t>(nSlot);
        return nFound;
    }

private:
    std::unordered_multimap<std::wstring, size_t> m_byKey;
    std::vector<size_t> m_keyless;
    size_t m_nCount = 0;
};
