// Folder factories and drive queries against the real shell and real folders.
#include "ShellTestSupport.h"

using namespace shellmodel_test;

namespace {

using FolderFactoryTest = ShellModelTest;

// The desktop is its own parent and the parent of top items; a clip folder of
// the empty list becomes the desktop, others become full folders (with the
// owner window, the clip folder left as it was). A clip folder owns only its
// list (the fixture finds no block left) and cannot be copied. No drive here
// is removable; folders without a drive letter are asked nothing, and the
// process keeps its error mode.
TEST_F(FolderFactoryTest, DesktopTopItemsClipFoldersAndDrives)
{
    ScratchFolder scratch(L"clip");
    CShellFolderHolder desktop = Desktop();
    FolderPtr top(CreateShellDesktop(m_hwndOwner));
    FolderPtr empty(CreateShellFolder(m_hwndOwner, SpecialList(CSIDL_DESKTOP), true));
    FolderPtr computer(CreateShellFolder(m_hwndOwner, SpecialList(CSIDL_DRIVES), true));
    FolderPtr clip(CreateShellClipFolder(m_hwndOwner, Parse(scratch.Path()), L"elsewhere"));
    FolderPtr clipTop(CreateShellClipFolder(m_hwndOwner, SpecialList(CSIDL_DESKTOP), L""));
    LPITEMIDLIST clipList = ListOf(clip);
    FolderPtr full(CreateShellFolderFromClipFolder(clip.get()));
    FolderPtr fullTop(CreateShellFolderFromClipFolder(clipTop.get()));
    ASSERT_TRUE(top && empty && computer && full && fullTop);
    for (const FolderPtr* folder : {&top, &empty, &computer, &fullTop})
        EXPECT_EQ(desktop.Get(), (*folder)->GetShellData()->m_pParentFolder);
    EXPECT_TRUE(IsShellDesktop(top.get()) && IsShellDesktop(empty.get()) && IsShellDesktop(fullTop.get()));
    EXPECT_FALSE(IsShellDesktop(computer.get()));
    EXPECT_EQ(Utf8(top->m_strName), Utf8(empty->m_strName));
    for (const FolderPtr* folder : {&top, &full, &fullTop})
        EXPECT_EQ(m_hwndOwner, (*folder)->GetShellData()->m_hwndOwner);
    EXPECT_EQ(Narrow(scratch.Path()), Utf8(full->m_strPath));
    EXPECT_TRUE(full->GetShellData()->m_pParentFolder);
    EXPECT_TRUE(clipList == ListOf(clip) && clip->m_strPath == L"elsewhere" && clip->m_strName.IsEmpty());
    EXPECT_TRUE(!clip->GetShellData()->m_pParentFolder && clip->GetShellData()->m_pidlRelative == ILFindLastID(clipList));
    EXPECT_EQ(nullptr, CopyBFolder(clip.get()));

    const UINT uErrorMode = GetErrorMode();
    for (const FolderPtr* folder : {&computer, &full, &clip})
    {
        unsigned long dwSerial = 0;
        EXPECT_FALSE(IsRemovable(folder->get()) || IsMediaInserted(folder->get(), &dwSerial));
        EXPECT_EQ(0xFFFFFFFFu, dwSerial);
    }
    EXPECT_EQ(uErrorMode, GetErrorMode());
}

// A path of names outside the ANSI code page, in any spelling (letter case,
// a trailing separator), gives its folder (the drive tree's tests build
// folders from the links of a list); without ownership the caller's list
// stays the caller's. Below the documents folder (its part in any letter
// case) the special factory runs the list through the desktop's documents
// item; anything else, a folder beside it whose name starts with its own
// among them, takes the plain parse. A path that the shell's parser would cut
// to its first 259 characters (where a folder of that name exists) gives
// none, never that other folder. Failures return null and leak nothing; a
// list handed over stays the caller's.
TEST_F(FolderFactoryTest, PathsGiveTheirOwnFolderOrNone)
{
    ScratchFolder scratch(L"spelt");
    MakeFile(scratch / L"file.txt");
    const std::wstring docs = DocumentsPath(), tag = L"tbu" + testing_support::UniqueTag();
    const std::wstring below = docs + L"\\" + tag, sibling = docs + tag;
    std::shared_ptr<void> removeAtEnd(nullptr, [&](void*) {
        testing_support::RemoveTree(below);
        testing_support::RemoveTree(sibling);
    });
    MakeFolders(sibling + L"\\sub");
    CIDListHolder item(Parse(kDocumentsItem));
    for (const wchar_t* name : kNonAnsiNames)
    {
        const std::wstring path = scratch / name + L"\\" + name, special = below + L"\\" + name;
        MakeFolders(path);
        MakeFolders(special);
        std::wstring upper = path, specialUpper = special;
        CharUpperBuffW(&upper[0], static_cast<DWORD>(upper.size()));
        CharUpperBuffW(&specialUpper[0], static_cast<DWORD>(docs.size()));
        CIDListHolder expected(Parse(path));
        for (const std::wstring& spelling : {path, path + L"\\", upper})
        {
            FolderPtr folder(CreateShellFolder(m_hwndOwner, spelling.c_str()));
            ASSERT_TRUE(folder) << Narrow(spelling);
            EXPECT_EQ(0, lstrcmpiW(path.c_str(), folder->m_strPath)) << Narrow(spelling);
            EXPECT_EQ(0, lstrcmpiW(name, folder->m_strName)) << Narrow(spelling);
            EXPECT_TRUE(SameBytes(expected.Get(), ListOf(folder)));
        }
        for (const std::wstring& spelling : {special, specialUpper})
        {
            FolderPtr folder(CreateSpecialShellFolder(m_hwndOwner, spelling.c_str()));
            ASSERT_TRUE(folder) << Narrow(spelling);
            CIDListHolder firstItem(CopyNextIDListOf(ListOf(folder)));
            EXPECT_TRUE(SameBytes(item.Get(), firstItem.Get())) << Narrow(spelling);
            EXPECT_EQ(Narrow(special), Utf8(folder->m_strPath));
            EXPECT_EQ(Utf8(name), Utf8(folder->m_strName));
        }
        FolderPtr borrowed(CreateShellFolder(m_hwndOwner, expected.Get(), false));
        ASSERT_TRUE(borrowed);
        EXPECT_TRUE(expected.Get() != ListOf(borrowed) && SameBytes(expected.Get(), ListOf(borrowed)));
    }
    for (const std::wstring& path : {docs, sibling + L"\\sub", std::wstring(L"C:\\windows")})
    {
        FolderPtr folder(CreateSpecialShellFolder(m_hwndOwner, path.c_str()));
        ASSERT_TRUE(folder) << Narrow(path);
        CIDListHolder plain(GetFullIDList(m_hwndOwner, path.c_str()));
        EXPECT_TRUE(SameBytes(plain.Get(), ListOf(folder))) << Narrow(path);
        EXPECT_EQ(Narrow(path), Utf8(folder->m_strPath));
    }
    const std::wstring parent = scratch / std::wstring(180, L'p');
    const std::wstring cut = parent + L"\\" + std::wstring(MAX_PATH - 2 - parent.size(), L'c');
    const std::wstring longer = cut + std::wstring(300 - cut.size(), L'c');
    MakeFolders(cut);
    MakeFolders(longer);
    for (const std::wstring& bad : {longer, scratch / L"missing", docs + L"\\missing"})
    {
        EXPECT_EQ(nullptr, CreateShellFolder(m_hwndOwner, bad.c_str())) << Narrow(bad);
        EXPECT_EQ(nullptr, CreateSpecialShellFolder(m_hwndOwner, bad.c_str())) << Narrow(bad);
    }
    EXPECT_EQ(nullptr, CreateSpecialShellFolder(m_hwndOwner, nullptr));
    EXPECT_EQ(nullptr, GetFullIDList(nullptr, (scratch / L"missing").c_str()));

    // A list below a file: its parent cannot be bound.
    CIDListHolder file(Parse(scratch / L"file.txt")), folder(Parse(scratch.Path()));
    CIDListHolder belowFile(ConcatIDLists(file.Get(), ILFindLastID(folder.Get())));
    FolderPtr unbound(CreateShellFolder(m_hwndOwner, belowFile.Get(), true));
    if (unbound)
        belowFile.Detach();
    ASSERT_EQ(nullptr, unbound);
    EXPECT_FALSE(CShellFolderBind(Desktop().Get(), file.Get()).IsBound());
    EXPECT_EQ(nullptr, CreateShellFolder(m_hwndOwner, belowFile.Get(), false));
    EXPECT_EQ(nullptr, CreateShellFolderChainLink(m_hwndOwner, belowFile.Get(), ILFindLastID(belowFile.Get())));
    EXPECT_EQ(nullptr, CreateShellFolderChainLink(m_hwndOwner, belowFile.Get(), folder.Get()));
    FolderPtr clip(CreateShellClipFolder(m_hwndOwner, CopyIDList(belowFile.Get()), L""));
    EXPECT_EQ(nullptr, CreateShellFolderFromClipFolder(clip.get()));
    TaskMemSpy::Instance().FailNextAllocations(1);
    EXPECT_EQ(nullptr, CreateShellFolder(m_hwndOwner, folder.Get(), false));
}

} // namespace
