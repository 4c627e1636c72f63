// Framework subset: menus. CMenu is a menu handle that it owns (the
// destructor destroys it; Detach gives it up). FromHandle and GetSubMenu
// answer temporary wrappers that never destroy their menu and live until the
// thread's next idle time.
#pragma once

#include "afxsub_app.h"

class CWnd;

class AFX_API CMenu : public CObject
{
    DECLARE_DYNAMIC(CMenu)
public:
    CMenu() noexcept : m_hMenu(nullptr) {}
    ~CMenu() override;

    HMENU m_hMenu;

    operator HMENU() const { return m_hMenu; }
    // m_hMenu, or null for a null object pointer.
    HMENU GetSafeHmenu() const;
    static CMenu* PASCAL FromHandle(HMENU hMenu);

    BOOL Attach(HMENU hNewMenu);
    HMENU Detach();
    // Destroys the held menu and its submenus (FALSE when none is held).
    BOOL DestroyMenu();

    BOOL CreateMenu() { return Attach(::CreateMenu()); }
    BOOL CreatePopupMenu() { return Attach(::CreatePopupMenu()); }
    // Loads a menu resource from the module the framework's resource search
    // finds for it (current resource handle, then the extension-module chain).
    BOOL LoadMenu(LPCWSTR lpszResourceName);
    BOOL LoadMenu(UINT nIDResource) { return LoadMenu(MAKEINTRESOURCEW(nIDResource)); }

    // nFlags: MF_BYPOSITION or MF_BYCOMMAND with the item's other flags;
    // nIDNewItem is a command or, with MF_POPUP, a submenu handle.
    BOOL AppendMenu(UINT nFlags, UINT_PTR nIDNewItem = 0, LPCWSTR lpszNewItem = nullptr)
    {
        return ::AppendMenuW(m_hMenu, nFlags, nIDNewItem, lpszNewItem);
    }
    BOOL InsertMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem = 0, LPCWSTR lpszNewItem = nullptr)
    {
        return ::InsertMenuW(m_hMenu, nPosition, nFlags, nIDNewItem, lpszNewItem);
    }
    BOOL ModifyMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem = 0, LPCWSTR lpszNewItem = nullptr)
    {
        return ::ModifyMenuW(m_hMenu, nPosition, nFlags, nIDNewItem, lpszNewItem);
    }
    // Takes the item out; a submenu survives (its owner destroys it).
    BOOL RemoveMenu(UINT nPosition, UINT nFlags) { return ::RemoveMenu(m_hMenu, nPosition, nFlags); }
    // Takes the item out and destroys a submenu with it.
    BOOL DeleteMenu(UINT nPosition, UINT nFlags) { return ::DeleteMenu(m_hMenu, nPosition, nFlags); }

    // The previous state (MF_ENABLED / MF_GRAYED / MF_DISABLED), or -1 (as
    // UINT) when there is no such item.
    UINT EnableMenuItem(UINT nIDEnableItem, UINT nEnable) { return ::EnableMenuItem(m_hMenu, nIDEnableItem, nEnable); }
    // The previous check state, or -1 (as DWORD) when there is no such item.
    DWORD CheckMenuItem(UINT nIDCheckItem, UINT nCheck) { return ::CheckMenuItem(m_hMenu, nIDCheckItem, nCheck); }
    BOOL CheckMenuRadioItem(UINT nIDFirst, UINT nIDLast, UINT nIDItem, UINT nFlags)
    {
        return ::CheckMenuRadioItem(m_hMenu, nIDFirst, nIDLast, nIDItem, nFlags);
    }
    BOOL SetDefaultItem(UINT uItem, BOOL fByPos = FALSE) { return ::SetMenuDefaultItem(m_hMenu, uItem, fByPos); }

    int GetMenuItemCount() const { return ::GetMenuItemCount(m_hMenu); }
    // 0 for a separator, -1 (as UINT) for a submenu or a missing item.
    UINT GetMenuItemID(int nPos) const { return ::GetMenuItemID(m_hMenu, nPos); }
    UINT GetMenuState(UINT nID, UINT nFlags) const { return ::GetMenuState(m_hMenu, nID, nFlags); }
    int GetMenuString(UINT nIDItem, LPWSTR lpString, int nMaxCount, UINT nFlags) const
    {
        return ::GetMenuStringW(m_hMenu, nIDItem, lpString, nMaxCount, nFlags);
    }
    int GetMenuString(UINT nIDItem, CString& rString, UINT nFlags) const;
    BOOL GetMenuItemInfo(UINT uItem, LPMENUITEMINFOW lpMenuItemInfo, BOOL fByPos = FALSE) const
    {
        return ::GetMenuItemInfoW(m_hMenu, uItem, fByPos, lpMenuItemInfo);
    }
    BOOL SetMenuItemInfo(UINT uItem, LPCMENUITEMINFOW lpMenuItemInfo, BOOL fByPos = FALSE)
    {
        return ::SetMenuItemInfoW(m_hMenu, uItem, fByPos, lpMenuItemInfo);
    }
    // A temporary wrapper of the submenu at nPos, or null.
    CMenu* GetSubMenu(int nPos) const { return FromHandle(::GetSubMenu(m_hMenu, nPos)); }

    // Shows the menu and returns when it closes. With TPM_RETURNCMD the
    // result is the chosen command (0 when dismissed); otherwise TRUE/FALSE,
    // and the command goes to pWnd as a WM_COMMAND message. pWnd null: the
    // application's main window or the active window owns the menu, since
    // the system needs an owner; FALSE when there is none.
    BOOL TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, LPCRECT lpRect = nullptr);
};
