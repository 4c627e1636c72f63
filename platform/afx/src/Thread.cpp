// CWinThread as a thread of its own, AfxBeginThread and AfxGetThread.
#include "WndState.h"

#include <process.h>

namespace {

// The object AfxBeginThread made for the calling thread (null on others).
thread_local CWinThread* t_pCurrentThread = nullptr;

unsigned __stdcall ThreadEntry(void* pParam)
{
    CWinThread* pThread = static_cast<CWinThread*>(pParam);
    t_pCurrentThread = pThread;
    UINT nResult = 0;
    try
    {
        if (pThread->m_pfnThreadProc != nullptr)
            nResult = pThread->m_pfnThreadProc(pThread->m_pThreadParams);
        else if (!pThread->InitInstance())
            nResult = static_cast<UINT>(pThread->ExitInstance());
        else
            nResult = static_cast<UINT>(pThread->Run());
    }
    catch (CException* e)
    {
        // Nothing above the thread's function can take it.
        TRACE(L"A thread ended with an exception\n");
        e->Delete();
        nResult = static_cast<UINT>(-1);
    }
    AfxLockTempMaps();
    AfxUnlockTempMaps(TRUE);
    t_pCurrentThread = nullptr;
    pThread->Delete();
    return nResult;
}

} // namespace

CWinThread::CWinThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam) : CWinThread()
{
    m_pfnThreadProc = pfnThreadProc;
    m_pThreadParams = pParam;
}

CWinThread::~CWinThread()
{
    if (m_bOwnsThreadHandle && m_hThread != nullptr)
        ::CloseHandle(m_hThread);
}

BOOL CWinThread::CreateThread(DWORD dwCreateFlags, UINT nStackSize, LPSECURITY_ATTRIBUTES lpSecurityAttrs)
{
    if (m_hThread != nullptr)
        return FALSE;
    // Made suspended so that m_hThread and m_nThreadID are set before the
    // thread can run (and end, and delete the object).
    unsigned nThreadID = 0;
    HANDLE hThread = reinterpret_cast<HANDLE>(
        _beginthreadex(lpSecurityAttrs, nStackSize, ThreadEntry, this, CREATE_SUSPENDED, &nThreadID));
    if (hThread == nullptr)
        return FALSE;
    m_hThread = hThread;
    m_nThreadID = nThreadID;
    m_bOwnsThreadHandle = true;
    if (!(dwCreateFlags & CREATE_SUSPENDED))
        ::ResumeThread(hThread);
    return TRUE;
}

BOOL CWinThread::PumpMessage()
{
    BOOL bResult = ::GetMessageW(&m_msgCur, nullptr, 0, 0);
    if (bResult == 0 || bResult == -1)
        return FALSE;
    if (!PreTranslateMessage(&m_msgCur))
    {
        ::TranslateMessage(&m_msgCur);
        ::DispatchMessageW(&m_msgCur);
    }
    return TRUE;
}

void CWinThread::Delete()
{
    if (m_bAutoDelete)
        delete this;
}

CWinThread* AFXAPI AfxGetThread()
{
    if (t_pCurrentThread != nullptr)
        return t_pCurrentThread;
    return AfxGetApp();
}

namespace {

CWinThread* StartThread(CWinThread* pThread, int nPriority, UINT nStackSize, DWORD dwCreateFlags,
                        LPSECURITY_ATTRIBUTES lpSecurityAttrs)
{
    if (!pThread->CreateThread(dwCreateFlags | CREATE_SUSPENDED, nStackSize, lpSecurityAttrs))
    {
        delete pThread;
        return nullptr;
    }
    pThread->SetThreadPriority(nPriority);
    if (!(dwCreateFlags & CREATE_SUSPENDED))
        pThread->ResumeThread();
    return pThread;
}

} // namespace

CWinThread* AFXAPI AfxBeginThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam, int nPriority, UINT nStackSize,
                                  DWORD dwCreateFlags, LPSECURITY_ATTRIBUTES lpSecurityAttrs)
{
    if (pfnThreadProc == nullptr)
        return nullptr;
    return StartThread(new CWinThread(pfnThreadProc, pParam), nPriority, nStackSize, dwCreateFlags, lpSecurityAttrs);
}
