// Finding folders in the tree, inserting them with their ancestors, and who
// owns the folder objects handed in.
#include "TreeHost.h"

namespace drivetree_test {
namespace {

using testing_support::TaskMemSpy;

const wchar_t kMyComputer[] = L"::{20D04FE0-3AEA-1069-A2D8-08002B30309D}";

TEST_F(DriveTreeTest, FindOrAddFolderInsertsTheMissingAncestorsOnceAndThenFindsTheFolderButNeverALink)
{
    // Straight below C:\, so that its ancestors are a drive and the computer.
    ScratchFolder drive(L"tree", {L"level2", L"level2\\level3"}, L"C:\\");
    CTreeHost host;
    CTreeCtrl& tree = host.Tree();
    CTestTree& controller = host.Controller();
    auto folder = [&](const std::wstring& path) { return CreateShellFolder(host.Window(), path.c_str()); };
    HTREEITEM hComputer = controller.FindFolder(std::unique_ptr<CBFolder>(folder(kMyComputer)).get());
    ASSERT_NE(nullptr, hComputer);
    tree.Expand(hComputer, TVE_EXPAND);
    EXPECT_EQ(nullptr, controller.Data(hComputer)->m_pThreadInfo); // no path, no watching
    HTREEITEM hDrive = controller.FindFolder(std::unique_ptr<CBFolder>(folder(L"C:\\")).get());
    ASSERT_NE(nullptr, hDrive);
    ASSERT_FALSE(tree.GetItemState(hDrive, TVIS_EXPANDEDONCE) & TVIS_EXPANDEDONCE);

    // Without its ancestors in the tree a folder is not found, and nothing is added.
    const UINT nItems = tree.GetCount();
    std::unique_ptr<CBFolder> level2(folder(drive / L"level2"));
    EXPECT_EQ(nullptr, controller.FindFolder(level2.get()));
    EXPECT_EQ(nItems, tree.GetCount());

    int bFound = -1;
    HTREEITEM hLevel3 = controller.FindOrAddFolder(folder(drive / L"level2\\level3"), TRUE, &bFound);
    ASSERT_NE(nullptr, hLevel3);
    EXPECT_EQ(0, bFound);
    EXPECT_EQ(nItems + 3, tree.GetCount());
    HTREEITEM hLevel2 = tree.GetParentItem(hLevel3);
    EXPECT_EQ(hDrive, tree.GetParentItem(tree.GetParentItem(hLevel2)));
    EXPECT_EQ(L"level3", host.Text(hLevel3));
    EXPECT_EQ(drive / L"level2", std::wstring(controller.GetItemFolder(hLevel2)->m_strPath.GetString()));
    EXPECT_EQ(hLevel2, controller.FindFolder(level2.get()));

    // Found now: the folder handed in is deleted (its list freed), nothing added.
    const unsigned long long mark = TaskMemSpy::Instance().Mark();
    bFound = -1;
    EXPECT_EQ(hLevel3, controller.FindOrAddFolder(folder(drive / L"level2\\level3"), TRUE, &bFound));
    EXPECT_EQ(1, bFound);
    EXPECT_EQ(0u, TaskMemSpy::Instance().OutstandingSince(mark));
    EXPECT_EQ(nItems + 3, tree.GetCount());

    // The tree's own folder handed back is kept, not deleted.
    CBFolder* pOwn = controller.GetItemFolder(hLevel3);
    const size_t nLive = TaskMemSpy::Instance().OutstandingSince(0);
    EXPECT_EQ(hLevel3, controller.FindOrAddFolder(pOwn, TRUE, nullptr));
    EXPECT_EQ(nLive, TaskMemSpy::Instance().OutstandingSince(0));
    EXPECT_EQ(pOwn, controller.GetItemFolder(hLevel3));

    // A link folder is neither found nor added, and deleted when handed in.
    std::unique_ptr<CBFolder> link(new CBFolder);
    link->m_nKind = eBKindLink;
    link->m_pFolderData = new CBFolderData;
    link->m_pFolderData->m_pLinkData = new CBLinkData;
    EXPECT_EQ(nullptr, controller.AddFolder(link.get()));
    EXPECT_EQ(nullptr, controller.FindFolder(link.get()));
    EXPECT_EQ(nullptr, controller.FindOrAddFolder(link.release(), TRUE, nullptr)); // deleted: no leak
    EXPECT_EQ(nItems + 3, tree.GetCount());
}

// A folder added before its parent is filled, and folders found by name,
// which fills the parent without opening it, are there once when it opens.
TEST_F(DriveTreeTest, FoldersAddedOrFoundByNameBeforeTheirParentOpensAreThereOnce)
{
    ScratchFolder scratch(L"byname", {L"Alpha", L"beta", L"m"});
    CTreeHost host;
    CTestTree& controller = host.Controller();
    HTREEITEM hAdded = host.Open(scratch / L"m");
    ASSERT_NE(nullptr, hAdded);
    HTREEITEM hParent = host.Tree().GetParentItem(hAdded);
    EXPECT_EQ(std::vector<std::wstring>{L"m"}, host.ChildTexts(hParent));
    // Another spelling of the same path names the same item.
    EXPECT_EQ(hAdded, host.Open(scratch / L"M"));

    // By name or by path, ignoring case; never an empty name.
    CBFolder* pParent = controller.GetItemFolder(hParent);
    CBFolder* pAlpha = controller.FindShellFolderByName(pParent, L"ALPHA", L"nothing");
    ASSERT_NE(nullptr, pAlpha);
    EXPECT_STREQ(L"Alpha", pAlpha->m_strName.GetString());
    CBFolder* pBeta = controller.FindShellFolderByName(pParent, L"nothing", (scratch / L"BETA").c_str());
    ASSERT_NE(nullptr, pBeta);
    EXPECT_STREQ(L"beta", pBeta->m_strName.GetString());
    EXPECT_EQ(nullptr, controller.FindShellFolderByName(pParent, L"nothing", L"none"));
    // The desktop holds folders without a path; an empty name matches none of them.
    CBFolder* pDesktop = controller.GetItemFolder(controller.m_hShellRoot);
    EXPECT_EQ(nullptr, controller.FindShellFolderByName(pDesktop, L"nothing", L""));

    host.Tree().Expand(hParent, TVE_EXPAND);
    EXPECT_EQ((std::vector<std::wstring>{L"Alpha", L"beta", L"m"}), host.ChildTexts(hParent));
    EXPECT_EQ(hAdded, host.ChildNamed(hParent, L"m"));
}

} // namespace
} // namespace drivetree_test
