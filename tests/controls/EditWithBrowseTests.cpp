// CEditWithBrowse on real windows: its layout in the parent, and the modal
// edit driven from inside its own loop. A modal test posts its script (keys to
// the field, clicks, steps that run code) before DoModalEdit, so the loop
// dispatches it in order on the test's thread; a step that never ran means the
// loop ended too early. A watchdog ends a loop that does not end by itself.
#include "BrwsEditWithBrowse.h"
#include "module/Holders.h"

#include <gtest/gtest.h>

#include <functional>
#include <list>
#include <string>

namespace {

const UINT WM_RUNSTEP = WM_APP + 1;
const UINT IDC_CONTROL = 100;

std::wstring Str(const CString& s)
{
    return std::wstring(s.GetString(), static_cast<size_t>(s.GetLength()));
}

// A top-level host that answers WM_GETFONT with m_hFont and runs posted steps.
class CHostWnd : public CWnd
{
public:
    HFONT m_hFont = nullptr;

protected:
    afx_msg LRESULT OnGetFont(WPARAM, LPARAM) { return reinterpret_cast<LRESULT>(m_hFont); }
    afx_msg LRESULT OnRunStep(WPARAM, LPARAM lParam)
    {
        (*reinterpret_cast<std::function<void()>*>(lParam))();
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CHostWnd, CWnd)
    ON_MESSAGE(WM_GETFONT, &CHostWnd::OnGetFont)
    ON_MESSAGE(WM_RUNSTEP, &CHostWnd::OnRunStep)
END_MESSAGE_MAP()

// The callback is a plain function; it forwards to what the test sets.
std::function<bool(CString&, CEditWithBrowse&)> g_onBrowse;
int g_nBrowseCalls = 0;

bool Browse(CString& strText, CEditWithBrowse& control)
{
    ++g_nBrowseCalls;
    return g_onBrowse ? g_onBrowse(strText, control) : false;
}

// Ends the loop by the flag or, should the control not listen, by a quit
// (which the runner drops).
CEditWithBrowse* g_pWatched = nullptr;
void CALLBACK OnWatchdog(HWND, UINT, UINT_PTR, DWORD)
{
    ADD_FAILURE() << "the modal edit did not end by itself";
    if (g_pWatched != nullptr)
        g_pWatched->SetEndModalEditFlag();
    ::PostQuitMessage(0);
}

CRect WindowRectIn(HWND hWnd, HWND hWndFrom)
{
    CRect rc;
    ::GetWindowRect(hWnd, &rc);
    ::MapWindowPoints(nullptr, hWndFrom, reinterpret_cast<LPPOINT>(&rc), 2);
    return rc;
}

class EditWithBrowse : public ::testing::Test
{
protected:
    CHostWnd m_host;
    CEdit m_other;  // another window of the thread to take the focus
    CEditWithBrowse m_control;
    std::list<std::function<void()>> m_steps;
    size_t m_nStepsRun = 0;

    void SetUp() override
    {
        g_onBrowse = nullptr;
        g_nBrowseCalls = 0;
        ASSERT_TRUE(m_host.CreateEx(0, nullptr, L"host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 420, 220,
                                    nullptr, nullptr));
        ASSERT_TRUE(m_other.Create(WS_VISIBLE | WS_BORDER, CRect(10, 120, 200, 144), &m_host, IDC_CONTROL + 1));
        ASSERT_TRUE(CreateControl(m_control, CRect(10, 40, 300, 64)));
        m_control.SetBrowseCallback(&Browse);
    }
    void TearDown() override { DiscardPosted(); }

    bool CreateControl(CEditWithBrowse& control, const CRect& rect, UINT nID = IDC_CONTROL)
    {
        return control.Create(&m_host, rect, WS_VISIBLE, WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, nID);
    }
    HWND Field() { return m_control.GetEdit().GetSafeHwnd(); }
    HWND Button() { return ::GetDlgItem(m_control.GetSafeHwnd(), CEditWithBrowse::ID_BROWSE); }

    void Step(std::function<void()> step)
    {
        m_steps.push_back([this, step] {
            ++m_nStepsRun;
            step();
        });
        ::PostMessageW(m_host.GetSafeHwnd(), WM_RUNSTEP, 0, reinterpret_cast<LPARAM>(&m_steps.back()));
    }
    void StillEditing()
    {
        Step([this] { EXPECT_EQ(Field(), ::GetFocus()); });
    }
    void Key(UINT vk)
    {
        ::PostMessageW(Field(), WM_KEYDOWN, vk, 1);
        ::PostMessageW(Field(), WM_KEYUP, vk, 0xC0000001);
    }
    void Chars(const wchar_t* text)
    {
        for (; *text != L'\0'; ++text)
            ::PostMessageW(Field(), WM_CHAR, *text, 1);
    }
    void ClickButton() { ::PostMessageW(Button(), BM_CLICK, 0, 0); }

    // What the loop leaves queued (the characters of Enter and Escape) is
    // dropped unless asked, so that runs do not see each other's input.
    bool RunEdit(CEditWithBrowse& control, bool bDiscardLeftovers = true)
    {
        g_pWatched = &control;
        const UINT_PTR timer = ::SetTimer(nullptr, 0, 5000, &OnWatchdog);
        const bool bCommitted = control.DoModalEdit();
        ::KillTimer(nullptr, timer);
        g_pWatched = nullptr;
        EXPECT_EQ(m_steps.size(), m_nStepsRun) << "steps left when the edit ended";
        if (bDiscardLeftovers)
            DiscardPosted();
        return bCommitted;
    }
    bool RunEdit() { return RunEdit(m_control); }
    void DiscardPosted()
    {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE | PM_QS_POSTMESSAGE))
        {
        }
        m_steps.clear();
        m_nStepsRun = 0;
    }
};

TEST_F(EditWithBrowse, ShortRectanglesGrowToTheMinimumAndStayInsideTheParent)
{
    const struct { CRect in, out; } cases[] = {
        {CRect(10, 20, 200, 30), CRect(10, 16, 200, 34)},  // 9 short: 4 above, 4 below
        {CRect(10, 2, 200, 12), CRect(10, 0, 200, 18)},    // grown to -2, moved down
        {CRect(10, 50, 200, 68), CRect(10, 50, 200, 68)},  // 1 short: half of it is 0
        {CRect(10, 50, 200, 75), CRect(10, 50, 200, 75)},
    };
    for (const auto& c : cases)
    {
        CEditWithBrowse control;
        ASSERT_TRUE(CreateControl(control, c.in, IDC_CONTROL + 2));
        const CRect rc = WindowRectIn(control.GetSafeHwnd(), m_host.GetSafeHwnd());
        EXPECT_EQ(c.out, rc) << c.in.top << ".." << c.in.bottom << " became " << rc.top << ".." << rc.bottom;
    }
}

TEST_F(EditWithBrowse, ButtonAtTheRightEndFieldInTheRestBothInTheParentFont)
{
    const HWND hControl = m_control.GetSafeHwnd();
    EXPECT_EQ(static_cast<int>(IDC_CONTROL), ::GetDlgCtrlID(hControl));
    EXPECT_EQ(m_host.GetSafeHwnd(), ::GetParent(hControl));
    ASSERT_NE(nullptr, Button());
    EXPECT_EQ(CRect(290 - 35, 0, 290, 24), WindowRectIn(Button(), hControl));
    wchar_t text[8] = {};
    ::GetWindowTextW(Button(), text, 8);
    EXPECT_STREQ(L"...", text);
    EXPECT_EQ(::GetDlgItem(hControl, CEditWithBrowse::ID_EDIT), Field());
    EXPECT_EQ(CRect(0, 0, 290 - 35, 24), WindowRectIn(Field(), hControl));
    // Made while the host had no font: the system font.
    EXPECT_EQ(0, ::SendMessageW(Field(), WM_GETFONT, 0, 0));

    CGdiObjectHolder<HFONT> font(::CreateFontW(-17, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma"));
    const HFONT hFont = font.Get();
    m_host.m_hFont = hFont;
    {
        CEditWithBrowse control;
        ASSERT_TRUE(CreateControl(control, CRect(10, 80, 300, 100), IDC_CONTROL + 2));
        EXPECT_EQ(reinterpret_cast<LRESULT>(hFont), control.GetEdit().SendMessage(WM_GETFONT));
        EXPECT_EQ(reinterpret_cast<LRESULT>(hFont),
                  ::SendDlgItemMessageW(control.GetSafeHwnd(), CEditWithBrowse::ID_BROWSE, WM_GETFONT, 0, 0));
    }
    m_host.m_hFont = nullptr;
}

TEST_F(EditWithBrowse, EnterAndFocusElsewhereCommitEscapeCancels)
{
    m_control.SetEditText(L"C:\\Pictures");
    Step([this] {
        EXPECT_EQ(Field(), ::GetFocus());
        EXPECT_EQ(MAKELONG(11, 11), ::SendMessageW(Field(), EM_GETSEL, 0, 0)) << "the caret after the text";
    });
    Chars(L"\\2024");
    StillEditing();
    Key(VK_RETURN);
    EXPECT_TRUE(RunEdit());
    EXPECT_EQ(L"C:\\Pictures\\2024", Str(m_control.GetEditText()));

    Chars(L"x");
    Step([this] { ::SetFocus(m_other.GetSafeHwnd()); });
    EXPECT_TRUE(RunEdit());
    EXPECT_EQ(m_other.GetSafeHwnd(), ::GetFocus());
    EXPECT_EQ(L"C:\\Pictures\\2024x", Str(m_control.GetEditText()));

    Chars(L"y");
    StillEditing();
    Key(VK_ESCAPE);
    EXPECT_FALSE(RunEdit());
}

TEST_F(EditWithBrowse, EachEditStartsWithoutTheKeysOfTheLastOne)
{
    Key(VK_ESCAPE);
    EXPECT_FALSE(RunEdit());
    // A change of the text used to end the next run at once, as cancelled.
    Chars(L"ab");
    StillEditing();
    Key(VK_RETURN);
    EXPECT_TRUE(RunEdit()) << "Enter after an earlier Escape";
    EXPECT_EQ(L"ab", Str(m_control.GetEditText()));

    Step([this] { m_control.SetEditText(L"set by the host"); });
    StillEditing();
    Key(VK_ESCAPE);
    EXPECT_FALSE(RunEdit()) << "Escape after an earlier Enter";

    // Keys outside an edit set the flags too.
    ::SendMessageW(Field(), WM_KEYDOWN, VK_RETURN, 1);
    ::SendMessageW(Field(), WM_KEYDOWN, VK_ESCAPE, 1);
    Chars(L"d");
    StillEditing();
    Key(VK_RETURN);
    EXPECT_TRUE(RunEdit());
}

TEST_F(EditWithBrowse, QuitEndsTheEditAndReachesTheHostLoop)
{
    Step([] { ::PostQuitMessage(42); });
    EXPECT_FALSE(RunEdit(m_control, false));
    // The host's loop, as far as the quit.
    MSG msg = {};
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE) && msg.message != WM_QUIT)
        ::DispatchMessageW(&msg);
    ASSERT_EQ(static_cast<UINT>(WM_QUIT), msg.message);
    EXPECT_EQ(42u, msg.wParam);
}

TEST_F(EditWithBrowse, EditEndsWithoutAFieldToEdit)
{
    CEditWithBrowse never;
    ::SetFocus(m_other.GetSafeHwnd());
    EXPECT_FALSE(RunEdit(never)) << "no window was ever made";
    EXPECT_EQ(m_other.GetSafeHwnd(), ::GetFocus()) << "the host keeps its focus";

    // The host destroys the control during the edit: its text is gone.
    Chars(L"lost");
    Step([this] { m_control.DestroyWindow(); });
    EXPECT_FALSE(RunEdit());
}

TEST_F(EditWithBrowse, BrowseReplacesTheTextAndEditingGoesOn)
{
    m_control.SetEditText(L"C:\\old");
    CString strSeen;
    CEditWithBrowse* pSeen = nullptr;
    g_onBrowse = [&](CString& strText, CEditWithBrowse& control) {
        strSeen = strText;
        pSeen = &control;
        ::SetFocus(m_other.GetSafeHwnd());  // as a browse dialog does
        strText.Format(L"D:\\picked%d", g_nBrowseCalls);
        return true;
    };
    ClickButton();
    Step([&] {
        EXPECT_EQ(L"C:\\old", Str(strSeen));
        EXPECT_EQ(&m_control, pSeen);
        EXPECT_EQ(L"D:\\picked1", Str(m_control.GetEditText()));
        EXPECT_EQ(Field(), ::GetFocus()) << "the focus is back in the field";
    });
    // A host's browse shortcut "clicks" while the focus stays in the field,
    // so the field itself loses the focus to the browse dialog.
    ::PostMessageW(m_control.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(CEditWithBrowse::ID_BROWSE, BN_CLICKED),
                   reinterpret_cast<LPARAM>(Button()));
    StillEditing();
    Key(VK_RETURN);
    EXPECT_TRUE(RunEdit());
    EXPECT_EQ(2, g_nBrowseCalls);
    EXPECT_EQ(L"D:\\picked2", Str(m_control.GetEditText()));

    // A callback that answers false, or none, leaves the text.
    g_onBrowse = [](CString& strText, CEditWithBrowse&) {
        strText = L"D:\\changed";
        return false;
    };
    ClickButton();
    Step([this] { m_control.SetBrowseCallback(nullptr); });
    ClickButton();
    StillEditing();
    Key(VK_RETURN);
    EXPECT_TRUE(RunEdit());
    EXPECT_EQ(3, g_nBrowseCalls);
    EXPECT_EQ(L"D:\\picked2", Str(m_control.GetEditText()));
}

TEST_F(EditWithBrowse, OutsideAnEditTheControlIsInert)
{
    m_control.SetEditText(L"C:\\keep");
    g_onBrowse = [](CString& strText, CEditWithBrowse&) {
        strText = L"D:\\changed";
        return true;
    };
    ::SendMessageW(Button(), BM_CLICK, 0, 0);
    EXPECT_EQ(0, g_nBrowseCalls);
    EXPECT_EQ(L"C:\\keep", Str(m_control.GetEditText()));

    m_control.SetEndModalEditFlag();
    StillEditing();
    Step([this] { m_control.SetEndModalEditFlag(); });
    EXPECT_TRUE(RunEdit()) << "ended by the flag set inside the edit";
}

} // namespace
