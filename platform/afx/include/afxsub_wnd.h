// Framework subset: windows. CWnd (a window handle plus the object that
// receives its messages through a message map), window creation and
// subclassing, the handle maps, window classes, the message pump and the
// modal loop.
//
// Handle maps. A window that a CWnd created, attached or subclassed is in the
// permanent map (process-wide) until it is destroyed or detached:
// FromHandlePermanent and FromHandle answer that object. For any other window
// FromHandle answers a temporary CWnd owned by the calling thread; it lives
// until the thread's next idle time (AfxUnlockTempMaps) and must not be stored.
//
// Messages. Every window in the permanent map runs AfxWndProc, which calls the
// object's WindowProc: the message map first (the class's table, then its
// bases'), then DefWindowProc, which passes the message to the window's
// previous procedure (the control's own for a subclassed control, the dialog
// manager for a dialog) or to ::DefWindowProcW.
#pragma once

#include "afxsub_msgmap.h"

class AFX_API CWnd : public CCmdTarget
{
    DECLARE_DYNAMIC(CWnd)
public:
    CWnd() noexcept;
    // A window still attached is destroyed here; its OnDestroy and
    // PostNcDestroy overrides then no longer run (the object is half gone),
    // so owners destroy windows before deleting their objects.
    ~CWnd() override;

    HWND m_hWnd;

    // m_hWnd, or null for a null object pointer (the framework's idiom).
    HWND GetSafeHwnd() const;

    // --- Handle maps -----------------------------------------------------
    static CWnd* PASCAL FromHandle(HWND hWnd);
    static CWnd* PASCAL FromHandlePermanent(HWND hWnd);
    // Joins the permanent map without changing the window's procedure: the
    // object can reach the window, but messages do not reach the object.
    // FALSE when hWnd is null, not a window, or already has an object.
    BOOL Attach(HWND hWndNew);
    // Leaves the permanent map; the window itself stays.
    HWND Detach();
    // Attach, and route the window's messages through this object's map;
    // the old procedure becomes the default. FALSE as for Attach.
    BOOL SubclassWindow(HWND hWnd);
    BOOL SubclassDlgItem(UINT nID, CWnd* pParent);

    // --- Creation --------------------------------------------------------
    // lpszClassName: a registered class (AfxRegisterWndClass, a control class,
    // or null for the framework's default class). The object gets every
    // message from the first (WM_GETMINMAXINFO / WM_NCCREATE) on.
    virtual BOOL CreateEx(DWORD dwExStyle, LPCWSTR lpszClassName, LPCWSTR lpszWindowName, DWORD dwStyle, int x,
                          int y, int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu,
                          LPVOID lpParam = nullptr);
    virtual BOOL CreateEx(DWORD dwExStyle, LPCWSTR lpszClassName, LPCWSTR lpszWindowName, DWORD dwStyle,
                          const RECT& rect, CWnd* pParentWnd, UINT nID, LPVOID lpParam = nullptr);
    // A child window: WS_CHILD is added to dwStyle.
    virtual BOOL Create(LPCWSTR lpszClassName, LPCWSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                        CWnd* pParentWnd, UINT nID, void* pContext = nullptr);
    virtual BOOL DestroyWindow();
    // Last chance to change the creation parameters; FALSE cancels creation.
    virtual BOOL PreCreateWindow(CREATESTRUCTW& cs);

    // Called after the window is gone (WM_NCDESTROY) and detached; objects
    // that own themselves delete themselves here.
    virtual void PostNcDestroy();
    // Called by the message pump for messages of this window or its
    // children before they are dispatched; TRUE: the message was handled.
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    // Walks from pMsg->hwnd up through its parents (and owners), asking each
    // window with an object, until hWndStop; TRUE when one handled it.
    static BOOL PASCAL WalkPreTranslateTree(HWND hWndStop, MSG* pMsg);

    // --- Message handling --------------------------------------------------
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // The message map; FALSE when no entry took the message.
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // WM_COMMAND: the control's own object first (OnChildNotify), then the
    // map's command entries. TRUE when handled.
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    // WM_NOTIFY: the same for notifications; *pResult is the message's result.
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // A chance for a control's own object to handle the notification it sends
    // to its parent (WM_COMMAND, WM_NOTIFY); FALSE by default.
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // The default processing of the message being handled now.
    LRESULT Default();

    virtual const AFX_MSGMAP* GetMessageMap() const;

protected:
    static const AFX_MSGMAP* PASCAL GetThisMessageMap();

public:
    // --- State and styles -------------------------------------------------
    DWORD GetStyle() const { return static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_STYLE)); }
    // Removes then adds style bits; with nFlags, also SetWindowPos(nFlags |
    // SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE) so that frame
    // changes show. FALSE when nothing changed.
    BOOL ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);

    BOOL ShowWindow(int nCmdShow) { return ::ShowWindow(m_hWnd, nCmdShow); }
    BOOL EnableWindow(BOOL bEnable = TRUE) { return ::EnableWindow(m_hWnd, bEnable); }

    // --- Text ----------------------------------------------------------------
    void SetWindowText(LPCWSTR lpszString) { ::SetWindowTextW(m_hWnd, lpszString); }
    void GetWindowText(CString& rString) const;
    int GetWindowTextLength() const { return ::GetWindowTextLengthW(m_hWnd); }

    // --- Size and position --------------------------------------------------
    void MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint = TRUE)
    {
        ::MoveWindow(m_hWnd, x, y, nWidth, nHeight, bRepaint);
    }
    // pWndInsertAfter: a window, or null for the top.
    BOOL SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags);
    void GetWindowRect(LPRECT lpRect) const { ::GetWindowRect(m_hWnd, lpRect); }
    void GetClientRect(LPRECT lpRect) const { ::GetClientRect(m_hWnd, lpRect); }
    void ScreenToClient(LPRECT lpRect) const;
    void ClientToScreen(LPRECT lpRect) const;

    // --- Relatives -----------------------------------------------------------
    // GetParent is ::GetParent: for a popup window it answers the owner.
    CWnd* GetParent() const { return FromHandle(::GetParent(m_hWnd)); }
    CWnd* GetTopLevelParent() const;
    CWnd* GetDlgItem(int nID) const { return FromHandle(::GetDlgItem(m_hWnd, nID)); }
    int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }

    // --- Focus -----------------------------------------------------------------
    CWnd* SetFocus() { return FromHandle(::SetFocus(m_hWnd)); }

    // --- Messages ------------------------------------------------------------
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::SendMessageW(m_hWnd, message, wParam, lParam);
    }
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::PostMessageW(m_hWnd, message, wParam, lParam);
    }

    // --- Painting ------------------------------------------------------------
    void UpdateWindow() { ::UpdateWindow(m_hWnd); }
    // lpRect null: the whole client area.
    BOOL GetUpdateRect(LPRECT lpRect, BOOL bErase = FALSE) { return ::GetUpdateRect(m_hWnd, lpRect, bErase); }
    void ValidateRect(LPCRECT lpRect) { ::ValidateRect(m_hWnd, lpRect); }
    void ShowScrollBar(UINT nBar, BOOL bShow = TRUE) { ::ShowScrollBar(m_hWnd, nBar, bShow); }

    // --- Modal loop -------------------------------------------------------------
    // Pumps messages (through PreTranslateMessage) while ContinueModal();
    // answers the value given to EndModalLoop, or -1 after WM_QUIT (which is
    // posted again for the outer loop).
    int RunModalLoop(DWORD dwFlags = 0);
    virtual BOOL ContinueModal();
    virtual void EndModalLoop(int nResult);

    // --- Help for owners -----------------------------------------------------------
    // The window that should own a popup of hParent: hParent, else the
    // application's main window, else the thread's active window; never a
    // child window. With hParent null, the last active popup of that window.
    // When phWndTop is given, the top-level window above it is disabled (when
    // enabled and distinct from the owner) and returned there for re-enabling.
    static HWND PASCAL GetSafeOwner_(HWND hParent, HWND* phWndTop);

protected:
    // --- Default handlers (each passes the message on with Default()) -----------
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnDestroy();
    // Detaches the object and calls PostNcDestroy; derived handlers call it last.
    afx_msg void OnNcDestroy();
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnGetMinMaxInfo(MINMAXINFO* lpMMI);
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);

public:
    // --- Internal state (framework use) ---------------------------------------
    WNDPROC m_pfnSuper;  // the procedure DefWindowProc passes to; null: ::DefWindowProcW
    UINT m_nFlags;       // WF_ flags below
    int m_nModalResult;

    // Sends a control notification to the control's own object (OnChildNotify).
    static BOOL PASCAL ReflectLastMsg(HWND hWndChild, LRESULT* pResult = nullptr);

private:
    BOOL DispatchMapEntry(UINT message, UINT nCode, UINT nID, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
};

// m_nFlags
#define WF_CONTINUEMODAL 0x0001u  // RunModalLoop keeps going
#define WF_MODALLOOP 0x0002u      // inside RunModalLoop
#define WF_ISDIALOG 0x0004u       // the object is a CDialog (its results also go to DWLP_MSGRESULT)

// RunModalLoop flags
#define MLF_NOIDLEMSG 0x0001u
#define MLF_SHOWONIDLE 0x0004u

// The framework's window procedure: every window with an object runs it.
AFX_API LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);

// Registers (once per combination) a window class with the framework's
// window procedure and answers its name; the name stays valid for the life of
// the process. Throws CMemoryException* (the framework's resource exception)
// when registration fails. hCursor and hbrBackground may be null.
AFX_API LPCWSTR AFXAPI AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor = nullptr,
                                           HBRUSH hbrBackground = nullptr, HICON hIcon = nullptr);
// Registers a fully described class; FALSE when RegisterClassW fails for a
// reason other than the class existing already.
AFX_API BOOL AFXAPI AfxRegisterClass(WNDCLASSW* lpWndClass);

// Arms window-creation capture for pWnd on this thread: the next window
// created on it is attached to and subclassed into pWnd. Pairs with
// AfxUnhookWindowCreate (which answers whether capture happened).
AFX_API void AFXAPI AfxHookWindowCreate(CWnd* pWnd);
AFX_API BOOL AFXAPI AfxUnhookWindowCreate();

// The message pump. AfxPumpMessage takes one message (waiting for it),
// through the calling thread's own CWinThread::PumpMessage when it has one,
// offers it to AfxPreTranslateMessage and dispatches it unless that handled
// it; FALSE for WM_QUIT, which it posts again for the loop outside.
// AfxPreTranslateMessage asks the thread object's PreTranslateMessage (or,
// without one, the default walk below).
AFX_API BOOL AFXAPI AfxPumpMessage();
AFX_API BOOL AFXAPI AfxPreTranslateMessage(MSG* pMsg);
// The framework's default: walk from the message's window up to the main
// window (CWnd::WalkPreTranslateTree), then offer it to the main window when
// the message's window lies outside it.
AFX_API BOOL AFXAPI AfxInternalPreTranslateMessage(MSG* pMsg);

// Temporary wrappers of the calling thread are freed when the lock count
// drops to zero in AfxUnlockTempMaps(TRUE) (the message loop does this when
// idle). A lock keeps them alive across a stretch of code.
AFX_API void AFXAPI AfxLockTempMaps();
AFX_API BOOL AFXAPI AfxUnlockTempMaps(BOOL bDeleteTemps = TRUE);

// Sets a window's text only when it differs (no flicker, no change notification).
AFX_API void AFXAPI AfxSetWindowText(HWND hWndCtrl, LPCWSTR lpszNew);
