// Framework subset: the application. CCmdTarget (the base of everything that
// will receive commands; message maps come with the window layer), CWinThread,
// CWinApp with its profile store and wait cursor, and CWaitCursor.
#pragma once

#include "afxsub_types.h"

class CWinApp;

class AFX_API CCmdTarget : public CObject
{
    DECLARE_DYNAMIC(CCmdTarget)
public:
    CCmdTarget() = default;

    // The application's wait cursor (CWinApp::DoWaitCursor with 1, -1).
    // Without an application object these do nothing.
    void BeginWaitCursor();
    void EndWaitCursor();
};

// A worker thread's function (AfxBeginThread); its result is the exit code.
typedef UINT (AFX_CDECL* AFX_THREADPROC)(LPVOID);

class AFX_API CWinThread : public CCmdTarget
{
    DECLARE_DYNAMIC(CWinThread)
public:
    CWinThread();
    // A worker: CreateThread runs pfnThreadProc(pParam) on the new thread.
    CWinThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam);
    // Closes the handle of a thread that CreateThread made.
    ~CWinThread() override;

    // Thread control (the window layer). CreateThread starts the worker
    // function, or else InitInstance and Run, on a new thread; the object
    // ends itself afterwards through Delete().
    BOOL CreateThread(DWORD dwCreateFlags = 0, UINT nStackSize = 0, LPSECURITY_ATTRIBUTES lpSecurityAttrs = nullptr);
    DWORD ResumeThread() { return ::ResumeThread(m_hThread); }
    BOOL SetThreadPriority(int nPriority) { return ::SetThreadPriority(m_hThread, nPriority); }
    // Called when the thread is over: deletes the object when m_bAutoDelete.
    virtual void Delete();

    // The window layer routes messages through these; here they are the
    // framework's defaults.
    virtual BOOL InitInstance();
    virtual int ExitInstance();
    // A plain message loop until WM_QUIT, then ExitInstance().
    virtual int Run();
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    // Waits for one message into m_msgCur and dispatches it unless
    // PreTranslateMessage took it; FALSE for WM_QUIT (left in m_msgCur).
    virtual BOOL PumpMessage();
    virtual BOOL OnIdle(LONG lCount);
    virtual CWnd* GetMainWnd();

    CWnd* m_pMainWnd;    // not owned
    CWnd* m_pActiveWnd;  // not owned
    BOOL m_bAutoDelete;
    HANDLE m_hThread;    // the application's pseudo handle, or a started thread's own (owned)
    DWORD m_nThreadID;
    MSG m_msgCur;        // the message being handled; WM_QUIT after Run's loop
    AFX_THREADPROC m_pfnThreadProc = nullptr;
    LPVOID m_pThreadParams = nullptr;

private:
    bool m_bOwnsThreadHandle = false;
};

// The application object. Exactly one lives at a time; it registers itself as
// the framework's current application when constructed (AfxGetApp()) and
// fills in the instance, executable and profile names from the process's
// executable straight away, so that a host with its own main() needs no
// further start-up call.
//
// The name fields are heap strings owned by the object (freed with free());
// a host may replace one with free() followed by _wcsdup(), as with the
// framework.
class AFX_API CWinApp : public CWinThread
{
    DECLARE_DYNAMIC(CWinApp)
public:
    // lpszAppName null: the application name becomes the executable's base name.
    explicit CWinApp(LPCWSTR lpszAppName = nullptr);
    ~CWinApp() override;

    // Switches the profile to the registry: values live under
    // HKEY_CURRENT_USER\Software\<lpszRegistryKey>\<m_pszProfileName>\<section>,
    // and m_pszProfileName becomes the application name.
    void SetRegistryKey(LPCWSTR lpszRegistryKey);
    // The same with the key's text taken from a string resource.
    void SetRegistryKey(UINT nIDRegistryKey);

    // Profile access. Without a registry key the profile is the INI file
    // m_pszProfileName (a bare name lives in the Windows folder), read and
    // written with Get/WritePrivateProfileString; binary values are stored
    // there as two letters per byte ('A' + low nibble, then 'A' + high nibble).
    // With a registry key strings are REG_SZ, numbers REG_DWORD and binary
    // values REG_BINARY.
    virtual UINT GetProfileInt(LPCWSTR lpszSection, LPCWSTR lpszEntry, int nDefault);
    virtual BOOL WriteProfileInt(LPCWSTR lpszSection, LPCWSTR lpszEntry, int nValue);
    virtual CString GetProfileString(LPCWSTR lpszSection, LPCWSTR lpszEntry, LPCWSTR lpszDefault = nullptr);
    // lpszEntry null removes the whole section; lpszValue null removes the entry.
    virtual BOOL WriteProfileString(LPCWSTR lpszSection, LPCWSTR lpszEntry, LPCWSTR lpszValue);
    // On success *ppData is a new BYTE[] of *pBytes bytes that the caller frees
    // with delete[]; on failure *ppData is null and *pBytes is 0.
    virtual BOOL GetProfileBinary(LPCWSTR lpszSection, LPCWSTR lpszEntry, LPBYTE* ppData, UINT* pBytes);
    virtual BOOL WriteProfileBinary(LPCWSTR lpszSection, LPCWSTR lpszEntry, LPBYTE pData, UINT nBytes);

    // Registry keys of the profile, created when missing; the caller closes
    // them with RegCloseKey. Null without a registry key or on failure.
    HKEY GetAppRegistryKey();
    HKEY GetSectionKey(LPCWSTR lpszSection);
    // Deletes a key with all its subkeys; returns the registry error code.
    LONG DelRegTree(HKEY hParentKey, const CString& strKeyName);

    // 1 begins (counts up and shows IDC_WAIT), -1 ends (counts down, and the
    // cursor from before the first begin comes back at zero), 0 shows again
    // whichever of the two the count calls for.
    virtual void DoWaitCursor(int nCode);

    // Fills m_hInstance, m_pszExeName, m_pszAppName and m_pszProfileName from
    // the module state where they are still empty.
    void SetCurrentHandles();

    LPCWSTR m_pszAppName;
    HINSTANCE m_hInstance;
    LPCWSTR m_pszExeName;
    LPCWSTR m_pszRegistryKey;
    LPCWSTR m_pszProfileName;

    int m_nWaitCursorCount;
    HCURSOR m_hcurWaitCursorRestore;

private:
    bool UseRegistry() const { return m_pszRegistryKey != nullptr; }
};

// Shows the application's wait cursor for its lifetime.
class AFX_API CWaitCursor
{
public:
    CWaitCursor();
    ~CWaitCursor();

    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;
};

// The current application object, or null when none exists.
AFX_API CWinApp* AFXAPI AfxGetApp();
// The application's name (null before an application object exists).
AFX_API LPCWSTR AFXAPI AfxGetAppName();
// The application's main window, or null.
AFX_API CWnd* AFXAPI AfxGetMainWnd();
// The calling thread's object: the CWinThread that AfxBeginThread made for it,
// else the application (null without one).
AFX_API CWinThread* AFXAPI AfxGetThread();
