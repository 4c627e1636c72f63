// CCmdTarget, CWinThread, CWinApp (all but the profile) and the wait cursor.
#include "AfxInternal.h"

#include <stdlib.h>
#include <wchar.h>

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)
IMPLEMENT_DYNAMIC(CWinThread, CCmdTarget)
IMPLEMENT_DYNAMIC(CWinApp, CWinThread)

namespace {

void ReplaceString(LPCWSTR& pszField, LPCWSTR pszValue)
{
    LPWSTR pszCopy = nullptr;
    if (pszValue != nullptr)
    {
        pszCopy = _wcsdup(pszValue);
        if (pszCopy == nullptr)
            AfxThrowMemoryException();
    }
    free(const_cast<LPWSTR>(pszField));
    pszField = pszCopy;
}

} // namespace

// ---- CCmdTarget ---------------------------------------------------------------

void CCmdTarget::BeginWaitCursor()
{
    if (CWinApp* pApp = AfxGetApp())
        pApp->DoWaitCursor(1);
}

void CCmdTarget::EndWaitCursor()
{
    if (CWinApp* pApp = AfxGetApp())
        pApp->DoWaitCursor(-1);
}

CWaitCursor::CWaitCursor()
{
    if (CWinApp* pApp = AfxGetApp())
        pApp->BeginWaitCursor();
}

CWaitCursor::~CWaitCursor()
{
    if (CWinApp* pApp = AfxGetApp())
        pApp->EndWaitCursor();
}

// ---- CWinThread ---------------------------------------------------------------

CWinThread::CWinThread()
    : m_pMainWnd(nullptr), m_pActiveWnd(nullptr), m_bAutoDelete(TRUE), m_hThread(nullptr), m_nThreadID(0),
      m_msgCur()
{
}

BOOL CWinThread::InitInstance()
{
    // A thread object must say what it does at start; the framework's default fails.
    return FALSE;
}

int CWinThread::ExitInstance()
{
    return static_cast<int>(m_msgCur.wParam);
}

int CWinThread::Run()
{
    LONG lIdleCount = 0;
    for (;;)
    {
        MSG peek;
        while (!PeekMessageW(&peek, nullptr, 0, 0, PM_NOREMOVE) && OnIdle(lIdleCount++))
        {
        }
        if (!PumpMessage())
            break;
        lIdleCount = 0;
    }
    return ExitInstance();
}

BOOL CWinThread::PreTranslateMessage(MSG* pMsg)
{
    // From the message's window up to the main window (the window layer).
    return AfxInternalPreTranslateMessage(pMsg);
}

BOOL CWinThread::OnIdle(LONG lCount)
{
    // Temporary window, GDI and menu wrappers of this thread die when idle.
    if (lCount >= 0)
    {
        AfxLockTempMaps();
        AfxUnlockTempMaps(TRUE);
    }
    return FALSE;
}

CWnd* CWinThread::GetMainWnd()
{
    return m_pActiveWnd != nullptr ? m_pActiveWnd : m_pMainWnd;
}

// ---- CWinApp ------------------------------------------------------------------

CWinApp::CWinApp(LPCWSTR lpszAppName)
    : m_pszAppName(nullptr), m_hInstance(nullptr), m_pszExeName(nullptr), m_pszRegistryKey(nullptr),
      m_pszProfileName(nullptr), m_nWaitCursorCount(0), m_hcurWaitCursorRestore(nullptr)
{
    ReplaceString(m_pszAppName, lpszAppName);
    m_hThread = GetCurrentThread();
    m_nThreadID = GetCurrentThreadId();
    AfxGetModuleState()->m_pCurrentWinApp = this;
    SetCurrentHandles();
}

CWinApp::~CWinApp()
{
    AFX_MODULE_STATE* pState = AfxGetModuleState();
    if (pState->m_pCurrentWinApp == this)
    {
        pState->m_pCurrentWinApp = nullptr;
        pState->m_lpszCurrentAppName = nullptr;
    }
    free(const_cast<LPWSTR>(m_pszAppName));
    free(const_cast<LPWSTR>(m_pszExeName));
    free(const_cast<LPWSTR>(m_pszRegistryKey));
    free(const_cast<LPWSTR>(m_pszProfileName));
}

void CWinApp::SetCurrentHandles()
{
    AFX_MODULE_STATE* pState = AfxGetModuleState();
    if (m_hInstance == nullptr)
        m_hInstance = pState->m_hCurrentInstanceHandle;

    if (m_pszExeName == nullptr)
    {
        wchar_t szPath[MAX_PATH * 4] = {};
        GetModuleFileNameW(m_hInstance, szPath, _countof(szPath) - 1);
        LPWSTR pszName = szPath;
        for (LPWSTR p = szPath; *p != L'\0'; ++p)
        {
            if (*p == L'\\' || *p == L'/' || *p == L':')
                pszName = p + 1;
        }
        if (LPWSTR pszExt = wcsrchr(pszName, L'.'))
            *pszExt = L'\0';
        ReplaceString(m_pszExeName, pszName);
    }

    if (m_pszAppName == nullptr)
    {
        // The framework's convention: the title string of the executable,
        // otherwise the executable's name.
        CString strTitle;
        if (strTitle.LoadStringW(m_hInstance, AFX_IDS_APP_TITLE))
            ReplaceString(m_pszAppName, strTitle);
        else
            ReplaceString(m_pszAppName, m_pszExeName);
    }
    pState->m_lpszCurrentAppName = m_pszAppName;

    if (m_pszProfileName == nullptr)
        ReplaceString(m_pszProfileName, CString(m_pszExeName) + L".INI");
}

void CWinApp::SetRegistryKey(LPCWSTR lpszRegistryKey)
{
    ENSURE(lpszRegistryKey != nullptr && m_pszAppName != nullptr);
    ReplaceString(m_pszRegistryKey, lpszRegistryKey);
    ReplaceString(m_pszProfileName, m_pszAppName);
}

void CWinApp::SetRegistryKey(UINT nIDRegistryKey)
{
    CString strKey;
    ENSURE(strKey.LoadStringW(nIDRegistryKey));
    SetRegistryKey(strKey);
}

void CWinApp::DoWaitCursor(int nCode)
{
    ENSURE(nCode == 0 || nCode == 1 || nCode == -1);
    AfxLockGlobals(CRIT_WAITCURSOR);
    m_nWaitCursorCount += nCode;
    if (m_nWaitCursorCount > 0)
    {
        HCURSOR hcurPrevious = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
        // Remember what to restore only when the first begin shows the cursor.
        if (nCode > 0 && m_nWaitCursorCount == 1)
            m_hcurWaitCursorRestore = hcurPrevious;
    }
    else
    {
        // Ends without begins do not push the count below zero.
        m_nWaitCursorCount = 0;
        SetCursor(m_hcurWaitCursorRestore);
    }
    AfxUnlockGlobals(CRIT_WAITCURSOR);
}

// ---- application functions ----------------------------------------------------

CWinApp* AFXAPI AfxGetApp()
{
    return AfxGetModuleState()->m_pCurrentWinApp;
}

LPCWSTR AFXAPI AfxGetAppName()
{
    return AfxGetModuleState()->m_lpszCurrentAppName;
}

CWnd* AFXAPI AfxGetMainWnd()
{
    CWinThread* pThread = AfxGetThread();
    return pThread != nullptr ? pThread->GetMainWnd() : nullptr;
}
