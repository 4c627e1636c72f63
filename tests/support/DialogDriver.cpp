#include "DialogDriver.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace testing_support {

namespace {

// The thread timer's callback has no context argument; one driver per thread.
thread_local DialogDriver* t_pDriver = nullptr;
const UINT kTickMs = 10;
const ULONGLONG kTimeLimitMs = 15000;

bool IsOfClass(HWND hWnd, const wchar_t* pszClass)
{
    wchar_t szClass[32] = {};
    GetClassNameW(hWnd, szClass, 32);
    return lstrcmpiW(szClass, pszClass) == 0;
}

} // namespace

DialogDriver::~DialogDriver()
{
    if (m_timer != 0)
        KillTimer(nullptr, m_timer);
    if (t_pDriver == this)
        t_pDriver = nullptr;
    if (!Finished() && !m_bTimedOut)
        ADD_FAILURE() << "dialog script ended after " << m_nextStep << " of " << m_steps.size() << " steps";
}

void CALLBACK DialogDriver::OnTimer(HWND, UINT, UINT_PTR, DWORD)
{
    if (t_pDriver != nullptr)
        t_pDriver->Tick();
}

void DialogDriver::Start()
{
    ASSERT_TRUE(t_pDriver == nullptr || t_pDriver == this) << "one dialog driver per thread";
    t_pDriver = this;
    m_startTick = GetTickCount64();
    m_timer = SetTimer(nullptr, 0, kTickMs, OnTimer);
    ASSERT_NE(0u, m_timer);
}

void DialogDriver::Tick()
{
    HWND hDlg = ActiveDialog();
    if (GetTickCount64() - m_startTick > kTimeLimitMs)
    {
        if (!m_bTimedOut)
            ADD_FAILURE() << "dialog script timed out at step " << m_nextStep << " of " << m_steps.size();
        m_bTimedOut = true;
        EndMenu(); // closes whatever is open, so that the test can go on
        if (hDlg != nullptr)
            PostMessageW(hDlg, WM_COMMAND, IDCANCEL, 0);
        return;
    }
    // Index taken before the step runs: a step may open a nested modal loop
    // in which later ticks run the following steps.
    const size_t index = m_nextStep;
    if (Finished() || (m_steps[index].kind == Step::kThen && hDlg == nullptr))
        return;
    const Step& step = m_steps[index];
    if (step.kind != Step::kUntil)
        m_nextStep = index + 1;
    if (step.run(hDlg) && step.kind == Step::kUntil)
        m_nextStep = index + 1;
}

HWND DialogDriver::ThreadWindow(const wchar_t* pszClass, std::function<bool(HWND)> also)
{
    HWND hFound = nullptr;
    std::function<BOOL(HWND)> look = [&](HWND hWnd) {
        if (IsWindowVisible(hWnd) && (!pszClass || IsOfClass(hWnd, pszClass)) && (!also || also(hWnd)))
            hFound = hWnd;
        return hFound == nullptr;
    };
    EnumThreadWindows(
        GetCurrentThreadId(), [](HWND hWnd, LPARAM p) { return (*reinterpret_cast<decltype(look)*>(p))(hWnd); },
        reinterpret_cast<LPARAM>(&look));
    return hFound;
}

void DialogDriver::Click(HWND hDlg, int id)
{
    HWND hButton = GetDlgItem(hDlg, id);
    ASSERT_NE(nullptr, hButton) << "no control " << id;
    SendMessageW(hButton, BM_CLICK, 0, 0);
}

void DialogDriver::SetText(HWND hDlg, int id, const wchar_t* text)
{
    HWND hControl = GetDlgItem(hDlg, id);
    ASSERT_NE(nullptr, hControl) << "no control " << id;
    SendMessageW(hControl, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
    // An edit sends EN_CHANGE for WM_SETTEXT by itself; the combo's edit sends
    // the combo nothing, typing would.
    if (IsOfClass(hControl, L"ComboBox"))
        SendMessageW(hDlg, WM_COMMAND, MAKEWPARAM(id, CBN_EDITCHANGE), reinterpret_cast<LPARAM>(hControl));
}

std::wstring DialogDriver::Text(HWND hWnd)
{
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(hWnd)) + 1, L'\0');
    text.resize(static_cast<size_t>(std::max(0, GetWindowTextW(hWnd, &text[0], static_cast<int>(text.size())))));
    return text;
}

void DialogDriver::PostKey(HWND hWnd, UINT vk)
{
    LPARAM scan = static_cast<LPARAM>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC)) << 16;
    PostMessageW(hWnd, WM_KEYDOWN, vk, scan | 1);
    PostMessageW(hWnd, WM_KEYUP, vk, scan | 1 | (static_cast<LPARAM>(3) << 30));
}

void DialogDriver::PostChars(HWND hWnd, const wchar_t* text)
{
    for (const wchar_t* p = text; *p != L'\0'; ++p)
        PostMessageW(hWnd, WM_CHAR, *p, 1);
}

void DialogDriver::Select(HWND hDlg, int id, int index)
{
    HWND hControl = GetDlgItem(hDlg, id);
    ASSERT_NE(nullptr, hControl) << "no control " << id;
    if (IsOfClass(hControl, L"ComboBox"))
        SendMessageW(hControl, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    else if (GetWindowLongPtrW(hControl, GWL_STYLE) & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL))
        SendMessageW(hControl, LB_SETSEL, TRUE, index);
    else
        SendMessageW(hControl, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    static_assert(CBN_SELCHANGE == LBN_SELCHANGE, "one notification for both");
    SendMessageW(hDlg, WM_COMMAND, MAKEWPARAM(id, LBN_SELCHANGE), reinterpret_cast<LPARAM>(hControl));
}

bool PumpMessagesUntil(const std::function<bool()>& done, DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    for (;;)
    {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (done())
            return true;
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed >= timeoutMs)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, timeoutMs - elapsed, QS_ALLINPUT);
    }
}

} // namespace testing_support
