// Filling the tree: which folders appear, in which order, with which texts,
// icons, buttons, folders and paths, and when the shell is asked again.
#include "TreeHost.h"
#include "ListingGate.h"

#include "module/Holders.h"

#include <algorithm>
#include <fstream>

namespace drivetree_test {
namespace {

// The desktop's folders as the shell lists them in its own order (sorted with
// CompareIDs), links left out: all, and those of the file system or above it.
void DesktopFolders(std::vector<std::wstring>& all, std::vector<std::wstring>& fileSystem)
{
    CShellFolderHolder desktop;
    ASSERT_HRESULT_SUCCEEDED(SHGetDesktopFolder(desktop.Receive()));
    CComHolder<IEnumIDList> items;
    ASSERT_EQ(S_OK, desktop->EnumObjects(nullptr, SHCONTF_FOLDERS, items.Receive()));
    std::vector<CIDListHolder> ids;
    for (LPITEMIDLIST id = nullptr; items->Next(1, &id, nullptr) == S_OK;)
        ids.emplace_back(id);
    std::stable_sort(ids.begin(), ids.end(), [&](const CIDListHolder& a, const CIDListHolder& b) {
        return static_cast<short>(HRESULT_CODE(desktop->CompareIDs(0, a.Get(), b.Get()))) < 0;
    });
    for (const CIDListHolder& id : ids)
    {
        LPCITEMIDLIST one = id.Get();
        SFGAOF attributes = SFGAO_LINK | SFGAO_FILESYSTEM | SFGAO_FILESYSANCESTOR;
        desktop->GetAttributesOf(1, &one, &attributes);
        if (attributes & SFGAO_LINK)
            continue;
        all.push_back(GetNameOf(desktop.Get(), one, SHGDN_INFOLDER).GetString());
        if (attributes & (SFGAO_FILESYSTEM | SFGAO_FILESYSANCESTOR))
            fileSystem.push_back(all.back());
    }
}

// Without all folders: only the file system and its ancestors (the shell
// here lists virtual folders such as the trash beside them).
TEST_F(DriveTreeTest, InitializeShowsTheDesktopExpandedWithItsFoldersInShellOrder)
{
    std::vector<std::wstring> all, fileSystem;
    DesktopFolders(all, fileSystem);
    CTreeHost host(1), fileSystemHost(0);
    HTREEITEM hRoot = host.Controller().m_hShellRoot;
    ASSERT_EQ(host.Tree().GetRootItem(), hRoot);
    EXPECT_EQ(nullptr, host.Tree().GetNextSiblingItem(hRoot));
    EXPECT_TRUE(host.Tree().GetItemState(hRoot, TVIS_EXPANDED) & TVIS_EXPANDED);
    EXPECT_TRUE(IsShellDesktop(host.Controller().GetItemFolder(hRoot)));
    EXPECT_EQ(all, host.ChildTexts(hRoot));
    EXPECT_EQ(fileSystem, fileSystemHost.ChildTexts(fileSystemHost.Controller().m_hShellRoot));
    EXPECT_LT(fileSystem.size(), all.size());
}

TEST_F(DriveTreeTest, ChildrenCarryTheShellsNamesPathsAndButtonsInItsOrder)
{
    // Case decides the listing order but not the shell's: "B" before "a" on disk.
    ScratchFolder scratch(L"order", {L"B", L"a", L"c d", L"A2", L"empty", L"a\\inner"});
    CTreeHost host;
    HTREEITEM hFolder = host.Open(scratch.Path());
    host.UserExpand(hFolder);

    // Listed within the budget: in order at once, no placeholder ever.
    EXPECT_EQ((std::vector<std::wstring>{L"a", L"A2", L"B", L"c d", L"empty"}), host.ChildTexts(hFolder));
    EXPECT_EQ(0, host.m_nPlaceholdersDeleted);
    // Each child's path, name and item list name the same folder.
    for (HTREEITEM hChild : host.Children(hFolder))
    {
        const CBFolder* pFolder = host.Controller().GetItemFolder(hChild);
        ASSERT_NE(nullptr, pFolder);
        wchar_t szShellPath[MAX_PATH] = {};
        SHGetPathFromIDListW(pFolder->GetShellData()->m_pidlFull, szShellPath);
        EXPECT_EQ(scratch / host.Text(hChild), std::wstring(pFolder->m_strPath.GetString()));
        EXPECT_EQ(szShellPath, std::wstring(pFolder->m_strPath.GetString()));
        EXPECT_EQ(host.Text(hChild), std::wstring(pFolder->m_strName.GetString()));
    }
    // A folder that turns out empty loses its button; one with a single
    // subfolder keeps it (the tree reports a failed sort for both).
    HTREEITEM hEmpty = host.ChildNamed(hFolder, L"empty");
    HTREEITEM hOne = host.ChildNamed(hFolder, L"a");
    host.Tree().Expand(hEmpty, TVE_EXPAND);
    host.Tree().Expand(hOne, TVE_EXPAND);
    EXPECT_FALSE(host.HasButton(hEmpty));
    EXPECT_TRUE(host.HasButton(hOne));
    EXPECT_EQ(std::vector<std::wstring>{L"inner"}, host.ChildTexts(hOne));
    // An empty filled folder is watched too: it may gain a subfolder.
    EXPECT_NE(nullptr, host.Controller().Data(hEmpty)->m_pThreadInfo);
}

// A folder that a desktop.ini may customise: the system attribute set.
void MakeSystemFolder(const std::wstring& path)
{
    MakeFolder(path);
    ASSERT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_SYSTEM));
}

void ExpectShellIcons(CTreeHost& host, HTREEITEM hItem, const char* what)
{
    const CBShellData* pShell = host.Controller().GetItemFolder(hItem)->GetShellData();
    int nImage = -1, nSelected = -1;
    ASSERT_TRUE(host.Tree().GetItemImage(hItem, nImage, nSelected)) << what;
    EXPECT_EQ(GetShellIconIndex(pShell->m_pidlFull, SHGFI_SMALLICON), nImage) << what;
    EXPECT_EQ(GetShellIconIndex(pShell->m_pidlFull, SHGFI_SMALLICON | SHGFI_OPENICON), nSelected) << what;
}

TEST_F(DriveTreeTest, EveryKindOfFolderShowsTheIconsTheShellGivesIt)
{
    ScratchFolder scratch(L"kinds", {L"plain"});
    MakeSystemFolder(scratch / L"custom");
    {
        std::ofstream ini(testing_support::Narrow(scratch / L"custom\\desktop.ini"));
        ini << "[.ShellClassInfo]\r\nIconFile=shell32.dll\r\nIconIndex=3\r\nIconResource=shell32.dll,3\r\n";
    }
    wchar_t szDocuments[MAX_PATH] = {};
    ASSERT_HRESULT_SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_PERSONAL, nullptr, 0, szDocuments));
    const std::wstring documents = szDocuments;
    for (bool bRouted : {true, false})
    {
        CTreeHost host(1, bRouted);
        HTREEITEM hRoot = host.Controller().m_hShellRoot;
        HTREEITEM hFolder = host.OpenExpanded(scratch.Path());
        HTREEITEM hProfile = host.OpenExpanded(documents.substr(0, documents.rfind(L'\\')));
        HTREEITEM hDrive = host.Tree().GetParentItem(host.Open(L"C:\\Windows"));
        host.Tree().Expand(host.Tree().GetParentItem(hDrive), TVE_EXPAND);
        const struct
        {
            const char* what;
            HTREEITEM hItem;
        } kinds[] = {
            {"plain folder", host.ChildNamed(hFolder, L"plain")},
            {"customised folder", host.ChildNamed(hFolder, L"custom")},
            {"drive root", hDrive},
            {"special folder by its path", host.ChildNamed(hProfile, documents.substr(documents.rfind(L'\\') + 1))},
        };
        for (const auto& kind : kinds)
        {
            ASSERT_NE(nullptr, kind.hItem) << kind.what;
            ExpectShellIcons(host, kind.hItem, kind.what);
        }
        for (HTREEITEM hSpecial : host.Children(hRoot))
            ExpectShellIcons(host, hSpecial, "special folder on the desktop");
        // The customisation is real: the shell shows it.
        int nPlain = 0, nCustom = 0, nSelected = 0;
        host.Tree().GetItemImage(kinds[0].hItem, nPlain, nSelected);
        host.Tree().GetItemImage(kinds[1].hItem, nCustom, nSelected);
        EXPECT_NE(nPlain, nCustom);
    }
}

TEST_F(DriveTreeTest, OnlyFoldersThatMayHaveIconsOfTheirOwnAreLookedUpAndOnlyWhenShown)
{
    ScratchFolder scratch(L"icons");
    for (int i = 0; i < 120; ++i)
        (i % 2 ? MakeSystemFolder : MakeFolder)(scratch / (L"f" + std::to_wstring(1000 + i)));
    CTreeHost host;
    HTREEITEM hFolder = host.Open(scratch.Path());
    host.Tree().SelectSetFirstVisible(hFolder);
    host.Tree().Expand(hFolder, TVE_EXPAND);
    host.m_dispInfoItems.clear();
    RedrawWindow(host.Tree().m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    const std::vector<HTREEITEM> children = host.Children(hFolder);
    ASSERT_EQ(120u, children.size());
    EXPECT_FALSE(host.m_dispInfoItems.count(children[0])); // plain: its icons are known
    EXPECT_TRUE(host.m_dispInfoItems.count(children[1]));
    EXPECT_FALSE(host.m_dispInfoItems.count(children.back()));
    EXPECT_LE(host.m_dispInfoItems.size(), host.Tree().GetVisibleCount() / 2 + 1);
}

TEST_F(DriveTreeTest, TheShellsAttributesDecideWhichFoldersAppearAndWhichHaveButtons)
{
    ScratchFolder scratch(L"links", {L"plain", L"link", L"broken", L"leaf", L"leaf\\inner"});
    {
        CComHolder<IShellLinkW> link;
        ASSERT_HRESULT_SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                                  link.ReceiveVoid()));
        link->SetPath((scratch / L"plain").c_str());
        CComHolder<IPersistFile> file;
        ASSERT_HRESULT_SUCCEEDED(link->QueryInterface(IID_IPersistFile, file.ReceiveVoid()));
        ASSERT_HRESULT_SUCCEEDED(file->Save((scratch / L"to plain.lnk").c_str(), TRUE));
    }
    // Wine's own folders report neither a subfolder that is a shortcut nor
    // one without attributes, and say every folder has subfolders: the
    // listing sees them so.
    testing_support::ListingGate gate;
    gate.Set(scratch.Path(), testing_support::ListingGate::Mode::Decorate);
    CTreeHost host;
    HTREEITEM hFolder = host.OpenExpanded(scratch.Path());
    EXPECT_EQ((std::vector<std::wstring>{L"leaf", L"plain"}), host.ChildTexts(hFolder));
    EXPECT_FALSE(host.HasButton(host.ChildNamed(hFolder, L"leaf")));
    EXPECT_TRUE(host.HasButton(host.ChildNamed(hFolder, L"plain")));
}

TEST_F(DriveTreeTest, ExpandingEnumeratesOnceAndCollapsingEnumeratesAgain)
{
    ScratchFolder scratch(L"expand", {L"one"});
    CTreeHost host;
    host.m_bRouteChanges = false; // only expansion may fill the folder here
    HTREEITEM hFolder = host.Open(scratch.Path());
    host.Tree().EnsureVisible(hFolder); // opens (fills) its ancestors
    const int nBefore = Populations();
    host.Tree().Expand(hFolder, TVE_EXPAND);
    EXPECT_EQ(nBefore + 1, Populations());

    MakeFolder(scratch / L"two");
    host.UserCollapse(hFolder);
    host.UserExpand(hFolder); // notified, but the folder was filled once already
    EXPECT_EQ(nBefore + 2, Populations());
    EXPECT_EQ((std::vector<std::wstring>{L"one", L"two"}), host.ChildTexts(hFolder));

    // A folder gone from disk stays until a refreshing population.
    ASSERT_TRUE(RemoveDirectoryW((scratch / L"one").c_str()));
    host.UserCollapse(hFolder);
    EXPECT_EQ(2u, host.Children(hFolder).size());
    host.Controller().PopulateShellFolder(hFolder, 1);
    EXPECT_EQ(std::vector<std::wstring>{L"two"}, host.ChildTexts(hFolder));
}

} // namespace
} // namespace drivetree_test
