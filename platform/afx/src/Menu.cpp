// CMenu.
#include "WndState.h"

#include "afxsub_menu.h"

IMPLEMENT_DYNAMIC(CMenu, CObject)

namespace {

CMenu* MakeTempMenu(HMENU hMenu)
{
    CMenu* pMenu = new CMenu;
    pMenu->m_hMenu = hMenu;
    return pMenu;
}

} // namespace

CMenu::~CMenu()
{
    DestroyMenu();
}

CMenu* PASCAL CMenu::FromHandle(HMENU hMenu)
{
    return AfxTempFromHandle<CMenu, HMENU>(AfxGetWndThreadState()->m_tempMenu, hMenu, MakeTempMenu);
}

BOOL CMenu::Attach(HMENU hNewMenu)
{
    if (hNewMenu == nullptr || m_hMenu != nullptr)
        return FALSE;
    m_hMenu = hNewMenu;
    return TRUE;
}

HMENU CMenu::Detach()
{
    HMENU hMenu = m_hMenu;
    m_hMenu = nullptr;
    return hMenu;
}

BOOL CMenu::DestroyMenu()
{
    if (m_hMenu == nullptr)
        return FALSE;
    return ::DestroyMenu(Detach());
}

BOOL CMenu::LoadMenu(LPCWSTR lpszResourceName)
{
    HINSTANCE hInst = AfxFindResourceHandle(lpszResourceName, RT_MENU);
    return Attach(::LoadMenuW(hInst, lpszResourceName));
}

int CMenu::GetMenuString(UINT nIDItem, CString& rString, UINT nFlags) const
{
    rString.Empty();
    int nLen = ::GetMenuStringW(m_hMenu, nIDItem, nullptr, 0, nFlags);
    if (nLen <= 0)
        return 0;
    int nGot = ::GetMenuStringW(m_hMenu, nIDItem, rString.GetBufferSetLength(nLen), nLen + 1, nFlags);
    rString.ReleaseBufferSetLength(nGot < 0 ? 0 : nGot);
    return rString.GetLength();
}

BOOL CMenu::TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, LPCRECT lpRect)
{
    HWND hWndOwner = pWnd != nullptr ? pWnd->m_hWnd : CWnd::GetSafeOwner_(nullptr, nullptr);
    if (hWndOwner == nullptr)
        return FALSE;
    return ::TrackPopupMenu(m_hMenu, nFlags, x, y, 0, hWndOwner, lpRect);
}
