// Listings that take long go on in the background: the tree shows
// "Searching..." while the host answers input, then the folders in order;
// collapsing, deleting or destroying stops them at once; a folder that cannot
// be listed says "Not available" until it is opened again.
#include "TreeHost.h"
#include "ListingGate.h"

#include "drivetree/ListingSeam.h"

#include "module/Holders.h"
#include "resources/BrwsResourceIds.h"

#include <thread>

namespace drivetree_test {
namespace {

using testing_support::ListingGate;

TEST_F(DriveTreeTest, AHeldListingShowsSearchingWhileTheHostRunsThenItsFoldersInOrderWatched)
{
    ScratchFolder scratch(L"held", {L"c", L"a", L"b"});
    ListingGate gate;
    gate.Set(scratch.Path(), ListingGate::Mode::Hold);
    CTreeHost host;
    HTREEITEM hFolder = host.Open(scratch.Path());
    host.Tree().SelectItem(hFolder);
    host.UserExpand(hFolder); // returns although the listing waits

    EXPECT_EQ(Placeholder(IDS_BRWS_TREE_SEARCHING), host.ChildTexts(hFolder));
    EXPECT_TRUE(host.Tree().GetItemState(hFolder, TVIS_EXPANDED) & TVIS_EXPANDED);
    // Input goes on meanwhile: Down reaches the placeholder.
    PostMessageW(host.Tree().m_hWnd, WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_TRUE(host.PumpUntil([&] { return host.Tree().GetSelectedItem() == host.Tree().GetChildItem(hFolder); }));

    gate.Open();
    const std::vector<std::wstring> expected = {L"a", L"b", L"c"};
    EXPECT_TRUE(host.PumpUntil([&] { return host.ChildTexts(hFolder) == expected; }));
    EXPECT_EQ(1, host.m_nPlaceholdersDeleted);
    // Watched as any folder filled at once.
    MakeFolder(scratch / L"d");
    EXPECT_TRUE(host.PumpUntil([&] { return host.ChildTexts(hFolder).size() == 4; }));
}

// The folders come after the item opened (no budget) and the listing is held
// at its end: what the tree shows of them is what the slices painted. On C:
// the folder's rows are in view without scrolling.
TEST_F(DriveTreeTest, FoldersFoundInViewArePaintedBeforeTheListingEnds)
{
    ScratchFolder scratch(L"painted", {L"a", L"a\\x", L"a\\y"}, L"C:\\");
    ListingGate gate;
    gate.Set(scratch / L"a", ListingGate::Mode::HoldEnd);
    CTreeHost host;
    host.Controller().SetListingBudget(0);
    HTREEITEM hFolder = host.Open(scratch / L"a");
    host.UserExpand(hFolder);
    host.Tree().UpdateWindow();

    EXPECT_TRUE(host.PumpUntil([&] { return host.ChildNamed(hFolder, L"y") != nullptr; }));
    EXPECT_EQ(Placeholder(IDS_BRWS_TREE_SEARCHING).front(), host.ChildTexts(hFolder).front()); // still listing
    EXPECT_TRUE(host.ShowsText(host.ChildNamed(hFolder, L"x")));
    EXPECT_TRUE(host.ShowsText(host.ChildNamed(hFolder, L"y")));
}

TEST_F(DriveTreeTest, CollapsingDeletingOrDestroyingDuringAHeldListingStopsItAtOnceAndLeavesNoThread)
{
    ScratchFolder scratch(L"abandon", {L"one", L"one\\x", L"two", L"two\\y", L"three", L"three\\z", L"four",
                                       L"four\\w"});
    ListingGate gate;
    for (const wchar_t* name : {L"one", L"two", L"three", L"four"})
        gate.Set(scratch / name, ListingGate::Mode::Hold);
    const std::set<DWORD> threadsBefore = ThreadIds();
    {
        CTreeHost host;
        HTREEITEM hOne = host.Open(scratch / L"one");
        HTREEITEM hTwo = host.Open(scratch / L"two");
        HTREEITEM hFour = host.Open(scratch / L"four");
        for (HTREEITEM hItem : {hOne, hTwo, hFour})
            host.UserExpand(hItem);
        host.UserCollapse(hFour);
        const LONG nFillings = BrwsFillingsInProgress();
        DWORD dwStart = GetTickCount();
        ASSERT_TRUE(host.Tree().DeleteItem(hOne));
        EXPECT_LT(GetTickCount() - dwStart, 1000u);
        EXPECT_EQ(nFillings - 1, BrwsFillingsInProgress()) << "the deleted item's filling goes on";
        // The collapsed and the deleted items' listings end with the others and add nothing.
        const UINT nItems = host.Tree().GetCount();
        gate.Open();
        EXPECT_TRUE(host.PumpUntil([&] { return host.ChildTexts(hTwo) == std::vector<std::wstring>{L"y"}; }));
        ASSERT_TRUE(gate.WaitUntilNoneLive(10000));
        host.PumpUntil([] { return false; }, 500); // time for a stray insert
        EXPECT_EQ(nItems, host.Tree().GetCount());
        EXPECT_EQ(Placeholder(IDS_BRWS_TREE_SEARCHING), host.ChildTexts(hFour));
        // Opened again, the collapsed folder is listed anew.
        gate.Clear(scratch / L"four");
        host.UserExpand(hFour);
        EXPECT_EQ(std::vector<std::wstring>{L"w"}, host.ChildTexts(hFour));

        gate.Close();
        host.UserExpand(host.Open(scratch / L"three"));
        dwStart = GetTickCount();
        host.Controller().Destroy();
        EXPECT_LT(GetTickCount() - dwStart, 1000u);
    }
    gate.Open();
    EXPECT_TRUE(gate.WaitUntilNoneLive(10000));
    EXPECT_TRUE(WaitForThreadsToEnd(threadsBefore));
}

// Wine's folders snapshot their content as the enumeration starts, before
// the gate: what is made while the refresh is held is new to it.
TEST_F(DriveTreeTest, ARefreshHeldInTheBackgroundKeepsTheHostRunningAndMissesNoChangeMadeMeanwhile)
{
    ScratchFolder scratch(L"refresh", {L"a"});
    ListingGate gate;
    CTreeHost host;
    HTREEITEM hFolder = host.Open(scratch.Path());
    host.UserExpand(hFolder);
    ASSERT_EQ(std::vector<std::wstring>{L"a"}, host.ChildTexts(hFolder));

    // Should the host freeze in the refresh, this lets it go and says so.
    CScopedKernelHandle pumped(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    volatile bool bRescued = false;
    std::thread rescue([&] {
        if (WaitForSingleObject(pumped.Get(), 10000) == WAIT_TIMEOUT)
            bRescued = true, gate.Open();
    });
    gate.Set(scratch.Path(), ListingGate::Mode::Hold);
    MakeFolder(scratch / L"b");
    EXPECT_TRUE(host.PumpUntil([&] { return gate.Waiting() == 1; }));
    SetEvent(pumped.Get());
    rescue.join();
    EXPECT_FALSE(bRescued) << "the host waited for the refresh";
    EXPECT_EQ(std::vector<std::wstring>{L"a"}, host.ChildTexts(hFolder)); // as before until the refresh ends

    const int nChanges = host.m_nChangeMessages;
    MakeFolder(scratch / L"c");
    EXPECT_TRUE(host.PumpUntil([&] { return host.m_nChangeMessages > nChanges; }));
    gate.Clear(scratch.Path());
    gate.Open();
    const std::vector<std::wstring> expected = {L"a", L"b", L"c"};
    EXPECT_TRUE(host.PumpUntil([&] { return host.ChildTexts(hFolder) == expected; }));
}

TEST_F(DriveTreeTest, AFolderThatCannotBeListedInTimeSaysNotAvailableUntilOpenedAgain)
{
    ScratchFolder scratch(L"unavailable", {L"failing", L"failing\\inside", L"slow", L"slow\\inside"});
    ListingGate gate;
    gate.Set(scratch / L"failing", ListingGate::Mode::Fail);
    gate.Set(scratch / L"slow", ListingGate::Mode::Hold);
    CTreeHost host;
    host.Controller().SetListingTimeLimit(300);
    HTREEITEM hFailing = host.Open(scratch / L"failing");
    HTREEITEM hSlow = host.Open(scratch / L"slow");
    const std::vector<std::wstring> notAvailable = Placeholder(IDS_BRWS_TREE_NOT_AVAILABLE);

    host.UserExpand(hFailing);
    EXPECT_EQ(notAvailable, host.ChildTexts(hFailing));
    host.UserExpand(hSlow);
    EXPECT_TRUE(host.PumpUntil([&] { return host.ChildTexts(hSlow) == notAvailable; }));
    // A call that needs the folder filled waits no longer than the limit.
    CBFolder* pSlow = host.Controller().GetItemFolder(hSlow);
    EXPECT_EQ(nullptr, host.Controller().FindShellFolderByName(pSlow, L"inside", L""));
    EXPECT_EQ(notAvailable, host.ChildTexts(hSlow));

    gate.Clear(scratch / L"failing");
    gate.Clear(scratch / L"slow");
    for (HTREEITEM hItem : {hFailing, hSlow})
    {
        host.UserCollapse(hItem);
        host.UserExpand(hItem);
        EXPECT_EQ(std::vector<std::wstring>{L"inside"}, host.ChildTexts(hItem));
    }
}

} // namespace
} // namespace drivetree_test
