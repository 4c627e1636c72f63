// Threads started with AfxBeginThread and the synchronisation objects, in the
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
    HANDLE handles[2] = {pState->evChange, pState->evStop};
    for (;;)
    {
        DWORD dwWait = WaitForMultipleObjects(2, handles, FALSE, INFINITE);
        if (dwWait != WAIT_OBJECT_0)
            return 0xFFFFFFFF;
        PostMessageW(pState->hNotify, WM_USER, 1, 2);
    }
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

TEST(SyncObjects, EventsResetAsAsked)
{
    CEvent manual(FALSE, TRUE);
    EXPECT_FALSE(manual.Lock(0));
    manual.SetEvent();
    EXPECT_TRUE(manual.Lock(0));
    EXPECT_TRUE(manual.Lock(0)) << "manual reset stays signalled";
    manual.ResetEvent();
    EXPECT_FALSE(manual.Lock(0));
    CEvent automatic(TRUE);
    EXPECT_TRUE(automatic.Lock(0));
    EXPECT_FALSE(automatic.Lock(0)) << "auto reset after one wait";
}
