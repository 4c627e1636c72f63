// File and folder objects: what the factories store, who frees what, and copies.
#include "ShellTestSupport.h"

#include <tuple>

using namespace shellmodel_test;

namespace {

using FileObjectTest = ShellModelTest;

TEST_F(FileObjectTest, FilesCarryTheirPartsIntoIndependentCopies)
{
    const FILETIME created = {0x11111111, 0x01D00000}, written = {0x22222222, 0x01D10000};
    std::unique_ptr<CBFile> file(
        CreateShellFile(L"a.png", L"C:\\x\\a.png", &created, &written, FILE_ATTRIBUTE_ARCHIVE, 9));
    std::unique_ptr<CBFile> copy(CopyBFile(file.get()));
    ASSERT_TRUE(copy);
    file->m_strName = L"changed";
    file->m_ftCreation.dwLowDateTime = 0;
    EXPECT_EQ("a.png C:\\x\\a.png", Utf8(copy->m_strName + L" " + copy->m_strPath));
    EXPECT_EQ(0, CompareFileTime(&created, &copy->m_ftCreation) | CompareFileTime(&written, &copy->m_ftLastWrite));
    EXPECT_EQ(std::make_tuple(int(eBKindShell), DWORD(FILE_ATTRIBUTE_ARCHIVE), DWORD(9)),
              std::make_tuple(copy->m_nKind, copy->m_dwAttribs, copy->m_dwSize));
    EXPECT_EQ(nullptr, copy->m_pFileData);
    CBFile none;
    EXPECT_EQ(nullptr, CopyBFile(&none));
}

// The path is what shell32 reports for the list, for real and virtual folders
// alike, and the name is the parent's in-folder name. The folder takes over
// the list and the parent's reference.
TEST_F(FileObjectTest, BaseFactoryAgreesWithShell)
{
    ScratchFolder scratch(L"base", {kNonAnsiNames[0]});
    MakeFile(scratch / L"file.txt");
    const std::wstring names[] = {L"", L"C:\\", scratch / kNonAnsiNames[0], scratch / L"file.txt",
                                  kDocumentsItem, L"::{20D04FE0-3AEA-1069-A2D8-08002B30309D}"};
    CShellFolderHolder desktop = Desktop();
    for (const std::wstring& name : names)
    {
        CIDListHolder full(name.empty() ? SpecialList(CSIDL_DESKTOP) : Parse(name));
        ASSERT_TRUE(full) << Narrow(name);
        CIDListHolder parentList(CreateParentIDList(full.Get()));
        CShellFolderBind parent(desktop.Get(), parentList.Get());
        wchar_t expectedPath[MAX_PATH] = {};
        SHGetPathFromIDListW(full.Get(), expectedPath);
        const CString expectedName = GetNameOf(parent.m_pFolder, ILFindLastID(full.Get()), SHGDN_INFOLDER);
        // The documents item's parsing name is the documents folder's path.
        CIDListHolder viaParent(GetFullIDList(parent.m_pFolder, ILFindLastID(full.Get())));
        EXPECT_TRUE(viaParent.Get() != full.Get() && (name == kDocumentsItem || SameBytes(full.Get(), viaParent.Get())));

        IShellFolder* pParent = parent.m_pFolder;
        FolderPtr folder(CreateShellFolder(nullptr, pParent, full.Get(), true));
        ASSERT_TRUE(folder);
        parent.Detach();
        LPITEMIDLIST pidlFull = full.Detach();
        const CBShellData* shell = folder->GetShellData();
        EXPECT_TRUE(shell->m_pidlFull == pidlFull && shell->m_pParentFolder == pParent);
        EXPECT_EQ(ILFindLastID(pidlFull), shell->m_pidlRelative);
        EXPECT_EQ(Narrow(expectedPath), Utf8(folder->m_strPath)) << Narrow(name);
        EXPECT_EQ(Utf8(expectedName), Utf8(folder->m_strName)) << Narrow(name);
    }
    CIDListHolder empty(SpecialList(CSIDL_DESKTOP));
    EXPECT_EQ(nullptr, CreateShellFolder(nullptr, desktop.Get(), nullptr, true));
    EXPECT_EQ(nullptr, CreateShellFolder(nullptr, nullptr, empty.Get(), true));
}

// Without ownership the list and the parent reference stay the caller's; a
// copy takes its own of both, and one that cannot get its list takes nothing.
// A bound folder holds one reference, which Detach hands over; no parent
// binds nothing.
TEST_F(FileObjectTest, OwnershipFollowsTheFlagAndCopiesTakeTheirOwn)
{
    CIDListHolder drives(SpecialList(CSIDL_DRIVES)), drive(Parse(L"C:\\")), empty(SpecialList(CSIDL_DESKTOP));
    CShellFolderBind computer(Desktop().Get(), drives.Get());
    IShellFolder* pParent = computer.m_pFolder;
    const ULONG nRefs = Refs(pParent);
    {
        CShellFolderBind self(pParent, empty.Get());
        EXPECT_EQ(pParent, self.m_pFolder);
        EXPECT_EQ(nRefs + 1, Refs(pParent));
        CShellFolderHolder detached(self.Detach());
        EXPECT_FALSE(self.IsBound());
    }
    EXPECT_EQ(nRefs, Refs(pParent)); // released once, by the new owner
    EXPECT_FALSE(CShellFolderBind(nullptr, empty.Get()).IsBound());
    const size_t nBlocks = Outstanding();
    delete CreateShellFolder(nullptr, pParent, drive.Get(), false);
    EXPECT_EQ(nRefs, Refs(pParent));
    EXPECT_EQ(nBlocks, Outstanding());

    pParent->AddRef();
    FolderPtr folder(CreateShellFolder(nullptr, pParent, CopyIDList(drive.Get()), true));
    FolderPtr copy(CopyBFolder(folder.get()));
    ASSERT_TRUE(folder && copy);
    EXPECT_EQ(nRefs + 2, Refs(pParent));
    EXPECT_TRUE(ListOf(copy) != ListOf(folder) && SameBytes(ListOf(copy), ListOf(folder)));
    EXPECT_EQ(Utf8(folder->m_strPath), Utf8(copy->m_strPath));
    copy.reset();
    EXPECT_EQ(nRefs + 1, Refs(pParent));
    TaskMemSpy::Instance().FailNextAllocations(1);
    EXPECT_EQ(nullptr, CopyShellFolder(folder.get()));
    EXPECT_EQ(nRefs + 1, Refs(pParent));
    folder.reset();
    EXPECT_EQ(nRefs, Refs(pParent));
}

} // namespace
