// Identifier-list functions against what shell32 computes for real lists, and
// the bound-folder holder against real reference counts.
#include "ShellTestSupport.h"

#include <string.h>

#include <functional>
#include <vector>

using namespace shellmodel_test;

namespace {

class IDListTest : public ShellModelTest
{
};

TEST_F(IDListTest, WalksAndNewListsAgreeWithShell)
{
    ScratchFolder scratch(L"idl");
    MakeFolders(scratch / L"a\\b");
    CIDListHolder lists[] = {CIDListHolder(SpecialList(CSIDL_DESKTOP)),
                             CIDListHolder(SpecialList(CSIDL_DRIVES)),
                             CIDListHolder(ShellParse(L"C:\\")), CIDListHolder(ShellParse(kDocumentsItem)),
                             CIDListHolder(ShellParse(scratch / L"a\\b"))};
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

        // Lists are byte runs: the same list at an odd address reads the same.
        std::vector<BYTE> buffer(ILGetSize(pidl) + 1);
        memcpy(&buffer[1], pidl, ILGetSize(pidl));
        CIDListHolder copy(CopyIDList(reinterpret_cast<LPCITEMIDLIST>(&buffer[1])));
        EXPECT_TRUE(SameBytes(pidl, copy.Get()));

        CIDListHolder first(CopyNextIDListOf(pidl));
        CIDListHolder shellFirst(nItems ? ILCloneFirst(pidl) : nullptr);
        EXPECT_TRUE(nItems ? SameBytes(shellFirst.Get(), first.Get()) : !first);
        CIDListHolder parent(CreateParentIDList(pidl));
        CIDListHolder shellParent(ShellPrefix(pidl, 1));
        EXPECT_TRUE(SameBytes(shellParent.Get(), parent.Get()));
        CIDListHolder joined(ConcatIDLists(parent.Get(), ILFindLastID(pidl)));
        CIDListHolder shellJoined(ILCombine(parent.Get(), ILFindLastID(pidl)));
        EXPECT_TRUE(SameBytes(shellJoined.Get(), joined.Get()));
        CIDListHolder emptyFirst(ConcatIDLists(empty, pidl));
        CIDListHolder emptySecond(ConcatIDLists(pidl, empty));
        EXPECT_TRUE(SameBytes(pidl, emptyFirst.Get()) && SameBytes(pidl, emptySecond.Get()));

        // Up to each item, and at the terminator the whole list.
        LPCITEMIDLIST link = pidl;
        for (int k = 0; k <= nItems; ++k, link = ILGetNext(link))
        {
            CIDListHolder prefix(CreateLinkIDList(pidl, link));
            CIDListHolder expected(ShellPrefix(pidl, nItems - k - 1));
            EXPECT_TRUE(SameBytes(expected.Get(), prefix.Get())) << "item " << k;
        }
    }
    EXPECT_EQ(nullptr, CreateLinkIDList(lists[2].Get(), lists[4].Get()));
}

TEST_F(IDListTest, FailedAllocationGivesNull)
{
    CIDListHolder list(ShellParse(L"C:\\windows"));
    LPCITEMIDLIST p = list.Get();
    const std::function<LPITEMIDLIST()> makers[] = {
        [] { return CreateIDList(8); },          [p] { return CopyIDList(p); },
        [p] { return CopyNextIDListOf(p); },     [p] { return ConcatIDLists(p, p); },
        [p] { return CreateParentIDList(p); },   [p] { return CreateLinkIDList(p, p); },
        [p] { return GetFullIDList(nullptr, L"C:\\windows"); }};
    for (const auto& make : makers)
    {
        TaskMemSpy::Instance().FailNextAllocations(1);
        CIDListHolder result(make());
        EXPECT_FALSE(result);
    }
}

TEST_F(IDListTest, NonAnsiNamesRoundTrip)
{
    ScratchFolder scratch(L"names");
    CShellFolderHolder desktop = Desktop();
    for (const wchar_t* name : kNonAnsiNames)
    {
        const std::wstring path = scratch / name;
        MakeFolders(path);
        CIDListHolder expected(ShellParse(path));
        CIDListHolder viaPath(GetFullIDList(nullptr, path.c_str()));
        EXPECT_TRUE(SameBytes(expected.Get(), viaPath.Get())) << Utf8(name);

        CIDListHolder parentList(CreateParentIDList(expected.Get()));
        CShellFolderBind parent(desktop.Get(), parentList.Get());
        ASSERT_TRUE(parent.IsBound());
        LPCITEMIDLIST relative = ILFindLastID(expected.Get());
        CIDListHolder viaFolder(GetFullIDList(parent.m_pFolder, relative));
        EXPECT_TRUE(SameBytes(expected.Get(), viaFolder.Get())) << Utf8(name);
        EXPECT_EQ(Utf8(name), Utf8(GetNameOf(parent.m_pFolder, relative, SHGDN_INFOLDER)));
        EXPECT_EQ(Narrow(path), Utf8(GetNameOf(parent.m_pFolder, relative, SHGDN_FORPARSING)));
    }
    CIDListHolder empty(SpecialList(CSIDL_DESKTOP));
    CIDListHolder fromEmpty(GetFullIDList(desktop.Get(), empty.Get()));
    EXPECT_TRUE(fromEmpty.Get() != empty.Get() && SameBytes(empty.Get(), fromEmpty.Get()));
    EXPECT_EQ(nullptr, GetFullIDList(nullptr, (scratch / L"missing").c_str()));
}

TEST_F(IDListTest, FolderBindHoldsOneReference)
{
    ScratchFolder scratch(L"bind");
    MakeFolders(scratch / L"child");
    MakeFile(scratch / L"file");
    CShellFolderHolder desktop = Desktop();
    CIDListHolder folder(ShellParse(scratch.Path()));
    CShellFolderBind bound(desktop.Get(), folder.Get());
    ASSERT_TRUE(bound.IsBound());
    CIDListHolder child(Parse(bound.m_pFolder, L"child"));
    EXPECT_EQ(Narrow(scratch / L"child"), Utf8(GetNameOf(bound.m_pFolder, child.Get(), SHGDN_FORPARSING)));

    IShellFolder* pFolder = bound.m_pFolder;
    const ULONG nRefs = Refs(pFolder);
    CIDListHolder empty(SpecialList(CSIDL_DESKTOP));
    {
        CShellFolderBind self(pFolder, empty.Get());
        EXPECT_EQ(pFolder, self.m_pFolder);
        EXPECT_EQ(nRefs + 1, Refs(pFolder));
        CShellFolderHolder detached(self.Detach());
        EXPECT_FALSE(self.IsBound());
    }
    EXPECT_EQ(nRefs, Refs(pFolder)); // released once, by the new owner
    CIDListHolder file(ShellParse(scratch / L"file"));
    EXPECT_FALSE(CShellFolderBind(desktop.Get(), file.Get()).IsBound());
    EXPECT_FALSE(CShellFolderBind(nullptr, empty.Get()).IsBound());
}

TEST_F(IDListTest, ComparesAndIconsAsTheShellDoes)
{
    ScratchFolder scratch(L"cmp");
    MakeFolders(scratch / L"a");
    MakeFolders(scratch / L"b");
    CIDListHolder folder(ShellParse(scratch.Path()));
    CShellFolderBind bound(Desktop().Get(), folder.Get());
    ASSERT_TRUE(bound.IsBound());
    CIDListHolder a(Parse(bound.m_pFolder, L"a"));
    CIDListHolder b(Parse(bound.m_pFolder, L"b"));
    EXPECT_LT(CompareIDLists(0, bound.m_pFolder, a.Get(), b.Get()), 0);
    EXPECT_GT(CompareIDLists(0, bound.m_pFolder, b.Get(), a.Get()), 0);
    EXPECT_EQ(0, CompareIDLists(0, bound.m_pFolder, a.Get(), a.Get()));

    SHFILEINFOW info = {};
    ASSERT_TRUE(SHGetFileInfoW((scratch / L"a").c_str(), 0, &info, sizeof(info), SHGFI_SYSICONINDEX));
    CIDListHolder full(ShellParse(scratch / L"a"));
    EXPECT_EQ(info.iIcon, GetShellIconIndex(full.Get(), 0));
}

} // namespace
