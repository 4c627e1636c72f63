// Framework subset: common controls. CImageList (an image-list handle it
// owns), CTreeCtrl and CToolTipCtrl (thin: one message per member).
#pragma once

#include "afxsub_controls.h"

#include <commctrl.h>

// An image list. The object owns the list it holds, made by Create or given
// to Attach: the destructor and DeleteImageList destroy it. A list shared
// with others (the system image list) is given back with Detach before the
// object goes; the temporary wrappers of FromHandle never destroy theirs.
class AFX_API CImageList : public CObject
{
    DECLARE_DYNAMIC(CImageList)
public:
    CImageList() noexcept : m_hImageList(nullptr) {}
    ~CImageList() override;

    HIMAGELIST m_hImageList;

    operator HIMAGELIST() const { return m_hImageList; }
    // m_hImageList, or null for a null object pointer.
    HIMAGELIST GetSafeHandle() const;
    // A temporary wrapper that never destroys the list.
    static CImageList* PASCAL FromHandle(HIMAGELIST hImageList);

    // FALSE for a null handle or when a list is held already.
    BOOL Attach(HIMAGELIST hImageList);
    // Gives up the list without destroying it.
    HIMAGELIST Detach();
    // Destroys the held list; FALSE when none is held.
    BOOL DeleteImageList();

    // A list cut from a bitmap resource into images cx wide, found through
    // the framework's resource search; crMask (CLR_NONE for none) becomes
    // transparent.
    BOOL Create(UINT nBitmapID, int cx, int nGrow, COLORREF crMask);
    BOOL Create(LPCWSTR lpszBitmapID, int cx, int nGrow, COLORREF crMask);

    COLORREF SetBkColor(COLORREF cr) { return ImageList_SetBkColor(m_hImageList, cr); }
};

class AFX_API CTreeCtrl : public CWnd
{
    DECLARE_DYNAMIC(CTreeCtrl)
public:
    BOOL CreateEx(DWORD dwExStyle, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
    {
        return CWnd::CreateEx(dwExStyle, WC_TREEVIEWW, nullptr, dwStyle | WS_CHILD, rect, pParentWnd, nID);
    }

    // --- Items -----------------------------------------------------------------
    HTREEITEM InsertItem(LPTVINSERTSTRUCTW lpInsertStruct)
    {
        return reinterpret_cast<HTREEITEM>(SendMessage(TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(lpInsertStruct)));
    }
    // TVN_DELETEITEM reaches the parent for the item and each descendant.
    BOOL DeleteItem(HTREEITEM hItem) { return static_cast<BOOL>(SendMessage(TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(hItem))); }
    BOOL DeleteAllItems() { return DeleteItem(TVI_ROOT); }
    // nCode: TVE_EXPAND, TVE_COLLAPSE, TVE_TOGGLE (with TVE_COLLAPSERESET).
    BOOL Expand(HTREEITEM hItem, UINT nCode)
    {
        return static_cast<BOOL>(SendMessage(TVM_EXPAND, nCode, reinterpret_cast<LPARAM>(hItem)));
    }

    // --- Navigation (null when there is no such item) ----------------------------
    HTREEITEM GetNextItem(HTREEITEM hItem, UINT nCode) const
    {
        return reinterpret_cast<HTREEITEM>(SendMessage(TVM_GETNEXTITEM, nCode, reinterpret_cast<LPARAM>(hItem)));
    }
    HTREEITEM GetChildItem(HTREEITEM hItem) const { return GetNextItem(hItem, TVGN_CHILD); }
    HTREEITEM GetNextSiblingItem(HTREEITEM hItem) const { return GetNextItem(hItem, TVGN_NEXT); }
    HTREEITEM GetParentItem(HTREEITEM hItem) const { return GetNextItem(hItem, TVGN_PARENT); }
    HTREEITEM GetSelectedItem() const { return GetNextItem(nullptr, TVGN_CARET); }
    HTREEITEM GetFirstVisibleItem() const { return GetNextItem(nullptr, TVGN_FIRSTVISIBLE); }
    HTREEITEM GetRootItem() const { return GetNextItem(nullptr, TVGN_ROOT); }

    // --- Selection and visibility ----------------------------------------------
    // nCode: TVGN_CARET (selection), TVGN_DROPHILITE, TVGN_FIRSTVISIBLE.
    BOOL Select(HTREEITEM hItem, UINT nCode)
    {
        return static_cast<BOOL>(SendMessage(TVM_SELECTITEM, nCode, reinterpret_cast<LPARAM>(hItem)));
    }
    BOOL SelectItem(HTREEITEM hItem) { return Select(hItem, TVGN_CARET); }
    BOOL SelectSetFirstVisible(HTREEITEM hItem) { return Select(hItem, TVGN_FIRSTVISIBLE); }
    BOOL EnsureVisible(HTREEITEM hItem)
    {
        return static_cast<BOOL>(SendMessage(TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(hItem)));
    }

    // --- Item attributes ----------------------------------------------------------
    BOOL GetItem(TVITEMW* pItem) const { return static_cast<BOOL>(SendMessage(TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(pItem))); }
    BOOL SetItem(TVITEMW* pItem) { return static_cast<BOOL>(SendMessage(TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(pItem))); }
    BOOL SetItem(HTREEITEM hItem, UINT nMask, LPCWSTR lpszItem, int nImage, int nSelectedImage, UINT nState,
                 UINT nStateMask, LPARAM lParam);
    // Empty when the item does not exist.
    CString GetItemText(HTREEITEM hItem) const;
    // 0 when the item does not exist.
    DWORD_PTR GetItemData(HTREEITEM hItem) const;
    UINT GetItemState(HTREEITEM hItem, UINT nStateMask) const
    {
        return static_cast<UINT>(SendMessage(TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(hItem), nStateMask));
    }
    BOOL SetItemState(HTREEITEM hItem, UINT nState, UINT nStateMask)
    {
        return SetItem(hItem, TVIF_STATE, nullptr, 0, 0, nState, nStateMask, 0);
    }
    BOOL GetItemImage(HTREEITEM hItem, int& nImage, int& nSelectedImage) const;
    BOOL SetItemImage(HTREEITEM hItem, int nImage, int nSelectedImage)
    {
        return SetItem(hItem, TVIF_IMAGE | TVIF_SELECTEDIMAGE, nullptr, nImage, nSelectedImage, 0, 0, 0);
    }
    // The item's children indicator (cChildren): nonzero when it shows a button.
    BOOL ItemHasChildren(HTREEITEM hItem) const;
    // The item's row (bTextOnly: its text) in client coordinates; FALSE when
    // the item is not shown (a collapsed ancestor) or does not exist.
    BOOL GetItemRect(HTREEITEM hItem, LPRECT lpRect, BOOL bTextOnly) const
    {
        *reinterpret_cast<HTREEITEM*>(lpRect) = hItem;
        return static_cast<BOOL>(SendMessage(TVM_GETITEMRECT, bTextOnly, reinterpret_cast<LPARAM>(lpRect)));
    }
    UINT GetCount() const { return static_cast<UINT>(SendMessage(TVM_GETCOUNT, 0, 0)); }
    UINT GetVisibleCount() const { return static_cast<UINT>(SendMessage(TVM_GETVISIBLECOUNT, 0, 0)); }

    // --- Sorting --------------------------------------------------------------------
    BOOL SortChildrenCB(LPTVSORTCB pSort, BOOL bRecurse = FALSE)
    {
        return static_cast<BOOL>(SendMessage(TVM_SORTCHILDRENCB, bRecurse, reinterpret_cast<LPARAM>(pSort)));
    }

    // --- Image lists ----------------------------------------------------------------
    // nImageListType TVSIL_NORMAL or TVSIL_STATE. The control does not own
    // the list; the result is a temporary wrapper of the previous one.
    CImageList* SetImageList(CImageList* pImageList, int nImageListType)
    {
        return CImageList::FromHandle(reinterpret_cast<HIMAGELIST>(
            SendMessage(TVM_SETIMAGELIST, static_cast<WPARAM>(nImageListType),
                        reinterpret_cast<LPARAM>(pImageList != nullptr ? pImageList->m_hImageList : nullptr))));
    }
};

class AFX_API CToolTipCtrl : public CWnd
{
    DECLARE_DYNAMIC(CToolTipCtrl)
public:
    // A tooltip window owned by pParentWnd (WS_POPUP is added).
    BOOL Create(CWnd* pParentWnd, DWORD dwStyle = 0);

    // A tool for a whole control (TTF_IDISHWND | TTF_SUBCLASS, so the tip
    // sees the control's mouse messages itself; RelayEvent is still fine),
    // with the text a string resource found through the framework's resource
    // search (the tooltip loads it from that module). With nIDTool nonzero
    // the tool is instead the rectangle lpRectTool of pWnd, identified by
    // nIDTool.
    BOOL AddTool(CWnd* pWnd, UINT nIDText, LPCRECT lpRectTool = nullptr, UINT_PTR nIDTool = 0);

    void Activate(BOOL bActivate) { SendMessage(TTM_ACTIVATE, bActivate, 0); }
    // Passes a mouse message of a tool to the tip (from PreTranslateMessage).
    void RelayEvent(LPMSG lpMsg) { SendMessage(TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(lpMsg)); }

private:
    static void FillInToolInfo(TTTOOLINFOW& ti, CWnd* pWnd, UINT_PTR nIDTool);
};
