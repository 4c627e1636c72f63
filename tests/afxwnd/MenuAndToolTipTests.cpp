// CMenu from the chain's resources, edited by position and by command and
// shown as a popup the user picks from; CToolTipCtrl tools with texts from
// the chain.
#include "WndTestEnv.h"

namespace {

class CMenuOwnerWnd : public CWnd
{
public:
    UINT m_nCommand = 0;

protected:
    afx_msg void OnFirst() { m_nCommand = ID_ITEM_FIRST; }
    afx_msg void OnSecond() { m_nCommand = ID_ITEM_SECOND; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CMenuOwnerWnd, CWnd)
    ON_COMMAND(ID_ITEM_FIRST, &CMenuOwnerWnd::OnFirst)
    ON_COMMAND(ID_ITEM_SECOND, &CMenuOwnerWnd::OnSecond)
END_MESSAGE_MAP()

std::wstring ItemString(CMenu* pMenu, UINT nItem, UINT nFlags)
{
    CString text;
    pMenu->GetMenuString(nItem, text, nFlags);
    return Str(text);
}

std::wstring ToolText(CToolTipCtrl& tips, CWnd& control)
{
    wchar_t szText[128] = {};
    TTTOOLINFOW ti = {};
    ti.cbSize = TTTOOLINFOW_V2_SIZE;
    ti.hwnd = control.GetParent()->m_hWnd;
    ti.uId = reinterpret_cast<UINT_PTR>(control.m_hWnd);
    ti.lpszText = szText;
    tips.SendMessage(TTM_GETTEXTW, 128, reinterpret_cast<LPARAM>(&ti));
    return szText;
}

} // namespace

TEST(Menu, LoadedFromTheChainAndEditedByPositionAndCommand)
{
    CMenu menu;
    ASSERT_TRUE(menu.LoadMenu(IDM_POPUP));
    EXPECT_FALSE(menu.LoadMenu(IDM_POPUP)) << "one menu per object";
    CMenu* pPopup = menu.GetSubMenu(0);
    ASSERT_NE(nullptr, pPopup);
    EXPECT_EQ(pPopup, CMenu::FromHandle(pPopup->m_hMenu));
    EXPECT_EQ(nullptr, menu.GetSubMenu(1));
    ASSERT_EQ(4, pPopup->GetMenuItemCount());
    EXPECT_EQ(L"&Third", ItemString(pPopup, ID_ITEM_THIRD, MF_BYCOMMAND));
    EXPECT_EQ(L"&First", ItemString(pPopup, 0, MF_BYPOSITION));
    EXPECT_EQ(L"", ItemString(pPopup, 2, MF_BYPOSITION)) << "separator";

    EXPECT_TRUE(pPopup->InsertMenu(0, MF_BYPOSITION | MF_STRING, 1, L"Fav 1"));
    EXPECT_TRUE(pPopup->AppendMenu(MF_STRING, 2, L"Fav 2"));
    EXPECT_TRUE(pPopup->RemoveMenu(3, MF_BYPOSITION));
    EXPECT_TRUE(pPopup->RemoveMenu(ID_ITEM_SECOND, MF_BYCOMMAND));
    EXPECT_EQ(4, pPopup->GetMenuItemCount());
    EXPECT_EQ(L"Fav 1", ItemString(pPopup, 0, MF_BYPOSITION));
    EXPECT_EQ(L"&First", ItemString(pPopup, 1, MF_BYPOSITION));
    EXPECT_EQ(L"Fav 2", ItemString(pPopup, 3, MF_BYPOSITION));

    EXPECT_EQ(static_cast<UINT>(MF_ENABLED), pPopup->EnableMenuItem(2, MF_BYCOMMAND | MF_GRAYED));
    EXPECT_EQ(static_cast<UINT>(MF_GRAYED), pPopup->EnableMenuItem(2, MF_BYCOMMAND | MF_ENABLED));
    EXPECT_EQ(static_cast<UINT>(-1), pPopup->EnableMenuItem(9999, MF_BYCOMMAND | MF_GRAYED));

    CMenu sub;
    ASSERT_TRUE(sub.CreatePopupMenu());
    sub.AppendMenu(MF_STRING, 5, L"Extra");
    HMENU hSub = sub.Detach();
    EXPECT_TRUE(pPopup->InsertMenu(0, MF_BYPOSITION | MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(hSub), L"More"));
    EXPECT_EQ(hSub, pPopup->GetSubMenu(0)->m_hMenu);

    HMENU hMenu = menu.m_hMenu;
    EXPECT_TRUE(menu.DestroyMenu());
    EXPECT_FALSE(IsMenu(hMenu));
    EXPECT_FALSE(IsMenu(hSub)) << "submenus go with their menu";
}

TEST(Menu, PopupReturnsOrSendsTheChosenCommand)
{
    CMenuOwnerWnd owner;
    ASSERT_TRUE(CreateFrame(owner));
    SetForegroundWindow(owner.m_hWnd);
    CMenu menu;
    ASSERT_TRUE(menu.LoadMenu(IDM_POPUP));
    CMenu* pPopup = menu.GetSubMenu(0);
    CRect rect;
    owner.GetWindowRect(&rect);

    {
        DialogDriver driver;
        driver.Next([](HWND) { DialogDriver::PostKey(GetFocus(), VK_DOWN); })
            .Next([](HWND) { DialogDriver::PostKey(GetFocus(), VK_DOWN); })
            .Next([](HWND) { DialogDriver::PostKey(GetFocus(), VK_RETURN); });
        driver.Start();
        UINT nCmd = pPopup->TrackPopupMenu(TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON, rect.left + 10,
                                           rect.top + 10, &owner);
        EXPECT_EQ(static_cast<UINT>(ID_ITEM_SECOND), nCmd);
        EXPECT_TRUE(driver.Finished());
    }
    PumpPending();
    EXPECT_EQ(0u, owner.m_nCommand) << "TPM_RETURNCMD sends nothing";

    {
        DialogDriver driver;
        driver.Next([](HWND) { DialogDriver::PostKey(GetFocus(), VK_DOWN); })
            .Next([](HWND) { DialogDriver::PostKey(GetFocus(), VK_RETURN); });
        driver.Start();
        EXPECT_TRUE(pPopup->TrackPopupMenu(TPM_LEFTALIGN, rect.left + 10, rect.top + 10, &owner));
    }
    PumpPending();
    EXPECT_EQ(static_cast<UINT>(ID_ITEM_FIRST), owner.m_nCommand) << "the command reaches the owner's map";

    {
        DialogDriver driver;
        driver.Next([](HWND) { EndMenu(); });
        driver.Start();
        EXPECT_EQ(0, pPopup->TrackPopupMenu(TPM_RETURNCMD, rect.left + 10, rect.top + 10, &owner));
    }
}

TEST(ToolTips, ToolsForControlsWithTextsFromTheChain)
{
    CWnd frame;
    ASSERT_TRUE(CreateFrame(frame));
    CButton go;
    ASSERT_TRUE(go.Create(L"Go", BS_PUSHBUTTON | WS_VISIBLE, CRect(10, 10, 60, 30), &frame, 1));
    CEdit edit;
    ASSERT_TRUE(edit.Create(WS_VISIBLE | WS_BORDER, CRect(10, 40, 110, 60), &frame, 2));

    CToolTipCtrl tips;
    ASSERT_TRUE(tips.Create(&frame));
    EXPECT_EQ(frame.m_hWnd, GetWindow(tips.m_hWnd, GW_OWNER));
    EXPECT_TRUE(tips.AddTool(&go, IDS_GO_TIP));
    EXPECT_TRUE(tips.AddTool(&edit, IDS_HELLO));
    EXPECT_EQ(2, tips.SendMessage(TTM_GETTOOLCOUNT));
    EXPECT_EQ(L"Starts it", ToolText(tips, go)) << "the string comes from the module that has it";
    EXPECT_EQ(L"Hello from the chain", ToolText(tips, edit));

    TTTOOLINFOW ti = {};
    ti.cbSize = TTTOOLINFOW_V2_SIZE;
    ti.hwnd = frame.m_hWnd;
    ti.uId = reinterpret_cast<UINT_PTR>(edit.m_hWnd);
    ASSERT_TRUE(tips.SendMessage(TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&ti)));
    EXPECT_EQ(static_cast<UINT>(TTF_IDISHWND | TTF_SUBCLASS), ti.uFlags & (TTF_IDISHWND | TTF_SUBCLASS));

    tips.Activate(TRUE);
    MSG msg = {edit.m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5)};
    tips.RelayEvent(&msg);
}
