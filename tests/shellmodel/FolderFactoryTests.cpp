// Folder factories and drive queries against the real shell and real folders.
#include "ShellTestSupport.h"

using namespace shellmodel_test;
using testing_support::RemoveTree;

namespace {

class FolderFactoryTest : public ShellModelTest
{
protected:
    const HWND m_hwndOwner = GetDesktopWindow();
};

TEST_F(FolderFactoryTest, DesktopIsItsOwnParentAndTheParentOfTopItems)
{
    CShellFolderHolder desktop = Desktop();
    FolderPtr top(CreateShellDesktop(m_hwndOwner));
    FolderPtr empty(CreateShellFolder(m_hwndOwner, SpecialList(CSIDL_DESKTOP), true));
    FolderPtr computer(CreateShellFolder(m_hwndOwner, SpecialList(CSIDL_DRIVES), true));
    ASSERT_TRUE(top && empty && computer);
    for (const FolderPtr* folder : {&top, &empty, &computer})
        EXPECT_EQ(desktop.Get(), (*folder)->GetShellData()->m_pParentFolder);
    EXPECT_TRUE(IsShellDesktop(top.get()) && IsShellDesktop(empty.get()));
    EXPECT_FALSE(IsShellDesktop(computer.get()));
    EXPECT_EQ(m_hwndOwner, top->GetShellData()->m_hwndOwner);
    EXPECT_EQ(Utf8(top->m_strName), Utf8(empty->m_strName));
}

TEST_F(FolderFactoryTest, NonAnsiFoldersRoundTrip)
{
    ScratchFolder scratch(L"fac");
    for (const wchar_t* name : kNonAnsiNames)
    {
        const std::wstring path = scratch / name + L"\\" + name;
        MakeFolders(path);
        FolderPtr folder(CreateShellFolder(m_hwndOwner, path.c_str()));
        ASSERT_TRUE(folder) << Narrow(path);
        EXPECT_EQ(Narrow(path), Utf8(folder->m_strPath));
        EXPECT_EQ(Utf8(name), Utf8(folder->m_strName));
        CIDListHolder expected(ShellParse(path));
        EXPECT_TRUE(SameBytes(expected.Get(), ListOf(folder)));

        // Without ownership the caller's list stays the caller's.
        FolderPtr borrowed(CreateShellFolder(m_hwndOwner, expected.Get(), false));
        ASSERT_TRUE(borrowed);
        EXPECT_NE(expected.Get(), ListOf(borrowed));
        EXPECT_EQ(Narrow(path), Utf8(borrowed->m_strPath));
    }
}

TEST_F(FolderFactoryTest, ChainLinksAreAncestors)
{
    ScratchFolder scratch(L"chain");
    MakeFolders(scratch / L"a\\b");
    CIDListHolder chain(ShellParse(scratch / L"a\\b"));
    const int nItems = GetNumSegmentsOf(chain.Get());
    LPCITEMIDLIST link = chain.Get();
    for (int k = 0; k < nItems; ++k, link = ILGetNext(link))
    {
        FolderPtr folder(CreateShellFolderChainLink(m_hwndOwner, chain.Get(), link));
        CIDListHolder expected(ShellPrefix(chain.Get(), nItems - k - 1));
        ASSERT_TRUE(folder) << k;
        EXPECT_TRUE(SameBytes(expected.Get(), ListOf(folder))) << k;
        EXPECT_EQ(Narrow(ShellPath(expected.Get())), Utf8(folder->m_strPath)) << k;
    }
}

TEST_F(FolderFactoryTest, ClipFoldersBecomeFullFolders)
{
    ScratchFolder scratch(L"clip");
    FolderPtr clip(CreateShellClipFolder(m_hwndOwner, ShellParse(scratch.Path()), L"elsewhere"));
    FolderPtr clipTop(CreateShellClipFolder(m_hwndOwner, SpecialList(CSIDL_DESKTOP), L""));
    LPITEMIDLIST clipList = ListOf(clip);
    FolderPtr full(CreateShellFolderFromClipFolder(clip.get()));
    FolderPtr top(CreateShellFolderFromClipFolder(clipTop.get()));
    ASSERT_TRUE(full && top);
    EXPECT_EQ(Narrow(scratch.Path()), Utf8(full->m_strPath));
    EXPECT_TRUE(full->GetShellData()->m_pParentFolder);
    EXPECT_EQ(m_hwndOwner, full->GetShellData()->m_hwndOwner);
    EXPECT_TRUE(clipList == ListOf(clip) && clip->m_strPath == L"elsewhere");
    EXPECT_TRUE(IsShellDesktop(top.get()));
    EXPECT_EQ(m_hwndOwner, top->GetShellData()->m_hwndOwner);
}

TEST_F(FolderFactoryTest, SpecialFolderRunsThroughDocumentsItem)
{
    const std::wstring docs = DocumentsPath();
    const std::wstring tag = L"tbu" + testing_support::UniqueTag();
    // Below the documents folder, and beside it with a name that starts with its own.
    const std::wstring below = docs + L"\\" + tag;
    const std::wstring sibling = docs + tag;
    std::shared_ptr<void> removeAtEnd(nullptr, [&](void*) {
        RemoveTree(below);
        RemoveTree(sibling);
    });
    MakeFolders(below + L"\\sub");
    MakeFolders(sibling + L"\\sub");
    CIDListHolder item(ShellParse(kDocumentsItem));
    for (const wchar_t* name : kNonAnsiNames)
    {
        const std::wstring path = below + L"\\" + name;
        MakeFolders(path);
        std::wstring upper = path; // the documents part in other letter case
        CharUpperBuffW(&upper[0], static_cast<DWORD>(docs.size()));
        for (const std::wstring& p : {path, upper})
        {
            FolderPtr folder(CreateSpecialShellFolder(m_hwndOwner, p.c_str()));
            ASSERT_TRUE(folder) << Narrow(p);
            CIDListHolder firstItem(CopyNextIDListOf(ListOf(folder)));
            EXPECT_TRUE(SameBytes(item.Get(), firstItem.Get())) << Narrow(p);
            EXPECT_EQ(Narrow(path), Utf8(folder->m_strPath));
            EXPECT_EQ(Utf8(name), Utf8(folder->m_strName));
        }
    }
    // Anything else takes the plain parse.
    for (const std::wstring& path : {docs, sibling + L"\\sub", std::wstring(L"C:\\windows")})
    {
        FolderPtr folder(CreateSpecialShellFolder(m_hwndOwner, path.c_str()));
        ASSERT_TRUE(folder) << Narrow(path);
        CIDListHolder expected(GetFullIDList(m_hwndOwner, path.c_str()));
        EXPECT_TRUE(SameBytes(expected.Get(), ListOf(folder))) << Narrow(path);
        EXPECT_EQ(Narrow(path), Utf8(folder->m_strPath));
    }
}

TEST_F(FolderFactoryTest, FailuresReturnNullAndLeakNothing)
{
    ScratchFolder scratch(L"fail");
    MakeFile(scratch / L"file.txt");
    EXPECT_EQ(nullptr, CreateShellFolder(m_hwndOwner, (scratch / L"missing").c_str()));
    EXPECT_EQ(nullptr, CreateSpecialShellFolder(m_hwndOwner, (scratch / L"missing").c_str()));
    EXPECT_EQ(nullptr, CreateSpecialShellFolder(m_hwndOwner, (DocumentsPath() + L"\\missing").c_str()));
    EXPECT_EQ(nullptr, CreateSpecialShellFolder(m_hwndOwner, nullptr));

    // A list below a file: its parent cannot be bound. Every list made on the
    // way is freed, and the list handed over stays ours.
    CIDListHolder file(ShellParse(scratch / L"file.txt"));
    CIDListHolder folder(ShellParse(scratch.Path()));
    CIDListHolder belowFile(ConcatIDLists(file.Get(), ILFindLastID(folder.Get())));
    FolderPtr unbound(CreateShellFolder(m_hwndOwner, belowFile.Get(), true));
    if (unbound)
        belowFile.Detach();
    ASSERT_EQ(nullptr, unbound);
    EXPECT_EQ(nullptr, CreateShellFolder(m_hwndOwner, belowFile.Get(), false));
    EXPECT_EQ(nullptr, CreateShellFolderChainLink(m_hwndOwner, belowFile.Get(), ILFindLastID(belowFile.Get())));
    EXPECT_EQ(nullptr, CreateShellFolderChainLink(m_hwndOwner, belowFile.Get(), folder.Get()));
    FolderPtr clip(CreateShellClipFolder(m_hwndOwner, CopyIDList(belowFile.Get()), L""));
    EXPECT_EQ(nullptr, CreateShellFolderFromClipFolder(clip.get()));

    TaskMemSpy::Instance().FailNextAllocations(1);
    EXPECT_EQ(nullptr, CreateShellFolder(m_hwndOwner, folder.Get(), false));
}

// Another spelling of a path (letter case, a trailing separator) gives its
// folder; a path that the shell's parser would cut to its first 259
// characters (where a folder of that name exists) gives none, never that
// other folder.
TEST_F(FolderFactoryTest, PathsGiveTheirOwnFolderOrNone)
{
    ScratchFolder scratch(L"spelt");
    const std::wstring path = scratch / L"Spelt";
    MakeFolders(path);
    std::wstring upper = path;
    for (wchar_t& c : upper)
        c = static_cast<wchar_t>(towupper(c));
    for (const std::wstring& spelling : {path + L"\\", upper})
    {
        FolderPtr folder(CreateShellFolder(m_hwndOwner, spelling.c_str()));
        ASSERT_TRUE(folder) << Narrow(spelling);
        EXPECT_EQ(0, lstrcmpiW(path.c_str(), folder->m_strPath)) << Narrow(spelling);
    }

    const std::wstring parent = scratch / std::wstring(200, L'p');
    const std::wstring cut = parent + L"\\" + std::wstring(MAX_PATH - 2 - parent.size(), L'c');
    const std::wstring longer = cut + std::wstring(300 - cut.size(), L'c');
    MakeFolders(cut);
    MakeFolders(longer);
    EXPECT_EQ(nullptr, CreateShellFolder(m_hwndOwner, longer.c_str()));
    EXPECT_EQ(nullptr, CreateSpecialShellFolder(m_hwndOwner, longer.c_str()));
}

TEST_F(FolderFactoryTest, DriveQueriesFailSoft)
{
    const UINT uErrorMode = GetErrorMode();
    FolderPtr fixed(CreateShellFolder(m_hwndOwner, L"C:\\windows"));
    FolderPtr network(CreateShellClipFolder(nullptr, ShellParse(L"C:\\"), L"\\\\server\\share\\x"));
    FolderPtr empty(CreateShellClipFolder(nullptr, ShellParse(L"C:\\"), L""));
    for (const FolderPtr* folder : {&fixed, &network, &empty})
    {
        unsigned long dwSerial = 0;
        EXPECT_FALSE(IsRemovable(folder->get()));
        EXPECT_FALSE(IsMediaInserted(folder->get(), &dwSerial));
        EXPECT_EQ(0xFFFFFFFFu, dwSerial);
    }
    EXPECT_EQ(uErrorMode, GetErrorMode());
}

} // namespace
