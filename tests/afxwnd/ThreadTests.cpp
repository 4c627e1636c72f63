// Threads started with AfxBeginThread or CreateThread and the event, in the
// pattern a change-monitoring worker uses: wait for a stop event or a change,
// post to a window, end when told.
#include "WndTestEnv.h"

#include <afxmt.h>

#include <atomic>

namespace {

struct WorkerState
{
    CEvent evStop{FALSE, TRUE};
    CEvent evChange;
    HWND hNotify = nullptr;
    std::atomic<bool> bStarted{false};
    std::atomic<CWinThread*> pSeenThread{nullptr};
    std::atomic<int> nPriority{0};
};

UINT AFX_CDECL Worker(LPVOID pParam)
{
    auto* pState = static_cast<WorkerState*>(pParam);
    pState->bStarted = true;
    pState->pSeenThread = AfxGetThread();
    pState->nPriority = GetThreadPriority(GetCurrentThread());
    HANDLE handles[2] = {pState->evChange.m_hObject, pState->evStop.m_hObject};
    for (;;)
    {
        DWORD dwWait = WaitForMultipleObjects(2, handles, FALSE, INFINITE);
        if (dwWait != WAIT_OBJECT_0)
            return 0xFFFFFFFF;
        PostMessageW(pState->hNotify, WM_USER, 1, 2);
    }
}

class CSelfDeletingThread : public CWinThread
{
public:
    CSelfDeletingThread(AFX_THREADPROC pfn, LPVOID pParam, CEvent* pDeleted)
        : CWinThread(pfn, pParam), m_pDeleted(pDeleted)
    {
    }
    ~CSelfDeletingThread() override { m_pDeleted->SetEvent(); }

private:
    CEvent* m_pDeleted;
};

UINT AFX_CDECL ReturnSeven(LPVOID)
{
    return 7;
}

// The main window of a user-interface thread; it sees the thread's messages
// before they are dispatched.
class CUiMainWnd : public CWnd
{
public:
    static std::atomic<int> s_nAppMessages;
    BOOL PreTranslateMessage(MSG* pMsg) override
    {
        if (pMsg->message == WM_APP)
            ++s_nAppMessages;
        return CWnd::PreTranslateMessage(pMsg);
    }
    void PostNcDestroy() override { delete this; }
};
std::atomic<int> CUiMainWnd::s_nAppMessages{0};

class CUiThread : public CWinThread
{
public:
    BOOL InitInstance() override
    {
        auto* pWnd = new CUiMainWnd;
        if (!pWnd->CreateEx(0, nullptr, L"ui", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr))
            return FALSE;
        m_pMainWnd = pWnd;
        pWnd->PostMessage(WM_APP);
        pWnd->PostMessage(WM_CLOSE);
        return TRUE;
    }
    int ExitInstance() override { return 5 + static_cast<int>(m_msgCur.wParam); }
};

bool Signalled(const CEvent& event, DWORD dwTimeout = 0)
{
    return WaitForSingleObject(event.m_hObject, dwTimeout) == WAIT_OBJECT_0;
}

} // namespace

TEST(Threads, OwnerStartsSuspendedWaitsAndDeletes)
{
    CWnd notify;
    ASSERT_TRUE(notify.CreateEx(0, nullptr, L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    WorkerState state;
    state.hNotify = notify.m_hWnd;

    CWinThread* pThread = AfxBeginThread(Worker, &state, THREAD_PRIORITY_IDLE, 0, CREATE_SUSPENDED);
    ASSERT_NE(nullptr, pThread);
    pThread->m_bAutoDelete = FALSE;
    EXPECT_EQ(WAIT_TIMEOUT, WaitForSingleObject(pThread->m_hThread, 50));
    EXPECT_FALSE(state.bStarted) << "suspended until resumed";
    EXPECT_NE(0u, pThread->m_nThreadID);
    EXPECT_EQ(1u, pThread->ResumeThread());

    state.evChange.SetEvent();
    MSG msg = {};
    ASSERT_TRUE(GetMessageW(&msg, notify.m_hWnd, WM_USER, WM_USER)) << "the worker posts on a change";
    EXPECT_EQ(1u, msg.wParam);
    EXPECT_EQ(2, msg.lParam);
    EXPECT_EQ(pThread, state.pSeenThread.load()) << "AfxGetThread on the worker is its own object";
    EXPECT_EQ(THREAD_PRIORITY_IDLE, state.nPriority.load());
    EXPECT_EQ(AfxGetApp(), AfxGetThread());

    state.evStop.SetEvent();
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(pThread->m_hThread, 5000));
    DWORD dwExit = 0;
    GetExitCodeThread(pThread->m_hThread, &dwExit);
    EXPECT_EQ(0xFFFFFFFFu, dwExit);
    HANDLE hThread = pThread->m_hThread;
    delete pThread;
    DWORD dwFlags = 0;
    EXPECT_FALSE(GetHandleInformation(hThread, &dwFlags)) << "the object closed its handle";
}

TEST(Threads, AutoDeletingObjectsEndWithTheirThread)
{
    CEvent deleted(FALSE, TRUE);
    auto* pThread = new CSelfDeletingThread(ReturnSeven, nullptr, &deleted);
    ASSERT_TRUE(pThread->CreateThread());
    EXPECT_TRUE(Signalled(deleted, 5000));
    EXPECT_EQ(nullptr, AfxBeginThread(static_cast<AFX_THREADPROC>(nullptr), nullptr));
}

TEST(Threads, UserInterfaceThreadRunsUntilItsMainWindowCloses)
{
    CWinThread* pThread = new CUiThread;
    pThread->m_bAutoDelete = FALSE;
    ASSERT_TRUE(pThread->CreateThread());
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(pThread->m_hThread, 5000));
    DWORD dwExit = 0;
    GetExitCodeThread(pThread->m_hThread, &dwExit);
    EXPECT_EQ(5u, dwExit) << "closing the main window quit the thread's own loop";
    EXPECT_EQ(1, CUiMainWnd::s_nAppMessages.load());
    EXPECT_EQ(nullptr, pThread->m_pMainWnd);
    delete pThread;
    EXPECT_EQ(nullptr, AfxGetApp()->m_pMainWnd) << "the application's main window was not touched";
}

TEST(SyncObjects, EventsResetAsAskedAndNamesAreShared)
{
    CEvent manual(FALSE, TRUE);
    EXPECT_FALSE(Signalled(manual));
    manual.SetEvent();
    EXPECT_TRUE(Signalled(manual));
    EXPECT_TRUE(Signalled(manual)) << "manual reset stays signalled";

    CEvent automatic(TRUE);
    EXPECT_TRUE(Signalled(automatic));
    EXPECT_FALSE(Signalled(automatic)) << "auto reset after one wait";

    CEvent first(FALSE, TRUE, L"AfxWndTests.SharedEvent");
    CEvent second(FALSE, FALSE, L"AfxWndTests.SharedEvent");
    first.SetEvent();
    EXPECT_TRUE(Signalled(second));
    EXPECT_TRUE(Signalled(second)) << "the existing event keeps its manual reset";
}
