// CWnd: the handle maps, creation and subclassing, message-map dispatch,
// Default(), pre-translation in the pump, the end of a window's object, and
// window classes.
#include "WndTestEnv.h"

#include <vector>

namespace {

const UINT ID_FIRST = 40001;
const UINT ID_UNMAPPED = 40002;
const UINT IDC_CHILD_BUTTON = 500;
const UINT IDC_CHILD_EDIT = 501;
const UINT IDC_CHILD_TREE = 502;

// Records what its message map hands it.
class CProbeWnd : public CWnd
{
public:
    std::vector<UINT> m_messages;  // WM_NCCREATE and WM_CREATE, in order
    int m_nCreateResult = 0;
    int m_nPostNcDestroy = 0;
    bool m_bDeleteSelf = false;
    bool* m_pDeleted = nullptr;
    int m_cx = 0;
    int m_cy = 0;
    UINT m_nCommand = 0;
    int m_nClicks = 0;
    int m_nEditChanges = 0;
    BOOL m_bBlockSelection = FALSE;
    UINT m_nNotifyFrom = 0;

    ~CProbeWnd() override
    {
        if (m_pDeleted != nullptr)
            *m_pDeleted = true;
    }

protected:
    afx_msg LRESULT OnNcCreateMsg(WPARAM, LPARAM)
    {
        m_messages.push_back(WM_NCCREATE);
        return Default();
    }
    afx_msg int OnCreate(LPCREATESTRUCT lpcs)
    {
        m_messages.push_back(WM_CREATE);
        return m_nCreateResult != 0 ? m_nCreateResult : CWnd::OnCreate(lpcs);
    }
    afx_msg void OnSize(UINT, int cx, int cy)
    {
        m_cx = cx;
        m_cy = cy;
    }
    afx_msg LRESULT OnApp(WPARAM wParam, LPARAM lParam) { return static_cast<LRESULT>(wParam + lParam); }
    afx_msg void OnFirst() { m_nCommand = ID_FIRST; }
    afx_msg void OnChildClicked() { ++m_nClicks; }
    afx_msg void OnChildEditChange() { ++m_nEditChanges; }
    afx_msg void OnTreeSelChanging(NMHDR* pNMHDR, LRESULT* pResult)
    {
        m_nNotifyFrom = static_cast<UINT>(pNMHDR->idFrom);
        *pResult = m_bBlockSelection;
    }
    void PostNcDestroy() override
    {
        ++m_nPostNcDestroy;
        if (m_bDeleteSelf)
            delete this;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CProbeWnd, CWnd)
    ON_MESSAGE(WM_NCCREATE, &CProbeWnd::OnNcCreateMsg)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_MESSAGE(WM_APP + 1, &CProbeWnd::OnApp)
    ON_COMMAND(ID_FIRST, &CProbeWnd::OnFirst)
    ON_BN_CLICKED(IDC_CHILD_BUTTON, &CProbeWnd::OnChildClicked)
    ON_EN_CHANGE(IDC_CHILD_EDIT, &CProbeWnd::OnChildEditChange)
    ON_NOTIFY(TVN_SELCHANGINGW, IDC_CHILD_TREE, &CProbeWnd::OnTreeSelChanging)
END_MESSAGE_MAP()

// Overrides one entry of its base's map and adds one.
class CDerivedProbeWnd : public CProbeWnd
{
public:
    int m_nDestroys = 0;

protected:
    afx_msg LRESULT OnAppTimesTen(WPARAM wParam, LPARAM lParam) { return static_cast<LRESULT>((wParam + lParam) * 10); }
    afx_msg void OnDestroy()
    {
        ++m_nDestroys;
        CProbeWnd::OnDestroy();
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CDerivedProbeWnd, CProbeWnd)
    ON_MESSAGE(WM_APP + 1, &CDerivedProbeWnd::OnAppTimesTen)
    ON_WM_DESTROY()
END_MESSAGE_MAP()

// An edit that refuses digits and asks for every key.
class CNoDigitsEdit : public CEdit
{
protected:
    afx_msg LRESULT OnCharMsg(WPARAM wParam, LPARAM)
    {
        return wParam >= L'0' && wParam <= L'9' ? 0 : Default();
    }
    afx_msg LRESULT OnGetDlgCodeMsg(WPARAM, LPARAM) { return Default() | DLGC_WANTALLKEYS; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CNoDigitsEdit, CEdit)
    ON_MESSAGE(WM_CHAR, &CNoDigitsEdit::OnCharMsg)
    ON_MESSAGE(WM_GETDLGCODE, &CNoDigitsEdit::OnGetDlgCodeMsg)
END_MESSAGE_MAP()

// Eats F5 for itself and every child.
class CF5EaterWnd : public CWnd
{
public:
    BOOL PreTranslateMessage(MSG* pMsg) override
    {
        return pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_F5;
    }
};

class CKeyLogEdit : public CEdit
{
public:
    std::vector<UINT> m_keys;

protected:
    afx_msg void OnKeyDown(UINT nChar, UINT, UINT)
    {
        m_keys.push_back(nChar);
        Default();
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CKeyLogEdit, CEdit)
    ON_WM_KEYDOWN()
END_MESSAGE_MAP()

HWND CreatePlainWindow(HWND hParent = nullptr)
{
    DWORD style = hParent != nullptr ? WS_CHILD | WS_VISIBLE : WS_OVERLAPPED;
    return CreateWindowExW(0, L"STATIC", L"plain", style, 0, 0, 100, 100, hParent, nullptr, nullptr, nullptr);
}

} // namespace

TEST(WndMaps, PermanentObjectsAreFoundTemporaryOnesComeAndGo)
{
    CProbeWnd wnd;
    ASSERT_TRUE(CreateFrame(wnd));
    EXPECT_EQ(&wnd, CWnd::FromHandlePermanent(wnd.m_hWnd));
    EXPECT_EQ(&wnd, CWnd::FromHandle(wnd.m_hWnd));

    HWND hPlain = CreatePlainWindow(wnd.m_hWnd);
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(hPlain));
    CWnd* pTemp = CWnd::FromHandle(hPlain);
    ASSERT_NE(nullptr, pTemp);
    EXPECT_EQ(hPlain, pTemp->m_hWnd);
    EXPECT_EQ(pTemp, CWnd::FromHandle(hPlain));
    // A temporary of a child finds the parent's real object.
    EXPECT_EQ(&wnd, pTemp->GetParent());

    // Freeing temporaries leaves their windows alone.
    AfxLockTempMaps();
    AfxUnlockTempMaps(TRUE);
    EXPECT_TRUE(IsWindow(hPlain));
    EXPECT_EQ(nullptr, CWnd::FromHandle(nullptr));

    // Attach without subclassing: found, but the window keeps its procedure.
    CWnd attached;
    WNDPROC pfnStatic = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(hPlain, GWLP_WNDPROC));
    ASSERT_TRUE(attached.Attach(hPlain));
    EXPECT_FALSE(CWnd().Attach(hPlain)) << "a window has at most one object";
    EXPECT_EQ(&attached, CWnd::FromHandle(hPlain));
    EXPECT_EQ(pfnStatic, reinterpret_cast<WNDPROC>(GetWindowLongPtrW(hPlain, GWLP_WNDPROC)));
    EXPECT_EQ(hPlain, attached.Detach());
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(hPlain));
    EXPECT_TRUE(IsWindow(hPlain));
}

TEST(WndMaps, ObjectSeesCreationFromTheFirstMessageOnAndEndsWhenItFails)
{
    CProbeWnd frame;
    ASSERT_TRUE(CreateFrame(frame));
    ASSERT_EQ(2u, frame.m_messages.size());
    EXPECT_EQ(static_cast<UINT>(WM_NCCREATE), frame.m_messages[0]);
    EXPECT_EQ(static_cast<UINT>(WM_CREATE), frame.m_messages[1]);
    EXPECT_EQ(CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, GetClassLongPtrW(frame.m_hWnd, GCL_STYLE));

    // A control class is subclassed at creation and keeps its own behaviour.
    CProbeWnd button;
    ASSERT_TRUE(button.Create(L"BUTTON", L"Push", BS_AUTOCHECKBOX | WS_VISIBLE, CRect(10, 10, 110, 40), &frame, 7));
    EXPECT_EQ(2u, button.m_messages.size());
    EXPECT_TRUE(button.GetStyle() & WS_CHILD) << "Create adds WS_CHILD";
    EXPECT_EQ(7, button.GetDlgCtrlID());
    button.SendMessage(BM_CLICK);
    EXPECT_EQ(BST_CHECKED, button.SendMessage(BM_GETCHECK));
    CString text;
    button.GetWindowText(text);
    EXPECT_EQ(L"Push", Str(text));
    CRect rect;
    button.GetWindowRect(&rect);
    frame.ScreenToClient(&rect);
    EXPECT_EQ(CRect(10, 10, 110, 40), rect);

    // A failed creation detaches and ends the object.
    CProbeWnd failed;
    failed.m_nCreateResult = -1;
    EXPECT_FALSE(CreateFrame(failed));
    EXPECT_EQ(nullptr, failed.m_hWnd);
    EXPECT_EQ(1, failed.m_nPostNcDestroy);
    EXPECT_FALSE(failed.DestroyWindow());
}

TEST(WndDispatch, MapEntriesGetTypedArgumentsAndResults)
{
    CProbeWnd wnd;
    ASSERT_TRUE(CreateFrame(wnd));

    EXPECT_EQ(7, wnd.SendMessage(WM_APP + 1, 3, 4));

    wnd.MoveWindow(0, 0, 300, 200);
    CRect client;
    wnd.GetClientRect(&client);
    EXPECT_EQ(client.right, wnd.m_cx);
    EXPECT_EQ(client.bottom, wnd.m_cy);

    wnd.SendMessage(WM_COMMAND, MAKEWPARAM(ID_FIRST, 0), 0);
    EXPECT_EQ(ID_FIRST, wnd.m_nCommand);
    // Accelerators (code 1) reach ON_COMMAND entries as menu commands do.
    wnd.m_nCommand = 0;
    wnd.SendMessage(WM_COMMAND, MAKEWPARAM(ID_FIRST, 1), 0);
    EXPECT_EQ(ID_FIRST, wnd.m_nCommand);
    wnd.m_nCommand = 0;
    wnd.SendMessage(WM_COMMAND, MAKEWPARAM(ID_UNMAPPED, 0), 0);
    EXPECT_EQ(0u, wnd.m_nCommand) << "no entry for this command";

    // Unmapped messages get the default processing.
    wnd.SetWindowText(L"title");
    CString title;
    wnd.GetWindowText(title);
    EXPECT_EQ(L"title", Str(title));
}

TEST(WndDispatch, ControlNotificationsReachTheParentsMap)
{
    CProbeWnd frame;
    ASSERT_TRUE(CreateFrame(frame));
    CButton button;
    ASSERT_TRUE(button.Create(L"Go", BS_PUSHBUTTON | WS_VISIBLE, CRect(0, 0, 50, 20), &frame, IDC_CHILD_BUTTON));
    button.SendMessage(BM_CLICK);
    EXPECT_EQ(1, frame.m_nClicks);

    CEdit edit;
    ASSERT_TRUE(edit.Create(WS_VISIBLE | WS_BORDER, CRect(0, 30, 100, 50), &frame, IDC_CHILD_EDIT));
    edit.SetWindowText(L"x");
    EXPECT_EQ(1, frame.m_nEditChanges);

    // WM_NOTIFY: the handler's result is what the control gets back.
    CTreeCtrl tree;
    ASSERT_TRUE(tree.CreateEx(0, WS_VISIBLE | TVS_HASBUTTONS, CRect(0, 60, 200, 200), &frame, IDC_CHILD_TREE));
    HTREEITEM hA = InsertTreeItem(tree, L"a");
    HTREEITEM hB = InsertTreeItem(tree, L"b");
    tree.SelectItem(hA);
    EXPECT_EQ(IDC_CHILD_TREE, frame.m_nNotifyFrom);
    frame.m_bBlockSelection = TRUE;
    tree.SelectItem(hB);
    EXPECT_EQ(hA, tree.GetSelectedItem());
    frame.m_bBlockSelection = FALSE;
    tree.SelectItem(hB);
    EXPECT_EQ(hB, tree.GetSelectedItem());
}

TEST(WndDispatch, DerivedMapComesFirstAndTheBaseMapStillApplies)
{
    CDerivedProbeWnd wnd;
    ASSERT_TRUE(CreateFrame(wnd));
    EXPECT_EQ(70, wnd.SendMessage(WM_APP + 1, 3, 4));
    wnd.SendMessage(WM_COMMAND, MAKEWPARAM(ID_FIRST, 0), 0);
    EXPECT_EQ(ID_FIRST, wnd.m_nCommand);
    EXPECT_EQ(2u, wnd.m_messages.size());
    wnd.DestroyWindow();
    EXPECT_EQ(1, wnd.m_nDestroys);
    EXPECT_EQ(1, wnd.m_nPostNcDestroy);
    EXPECT_EQ(nullptr, wnd.m_hWnd);
}

TEST(WndSubclass, SubclassedControlFiltersAndPassesOnThroughDefault)
{
    CWnd frame;
    ASSERT_TRUE(CreateFrame(frame));
    HWND hEdit = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 0, 0, 100, 20, frame.m_hWnd, nullptr,
                                 nullptr, nullptr);
    WNDPROC pfnEdit = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(hEdit, GWLP_WNDPROC));

    CNoDigitsEdit edit;
    ASSERT_TRUE(edit.SubclassWindow(hEdit));
    EXPECT_EQ(&edit, CWnd::FromHandlePermanent(hEdit));
    DialogDriver::PostChars(hEdit, L"a1b2c");
    PumpPending();
    CString text;
    edit.GetWindowText(text);
    EXPECT_EQ(L"abc", Str(text));
    LRESULT code = edit.SendMessage(WM_GETDLGCODE);
    EXPECT_TRUE(code & DLGC_WANTALLKEYS);
    EXPECT_TRUE(code & DLGC_HASSETSEL) << "the edit's own codes come through Default()";
    EXPECT_NE(pfnEdit, reinterpret_cast<WNDPROC>(GetWindowLongPtrW(hEdit, GWLP_WNDPROC)));
}

TEST(WndLifetime, ObjectsEndWithTheirWindows)
{
    bool bChildDeleted = false;
    HWND hChild = nullptr;
    {
        CProbeWnd frame;
        ASSERT_TRUE(CreateFrame(frame));
        auto* pChild = new CProbeWnd;
        pChild->m_bDeleteSelf = true;
        pChild->m_pDeleted = &bChildDeleted;
        ASSERT_TRUE(pChild->Create(nullptr, L"child", WS_VISIBLE, CRect(0, 0, 50, 50), &frame, 1));
        hChild = pChild->m_hWnd;

        // Destroying the parent ends the child's self-owned object too.
        ASSERT_TRUE(frame.DestroyWindow());
        EXPECT_TRUE(bChildDeleted);
        EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(hChild));
        EXPECT_EQ(1, frame.m_nPostNcDestroy);
        EXPECT_EQ(nullptr, frame.m_hWnd);
    }

    HWND hWnd = nullptr;
    {
        CProbeWnd wnd;
        ASSERT_TRUE(CreateFrame(wnd));
        hWnd = wnd.m_hWnd;
    }
    EXPECT_FALSE(IsWindow(hWnd)) << "the destructor destroys a window still attached";
}

TEST(WndPump, PreTranslateWalksFromTheTargetUpToItsParents)
{
    CF5EaterWnd frame;
    ASSERT_TRUE(CreateFrame(frame));
    CKeyLogEdit edit;
    ASSERT_TRUE(edit.Create(WS_VISIBLE, CRect(0, 0, 100, 20), &frame, 1));

    PostMessageW(edit.m_hWnd, WM_KEYDOWN, VK_F5, 1);
    PostMessageW(edit.m_hWnd, WM_KEYDOWN, VK_F6, 1);
    PumpPending();
    ASSERT_EQ(1u, edit.m_keys.size());
    EXPECT_EQ(static_cast<UINT>(VK_F6), edit.m_keys[0]);

    // WM_QUIT ends a pump and stays queued for the loop outside.
    PostQuitMessage(3);
    EXPECT_FALSE(AfxPumpMessage());
    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(3u, msg.wParam);
}

TEST(WndPump, DestroyingTheMainWindowQuitsItsThreadsLoop)
{
    auto* pMain = new CWnd;
    ASSERT_TRUE(CreateFrame(*pMain));
    AfxGetApp()->m_pMainWnd = pMain;
    EXPECT_EQ(pMain, AfxGetMainWnd());
    pMain->DestroyWindow();
    delete pMain;
    EXPECT_EQ(nullptr, AfxGetApp()->m_pMainWnd);
    MSG msg;
    EXPECT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

TEST(WndClass, RegisteredClassesAreSharedPerCombinationAndRunTheFrameworkProc)
{
    LPCWSTR pszA = AfxRegisterWndClass(CS_DBLCLKS);
    LPCWSTR pszB = AfxRegisterWndClass(CS_DBLCLKS);
    LPCWSTR pszC = AfxRegisterWndClass(CS_DBLCLKS, LoadCursorW(nullptr, IDC_ARROW));
    EXPECT_STREQ(pszA, pszB);
    EXPECT_STRNE(pszA, pszC);

    WNDCLASSW wc = {};
    ASSERT_TRUE(GetClassInfoW(AfxGetInstanceHandle(), pszA, &wc));
    EXPECT_EQ(static_cast<UINT>(CS_DBLCLKS), wc.style);
    EXPECT_EQ(&AfxWndProc, wc.lpfnWndProc);
    EXPECT_EQ(nullptr, wc.hCursor);

    // Created without an object, such a window behaves as a default window.
    HWND hBare = CreateWindowExW(0, pszA, L"bare", WS_OVERLAPPED, 0, 0, 50, 50, nullptr, nullptr,
                                 AfxGetInstanceHandle(), nullptr);
    ASSERT_NE(nullptr, hBare);
    SetWindowTextW(hBare, L"renamed");
    EXPECT_EQ(L"renamed", DialogDriver::Text(hBare));
    DestroyWindow(hBare);

    CProbeWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, pszA, L"", WS_OVERLAPPED, 0, 0, 50, 50, nullptr, nullptr));
    EXPECT_EQ(2u, wnd.m_messages.size());
    EXPECT_EQ(7, wnd.SendMessage(WM_APP + 1, 3, 4));
}

TEST(WndState, StylesChangeOnlyWhenAsked)
{
    CWnd wnd;
    ASSERT_TRUE(CreateFrame(wnd));
    EXPECT_FALSE(wnd.ModifyStyle(0, WS_CAPTION)) << "nothing to change";
    EXPECT_TRUE(wnd.ModifyStyle(WS_MAXIMIZEBOX, WS_CLIPCHILDREN, SWP_FRAMECHANGED));
    EXPECT_EQ(static_cast<DWORD>(WS_CLIPCHILDREN), wnd.GetStyle() & (WS_MAXIMIZEBOX | WS_CLIPCHILDREN));
}
