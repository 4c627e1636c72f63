// Driving modal user interface from inside its own message loop: a thread
// timer, armed before DoModal (or MessageBox, TrackPopupMenu...), runs one
// scripted step per tick on the test's thread, the way a person would act.
//
//     DialogDriver driver;
//     driver.Then([](HWND dlg) { DialogDriver::SetText(dlg, IDC_NAME, L"abc"); })
//           .Then([](HWND dlg) { DialogDriver::Click(dlg, IDOK); });
//     driver.Start();
//     EXPECT_EQ(IDOK, dialog.DoModal());
//     EXPECT_TRUE(driver.Finished());
//
// A step that Then() adds waits for a dialog: it runs on the first tick at
// which the thread shows an enabled dialog window (the topmost one, so a
// message box over a dialog comes first) and gets that window. Next() steps
// run on the next tick whether or not there is a dialog (menus, for one).
// Until() steps repeat each tick until they answer true.
//
// When the script takes longer than the time limit, the driver fails the
// current test and cancels every dialog it sees, so that the test ends
// instead of hanging.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace testing_support {

class DialogDriver
{
public:
    DialogDriver() = default;
    // Stops the timer. Steps left over fail the current test.
    ~DialogDriver();
    DialogDriver(const DialogDriver&) = delete;
    DialogDriver& operator=(const DialogDriver&) = delete;

    DialogDriver& Then(std::function<void(HWND hDlg)> step) { return Add(Step::kThen, Once(std::move(step))); }
    DialogDriver& Next(std::function<void(HWND hDlgOrNull)> step) { return Add(Step::kNext, Once(std::move(step))); }
    DialogDriver& Until(std::function<bool(HWND hDlg)> condition) { return Add(Step::kUntil, std::move(condition)); }

    // Arms the timer; one driver per thread at a time.
    void Start();
    // Every step ran.
    bool Finished() const { return m_nextStep == m_steps.size(); }

    // The topmost visible, enabled dialog-class window of the calling thread
    // (a CDialog, a message box...), or null.
    static HWND ActiveDialog()
    {
        return ThreadWindow(L"#32770", [](HWND hWnd) { return IsWindowEnabled(hWnd) != FALSE; });
    }
    // The topmost visible window of the calling thread of the class (any when
    // null) that also passes the test when one is given, or null.
    static HWND ThreadWindow(const wchar_t* pszClass, std::function<bool(HWND)> also = nullptr);
    // BM_CLICK on control id, as a mouse click would do.
    static void Click(HWND hDlg, int id);
    // Puts text into an edit or combo box as typing would, with the change
    // notification the control sends (EN_CHANGE or CBN_EDITCHANGE).
    static void SetText(HWND hDlg, int id, const wchar_t* text);
    static std::wstring Text(HWND hWnd);
    static std::wstring ItemText(HWND hDlg, int id) { return Text(GetDlgItem(hDlg, id)); }
    // Posts key down and up for a virtual key to a window (typically
    // GetFocus()), so the key goes through the message loop's translation:
    // PreTranslateMessage and the dialog manager see it as a real key.
    static void PostKey(HWND hWnd, UINT vk);
    // Posts WM_CHAR for each character.
    static void PostChars(HWND hWnd, const wchar_t* text);
    // Selects item index of a combo or list box (adds it to the selection of
    // a multiple-selection list box) and sends the selection notification
    // (CBN_SELCHANGE / LBN_SELCHANGE) as a click would.
    static void Select(HWND hDlg, int id, int index);

private:
    struct Step
    {
        enum Kind { kThen, kNext, kUntil } kind;
        std::function<bool(HWND)> run; // true: the step is done
    };
    static std::function<bool(HWND)> Once(std::function<void(HWND)> f)
    {
        return [f](HWND h) { return f(h), true; };
    }
    DialogDriver& Add(Step::Kind kind, std::function<bool(HWND)> run)
    {
        m_steps.push_back({kind, std::move(run)});
        return *this;
    }

    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD);
    void Tick();

    std::vector<Step> m_steps;
    size_t m_nextStep = 0;
    ULONGLONG m_startTick = 0;
    UINT_PTR m_timer = 0;
    bool m_bTimedOut = false;
};

// Runs the calling thread's messages until done() answers true (checked after
// each batch); false once timeoutMs has passed. It waits on the message queue,
// so it wakes as soon as a window or thread posts something.
bool PumpMessagesUntil(const std::function<bool()>& done, DWORD timeoutMs = 10000);

} // namespace testing_support
