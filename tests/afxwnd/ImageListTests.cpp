// CImageList's ownership rules: the system's shared list, which the library
// attaches, is let go and never destroyed, also when a tree uses it. The tree
// control itself is checked through the library's drive tree (tests/drivetree).
#include "WndTestEnv.h"

TEST(ImageList, SharedListsAreLetGoNotDestroyed)
{
    HIMAGELIST hShared = ImageList_Create(16, 16, ILC_COLOR32, 1, 1);
    ImageList_SetImageCount(hShared, 2);
    {
        CImageList shared;
        ASSERT_TRUE(shared.Attach(hShared));
        EXPECT_FALSE(shared.IsOwner());
        EXPECT_EQ(2, shared.GetImageCount());
    }
    EXPECT_EQ(2, ImageList_GetImageCount(hShared)) << "a shared list outlives its wrapper";

    CImageList* pTemp = CImageList::FromHandle(hShared);
    ASSERT_NE(nullptr, pTemp);
    EXPECT_EQ(pTemp, CImageList::FromHandle(hShared));
    AfxLockTempMaps();
    AfxUnlockTempMaps(TRUE);
    EXPECT_EQ(2, ImageList_GetImageCount(hShared));
    pTemp = CImageList::FromHandle(hShared);

    // A tree keeps using the list; its wrappers never own it.
    CWnd host;
    CTreeCtrl tree;
    ASSERT_TRUE(CreateFrame(host));
    ASSERT_TRUE(tree.Create(WS_VISIBLE, CRect(0, 0, 100, 100), &host, 1));
    CImageList owned;
    ASSERT_TRUE(owned.Create(16, 16, ILC_COLOR32 | ILC_MASK, 0, 4));
    EXPECT_EQ(nullptr, tree.SetImageList(&owned, TVSIL_NORMAL));
    CImageList* pPrevious = tree.SetImageList(pTemp, TVSIL_NORMAL);
    ASSERT_NE(nullptr, pPrevious);
    EXPECT_EQ(owned.m_hImageList, pPrevious->m_hImageList);
    EXPECT_EQ(hShared, tree.GetImageList(TVSIL_NORMAL)->m_hImageList);
    tree.SetImageList(nullptr, TVSIL_NORMAL);
    EXPECT_TRUE(owned.DeleteImageList());
    EXPECT_FALSE(owned.DeleteImageList());
    ImageList_Destroy(hShared);
}
