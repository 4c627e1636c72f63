// CTreeCtrl in a window that routes its notifications, and CImageList made
// from the chain's bitmap, with the ownership rules of both.
#include "WndTestEnv.h"

#include <vector>

namespace {

const UINT IDC_TREE_CTRL = 600;

class CTreeHostWnd : public CWnd
{
public:
    CTreeCtrl m_tree;
    std::vector<LPARAM> m_deleted;  // lParam of every TVN_DELETEITEM
    int m_nExpanding = 0;
    BOOL m_bRefuseExpand = FALSE;

protected:
    afx_msg void OnDeleteItem(NMHDR* pNMHDR, LRESULT* pResult)
    {
        m_deleted.push_back(reinterpret_cast<NMTREEVIEWW*>(pNMHDR)->itemOld.lParam);
        *pResult = 0;
    }
    afx_msg void OnItemExpanding(NMHDR*, LRESULT* pResult)
    {
        ++m_nExpanding;
        *pResult = m_bRefuseExpand;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTreeHostWnd, CWnd)
    ON_NOTIFY(TVN_DELETEITEMW, IDC_TREE_CTRL, &CTreeHostWnd::OnDeleteItem)
    ON_NOTIFY(TVN_ITEMEXPANDINGW, IDC_TREE_CTRL, &CTreeHostWnd::OnItemExpanding)
END_MESSAGE_MAP()

int CALLBACK ReverseByData(LPARAM lParam1, LPARAM lParam2, LPARAM)
{
    return lParam1 < lParam2 ? 1 : lParam1 > lParam2 ? -1 : 0;
}

BOOL CreateTree(CTreeHostWnd& host, DWORD dwStyle)
{
    return host.m_tree.CreateEx(0, WS_VISIBLE | dwStyle, CRect(0, 0, 300, 250), &host, IDC_TREE_CTRL);
}

COLORREF PixelOf(HBITMAP hBitmap, int x, int y)
{
    HDC hDC = CreateCompatibleDC(nullptr);
    HGDIOBJ hOld = SelectObject(hDC, hBitmap);
    COLORREF color = GetPixel(hDC, x, y);
    SelectObject(hDC, hOld);
    DeleteDC(hDC);
    return color;
}

} // namespace

TEST(TreeCtrl, ItemsNavigationAndAttributes)
{
    CTreeHostWnd host;
    ASSERT_TRUE(CreateFrame(host));
    CTreeCtrl& tree = host.m_tree;
    ASSERT_TRUE(CreateTree(host, TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT));

    TVINSERTSTRUCTW tvis = {};
    tvis.hParent = TVI_ROOT;
    tvis.hInsertAfter = TVI_LAST;
    tvis.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_CHILDREN;
    tvis.item.pszText = const_cast<LPWSTR>(L"root");
    tvis.item.lParam = 100;
    tvis.item.cChildren = 1;
    HTREEITEM hRoot = tree.InsertItem(&tvis);
    ASSERT_NE(nullptr, hRoot);
    HTREEITEM hB = InsertTreeItem(tree, L"b", hRoot, 2);
    HTREEITEM hA = InsertTreeItem(tree, L"a", hRoot, 1, TVI_FIRST);
    std::wstring longName(700, L'n');
    HTREEITEM hLong = InsertTreeItem(tree, longName.c_str(), hRoot, 3);

    EXPECT_EQ(hRoot, tree.GetRootItem());
    EXPECT_EQ(hA, tree.GetChildItem(hRoot));
    EXPECT_EQ(hB, tree.GetNextSiblingItem(hA));
    EXPECT_EQ(hRoot, tree.GetParentItem(hLong));
    EXPECT_EQ(nullptr, tree.GetNextSiblingItem(hLong));
    EXPECT_EQ(4u, tree.GetCount());
    EXPECT_EQ(longName, Str(tree.GetItemText(hLong))) << "labels longer than a first guess";
    EXPECT_TRUE(tree.SetItem(hA, TVIF_TEXT, L"renamed", 0, 0, 0, 0, 0));
    EXPECT_EQ(L"renamed", Str(tree.GetItemText(hA)));
    EXPECT_EQ(100u, tree.GetItemData(hRoot));
    EXPECT_EQ(2u, tree.GetItemData(hB));
    EXPECT_TRUE(tree.SetItemImage(hB, 1, 2));
    int nImage = 0;
    int nSelected = 0;
    ASSERT_TRUE(tree.GetItemImage(hB, nImage, nSelected));
    EXPECT_EQ(1, nImage);
    EXPECT_EQ(2, nSelected);
    EXPECT_TRUE(tree.ItemHasChildren(hRoot));
    EXPECT_FALSE(tree.ItemHasChildren(hA));

    // Expansion asks the parent, which may refuse.
    host.m_bRefuseExpand = TRUE;
    tree.Expand(hRoot, TVE_EXPAND);
    EXPECT_EQ(0u, tree.GetItemState(hRoot, TVIS_EXPANDED));
    host.m_bRefuseExpand = FALSE;
    EXPECT_TRUE(tree.Expand(hRoot, TVE_EXPAND));
    EXPECT_EQ(static_cast<UINT>(TVIS_EXPANDED), tree.GetItemState(hRoot, TVIS_EXPANDED));
    EXPECT_EQ(2, host.m_nExpanding);
    EXPECT_TRUE(tree.SetItem(hB, TVIF_STATE, nullptr, 0, 0, TVIS_BOLD, TVIS_BOLD, 0));
    EXPECT_EQ(static_cast<UINT>(TVIS_BOLD), tree.GetItemState(hB, TVIS_BOLD));

    EXPECT_TRUE(tree.SelectItem(hB));
    EXPECT_EQ(hB, tree.GetSelectedItem());

    TVSORTCB sort = {hRoot, ReverseByData, 0};
    EXPECT_TRUE(tree.SortChildrenCB(&sort));
    EXPECT_EQ(hLong, tree.GetChildItem(hRoot));
    EXPECT_EQ(hB, tree.GetNextSiblingItem(hLong));

    // Deleting a parent reports every descendant to the parent window.
    host.m_deleted.clear();
    EXPECT_TRUE(tree.DeleteItem(hRoot));
    EXPECT_EQ(4u, host.m_deleted.size());
    EXPECT_EQ(0u, tree.GetCount());
    InsertTreeItem(tree, L"x");
    EXPECT_TRUE(tree.DeleteAllItems());
    EXPECT_EQ(0u, tree.GetCount());
}

TEST(ImageList, BitmapFromTheChainWithTransparentMaskColour)
{
    CImageList images;
    ASSERT_TRUE(images.Create(IDB_STRIP, 16, 1, RGB(255, 0, 255)));
    EXPECT_EQ(3, ImageList_GetImageCount(images));
    int cx = 0;
    int cy = 0;
    ASSERT_TRUE(ImageList_GetIconSize(images, &cx, &cy));
    EXPECT_EQ(16, cx);
    EXPECT_EQ(16, cy);

    HICON hIcon = ImageList_GetIcon(images, 2, ILD_NORMAL);
    ASSERT_NE(nullptr, hIcon);
    ICONINFO info = {};
    ASSERT_TRUE(GetIconInfo(hIcon, &info));
    EXPECT_EQ(RGB(255, 255, 255), PixelOf(info.hbmMask, 0, 0)) << "magenta became transparent";
    EXPECT_EQ(RGB(0, 0, 0), PixelOf(info.hbmMask, 8, 8)) << "the blue centre stays";
    EXPECT_EQ(RGB(0, 0, 255), PixelOf(info.hbmColor, 8, 8));
    DeleteObject(info.hbmMask);
    DeleteObject(info.hbmColor);
    DestroyIcon(hIcon);

    HIMAGELIST hOwned = images.m_hImageList;
    EXPECT_TRUE(images.DeleteImageList());
    EXPECT_FALSE(ImageList_GetIconSize(hOwned, &cx, &cy)) << "a list made by Create is the wrapper's to destroy";

    CImageList missing;
    EXPECT_FALSE(missing.Create(IDB_STRIP + 1, 16, 1, CLR_NONE));
    EXPECT_EQ(nullptr, missing.m_hImageList);
}

TEST(ImageList, AttachedListsAreOwnedUnlessDetachedTemporariesNever)
{
    int cx = 0;
    int cy = 0;
    HIMAGELIST hOwned = ImageList_Create(16, 16, ILC_COLOR32, 1, 1);
    {
        CImageList owner;
        ASSERT_TRUE(owner.Attach(hOwned));
        EXPECT_FALSE(owner.Attach(hOwned)) << "one list per object";
        EXPECT_EQ(hOwned, owner.GetSafeHandle());
    }
    EXPECT_FALSE(ImageList_GetIconSize(hOwned, &cx, &cy)) << "the destructor destroyed it";

    HIMAGELIST hShared = ImageList_Create(16, 16, ILC_COLOR32, 1, 1);
    ImageList_SetImageCount(hShared, 2);
    {
        CImageList shared;
        ASSERT_TRUE(shared.Attach(hShared));
        EXPECT_EQ(hShared, shared.Detach());
        EXPECT_EQ(nullptr, shared.GetSafeHandle());
    }
    EXPECT_EQ(2, ImageList_GetImageCount(hShared)) << "a detached list outlives its wrapper";

    CImageList* pTemp = CImageList::FromHandle(hShared);
    ASSERT_NE(nullptr, pTemp);
    EXPECT_EQ(pTemp, CImageList::FromHandle(hShared));
    AfxLockTempMaps();
    AfxUnlockTempMaps(TRUE);
    EXPECT_EQ(2, ImageList_GetImageCount(hShared));
    pTemp = CImageList::FromHandle(hShared);

    // A tree keeps using the list; its wrappers never own it.
    CTreeHostWnd host;
    ASSERT_TRUE(CreateFrame(host));
    ASSERT_TRUE(CreateTree(host, 0));
    CImageList owned;
    ASSERT_TRUE(owned.Attach(ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 0, 4)));
    EXPECT_EQ(nullptr, host.m_tree.SetImageList(&owned, TVSIL_NORMAL));
    CImageList* pPrevious = host.m_tree.SetImageList(pTemp, TVSIL_NORMAL);
    ASSERT_NE(nullptr, pPrevious);
    EXPECT_EQ(owned.m_hImageList, pPrevious->m_hImageList);
    EXPECT_EQ(reinterpret_cast<LRESULT>(hShared), host.m_tree.SendMessage(TVM_GETIMAGELIST, TVSIL_NORMAL));
    host.m_tree.SetImageList(nullptr, TVSIL_NORMAL);
    EXPECT_TRUE(owned.DeleteImageList());
    EXPECT_FALSE(owned.DeleteImageList());
    ImageList_Destroy(hShared);
}
