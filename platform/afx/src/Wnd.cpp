// CWnd: handle maps, creation and subclassing, the window procedure and the
// message-map dispatcher, the message pump and the modal loop.
#include "WndState.h"

#include <stdio.h>
#include <string>
#include <unordered_map>
#include <unordered_set>

IMPLEMENT_DYNAMIC(CWnd, CCmdTarget)

namespace {

// The permanent map. Process-wide, so that a window's object is found from
// any thread; never freed, because windows may still be destroyed while the
// process shuts down after static destructors ran.
SRWLOCK g_permanentLock = SRWLOCK_INIT;
std::unordered_map<HWND, CWnd*>* g_pPermanent = new std::unordered_map<HWND, CWnd*>;

CWnd* LookupPermanent(HWND hWnd)
{
    AcquireSRWLockShared(&g_permanentLock);
    auto it = g_pPermanent->find(hWnd);
    CWnd* pWnd = it == g_pPermanent->end() ? nullptr : it->second;
    ReleaseSRWLockShared(&g_permanentLock);
    return pWnd;
}

bool InsertPermanent(HWND hWnd, CWnd* pWnd)
{
    AcquireSRWLockExclusive(&g_permanentLock);
    bool bInserted = g_pPermanent->emplace(hWnd, pWnd).second;
    ReleaseSRWLockExclusive(&g_permanentLock);
    return bInserted;
}

void RemovePermanent(HWND hWnd, const CWnd* pWnd)
{
    AcquireSRWLockExclusive(&g_permanentLock);
    auto it = g_pPermanent->find(hWnd);
    if (it != g_pPermanent->end() && it->second == pWnd)
        g_pPermanent->erase(it);
    ReleaseSRWLockExclusive(&g_permanentLock);
}

CWnd* MakeTempWnd(HWND hWnd)
{
    CWnd* pWnd = new CWnd;
    pWnd->m_hWnd = hWnd;
    return pWnd;
}

// The IME's helper windows are made inside other windows' creation on some
// systems; creation capture must not take them for the window it waits for.
bool IsImeWindow(HWND hWnd)
{
    if (GetClassLongPtrW(hWnd, GCL_STYLE) & CS_IME)
        return true;
    wchar_t szClass[16] = {};
    GetClassNameW(hWnd, szClass, _countof(szClass));
    return lstrcmpiW(szClass, L"IME") == 0;
}

LRESULT CALLBACK AfxCbtFilterHook(int nCode, WPARAM wParam, LPARAM lParam)
{
    AFX_WND_THREAD_STATE* pState = AfxGetWndThreadState();
    if (nCode == HCBT_CREATEWND && pState->m_pWndInit != nullptr)
    {
        HWND hWnd = reinterpret_cast<HWND>(wParam);
        if (!IsImeWindow(hWnd))
        {
            CWnd* pWnd = pState->m_pWndInit;
            pState->m_pWndInit = nullptr;
            if (pWnd->Attach(hWnd))
            {
                auto pfnOld = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(hWnd, GWLP_WNDPROC));
                if (pfnOld != AfxWndProc)
                {
                    SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(AfxWndProc));
                    if (pWnd->m_pfnSuper == nullptr)
                        pWnd->m_pfnSuper = pfnOld;
                }
            }
        }
    }
    return CallNextHookEx(nullptr, nCode, wParam, lParam);
}

// The message AfxWndProc is handling, for CWnd::Default; calls nest (a
// handler may send other messages), so the outer message comes back after.
class CLastMessageScope
{
public:
    CLastMessageScope(AFX_WND_THREAD_STATE* pState, HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
        : m_pState(pState), m_old(pState->m_lastSentMsg)
    {
        pState->m_lastSentMsg.hwnd = hWnd;
        pState->m_lastSentMsg.message = nMsg;
        pState->m_lastSentMsg.wParam = wParam;
        pState->m_lastSentMsg.lParam = lParam;
    }
    ~CLastMessageScope() { m_pState->m_lastSentMsg = m_old; }
    CLastMessageScope(const CLastMessageScope&) = delete;
    CLastMessageScope& operator=(const CLastMessageScope&) = delete;

private:
    AFX_WND_THREAD_STATE* m_pState;
    MSG m_old;
};

// Detaches a window's object after WM_NCDESTROY and lets the object go.
void FinishNcDestroy(CWnd* pWnd)
{
    HWND hWnd = pWnd->m_hWnd;
    if (pWnd->m_pfnSuper != nullptr &&
        reinterpret_cast<WNDPROC>(GetWindowLongPtrW(hWnd, GWLP_WNDPROC)) == AfxWndProc)
    {
        SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(pWnd->m_pfnSuper));
    }
    pWnd->Detach();
    pWnd->PostNcDestroy();
}

} // namespace

// The root of every map: the end of a window.
const AFX_MSGMAP* PASCAL CWnd::GetThisMessageMap()
{
    typedef CWnd ThisClass;
    static const AFX_MSGMAP_ENTRY _messageEntries[] = {
        ON_WM_NCDESTROY()
        {0, 0, 0, 0, nullptr}};
    static const AFX_MSGMAP messageMap = {nullptr, &_messageEntries[0]};
    return &messageMap;
}

const AFX_MSGMAP* CWnd::GetMessageMap() const
{
    return GetThisMessageMap();
}

CWnd::CWnd() noexcept
    : m_hWnd(nullptr), m_pfnSuper(nullptr), m_nFlags(0), m_nModalResult(-1)
{
}

CWnd::~CWnd()
{
    if (m_hWnd != nullptr && LookupPermanent(m_hWnd) == this)
    {
        HWND hWnd = m_hWnd;
        DestroyWindow();
        // A window of another thread cannot be destroyed from here; the
        // object must not stay in the map all the same.
        RemovePermanent(hWnd, this);
        m_hWnd = nullptr;
    }
}

HWND CWnd::GetSafeHwnd() const
{
    // Callers rely on a null object pointer giving null; the volatile copy
    // keeps the compiler from assuming "this" is never null.
    const CWnd* volatile pThis = this;
    return pThis == nullptr ? nullptr : pThis->m_hWnd;
}

// ---- handle maps -------------------------------------------------------------

CWnd* PASCAL CWnd::FromHandlePermanent(HWND hWnd)
{
    return hWnd == nullptr ? nullptr : LookupPermanent(hWnd);
}

CWnd* PASCAL CWnd::FromHandle(HWND hWnd)
{
    if (hWnd == nullptr)
        return nullptr;
    if (CWnd* pWnd = LookupPermanent(hWnd))
        return pWnd;
    return AfxTempFromHandle<CWnd, HWND>(AfxGetWndThreadState()->m_tempWnd, hWnd, MakeTempWnd);
}

BOOL CWnd::Attach(HWND hWndNew)
{
    if (hWndNew == nullptr || m_hWnd != nullptr || !::IsWindow(hWndNew))
        return FALSE;
    if (!InsertPermanent(hWndNew, this))
        return FALSE;
    m_hWnd = hWndNew;
    return TRUE;
}

HWND CWnd::Detach()
{
    HWND hWnd = m_hWnd;
    if (hWnd != nullptr)
        RemovePermanent(hWnd, this);
    m_hWnd = nullptr;
    return hWnd;
}

BOOL CWnd::SubclassWindow(HWND hWnd)
{
    if (!Attach(hWnd))
        return FALSE;
    auto pfnOld = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(AfxWndProc)));
    // A window of the framework's own class has nothing to pass on to but
    // ::DefWindowProcW (pointing back at AfxWndProc would loop).
    m_pfnSuper = pfnOld == AfxWndProc ? nullptr : pfnOld;
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent)
{
    HWND hWndControl = ::GetDlgItem(AfxSafeHwnd(pParent), static_cast<int>(nID));
    return hWndControl != nullptr && SubclassWindow(hWndControl);
}

// ---- creation -----------------------------------------------------------------

void AFXAPI AfxHookWindowCreate(CWnd* pWnd)
{
    AFX_WND_THREAD_STATE* pState = AfxGetWndThreadState();
    if (pState->m_hHookCbt == nullptr)
    {
        pState->m_hHookCbt = SetWindowsHookExW(WH_CBT, AfxCbtFilterHook, nullptr, GetCurrentThreadId());
        if (pState->m_hHookCbt == nullptr)
            AfxThrowMemoryException();
    }
    ++pState->m_nHookDepth;
    pState->m_pWndInit = pWnd;
}

BOOL AFXAPI AfxUnhookWindowCreate()
{
    AFX_WND_THREAD_STATE* pState = AfxGetWndThreadState();
    BOOL bCaptured = pState->m_pWndInit == nullptr;
    pState->m_pWndInit = nullptr;
    if (pState->m_nHookDepth > 0 && --pState->m_nHookDepth == 0 && pState->m_hHookCbt != nullptr)
    {
        UnhookWindowsHookEx(pState->m_hHookCbt);
        pState->m_hHookCbt = nullptr;
    }
    return bCaptured;
}

BOOL CWnd::PreCreateWindow(CREATESTRUCTW& cs)
{
    if (cs.lpszClass == nullptr)
    {
        cs.lpszClass = AfxRegisterWndClass(CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, LoadCursorW(nullptr, IDC_ARROW));
    }
    return TRUE;
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCWSTR lpszClassName, LPCWSTR lpszWindowName, DWORD dwStyle, int x, int y,
                    int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu, LPVOID lpParam)
{
    if (m_hWnd != nullptr)
        return FALSE;

    CREATESTRUCTW cs = {};
    cs.dwExStyle = dwExStyle;
    cs.lpszClass = lpszClassName;
    cs.lpszName = lpszWindowName;
    cs.style = static_cast<LONG>(dwStyle);
    cs.x = x;
    cs.y = y;
    cs.cx = nWidth;
    cs.cy = nHeight;
    cs.hwndParent = hWndParent;
    cs.hMenu = nIDorHMenu;
    cs.hInstance = AfxGetInstanceHandle();
    cs.lpCreateParams = lpParam;
    if (!PreCreateWindow(cs))
    {
        PostNcDestroy();
        return FALSE;
    }

    AfxHookWindowCreate(this);
    HWND hWnd = ::CreateWindowExW(cs.dwExStyle, cs.lpszClass, cs.lpszName, static_cast<DWORD>(cs.style), cs.x, cs.y,
                                  cs.cx, cs.cy, cs.hwndParent, cs.hMenu, cs.hInstance, cs.lpCreateParams);
    AfxUnhookWindowCreate();
    // A window whose creation failed after capture has already gone through
    // WM_NCDESTROY, which detached it (and ran PostNcDestroy).
    return hWnd != nullptr && hWnd == m_hWnd;
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCWSTR lpszClassName, LPCWSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                    CWnd* pParentWnd, UINT nID, LPVOID lpParam)
{
    return CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, rect.left, rect.top, rect.right - rect.left,
                    rect.bottom - rect.top, AfxSafeHwnd(pParentWnd),
                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)), lpParam);
}

BOOL CWnd::Create(LPCWSTR lpszClassName, LPCWSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                  UINT nID, void* pContext)
{
    return CreateEx(0, lpszClassName, lpszWindowName, dwStyle | WS_CHILD, rect, pParentWnd, nID, pContext);
}

BOOL CWnd::DestroyWindow()
{
    HWND hWnd = m_hWnd;
    if (hWnd == nullptr)
        return FALSE;
    CWnd* pPermanent = LookupPermanent(hWnd);
    BOOL bResult = ::DestroyWindow(hWnd);
    // "this" may be gone now (PostNcDestroy) when the window ran our
    // procedure; then it is no longer in the map. Otherwise (attached without
    // subclassing, or not in the map at all) the object is let go here.
    if (pPermanent == nullptr)
    {
        if (bResult)
            m_hWnd = nullptr;
    }
    else if (bResult && LookupPermanent(hWnd) == pPermanent)
    {
        pPermanent->Detach();
    }
    return bResult;
}

void CWnd::PostNcDestroy()
{
}

// ---- the window procedure ---------------------------------------------------------

LRESULT AfxCallWndProc(CWnd* pWnd, HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    AFX_WND_THREAD_STATE* pState = AfxGetWndThreadState();
    CLastMessageScope scope(pState, hWnd, nMsg, wParam, lParam);
    LRESULT lResult = 0;
    try
    {
        lResult = pWnd->WindowProc(nMsg, wParam, lParam);
    }
    catch (CException* e)
    {
        // An exception must not unwind through the system's frames; the
        // framework's answer is to end the message as failed.
        TRACE(L"AfxWndProc: an exception ended message 0x%04X\n", nMsg);
        e->Delete();
        if (nMsg == WM_CREATE)
            lResult = -1;
        else if (nMsg == WM_PAINT)
            ValidateRect(hWnd, nullptr);
    }
    // A handler of WM_NCDESTROY that did not pass it on to CWnd's still
    // leaves the object detached.
    if (nMsg == WM_NCDESTROY && LookupPermanent(hWnd) == pWnd)
        FinishNcDestroy(pWnd);
    return lResult;
}

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    CWnd* pWnd = LookupPermanent(hWnd);
    if (pWnd == nullptr || pWnd->m_hWnd != hWnd)
        return ::DefWindowProcW(hWnd, nMsg, wParam, lParam);
    return AfxCallWndProc(pWnd, hWnd, nMsg, wParam, lParam);
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT lResult = 0;
    if (!OnWndMsg(message, wParam, lParam, &lResult))
        lResult = DefWindowProc(message, wParam, lParam);
    return lResult;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_pfnSuper != nullptr)
        return ::CallWindowProcW(m_pfnSuper, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcW(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default()
{
    const MSG& msg = AfxGetWndThreadState()->m_lastSentMsg;
    return DefWindowProc(msg.message, msg.wParam, msg.lParam);
}

BOOL CWnd::DispatchMapEntry(UINT message, UINT nCode, UINT nID, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    const bool bControlMessage = message == WM_COMMAND || message == WM_NOTIFY;
    for (const AFX_MSGMAP* pMap = GetMessageMap(); pMap != nullptr;
         pMap = pMap->pfnGetBaseMap != nullptr ? pMap->pfnGetBaseMap() : nullptr)
    {
        for (const AFX_MSGMAP_ENTRY* pEntry = pMap->lpEntries; pEntry->nMessage != 0; ++pEntry)
        {
            bool bMatch;
            if (pEntry->nMessage != message)
                bMatch = false;
            else if (bControlMessage)
                bMatch = pEntry->nCode == nCode && nID >= pEntry->nID && nID <= pEntry->nLastID;
            else
                bMatch = true;
            if (bMatch)
            {
                *pResult = pEntry->pfnThunk(this, message, wParam, lParam);
                return TRUE;
            }
        }
    }
    return FALSE;
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    LRESULT lResult = 0;
    BOOL bHandled;
    if (message == WM_COMMAND)
    {
        bHandled = OnCommand(wParam, lParam);
        lResult = 1;
    }
    else if (message == WM_NOTIFY)
    {
        bHandled = OnNotify(wParam, lParam, &lResult);
        // A dialog's results normally travel back as this procedure's return
        // value; the dialog manager reads DWLP_MSGRESULT when the same message
        // reaches it through a dialog procedure, so both say the same.
        if (bHandled && (m_nFlags & WF_ISDIALOG) && m_hWnd != nullptr)
            SetWindowLongPtrW(m_hWnd, DWLP_MSGRESULT, lResult);
    }
    else
    {
        bHandled = DispatchMapEntry(message, 0, 0, wParam, lParam, &lResult);
    }
    if (bHandled && pResult != nullptr)
        *pResult = lResult;
    return bHandled;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    UINT nID = LOWORD(wParam);
    UINT nCode = HIWORD(wParam);
    HWND hWndCtrl = reinterpret_cast<HWND>(lParam);
    if (hWndCtrl == nullptr)
    {
        // Menu (0) and accelerator (1) commands both reach ON_COMMAND entries.
        nCode = 0;
    }
    else
    {
        // Controls changed by UpdateData must not call back into the dialog.
        if (AfxGetWndThreadState()->m_hLockoutNotifyWindow == m_hWnd)
            return TRUE;
        if (ReflectLastMsg(hWndCtrl))
            return TRUE;
        if (nID == 0)
            return FALSE;
    }
    LRESULT lIgnored = 0;
    return DispatchMapEntry(WM_COMMAND, nCode, nID, wParam, lParam, &lIgnored);
}

BOOL CWnd::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    NMHDR* pNMHDR = reinterpret_cast<NMHDR*>(lParam);
    if (pNMHDR == nullptr)
        return FALSE;
    if (AfxGetWndThreadState()->m_hLockoutNotifyWindow == m_hWnd)
        return TRUE;
    if (ReflectLastMsg(pNMHDR->hwndFrom, pResult))
        return TRUE;
    return DispatchMapEntry(WM_NOTIFY, pNMHDR->code, static_cast<UINT>(pNMHDR->idFrom), wParam, lParam, pResult);
}

BOOL CWnd::OnChildNotify(UINT, WPARAM, LPARAM, LRESULT*)
{
    return FALSE;
}

BOOL PASCAL CWnd::ReflectLastMsg(HWND hWndChild, LRESULT* pResult)
{
    CWnd* pChild = FromHandlePermanent(hWndChild);
    if (pChild == nullptr)
        return FALSE;
    const MSG& msg = AfxGetWndThreadState()->m_lastSentMsg;
    return pChild->OnChildNotify(msg.message, msg.wParam, msg.lParam, pResult);
}

// ---- default handlers ---------------------------------------------------------------

int CWnd::OnCreate(LPCREATESTRUCT)
{
    return static_cast<int>(Default());
}

void CWnd::OnDestroy()
{
    Default();
}

void CWnd::OnNcDestroy()
{
    // The main window's end is the end of its thread's message loop.
    if (CWinThread* pThread = AfxGetThread())
    {
        if (pThread->m_pMainWnd == this)
        {
            if (pThread->m_nThreadID == GetCurrentThreadId())
                PostQuitMessage(0);
            pThread->m_pMainWnd = nullptr;
        }
        if (pThread->m_pActiveWnd == this)
            pThread->m_pActiveWnd = nullptr;
    }
    Default();
    FinishNcDestroy(this);
}

void CWnd::OnSize(UINT, int, int)
{
    Default();
}

void CWnd::OnGetMinMaxInfo(MINMAXINFO*)
{
    Default();
}

void CWnd::OnKeyDown(UINT, UINT, UINT)
{
    Default();
}

// ---- pre-translation and the message pump ------------------------------------------

BOOL CWnd::PreTranslateMessage(MSG*)
{
    return FALSE;
}

BOOL PASCAL CWnd::WalkPreTranslateTree(HWND hWndStop, MSG* pMsg)
{
    for (HWND hWnd = pMsg->hwnd; hWnd != nullptr; hWnd = ::GetParent(hWnd))
    {
        CWnd* pWnd = FromHandlePermanent(hWnd);
        if (pWnd != nullptr && pWnd->PreTranslateMessage(pMsg))
            return TRUE;
        if (hWnd == hWndStop)
            break;
    }
    return FALSE;
}

BOOL AFXAPI AfxInternalPreTranslateMessage(MSG* pMsg)
{
    CWnd* pMainWnd = AfxGetMainWnd();
    HWND hWndMain = AfxSafeHwnd(pMainWnd);
    if (CWnd::WalkPreTranslateTree(hWndMain, pMsg))
        return TRUE;
    // A modeless window outside the main window still gets the main
    // window's last word (its accelerators, typically).
    if (pMainWnd != nullptr && pMsg->hwnd != nullptr)
    {
        CWnd* pWnd = CWnd::FromHandle(pMsg->hwnd);
        if (pWnd->GetTopLevelParent() != pMainWnd)
            return pMainWnd->PreTranslateMessage(pMsg);
    }
    return FALSE;
}

BOOL AFXAPI AfxPreTranslateMessage(MSG* pMsg)
{
    if (CWinThread* pThread = AfxGetThread())
        return pThread->PreTranslateMessage(pMsg);
    return AfxInternalPreTranslateMessage(pMsg);
}

BOOL AFXAPI AfxPumpMessage()
{
    // Only the thread's own object pumps for it: m_msgCur is per thread.
    CWinThread* pThread = AfxGetThread();
    if (pThread != nullptr && pThread->m_nThreadID == ::GetCurrentThreadId())
    {
        if (pThread->PumpMessage())
            return TRUE;
        if (pThread->m_msgCur.message == WM_QUIT)
            ::PostQuitMessage(static_cast<int>(pThread->m_msgCur.wParam));
        return FALSE;
    }
    MSG msg;
    BOOL bResult = ::GetMessageW(&msg, nullptr, 0, 0);
    if (bResult == 0 || bResult == -1)
    {
        if (bResult == 0)
            ::PostQuitMessage(static_cast<int>(msg.wParam));
        return FALSE;
    }
    if (!AfxPreTranslateMessage(&msg))
    {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return TRUE;
}

// ---- modal loop ---------------------------------------------------------------------

int CWnd::RunModalLoop(DWORD dwFlags)
{
    bool bShowOnIdle = (dwFlags & MLF_SHOWONIDLE) && !(GetStyle() & WS_VISIBLE);
    HWND hWndParent = ::GetParent(m_hWnd);
    m_nFlags |= WF_MODALLOOP | WF_CONTINUEMODAL;

    MSG msg;
    while (ContinueModal() && ::IsWindow(m_hWnd))
    {
        if (!::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE))
        {
            // The window shows once its initial messages are through, so it
            // appears complete.
            if (bShowOnIdle)
            {
                ShowWindow(SW_SHOWNORMAL);
                UpdateWindow();
                bShowOnIdle = false;
            }
            if (!(dwFlags & MLF_NOIDLEMSG) && hWndParent != nullptr)
                ::SendMessageW(hWndParent, WM_ENTERIDLE, MSGF_DIALOGBOX, reinterpret_cast<LPARAM>(m_hWnd));
        }
        if (!AfxPumpMessage())
        {
            // WM_QUIT: AfxPumpMessage posted it again for the outer loop.
            m_nFlags &= ~(WF_MODALLOOP | WF_CONTINUEMODAL);
            return -1;
        }
    }
    m_nFlags &= ~(WF_MODALLOOP | WF_CONTINUEMODAL);
    return m_nModalResult;
}

BOOL CWnd::ContinueModal()
{
    return (m_nFlags & WF_CONTINUEMODAL) != 0;
}

void CWnd::EndModalLoop(int nResult)
{
    m_nModalResult = nResult;
    if (m_nFlags & WF_CONTINUEMODAL)
    {
        m_nFlags &= ~WF_CONTINUEMODAL;
        // Wakes the loop when this is called from outside a dispatched message.
        PostMessage(WM_NULL);
    }
}

// ---- styles, geometry, relatives ------------------------------------------------------

namespace {

HWND ParentOrOwner(HWND hWnd)
{
    return (::GetWindowLongPtrW(hWnd, GWL_STYLE) & WS_CHILD) ? ::GetParent(hWnd) : ::GetWindow(hWnd, GW_OWNER);
}

} // namespace

BOOL CWnd::ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags)
{
    DWORD dwStyle = GetStyle();
    DWORD dwNewStyle = (dwStyle & ~dwRemove) | dwAdd;
    if (dwStyle == dwNewStyle)
        return FALSE;
    ::SetWindowLongPtrW(m_hWnd, GWL_STYLE, static_cast<LONG_PTR>(static_cast<LONG>(dwNewStyle)));
    if (nFlags != 0)
    {
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | nFlags);
    }
    return TRUE;
}

BOOL CWnd::SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags)
{
    return ::SetWindowPos(m_hWnd, AfxSafeHwnd(pWndInsertAfter), x, y, cx, cy, nFlags);
}

void CWnd::ScreenToClient(LPRECT lpRect) const
{
    ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<LPPOINT>(lpRect), 2);
}

void CWnd::ClientToScreen(LPRECT lpRect) const
{
    ::MapWindowPoints(m_hWnd, nullptr, reinterpret_cast<LPPOINT>(lpRect), 2);
}

CWnd* CWnd::GetTopLevelParent() const
{
    if (m_hWnd == nullptr)
        return nullptr;
    HWND hWndTop = m_hWnd;
    for (HWND hWnd = ParentOrOwner(hWndTop); hWnd != nullptr; hWnd = ParentOrOwner(hWnd))
        hWndTop = hWnd;
    return FromHandle(hWndTop);
}

HWND PASCAL CWnd::GetSafeOwner_(HWND hParent, HWND* phWndTop)
{
    HWND hWnd = hParent;
    if (hWnd == nullptr)
    {
        hWnd = AfxSafeHwnd(AfxGetMainWnd());
        if (hWnd == nullptr)
            hWnd = ::GetActiveWindow();
    }
    // A popup cannot be owned by a child window.
    while (hWnd != nullptr && (::GetWindowLongPtrW(hWnd, GWL_STYLE) & WS_CHILD))
        hWnd = ::GetParent(hWnd);

    HWND hWndTop = hWnd;
    for (HWND hWndUp = hWnd; hWndUp != nullptr; hWndUp = ::GetParent(hWndUp))
        hWndTop = hWndUp;

    if (hParent == nullptr && hWnd != nullptr)
        hWnd = ::GetLastActivePopup(hWnd);

    if (phWndTop != nullptr)
    {
        if (hWndTop != nullptr && ::IsWindowEnabled(hWndTop) && hWndTop != hWnd)
        {
            *phWndTop = hWndTop;
            ::EnableWindow(hWndTop, FALSE);
        }
        else
        {
            *phWndTop = nullptr;
        }
    }
    return hWnd;
}

// ---- text ----------------------------------------------------------

void CWnd::GetWindowText(CString& rString) const
{
    int nLen = ::GetWindowTextLengthW(m_hWnd);
    int nGot = ::GetWindowTextW(m_hWnd, rString.GetBufferSetLength(nLen), nLen + 1);
    rString.ReleaseBufferSetLength(nGot < 0 ? 0 : nGot);
}

void AFXAPI AfxSetWindowText(HWND hWndCtrl, LPCWSTR lpszNew)
{
    if (lpszNew == nullptr)
        lpszNew = L"";
    int nNewLen = lstrlenW(lpszNew);
    wchar_t szOld[256];
    // Short texts are compared first so that an unchanged text causes no
    // redraw and no change notification.
    if (nNewLen < static_cast<int>(_countof(szOld)) &&
        ::GetWindowTextW(hWndCtrl, szOld, _countof(szOld)) == nNewLen && lstrcmpW(szOld, lpszNew) == 0)
    {
        return;
    }
    ::SetWindowTextW(hWndCtrl, lpszNew);
}

// ---- window classes ----------------------------------------------------------------------

BOOL AFXAPI AfxRegisterClass(WNDCLASSW* lpWndClass)
{
    WNDCLASSW existing;
    if (::GetClassInfoW(lpWndClass->hInstance, lpWndClass->lpszClassName, &existing))
        return TRUE;
    return ::RegisterClassW(lpWndClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

LPCWSTR AFXAPI AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor, HBRUSH hbrBackground, HICON hIcon)
{
    // Names live in a never-freed set: callers keep the pointer for good.
    static SRWLOCK s_lock = SRWLOCK_INIT;
    static auto* s_pNames = new std::unordered_set<std::wstring>;

    HINSTANCE hInstance = AfxGetInstanceHandle();
    wchar_t szName[96];
    swprintf(szName, _countof(szName), L"Afx:%p:%x:%p:%p:%p", static_cast<void*>(hInstance), nClassStyle,
             static_cast<void*>(hCursor), static_cast<void*>(hbrBackground), static_cast<void*>(hIcon));

    AcquireSRWLockExclusive(&s_lock);
    const std::wstring* pName = nullptr;
    try
    {
        pName = &*s_pNames->insert(szName).first;
    }
    catch (...)
    {
        ReleaseSRWLockExclusive(&s_lock);
        AfxThrowMemoryException();
    }
    WNDCLASSW wc = {};
    wc.style = nClassStyle;
    wc.lpfnWndProc = AfxWndProc;
    wc.hInstance = hInstance;
    wc.hIcon = hIcon;
    wc.hCursor = hCursor;
    wc.hbrBackground = hbrBackground;
    wc.lpszClassName = pName->c_str();
    BOOL bRegistered = AfxRegisterClass(&wc);
    ReleaseSRWLockExclusive(&s_lock);
    if (!bRegistered)
        AfxThrowMemoryException();
    return pName->c_str();
}
