// Following changes on disk: one thread per filled file-system folder, its
// coalesced messages, the tree mirroring what it finds, and the thread's end
// when the item goes.
#include "TreeHost.h"

#include "module/Holders.h"

#include <thread>

namespace drivetree_test {
namespace {

const DWORD kQuietMs = 1500; // how long a change that must post nothing is watched

CScopedKernelHandle DuplicateThreadHandle(CDriveTreeItemData* pData)
{
    CScopedKernelHandle copy;
    if (pData && pData->m_pThreadInfo && pData->m_pThreadInfo->m_pThread)
        DuplicateHandle(GetCurrentProcess(), pData->m_pThreadInfo->m_pThread->m_hThread, GetCurrentProcess(),
                        copy.Receive(), SYNCHRONIZE | THREAD_QUERY_INFORMATION, FALSE, 0);
    return copy;
}

// Ended already (no waiting here), with the exit code of a stop when asked.
void ExpectEnded(const CScopedKernelHandle& thread, bool bStopped = true)
{
    DWORD dwExit = 0;
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(thread.Get(), 0));
    EXPECT_TRUE(GetExitCodeThread(thread.Get(), &dwExit) && (!bStopped || dwExit == 0xFFFFFFFFu)) << dwExit;
}

// An opened folder also gains its button with its first subfolder and loses
// it with its last; the first visible row stays while folders come and go
// above it.
TEST_F(DriveTreeTest, TheTreeMirrorsFoldersMadeRemovedAndRenamedOnDiskKeepingWhatStays)
{
    ScratchFolder scratch(L"mirror", {L"b", L"d", L"d\\inner", L"f", L"f\\gone too", L"g"});
    std::vector<std::wstring> expected = {L"c", L"d", L"e", L"g"};
    for (int i = 10; i < 70; ++i)
    {
        expected.push_back(L"z" + std::to_wstring(i));
        MakeFolder(scratch / expected.back());
    }
    CTreeHost host;
    CTreeCtrl& tree = host.Tree();
    HTREEITEM hFolder = host.OpenExpanded(scratch.Path());
    HTREEITEM hD = host.ChildNamed(hFolder, L"d");
    HTREEITEM hG = host.ChildNamed(hFolder, L"g");
    for (HTREEITEM hItem : {hD, host.ChildNamed(hFolder, L"f"), hG})
        tree.Expand(hItem, TVE_EXPAND);
    ASSERT_FALSE(host.HasButton(hG));
    const std::vector<HTREEITEM> dChildren = host.Children(hD);
    HTREEITEM hTop = host.ChildNamed(hFolder, L"z40");
    ASSERT_TRUE(tree.SelectSetFirstVisible(hTop));
    ASSERT_EQ(hTop, tree.GetFirstVisibleItem());
    tree.UpdateWindow();
    const UINT nItems = tree.GetCount();

    MakeFolder(scratch / L"c");
    testing_support::RemoveTree(scratch / L"f");
    ASSERT_TRUE(MoveFileW((scratch / L"b").c_str(), (scratch / L"e").c_str()));
    MakeFolder(scratch / L"g\\first");
    ASSERT_TRUE(host.PumpUntil([&] { return host.ChildTexts(hFolder) == expected; }));
    EXPECT_TRUE(host.PumpUntil([&] { return host.HasButton(hG) && host.Children(hG).size() == 1; }));

    // f went with its child, b became e, g gained one: as many items as before.
    EXPECT_EQ(nItems, tree.GetCount());
    EXPECT_EQ(hTop, tree.GetFirstVisibleItem());
    EXPECT_EQ(hD, host.ChildNamed(hFolder, L"d"));
    EXPECT_TRUE(tree.GetItemState(hD, TVIS_EXPANDED) & TVIS_EXPANDED);
    EXPECT_EQ(dChildren, host.Children(hD));
    for (HTREEITEM hChild : host.Children(hFolder))
        EXPECT_EQ(scratch / host.Text(hChild), std::wstring(host.Controller().GetItemFolder(hChild)->m_strPath.GetString()));
    ASSERT_TRUE(RemoveDirectoryW((scratch / L"g\\first").c_str()));
    EXPECT_TRUE(host.PumpUntil([&] { return !host.HasButton(hG) && host.Children(hG).empty(); }));
}

TEST_F(DriveTreeTest, ASelectionInAVanishedSubtreeMovesToItsNearestSurvivingAncestor)
{
    ScratchFolder scratch(L"selgone", {L"a", L"a\\b", L"a\\b\\c", L"keep"});
    CTreeHost host;
    CTreeCtrl& tree = host.Tree();
    HTREEITEM hFolder = host.Open(scratch.Path());
    HTREEITEM hC = host.Open(scratch / L"a\\b\\c");
    tree.SelectItem(hC); // opens (fills and watches) its ancestors
    HTREEITEM hB = tree.GetParentItem(hC);
    CScopedKernelHandle folderThread = DuplicateThreadHandle(host.Controller().Data(hFolder));
    CScopedKernelHandle aThread = DuplicateThreadHandle(host.Controller().Data(tree.GetParentItem(hB)));
    CScopedKernelHandle bThread = DuplicateThreadHandle(host.Controller().Data(hB));

    // Moved away whole, as to the recycle bin.
    ScratchFolder elsewhere(L"selgone-bin");
    ASSERT_TRUE(MoveFileW((scratch / L"a").c_str(), (elsewhere / L"a").c_str()));
    ASSERT_TRUE(host.PumpUntil([&] { return host.ChildTexts(hFolder) == std::vector<std::wstring>{L"keep"}; }));
    EXPECT_EQ(hFolder, tree.GetSelectedItem());
    EXPECT_EQ(hFolder, host.m_selections.empty() ? nullptr : host.m_selections.back()) << "the host was told";
    // The threads of a and b ended with their items; the folder's runs on.
    EXPECT_EQ(WAIT_TIMEOUT, WaitForSingleObject(folderThread.Get(), 0));
    ExpectEnded(aThread, false);
    ExpectEnded(bThread, false);
}

TEST_F(DriveTreeTest, ABurstOfThreeHundredNewFoldersCostsOneOrTwoFillings)
{
    ScratchFolder scratch(L"burst");
    for (int i = 0; i < 300; ++i)
        MakeFolder(scratch / (L"old " + std::to_wstring(i)));
    CTreeHost host;
    HTREEITEM hFolder = host.OpenExpanded(scratch.Path());
    const int nBefore = Populations();

    // Made by another thread while this one is busy, as an unzip would.
    std::thread maker([&] {
        for (int i = 0; i < 300; ++i)
            CreateDirectoryW((scratch / (L"new " + std::to_wstring(i))).c_str(), nullptr);
    });
    maker.join();
    ASSERT_TRUE(host.PumpUntil([&] { return host.Children(hFolder).size() == 600; }));
    EXPECT_FALSE(host.PumpUntil([&] { return Populations() > nBefore + 2; }, 300));
    EXPECT_GE(Populations(), nBefore + 1);
}

// Change messages handled late, when things have moved on: the folder gone
// from disk drops its item (the selection goes to the parent); the message
// of an item deleted meanwhile, or one that no watch of this controller
// posted, changes nothing.
TEST_F(DriveTreeTest, AChangeHandledLateFollowsWhatBecameOfItsFolderAndItsItem)
{
    ScratchFolder scratch(L"late", {L"watched", L"deleted"});
    CTreeHost host;
    HTREEITEM hWatched = host.OpenExpanded(scratch / L"watched");
    HTREEITEM hDeleted = host.OpenExpanded(scratch / L"deleted");
    HTREEITEM hParent = host.Tree().GetParentItem(hWatched);
    host.Tree().SelectItem(hWatched);
    host.m_bHoldChanges = true;
    MakeFolder(scratch / L"watched\\x");
    MakeFolder(scratch / L"deleted\\y");
    ASSERT_TRUE(host.PumpUntil([&] { return host.m_heldChanges.size() == 2; }));
    host.m_bHoldChanges = false;

    ScratchFolder elsewhere(L"late-bin");
    ASSERT_TRUE(MoveFileW((scratch / L"watched").c_str(), (elsewhere / L"watched").c_str()));
    ASSERT_TRUE(host.Tree().DeleteItem(hDeleted));
    const UINT nItems = host.Tree().GetCount();
    for (const MSG& msg : host.m_heldChanges)
        host.Controller().OnChangeNotification(msg.wParam, msg.lParam);
    EXPECT_TRUE(host.Children(hParent).empty());
    EXPECT_EQ(hParent, host.Tree().GetSelectedItem());
    EXPECT_EQ(nItems - 1, host.Tree().GetCount()); // watched alone went

    const int nPopulations = Populations();
    MSG foreign = {};
    EXPECT_EQ(1, host.Controller().OnChangeNotification(reinterpret_cast<WPARAM>(&foreign),
                                                        reinterpret_cast<LPARAM>(host.Controller().m_hShellRoot)));
    EXPECT_EQ(nPopulations, Populations());
}

TEST_F(DriveTreeTest, FileRenamesAndChangesDeeperDownPostNothing)
{
    ScratchFolder scratch(L"quiet", {L"sub"});
    ASSERT_TRUE(CScopedFileHandle(CreateFileW((scratch / L"file.txt").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                              0, nullptr))
                    .IsValid()); // made, and closed again
    CTreeHost host;
    host.OpenExpanded(scratch.Path());

    ASSERT_TRUE(MoveFileW((scratch / L"file.txt").c_str(), (scratch / L"renamed.txt").c_str()));
    MakeFolder(scratch / L"sub\\deeper");
    EXPECT_FALSE(host.PumpUntil([&] { return host.m_nChangeMessages > 0; }, kQuietMs));

    MakeFolder(scratch / L"new");
    EXPECT_TRUE(host.PumpUntil([&] { return host.m_nChangeMessages > 0; }));
}

// Deleting an item or destroying the controller returns only after the
// threads concerned ended; nothing is left behind.
TEST_F(DriveTreeTest, DeletingAnItemOrDestroyingEndsItsWatchFirstAndLeavesNothing)
{
    ScratchFolder scratch(L"leaks", {L"a", L"a\\a1", L"b", L"b\\b1", L"gone", L"gone\\g1"});
    const std::set<DWORD> threadsBefore = ThreadIds();
    {
        CTreeHost host;
        CTestTree& controller = host.Controller();
        HTREEITEM hFolder = host.OpenExpanded(scratch.Path());
        for (HTREEITEM hChild : host.Children(hFolder))
            host.Tree().Expand(hChild, TVE_EXPAND);
        MakeFolder(scratch / L"c");
        testing_support::RemoveTree(scratch / L"gone");
        EXPECT_TRUE(host.PumpUntil([&] { return host.ChildTexts(hFolder) == std::vector<std::wstring>{L"a", L"b", L"c"}; }));
        // The watch let go of the deleted folder: it is gone from disk too.
        EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW((scratch / L"gone").c_str()));
        UpdateWindow(host.Tree().m_hWnd);

        HTREEITEM hA = host.ChildNamed(hFolder, L"a");
        CScopedKernelHandle aThread = DuplicateThreadHandle(controller.Data(hA));
        CScopedKernelHandle folderThread = DuplicateThreadHandle(controller.Data(hFolder));
        ASSERT_TRUE(host.Tree().DeleteItem(hA));
        ExpectEnded(aThread);
        host.Tree().SelectItem(hFolder);
        EXPECT_EQ(controller.GetItemFolder(hFolder), controller.GetCurrentFolder());
        controller.Destroy();
        ExpectEnded(folderThread);
        // Destroy empties the controller, which can then start again.
        EXPECT_EQ(0u, host.Tree().GetCount());
        EXPECT_EQ(nullptr, controller.m_hShellRoot);
        EXPECT_EQ(nullptr, controller.GetCurrentFolder());
        controller.Initialize(&host.Tree(), host.Window(), 0);
        EXPECT_NE(nullptr, controller.m_hShellRoot);
    }
    EXPECT_TRUE(WaitForThreadsToEnd(threadsBefore));
}

} // namespace
} // namespace drivetree_test
