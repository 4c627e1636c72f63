// CEditWithBrowse on real windows: its layout in the parent, and the modal
// edit driven from inside its own loop. A test posts its script (keys to the
// field, clicks, steps that run code) before DoModalEdit, so the loop
// dispatches it in order on the test's thread; a step that never ran means the
// loop ended too early. A watchdog ends a loop that does not end by itself.
#include "BrwsEditWithBrowse.h"
#include "module/Holders.h"

#include <gtest/gtest.h>

#include <functional>
#include <list>

namespace {

const UINT WM_RUNSTEP = WM_APP + 1;
const UINT IDC_CONTROL = 100;
const DWORD kEditStyle = WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL;

// A top-level host that answers WM_GETFONT with m_hFont and runs (and
// counts) the steps posted to it.
class CHostWnd : public CWnd
{
public:
    HFONT m_hFont = nullptr;
    size_t m_nStepsRun = 0;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_GETFONT)
            return reinterpret_cast<LRESULT>(m_hFont);
        if (message != WM_RUNSTEP)
            return CWnd::WindowProc(message, wParam, lParam);
        ++m_nStepsRun;
        (*reinterpret_cast<std::function<void()>*>(lParam))();
        return 0;
    }
};

// The browse callback is a plain function; it forwards to what the test sets.
std::function<bool(CString&, CEditWithBrowse&)> g_onBrowse;

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
    CEdit m_other; // another window of the thread to take the focus
    CEditWithBrowse m_control;
    std::list<std::function<void()>> m_steps;

    void SetUp() override
    {
        ASSERT_TRUE(m_host.CreateEx(0, nullptr, L"host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 420, 220,
                                    nullptr, nullptr));
        ASSERT_TRUE(m_other.Create(WS_VISIBLE | WS_BORDER, CRect(10, 120, 200, 144), &m_host, IDC_CONTROL + 1));
        ASSERT_TRUE(m_control.Create(&m_host, CRect(10, 40, 300, 64), WS_VISIBLE, kEditStyle, IDC_CONTROL));
    }

    HWND Field() { return m_control.GetEdit().GetSafeHwnd(); }
    HWND Button() { return ::GetDlgItem(m_control.GetSafeHwnd(), CEditWithBrowse::ID_BROWSE); }

    void Step(std::function<void()> step)
    {
        m_steps.push_back(step);
        ::PostMessageW(m_host.GetSafeHwnd(), WM_RUNSTEP, 0, reinterpret_cast<LPARAM>(&m_steps.back()));
    }
    // Posts characters typed into the field, then (after a check that the
    // edit still runs) the key when given.
    void Type(const wchar_t* chars, UINT vk = 0)
    {
        for (; *chars != L'\0'; ++chars)
            ::PostMessageW(Field(), WM_CHAR, *chars, 1);
        if (vk == 0)
            return;
        Step([this] { EXPECT_EQ(Field(), ::GetFocus()) << "the edit runs"; });
        ::PostMessageW(Field(), WM_KEYDOWN, vk, 1);
    }

    // What the loop leaves queued (the characters of Enter and Escape) is
    // dropped, so that runs do not see each other's input.
    bool RunEdit(CEditWithBrowse* pControl = nullptr)
    {
        const UINT_PTR watchdog = ::SetTimer(nullptr, 0, 5000, [](HWND, UINT, UINT_PTR, DWORD) {
            ADD_FAILURE() << "the modal edit did not end by itself";
            ::PostQuitMessage(0); // which the runner drops
        });
        const bool bCommitted = (pControl ? *pControl : m_control).DoModalEdit();
        ::KillTimer(nullptr, watchdog);
        EXPECT_EQ(m_steps.size(), m_host.m_nStepsRun) << "steps left when the edit ended";
        for (MSG msg; ::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE | PM_QS_POSTMESSAGE);)
            continue;
        m_steps.clear();
        m_host.m_nStepsRun = 0;
        return bCommitted;
    }
};

// Rectangles shorter than the minimum grow to it, inside the parent; the
// button is at the right end, the field takes the rest, both in the parent's
// font.
TEST_F(EditWithBrowse, LayoutInTheParent)
{
    CGdiObjectHolder<HFONT> font(::CreateFontW(-17, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma"));
    m_host.m_hFont = font.Get();
    const struct { CRect in, out; } cases[] = {
        {CRect(10, 20, 200, 30), CRect(10, 16, 200, 34)}, // 9 short: 4 above, 4 below
        {CRect(10, 2, 200, 12), CRect(10, 0, 200, 18)},   // grown to -2, moved down
        {CRect(10, 50, 200, 68), CRect(10, 50, 200, 68)}, // 1 short: half of it is 0
        {CRect(10, 50, 300, 75), CRect(10, 50, 300, 75)}};
    for (const auto& c : cases)
    {
        CEditWithBrowse control;
        ASSERT_TRUE(control.Create(&m_host, c.in, WS_VISIBLE, kEditStyle, IDC_CONTROL + 2));
        const HWND hControl = control.GetSafeHwnd();
        const HWND hButton = ::GetDlgItem(hControl, CEditWithBrowse::ID_BROWSE);
        EXPECT_EQ(c.out, WindowRectIn(hControl, m_host.GetSafeHwnd())) << c.in.top << ".." << c.in.bottom;
        EXPECT_EQ(CRect(c.out.Width() - 35, 0, c.out.Width(), c.out.Height()), WindowRectIn(hButton, hControl));
        EXPECT_EQ(CRect(0, 0, c.out.Width() - 35, c.out.Height()), WindowRectIn(control.GetEdit().m_hWnd, hControl));
        EXPECT_EQ(reinterpret_cast<LRESULT>(font.Get()), control.GetEdit().SendMessage(WM_GETFONT));
        EXPECT_EQ(reinterpret_cast<LRESULT>(font.Get()), ::SendMessageW(hButton, WM_GETFONT, 0, 0));
    }
}

// Enter and the focus moving elsewhere commit, Escape cancels; typing goes on
// after the text there is. Each edit starts without the keys of the last one,
// even keys pressed outside an edit (a change of the text used to end the
// next edit at once, as cancelled).
// A quit, or the lack of a field (one never made, or one that the host
// destroys during the edit), ends the edit as cancelled.
TEST_F(EditWithBrowse, HowAnEditEnds)
{
    m_control.SetEditText(L"C:\\Pictures");
    // Key 0: the focus goes to another window instead.
    const struct { const wchar_t* chars; UINT key; bool bCommitted; const wchar_t* text; } runs[] = {
        {L"\\2024", VK_RETURN, true, L"C:\\Pictures\\2024"},
        {L"x", 0, true, L"C:\\Pictures\\2024x"},
        {L"y", VK_ESCAPE, false, L"C:\\Pictures\\2024xy"},
        {L"ab", VK_RETURN, true, L"C:\\Pictures\\2024xyab"}, // Enter after an Escape
        {L"c", VK_ESCAPE, false, L"C:\\Pictures\\2024xyabc"}}; // Escape after an Enter
    for (const auto& run : runs)
    {
        Type(run.chars, run.key);
        if (run.key == 0)
            Step([this] { ::SetFocus(m_other.GetSafeHwnd()); });
        EXPECT_EQ(run.bCommitted, RunEdit()) << testing::PrintToString(run.chars);
        EXPECT_EQ(run.key ? Field() : m_other.GetSafeHwnd(), ::GetFocus());
        EXPECT_STREQ(run.text, m_control.GetEditText());
    }
    ::SendMessageW(Field(), WM_KEYDOWN, VK_RETURN, 1);
    ::SendMessageW(Field(), WM_KEYDOWN, VK_ESCAPE, 1);
    Type(L"d", VK_RETURN);
    EXPECT_TRUE(RunEdit()) << "Enter after keys outside an edit";

    // A quit ends the edit, as cancelled, and still reaches the host's loop
    // (the watchdog's own quit would not end an edit that ignores it).
    Step([] { ::PostQuitMessage(42); });
    EXPECT_FALSE(m_control.DoModalEdit());
    MSG msg = {};
    EXPECT_TRUE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(42u, msg.wParam);

    CEditWithBrowse never;
    ::SetFocus(m_other.GetSafeHwnd());
    EXPECT_FALSE(RunEdit(&never)) << "no window was ever made";
    EXPECT_EQ(m_other.GetSafeHwnd(), ::GetFocus()) << "the host keeps its focus";
    Type(L"lost");
    Step([this] { m_control.DestroyWindow(); });
    EXPECT_FALSE(RunEdit());
}

// The button calls the browse callback during an edit only. Text it answers
// true for (here the first two times) replaces the field's, the focus comes
// back and the edit goes on; false, or no callback, leaves the text. The end
// flag, too, counts only inside an edit.
TEST_F(EditWithBrowse, BrowseReplacesTheTextDuringAnEdit)
{
    m_control.SetEditText(L"C:\\old");
    m_control.SetBrowseCallback([](CString& strText, CEditWithBrowse& ctl) { return g_onBrowse(strText, ctl); });
    std::vector<std::wstring> seen;
    g_onBrowse = [&](CString& strText, CEditWithBrowse&) {
        seen.push_back(strText.GetString());
        ::SetFocus(m_other.GetSafeHwnd()); // as a browse dialog does
        strText.Format(L"D:\\picked%d", static_cast<int>(seen.size()));
        return seen.size() < 3;
    };
    ::SendMessageW(Button(), BM_CLICK, 0, 0);
    EXPECT_TRUE(seen.empty()) << "called outside an edit";
    m_control.SetEndModalEditFlag();
    ::PostMessageW(Button(), BM_CLICK, 0, 0);
    Step([&] { EXPECT_EQ(Field(), ::GetFocus()) << "the focus is back in the field"; });
    // A host's browse shortcut "clicks" while the focus stays in the field,
    // so the field itself loses the focus to the browse dialog.
    ::PostMessageW(m_control.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(CEditWithBrowse::ID_BROWSE, BN_CLICKED),
                   reinterpret_cast<LPARAM>(Button()));
    ::PostMessageW(Button(), BM_CLICK, 0, 0);
    Step([this] { m_control.SetBrowseCallback(nullptr); });
    ::PostMessageW(Button(), BM_CLICK, 0, 0);
    Step([this] { m_control.SetEndModalEditFlag(); });
    EXPECT_TRUE(RunEdit()) << "ended by the flag set inside the edit";
    EXPECT_EQ((std::vector<std::wstring>{L"C:\\old", L"D:\\picked1", L"D:\\picked2"}), seen);
    EXPECT_STREQ(L"D:\\picked2", m_control.GetEditText());
}

} // namespace
