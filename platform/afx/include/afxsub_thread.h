// Framework subset: starting threads. AfxBeginThread makes a CWinThread
// object that runs a function (a worker) on a new thread.
//
// Lifetime: with m_bAutoDelete (the default) the object deletes itself when
// its thread ends, so the returned pointer may be gone at any time after the
// thread starts. An owner that waits for the thread starts it with
// CREATE_SUSPENDED, sets m_bAutoDelete to FALSE, calls ResumeThread, waits on
// m_hThread and deletes the object (which closes the handle).
#pragma once

#include "afxsub_app.h"

// The returned pointer as described above; null when the thread cannot be
// made (the object is then gone too).
AFX_API CWinThread* AFXAPI AfxBeginThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam,
                                          int nPriority = THREAD_PRIORITY_NORMAL, UINT nStackSize = 0,
                                          DWORD dwCreateFlags = 0, LPSECURITY_ATTRIBUTES lpSecurityAttrs = nullptr);
