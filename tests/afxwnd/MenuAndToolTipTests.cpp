// CMenu from the chain's resources shown as a popup the user picks from or
// dismisses; CToolTipCtrl tools with texts from strings and from the chain.
#include "WndTestEnv.h"

namespace {

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

// Menus edited by position and command are checked on the browse dialog's
// own menu, which is built that way (tests/browsedlg).
TEST(Menu, PopupReturnsTheChosenCommandOrZero)
{
    CWnd owner;
    ASSERT_TRUE(CreateFrame(owner));
    owner.SetForegroundWindow();
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
    {
        DialogDriver driver;
        driver.Next([](HWND) { EndMenu(); });
        driver.Start();
        EXPECT_EQ(0, pPopup->TrackPopupMenu(TPM_RETURNCMD, rect.left + 10, rect.top + 10, &owner));
    }
}

TEST(ToolTips, ToolsForControlsWithTextsFromStringsAndTheChain)
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
    EXPECT_TRUE(tips.AddTool(&edit, L"Type here"));
    EXPECT_EQ(2, tips.GetToolCount());
    EXPECT_EQ(L"Starts it", ToolText(tips, go)) << "the string comes from the module that has it";
    EXPECT_EQ(L"Type here", ToolText(tips, edit));

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
