// Identifier-list functions against what shell32 computes for real lists.
#include "ShellTestSupport.h"

#include <functional>

using namespace shellmodel_test;

namespace {

using IDListTest = ShellModelTest;

TEST_F(IDListTest, WalksAndNewListsAgreeWithShellOrAreNullWithoutMemory)
{
    ScratchFolder scratch(L"idl", {L"a", L"a\\b"});
    CIDListHolder lists[] = {CIDListHolder(SpecialList(CSIDL_DESKTOP)), CIDListHolder(SpecialList(CSIDL_DRIVES)),
                             CIDListHolder(Parse(L"C:\\")), CIDListHolder(Parse(kDocumentsItem)),
                             CIDListHolder(Parse(scratch / L"a\\b"))};
    LPCITEMIDLIST empty = lists[0].Get();
    for (const CIDListHolder& list : lists)
    {
        LPCITEMIDLIST pidl = list.Get();
        ASSERT_TRUE(pidl);
        int nItems = 0;
        for (LPCITEMIDLIST p = pidl; p->mkid.cb; p = ILGetNext(p))
            ++nItems;
        EXPECT_EQ(ILGetSize(pidl), GetIDListLength(pidl));
        EXPECT_EQ(nItems, GetNumSegmentsOf(pidl));
        EXPECT_EQ(nItems == 0, !!IsEmptyIDList(pidl));
        EXPECT_EQ(ILFindLastID(pidl), GetLastIDListOf(pidl));
        EXPECT_EQ(nItems ? ILGetNext(pidl) : pidl, GetNextIDListOf(pidl));

        CIDListHolder copy(CopyIDList(pidl));
        EXPECT_TRUE(copy.Get() != pidl && SameBytes(pidl, copy.Get()));
        CIDListHolder first(CopyNextIDListOf(pidl)), shellFirst(nItems ? ILCloneFirst(pidl) : nullptr);
        EXPECT_TRUE(nItems ? SameBytes(shellFirst.Get(), first.Get()) : !first);
        CIDListHolder parent(CreateParentIDList(pidl)), shellParent(ShellPrefix(pidl, 1));
        EXPECT_TRUE(SameBytes(shellParent.Get(), parent.Get()));
        CIDListHolder joined(ConcatIDLists(parent.Get(), ILFindLastID(pidl)));
        CIDListHolder shellJoined(ILCombine(parent.Get(), ILFindLastID(pidl)));
        EXPECT_TRUE(SameBytes(shellJoined.Get(), joined.Get()));
        CIDListHolder emptyFirst(ConcatIDLists(empty, pidl)), emptySecond(ConcatIDLists(pidl, empty));
        EXPECT_TRUE(SameBytes(pidl, emptyFirst.Get()) && SameBytes(pidl, emptySecond.Get()));

        // Up to each item, and at the terminator the whole list.
        LPCITEMIDLIST link = pidl;
        for (int k = 0; k <= nItems; ++k, link = ILGetNext(link))
        {
            CIDListHolder prefix(CreateLinkIDList(pidl, link)), expected(ShellPrefix(pidl, nItems - k - 1));
            EXPECT_TRUE(SameBytes(expected.Get(), prefix.Get())) << "item " << k;
        }
    }
    EXPECT_EQ(nullptr, CreateLinkIDList(lists[2].Get(), lists[4].Get()));

    // A failed allocation gives null.
    LPCITEMIDLIST p = lists[4].Get();
    const std::function<LPITEMIDLIST()> makers[] = {
        [] { return CreateIDList(8); },          [p] { return CopyIDList(p); },
        [p] { return CopyNextIDListOf(p); },     [p] { return ConcatIDLists(p, p); },
        [p] { return CreateParentIDList(p); },   [p] { return CreateLinkIDList(p, p); },
        [&] { return GetFullIDList(nullptr, (scratch / L"a\\b").c_str()); }};
    for (const auto& make : makers)
    {
        TaskMemSpy::Instance().FailNextAllocations(1);
        EXPECT_FALSE(CIDListHolder(make()));
    }
}

} // namespace
