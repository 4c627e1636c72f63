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

    static CMenu* PASCAL FromHandle(HMENU hMenu);

    BOOL Attach(HMENU hNewMenu);
    HMENU Detach();
    // Destroys the held menu and its submenus (FALSE when none is held).
    BOOL DestroyMenu();

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
    // Takes the item out; a submenu survives (its owner destroys it).
    BOOL RemoveMenu(UINT nPosition, UINT nFlags) { return ::RemoveMenu(m_hMenu, nPosition, nFlags); }

    // The previous state (MF_ENABLED / MF_GRAYED / MF_DISABLED), or -1 (as
    // UINT) when there is no such item.
    UINT EnableMenuItem(UINT nIDEnableItem, UINT nEnable) { return ::EnableMenuItem(m_hMenu, nIDEnableItem, nEnable); }

    int GetMenuItemCount() const { return ::GetMenuItemCount(m_hMenu); }
    int GetMenuString(UINT nIDItem, CString& rString, UINT nFlags) const;
    BOOL ModifyMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem = 0, LPCWSTR lpszNewItem = nullptr)
    {
        return ::ModifyMenuW(m_hMenu, nPosition, nFlags, nIDNewItem, lpszNewItem);
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
