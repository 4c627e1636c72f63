// The drive-tree tests' host: a real top-level window owning a real tree
// control, whose procedure routes the tree's notifications and the change
// message to a controller, as a host window of the library does.
#pragma once

#include "BrwsDriveTree.h"
#include "BrwsFolderFactory.h"
#include "BrwsIDList.h"
#include "DialogDriver.h"
#include "MallocSpy.h"
#include "TestProcess.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

namespace drivetree_test {

using testing_support::ScratchFolder;

// Opens the protected operations to the tests.
class CTestTree : public CDriveTreeUtil
{
public:
    using CDriveTreeUtil::PopulateShellFolder;

    CDriveTreeItemData* Data(HTREEITEM hItem) const
    {
        return reinterpret_cast<CDriveTreeItemData*>(m_pTreeCtrl->GetItemData(hItem));
    }
};

class CTreeHost
{
public:
    // bRouteDispInfo false: a host that does not route TVN_GETDISPINFO.
    explicit CTreeHost(int bShowAllFolders = 1, bool bRouteDispInfo = true);
    // Destroys the controller (if still initialized) and the windows.
    ~CTreeHost();
    CTreeHost(const CTreeHost&) = delete;
    CTreeHost& operator=(const CTreeHost&) = delete;

    HWND Window() const { return m_hwnd; }
    CTreeCtrl& Tree() { return m_tree; }
    CTestTree& Controller() { return m_controller; }

    // The item of a path, inserted with its ancestors (the path must exist).
    HTREEITEM Open(const std::wstring& path);
    // The same, expanded (TVM_EXPAND: the owner hears of it).
    HTREEITEM OpenExpanded(const std::wstring& path)
    {
        HTREEITEM hItem = Open(path);
        m_tree.Expand(hItem, TVE_EXPAND);
        return hItem;
    }
    std::vector<HTREEITEM> Children(HTREEITEM hItem);
    std::vector<std::wstring> ChildTexts(HTREEITEM hItem);
    HTREEITEM ChildNamed(HTREEITEM hItem, const std::wstring& name);
    std::wstring Text(HTREEITEM hItem) { return m_tree.GetItemText(hItem).GetString(); }
    bool HasButton(HTREEITEM hItem) { return m_tree.ItemHasChildren(hItem) != FALSE; }
    // Whether the item's text is on the screen once the tree painted what is due.
    bool ShowsText(HTREEITEM hItem);
    // Collapses or expands as the user does, from the keyboard: unlike
    // TVM_EXPAND, that always notifies the owner.
    void UserCollapse(HTREEITEM hItem) { UserKey(hItem, VK_LEFT); }
    void UserExpand(HTREEITEM hItem) { UserKey(hItem, VK_RIGHT); }

    // Dispatches messages until done() holds or timeoutMs pass; done()'s value.
    bool PumpUntil(const std::function<bool()>& done, DWORD ms = 10000) { return testing_support::PumpMessagesUntil(done, ms); }

    // WM_USER messages are routed while this is set; each is counted.
    bool m_bRouteChanges = true;
    int m_nChangeMessages = 0;
    // While set, WM_USER messages are kept here instead (for a test to hand
    // them on later, when things on disk have moved on).
    bool m_bHoldChanges = false;
    std::vector<MSG> m_heldChanges;
    // The new item of every TVN_SELCHANGED, in order.
    std::vector<HTREEITEM> m_selections;
    // Items without data (placeholders) deleted so far.
    int m_nPlaceholdersDeleted = 0;
    // Items the tree asked TVN_GETDISPINFO for.
    std::set<HTREEITEM> m_dispInfoItems;

private:
    void UserKey(HTREEITEM hItem, UINT nKey);
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    HWND m_hwnd = nullptr;
    CTreeCtrl m_tree;
    CTestTree m_controller;
    bool m_bRouteDispInfo;
};

// Populations so far: each shows the application's wait cursor once.
int Populations();

// Leak-checked fixture; the shell and the tree are warmed up once first.
class DriveTreeTest : public testing_support::TaskMemCheckedTest
{
protected:
    static void SetUpTestSuite();
};

inline void MakeFolder(const std::wstring& path)
{
    ASSERT_TRUE(CreateDirectoryW(path.c_str(), nullptr)) << testing_support::Narrow(path);
}
// The ids of this process's threads.
std::set<DWORD> ThreadIds();
// Waits up to timeoutMs for every thread not in before to end.
bool WaitForThreadsToEnd(const std::set<DWORD>& before, DWORD timeoutMs = 10000);
// An item's children when it shows just the placeholder of string nId of
// the language module.
inline std::vector<std::wstring> Placeholder(UINT nId)
{
    CString text;
    text.LoadString(nId);
    return {text.GetString()};
}

} // namespace drivetree_test
