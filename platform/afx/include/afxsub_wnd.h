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

#include "afxsub_gdi.h"
#include "afxsub_msgmap.h"

class CMenu;

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

    operator HWND() const { return m_hWnd; }
    // m_hWnd, or null for a null object pointer (the framework's idiom;
    // AfxSafeHwnd below says the same without a call through null).
    HWND GetSafeHwnd() const;
    bool operator==(const CWnd& wnd) const { return wnd.m_hWnd == m_hWnd; }
    bool operator!=(const CWnd& wnd) const { return wnd.m_hWnd != m_hWnd; }

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
    // Gives the window its previous procedure back and detaches it.
    HWND UnsubclassWindow();

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
    // to its parent (WM_COMMAND, WM_NOTIFY, WM_CTLCOLOR...); FALSE by default.
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // The default processing of the message being handled now.
    LRESULT Default();

    virtual const AFX_MSGMAP* GetMessageMap() const;

protected:
    static const AFX_MSGMAP* PASCAL GetThisMessageMap();

public:
    // --- State and styles -------------------------------------------------
    DWORD GetStyle() const { return static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_STYLE)); }
    DWORD GetExStyle() const { return static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE)); }
    // Removes then adds style bits; with nFlags, also SetWindowPos(nFlags |
    // SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE) so that frame
    // changes show. FALSE when nothing changed.
    BOOL ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);
    BOOL ModifyStyleEx(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);
    static BOOL PASCAL ModifyStyle(HWND hWnd, DWORD dwRemove, DWORD dwAdd, UINT nFlags);
    static BOOL PASCAL ModifyStyleEx(HWND hWnd, DWORD dwRemove, DWORD dwAdd, UINT nFlags);

    BOOL ShowWindow(int nCmdShow) { return ::ShowWindow(m_hWnd, nCmdShow); }
    BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
    BOOL EnableWindow(BOOL bEnable = TRUE) { return ::EnableWindow(m_hWnd, bEnable); }
    BOOL IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
    BOOL IsWindow() const { return ::IsWindow(m_hWnd); }
    BOOL IsChild(const CWnd* pWnd) const { return ::IsChild(m_hWnd, pWnd != nullptr ? pWnd->m_hWnd : nullptr); }
    BOOL IsIconic() const { return ::IsIconic(m_hWnd); }

    // --- Text and font -----------------------------------------------------
    void SetWindowText(LPCWSTR lpszString) { ::SetWindowTextW(m_hWnd, lpszString); }
    int GetWindowText(LPWSTR lpszStringBuf, int nMaxCount) const
    {
        return ::GetWindowTextW(m_hWnd, lpszStringBuf, nMaxCount);
    }
    void GetWindowText(CString& rString) const;
    int GetWindowTextLength() const { return ::GetWindowTextLengthW(m_hWnd); }
    // bRedraw: whether the window redraws at once.
    void SetFont(CFont* pFont, BOOL bRedraw = TRUE)
    {
        SetFont(pFont != nullptr ? static_cast<HFONT>(pFont->m_hObject) : nullptr, bRedraw);
    }
    void SetFont(HFONT hFont, BOOL bRedraw = TRUE)
    {
        ::SendMessageW(m_hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(hFont), bRedraw);
    }
    // A temporary wrapper of the window's font; null when it uses the system font.
    CFont* GetFont() const;
    void SetIcon(HICON hIcon, BOOL bBigIcon)
    {
        ::SendMessageW(m_hWnd, WM_SETICON, bBigIcon ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(hIcon));
    }

    // --- Size and position --------------------------------------------------
    void MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint = TRUE)
    {
        ::MoveWindow(m_hWnd, x, y, nWidth, nHeight, bRepaint);
    }
    void MoveWindow(LPCRECT lpRect, BOOL bRepaint = TRUE)
    {
        MoveWindow(lpRect->left, lpRect->top, lpRect->right - lpRect->left, lpRect->bottom - lpRect->top, bRepaint);
    }
    // pWndInsertAfter: a window, or &wndTop, &wndBottom, &wndTopMost, &wndNoTopMost.
    BOOL SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags);
    static const CWnd wndTop;
    static const CWnd wndBottom;
    static const CWnd wndTopMost;
    static const CWnd wndNoTopMost;
    void GetWindowRect(LPRECT lpRect) const { ::GetWindowRect(m_hWnd, lpRect); }
    void GetClientRect(LPRECT lpRect) const { ::GetClientRect(m_hWnd, lpRect); }
    void ScreenToClient(LPPOINT lpPoint) const { ::ScreenToClient(m_hWnd, lpPoint); }
    void ScreenToClient(LPRECT lpRect) const;
    void ClientToScreen(LPPOINT lpPoint) const { ::ClientToScreen(m_hWnd, lpPoint); }
    void ClientToScreen(LPRECT lpRect) const;
    void MapWindowPoints(CWnd* pwndTo, LPRECT lpRect) const
    {
        ::MapWindowPoints(m_hWnd, pwndTo != nullptr ? pwndTo->m_hWnd : nullptr, reinterpret_cast<LPPOINT>(lpRect), 2);
    }
    void CenterWindow(CWnd* pAlternateOwner = nullptr);

    // --- Relatives -----------------------------------------------------------
    // GetParent is ::GetParent: for a popup window it answers the owner.
    CWnd* GetParent() const { return FromHandle(::GetParent(m_hWnd)); }
    CWnd* SetParent(CWnd* pWndNewParent)
    {
        return FromHandle(::SetParent(m_hWnd, pWndNewParent != nullptr ? pWndNewParent->m_hWnd : nullptr));
    }
    // The owner set with SetOwner, otherwise GetParent().
    CWnd* GetOwner() const { return m_hWndOwner != nullptr ? FromHandle(m_hWndOwner) : GetParent(); }
    void SetOwner(CWnd* pOwnerWnd) { m_hWndOwner = pOwnerWnd != nullptr ? pOwnerWnd->m_hWnd : nullptr; }
    CWnd* GetTopLevelParent() const;
    CWnd* GetWindow(UINT nCmd) const { return FromHandle(::GetWindow(m_hWnd, nCmd)); }
    CWnd* GetDlgItem(int nID) const { return FromHandle(::GetDlgItem(m_hWnd, nID)); }
    void GetDlgItem(int nID, HWND* phWnd) const { *phWnd = ::GetDlgItem(m_hWnd, nID); }
    int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
    int SetDlgCtrlID(int nID)
    {
        return static_cast<int>(::SetWindowLongPtrW(m_hWnd, GWLP_ID, static_cast<LONG_PTR>(nID)));
    }
    CWnd* GetNextDlgTabItem(CWnd* pWndCtl, BOOL bPrevious = FALSE) const
    {
        return FromHandle(::GetNextDlgTabItem(m_hWnd, pWndCtl != nullptr ? pWndCtl->m_hWnd : nullptr, bPrevious));
    }

    // --- Focus and activation ---------------------------------------------
    CWnd* SetFocus() { return FromHandle(::SetFocus(m_hWnd)); }
    static CWnd* PASCAL GetFocus() { return FromHandle(::GetFocus()); }
    static CWnd* PASCAL GetActiveWindow() { return FromHandle(::GetActiveWindow()); }
    CWnd* SetActiveWindow() { return FromHandle(::SetActiveWindow(m_hWnd)); }
    BOOL SetForegroundWindow() { return ::SetForegroundWindow(m_hWnd); }
    CWnd* GetLastActivePopup() const { return FromHandle(::GetLastActivePopup(m_hWnd)); }

    // --- Messages ------------------------------------------------------------
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::SendMessageW(m_hWnd, message, wParam, lParam);
    }
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::PostMessageW(m_hWnd, message, wParam, lParam);
    }
    LRESULT SendDlgItemMessage(int nID, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::SendDlgItemMessageW(m_hWnd, nID, message, wParam, lParam);
    }
    // Sends the message to every child window (and, with bDeep, their children).
    void SendMessageToDescendants(UINT message, WPARAM wParam = 0, LPARAM lParam = 0, BOOL bDeep = TRUE);

    // --- Dialog items ----------------------------------------------------------
    void SetDlgItemText(int nID, LPCWSTR lpszString) { ::SetDlgItemTextW(m_hWnd, nID, lpszString); }
    int GetDlgItemText(int nID, LPWSTR lpStr, int nMaxCount) const
    {
        return static_cast<int>(::GetDlgItemTextW(m_hWnd, nID, lpStr, nMaxCount));
    }
    int GetDlgItemText(int nID, CString& rString) const;
    void SetDlgItemInt(int nID, UINT nValue, BOOL bSigned = TRUE) { ::SetDlgItemInt(m_hWnd, nID, nValue, bSigned); }
    UINT GetDlgItemInt(int nID, BOOL* lpTrans = nullptr, BOOL bSigned = TRUE) const
    {
        return ::GetDlgItemInt(m_hWnd, nID, lpTrans, bSigned);
    }
    void CheckDlgButton(int nIDButton, UINT nCheck) { ::CheckDlgButton(m_hWnd, nIDButton, nCheck); }
    UINT IsDlgButtonChecked(int nIDButton) const { return ::IsDlgButtonChecked(m_hWnd, nIDButton); }
    void CheckRadioButton(int nIDFirstButton, int nIDLastButton, int nIDCheckButton)
    {
        ::CheckRadioButton(m_hWnd, nIDFirstButton, nIDLastButton, nIDCheckButton);
    }

    // --- Painting ------------------------------------------------------------
    void Invalidate(BOOL bErase = TRUE) { ::InvalidateRect(m_hWnd, nullptr, bErase); }
    void InvalidateRect(LPCRECT lpRect, BOOL bErase = TRUE) { ::InvalidateRect(m_hWnd, lpRect, bErase); }
    void UpdateWindow() { ::UpdateWindow(m_hWnd); }
    BOOL RedrawWindow(LPCRECT lpRectUpdate = nullptr, HRGN hrgnUpdate = nullptr,
                      UINT flags = RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE)
    {
        return ::RedrawWindow(m_hWnd, lpRectUpdate, hrgnUpdate, flags);
    }
    void SetRedraw(BOOL bRedraw = TRUE) { ::SendMessageW(m_hWnd, WM_SETREDRAW, bRedraw, 0); }
    // A temporary wrapper of GetDC's context; give it back with ReleaseDC.
    CDC* GetDC();
    int ReleaseDC(CDC* pDC);
    void ShowScrollBar(UINT nBar, BOOL bShow = TRUE) { ::ShowScrollBar(m_hWnd, nBar, bShow); }

    // --- Timers ---------------------------------------------------------------
    // lpfnTimer null: WM_TIMER reaches OnTimer through the map.
    UINT_PTR SetTimer(UINT_PTR nIDEvent, UINT nElapse, void(CALLBACK* lpfnTimer)(HWND, UINT, UINT_PTR, DWORD) = nullptr)
    {
        return ::SetTimer(m_hWnd, nIDEvent, nElapse, lpfnTimer);
    }
    BOOL KillTimer(UINT_PTR nIDEvent) { return ::KillTimer(m_hWnd, nIDEvent); }

    // --- Menus -----------------------------------------------------------------
    CMenu* GetMenu() const;
    BOOL SetMenu(CMenu* pMenu);

    // --- Message box ------------------------------------------------------------
    // lpszCaption null: the application's name.
    int MessageBox(LPCWSTR lpszText, LPCWSTR lpszCaption = nullptr, UINT nType = MB_OK);

    // --- Modal loop -------------------------------------------------------------
    // Pumps messages (through PreTranslateMessage) while ContinueModal();
    // answers the value given to EndModalLoop, or -1 after WM_QUIT (which is
    // posted again for the outer loop).
    int RunModalLoop(DWORD dwFlags = 0);
    virtual BOOL ContinueModal();
    virtual void EndModalLoop(int nResult);

    // --- Help for owners -----------------------------------------------------------
    // The window that should own a popup of pParent: pParent, else the
    // application's main window, else the thread's active window; never a
    // child window. With pParent null, the last active popup of that window.
    // When phWndTop is given, the top-level window above it is disabled (when
    // enabled and distinct from the owner) and returned there for re-enabling.
    static HWND PASCAL GetSafeOwner_(HWND hParent, HWND* phWndTop);
    static CWnd* PASCAL GetSafeOwner(CWnd* pParent = nullptr, HWND* phWndTop = nullptr);

protected:
    // --- Default handlers (each passes the message on with Default()) -----------
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnDestroy();
    // Detaches the object and calls PostNcDestroy; derived handlers call it last.
    afx_msg void OnNcDestroy();
    afx_msg void OnClose();
    afx_msg void OnPaint();
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg void OnKillFocus(CWnd* pNewWnd);
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg UINT OnGetDlgCode();
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnGetMinMaxInfo(MINMAXINFO* lpMMI);
    afx_msg void OnContextMenu(CWnd* pWnd, CPoint pos);
    // The control's own object gets the first chance (OnChildNotify).
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);

public:
    // --- Internal state (framework use) ---------------------------------------
    WNDPROC m_pfnSuper;  // the procedure DefWindowProc passes to; null: ::DefWindowProcW
    HWND m_hWndOwner;    // SetOwner's window, or null
    UINT m_nFlags;       // WF_ flags below
    int m_nModalResult;

    // Sends a control notification to the control's own object (OnChildNotify).
    static BOOL PASCAL ReflectLastMsg(HWND hWndChild, LRESULT* pResult = nullptr);

private:
    // The special insert-after values of SetWindowPos.
    explicit CWnd(HWND hWndSpecial) noexcept;
    BOOL DispatchMapEntry(UINT message, UINT nCode, UINT nID, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
};

// The handle of a window object that may be null: what GetSafeHwnd is used
// for, without calling a member through a null pointer.
inline HWND AfxSafeHwnd(const CWnd* pWnd)
{
    return pWnd != nullptr ? pWnd->m_hWnd : nullptr;
}

// m_nFlags
#define WF_CONTINUEMODAL 0x0001u  // RunModalLoop keeps going
#define WF_MODALLOOP 0x0002u      // inside RunModalLoop
#define WF_ISDIALOG 0x0004u       // the object is a CDialog (its results also go to DWLP_MSGRESULT)

// RunModalLoop flags
#define MLF_NOIDLEMSG 0x0001u
#define MLF_NOKICKIDLE 0x0002u
#define MLF_SHOWONIDLE 0x0004u

// The framework's window procedure: every window with an object runs it.
AFX_API LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);
AFX_API WNDPROC AFXAPI AfxGetAfxWndProc();

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

// The framework's WinMain body: AfxWinInit, InitApplication, InitInstance,
// Run (or ExitInstance when InitInstance fails).
AFX_API int AFXAPI AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPWSTR lpCmdLine, int nCmdShow);

// Sets a window's text only when it differs (no flicker, no change notification).
AFX_API void AFXAPI AfxSetWindowText(HWND hWndCtrl, LPCWSTR lpszNew);

namespace AfxMsgThunk {

template <class T, auto pmf>
LRESULT Focus(CCmdTarget* p, UINT, WPARAM wParam, LPARAM)
{
    void (T::*f)(CWnd*) = pmf;
    (static_cast<T*>(p)->*f)(CWnd::FromHandle(reinterpret_cast<HWND>(wParam)));
    return 0;
}

template <class T, auto pmf>
LRESULT ContextMenu(CCmdTarget* p, UINT, WPARAM wParam, LPARAM lParam)
{
    void (T::*f)(CWnd*, CPoint) = pmf;
    (static_cast<T*>(p)->*f)(CWnd::FromHandle(reinterpret_cast<HWND>(wParam)),
                             CPoint(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))));
    return 0;
}

template <class T, auto pmf>
LRESULT EraseBkgnd(CCmdTarget* p, UINT, WPARAM wParam, LPARAM)
{
    BOOL (T::*f)(CDC*) = pmf;
    return (static_cast<T*>(p)->*f)(CDC::FromHandle(reinterpret_cast<HDC>(wParam)));
}

// The colour message tells the control's kind: WM_CTLCOLORxxx - WM_CTLCOLORMSGBOX
// is the framework's CTLCOLOR_xxx.
template <class T, auto pmf>
LRESULT CtlColor(CCmdTarget* p, UINT message, WPARAM wParam, LPARAM lParam)
{
    HBRUSH (T::*f)(CDC*, CWnd*, UINT) = pmf;
    return reinterpret_cast<LRESULT>((static_cast<T*>(p)->*f)(CDC::FromHandle(reinterpret_cast<HDC>(wParam)),
                                                              CWnd::FromHandle(reinterpret_cast<HWND>(lParam)),
                                                              message - WM_CTLCOLORMSGBOX));
}

} // namespace AfxMsgThunk
