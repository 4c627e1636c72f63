// Framework subset: message maps. A class's map is a static constant table;
// each entry names a message (for WM_COMMAND and WM_NOTIFY also the
// notification code and a range of control identifiers) and a thunk, a tiny
// function stamped out from the handler's member pointer that unpacks wParam
// and lParam into the handler's typed parameters. A handler of the wrong type
// therefore fails to compile instead of being called with garbage.
//
//     class CMyDlg : public CDialog { ... DECLARE_MESSAGE_MAP() };
//     BEGIN_MESSAGE_MAP(CMyDlg, CDialog)
//         ON_BN_CLICKED(IDC_GO, &CMyDlg::OnGo)
//         ON_NOTIFY(TVN_SELCHANGED, IDC_TREE, &CMyDlg::OnSelChanged)
//         ON_WM_DESTROY()
//     END_MESSAGE_MAP()
//
// Handler signatures are the framework's: ON_COMMAND/ON_CONTROL/ON_BN_...
// void f(); the _RANGE forms void f(UINT id); ON_NOTIFY void f(NMHDR*,
// LRESULT*); ON_NOTIFY_RANGE void f(UINT id, NMHDR*, LRESULT*); ON_MESSAGE and
// ON_REGISTERED_MESSAGE LRESULT f(WPARAM, LPARAM); ON_WM_xxx the matching
// CWnd::OnXxx. Overloaded handler names cannot be bound.
#pragma once

#include "afxsub_app.h"

#include <commctrl.h>

class CWnd;
class CDC;

// A thunk gets the object whose map holds the entry and the message with its
// raw parameters; what it returns becomes the message's result.
typedef LRESULT (*AFX_PMSGTHUNK)(CCmdTarget* pTarget, UINT nMessage, WPARAM wParam, LPARAM lParam);

struct AFX_MSGMAP_ENTRY
{
    UINT nMessage;                     // 0 ends the table
    UINT nCode;                        // notification code (WM_COMMAND, WM_NOTIFY)
    UINT nID;                          // first control identifier
    UINT nLastID;                      // last control identifier (nID unless a range)
    const UINT* pnRegisteredMessage;   // ON_REGISTERED_MESSAGE: where the message number lives
    AFX_PMSGTHUNK pfnThunk;
};

struct AFX_MSGMAP
{
    // The base class's map through a function of the derived class, so that
    // the table stays a link-time constant when the base class is imported.
    const AFX_MSGMAP* (PASCAL* pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

// nMessage of entries whose message number is only known at run time.
#define AFX_REGISTERED_MESSAGE_ENTRY 0xC000u

#define DECLARE_MESSAGE_MAP() \
protected: \
    static const AFX_MSGMAP* PASCAL GetThisMessageMap(); \
    static const AFX_MSGMAP* PASCAL _GetBaseMessageMap(); \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass) \
    const AFX_MSGMAP* PASCAL theClass::_GetBaseMessageMap() { return baseClass::GetThisMessageMap(); } \
    const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
    const AFX_MSGMAP* PASCAL theClass::GetThisMessageMap() \
    { \
        typedef theClass ThisClass; \
        static const AFX_MSGMAP_ENTRY _messageEntries[] = {

#define END_MESSAGE_MAP() \
            {0, 0, 0, 0, nullptr, nullptr}}; \
        static const AFX_MSGMAP messageMap = {&ThisClass::_GetBaseMessageMap, &_messageEntries[0]}; \
        return &messageMap; \
    }

// The thunks. Each assigns the handler to a member pointer of the exact
// framework type, so a handler of another type is a compile error; handlers
// of base classes convert implicitly.
namespace AfxMsgThunk {

template <class T, auto pmf>
LRESULT Command(CCmdTarget* p, UINT, WPARAM, LPARAM)
{
    void (T::*f)() = pmf;
    (static_cast<T*>(p)->*f)();
    return 1;
}

template <class T, auto pmf>
LRESULT CommandRange(CCmdTarget* p, UINT, WPARAM wParam, LPARAM)
{
    void (T::*f)(UINT) = pmf;
    (static_cast<T*>(p)->*f)(LOWORD(wParam));
    return 1;
}

template <class T, auto pmf>
LRESULT Notify(CCmdTarget* p, UINT, WPARAM, LPARAM lParam)
{
    void (T::*f)(NMHDR*, LRESULT*) = pmf;
    LRESULT result = 0;
    (static_cast<T*>(p)->*f)(reinterpret_cast<NMHDR*>(lParam), &result);
    return result;
}

template <class T, auto pmf>
LRESULT NotifyRange(CCmdTarget* p, UINT, WPARAM, LPARAM lParam)
{
    void (T::*f)(UINT, NMHDR*, LRESULT*) = pmf;
    LRESULT result = 0;
    NMHDR* pNMHDR = reinterpret_cast<NMHDR*>(lParam);
    (static_cast<T*>(p)->*f)(static_cast<UINT>(pNMHDR->idFrom), pNMHDR, &result);
    return result;
}

template <class T, auto pmf>
LRESULT Message(CCmdTarget* p, UINT, WPARAM wParam, LPARAM lParam)
{
    LRESULT (T::*f)(WPARAM, LPARAM) = pmf;
    return (static_cast<T*>(p)->*f)(wParam, lParam);
}

template <class T, auto pmf>
LRESULT Void(CCmdTarget* p, UINT, WPARAM, LPARAM)
{
    void (T::*f)() = pmf;
    (static_cast<T*>(p)->*f)();
    return 0;
}

template <class T, auto pmf>
LRESULT Create(CCmdTarget* p, UINT, WPARAM, LPARAM lParam)
{
    int (T::*f)(LPCREATESTRUCT) = pmf;
    return (static_cast<T*>(p)->*f)(reinterpret_cast<LPCREATESTRUCT>(lParam));
}

template <class T, auto pmf>
LRESULT Size(CCmdTarget* p, UINT, WPARAM wParam, LPARAM lParam)
{
    void (T::*f)(UINT, int, int) = pmf;
    (static_cast<T*>(p)->*f)(static_cast<UINT>(wParam), static_cast<short>(LOWORD(lParam)),
                             static_cast<short>(HIWORD(lParam)));
    return 0;
}

template <class T, auto pmf>
LRESULT Timer(CCmdTarget* p, UINT, WPARAM wParam, LPARAM)
{
    void (T::*f)(UINT_PTR) = pmf;
    (static_cast<T*>(p)->*f)(static_cast<UINT_PTR>(wParam));
    return 0;
}


template <class T, auto pmf>
LRESULT Key(CCmdTarget* p, UINT, WPARAM wParam, LPARAM lParam)
{
    void (T::*f)(UINT, UINT, UINT) = pmf;
    (static_cast<T*>(p)->*f)(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));
    return 0;
}

template <class T, auto pmf>
LRESULT GetDlgCode(CCmdTarget* p, UINT, WPARAM, LPARAM)
{
    UINT (T::*f)() = pmf;
    return (static_cast<T*>(p)->*f)();
}

template <class T, auto pmf>
LRESULT Mouse(CCmdTarget* p, UINT, WPARAM wParam, LPARAM lParam)
{
    void (T::*f)(UINT, CPoint) = pmf;
    (static_cast<T*>(p)->*f)(static_cast<UINT>(wParam),
                             CPoint(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))));
    return 0;
}

template <class T, auto pmf>
LRESULT ShowWnd(CCmdTarget* p, UINT, WPARAM wParam, LPARAM lParam)
{
    void (T::*f)(BOOL, UINT) = pmf;
    (static_cast<T*>(p)->*f)(static_cast<BOOL>(wParam), static_cast<UINT>(lParam));
    return 0;
}


// Thunks that need CWnd or CDC complete (Focus, ContextMenu, EraseBkgnd,
// CtlColor) follow CWnd in afxsub_wnd.h.
template <class T, auto pmf> LRESULT Focus(CCmdTarget* p, UINT, WPARAM wParam, LPARAM lParam);
template <class T, auto pmf> LRESULT ContextMenu(CCmdTarget* p, UINT, WPARAM wParam, LPARAM lParam);
template <class T, auto pmf> LRESULT EraseBkgnd(CCmdTarget* p, UINT, WPARAM wParam, LPARAM lParam);
template <class T, auto pmf> LRESULT CtlColor(CCmdTarget* p, UINT, WPARAM wParam, LPARAM lParam);

template <class T, auto pmf>
LRESULT GetMinMaxInfo(CCmdTarget* p, UINT, WPARAM, LPARAM lParam)
{
    void (T::*f)(MINMAXINFO*) = pmf;
    (static_cast<T*>(p)->*f)(reinterpret_cast<MINMAXINFO*>(lParam));
    return 0;
}


} // namespace AfxMsgThunk

// Commands and control notifications (WM_COMMAND).
#define ON_COMMAND(id, memberFxn) \
    {WM_COMMAND, 0, static_cast<UINT>(static_cast<WORD>(id)), static_cast<UINT>(static_cast<WORD>(id)), nullptr, \
     &AfxMsgThunk::Command<ThisClass, memberFxn>},
#define ON_COMMAND_RANGE(id, idLast, memberFxn) \
    {WM_COMMAND, 0, static_cast<UINT>(static_cast<WORD>(id)), static_cast<UINT>(static_cast<WORD>(idLast)), nullptr, \
     &AfxMsgThunk::CommandRange<ThisClass, memberFxn>},
#define ON_CONTROL(wNotifyCode, id, memberFxn) \
    {WM_COMMAND, static_cast<UINT>(static_cast<WORD>(wNotifyCode)), static_cast<UINT>(static_cast<WORD>(id)), \
     static_cast<UINT>(static_cast<WORD>(id)), nullptr, &AfxMsgThunk::Command<ThisClass, memberFxn>},
#define ON_CONTROL_RANGE(wNotifyCode, id, idLast, memberFxn) \
    {WM_COMMAND, static_cast<UINT>(static_cast<WORD>(wNotifyCode)), static_cast<UINT>(static_cast<WORD>(id)), \
     static_cast<UINT>(static_cast<WORD>(idLast)), nullptr, &AfxMsgThunk::CommandRange<ThisClass, memberFxn>},

#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_BN_DOUBLECLICKED(id, memberFxn) ON_CONTROL(BN_DOUBLECLICKED, id, memberFxn)
#define ON_BN_SETFOCUS(id, memberFxn) ON_CONTROL(BN_SETFOCUS, id, memberFxn)
#define ON_BN_KILLFOCUS(id, memberFxn) ON_CONTROL(BN_KILLFOCUS, id, memberFxn)
#define ON_EN_CHANGE(id, memberFxn) ON_CONTROL(EN_CHANGE, id, memberFxn)
#define ON_EN_UPDATE(id, memberFxn) ON_CONTROL(EN_UPDATE, id, memberFxn)
#define ON_EN_SETFOCUS(id, memberFxn) ON_CONTROL(EN_SETFOCUS, id, memberFxn)
#define ON_EN_KILLFOCUS(id, memberFxn) ON_CONTROL(EN_KILLFOCUS, id, memberFxn)
#define ON_EN_MAXTEXT(id, memberFxn) ON_CONTROL(EN_MAXTEXT, id, memberFxn)
#define ON_CBN_SELCHANGE(id, memberFxn) ON_CONTROL(CBN_SELCHANGE, id, memberFxn)
#define ON_CBN_EDITCHANGE(id, memberFxn) ON_CONTROL(CBN_EDITCHANGE, id, memberFxn)
#define ON_CBN_EDITUPDATE(id, memberFxn) ON_CONTROL(CBN_EDITUPDATE, id, memberFxn)
#define ON_CBN_DROPDOWN(id, memberFxn) ON_CONTROL(CBN_DROPDOWN, id, memberFxn)
#define ON_CBN_CLOSEUP(id, memberFxn) ON_CONTROL(CBN_CLOSEUP, id, memberFxn)
#define ON_CBN_SELENDOK(id, memberFxn) ON_CONTROL(CBN_SELENDOK, id, memberFxn)
#define ON_CBN_SELENDCANCEL(id, memberFxn) ON_CONTROL(CBN_SELENDCANCEL, id, memberFxn)
#define ON_CBN_SETFOCUS(id, memberFxn) ON_CONTROL(CBN_SETFOCUS, id, memberFxn)
#define ON_CBN_KILLFOCUS(id, memberFxn) ON_CONTROL(CBN_KILLFOCUS, id, memberFxn)
#define ON_CBN_DBLCLK(id, memberFxn) ON_CONTROL(CBN_DBLCLK, id, memberFxn)
#define ON_LBN_SELCHANGE(id, memberFxn) ON_CONTROL(LBN_SELCHANGE, id, memberFxn)
#define ON_LBN_DBLCLK(id, memberFxn) ON_CONTROL(LBN_DBLCLK, id, memberFxn)
#define ON_LBN_SETFOCUS(id, memberFxn) ON_CONTROL(LBN_SETFOCUS, id, memberFxn)
#define ON_LBN_KILLFOCUS(id, memberFxn) ON_CONTROL(LBN_KILLFOCUS, id, memberFxn)
#define ON_STN_CLICKED(id, memberFxn) ON_CONTROL(STN_CLICKED, id, memberFxn)

// Common-control notifications (WM_NOTIFY); the handler sets *pResult.
#define ON_NOTIFY(wNotifyCode, id, memberFxn) \
    {WM_NOTIFY, static_cast<UINT>(wNotifyCode), static_cast<UINT>(id), static_cast<UINT>(id), nullptr, \
     &AfxMsgThunk::Notify<ThisClass, memberFxn>},
#define ON_NOTIFY_RANGE(wNotifyCode, id, idLast, memberFxn) \
    {WM_NOTIFY, static_cast<UINT>(wNotifyCode), static_cast<UINT>(id), static_cast<UINT>(idLast), nullptr, \
     &AfxMsgThunk::NotifyRange<ThisClass, memberFxn>},

// Any message, raw parameters.
#define ON_MESSAGE(message, memberFxn) \
    {static_cast<UINT>(message), 0, 0, 0, nullptr, &AfxMsgThunk::Message<ThisClass, memberFxn>},
// nMessageVariable: a static UINT holding a RegisterWindowMessage result.
#define ON_REGISTERED_MESSAGE(nMessageVariable, memberFxn) \
    {AFX_REGISTERED_MESSAGE_ENTRY, 0, 0, 0, &nMessageVariable, &AfxMsgThunk::Message<ThisClass, memberFxn>},

// Window messages bound to CWnd's handler names.
#define ON_WM_CREATE() {WM_CREATE, 0, 0, 0, nullptr, &AfxMsgThunk::Create<ThisClass, &ThisClass::OnCreate>},
#define ON_WM_DESTROY() {WM_DESTROY, 0, 0, 0, nullptr, &AfxMsgThunk::Void<ThisClass, &ThisClass::OnDestroy>},
#define ON_WM_NCDESTROY() {WM_NCDESTROY, 0, 0, 0, nullptr, &AfxMsgThunk::Void<ThisClass, &ThisClass::OnNcDestroy>},
#define ON_WM_CLOSE() {WM_CLOSE, 0, 0, 0, nullptr, &AfxMsgThunk::Void<ThisClass, &ThisClass::OnClose>},
#define ON_WM_PAINT() {WM_PAINT, 0, 0, 0, nullptr, &AfxMsgThunk::Void<ThisClass, &ThisClass::OnPaint>},
#define ON_WM_SIZE() {WM_SIZE, 0, 0, 0, nullptr, &AfxMsgThunk::Size<ThisClass, &ThisClass::OnSize>},
#define ON_WM_TIMER() {WM_TIMER, 0, 0, 0, nullptr, &AfxMsgThunk::Timer<ThisClass, &ThisClass::OnTimer>},
#define ON_WM_SETFOCUS() {WM_SETFOCUS, 0, 0, 0, nullptr, &AfxMsgThunk::Focus<ThisClass, &ThisClass::OnSetFocus>},
#define ON_WM_KILLFOCUS() {WM_KILLFOCUS, 0, 0, 0, nullptr, &AfxMsgThunk::Focus<ThisClass, &ThisClass::OnKillFocus>},
#define ON_WM_KEYDOWN() {WM_KEYDOWN, 0, 0, 0, nullptr, &AfxMsgThunk::Key<ThisClass, &ThisClass::OnKeyDown>},
#define ON_WM_KEYUP() {WM_KEYUP, 0, 0, 0, nullptr, &AfxMsgThunk::Key<ThisClass, &ThisClass::OnKeyUp>},
#define ON_WM_CHAR() {WM_CHAR, 0, 0, 0, nullptr, &AfxMsgThunk::Key<ThisClass, &ThisClass::OnChar>},
#define ON_WM_GETDLGCODE() \
    {WM_GETDLGCODE, 0, 0, 0, nullptr, &AfxMsgThunk::GetDlgCode<ThisClass, &ThisClass::OnGetDlgCode>},
#define ON_WM_LBUTTONDOWN() \
    {WM_LBUTTONDOWN, 0, 0, 0, nullptr, &AfxMsgThunk::Mouse<ThisClass, &ThisClass::OnLButtonDown>},
#define ON_WM_LBUTTONUP() {WM_LBUTTONUP, 0, 0, 0, nullptr, &AfxMsgThunk::Mouse<ThisClass, &ThisClass::OnLButtonUp>},
#define ON_WM_LBUTTONDBLCLK() \
    {WM_LBUTTONDBLCLK, 0, 0, 0, nullptr, &AfxMsgThunk::Mouse<ThisClass, &ThisClass::OnLButtonDblClk>},
#define ON_WM_RBUTTONDOWN() \
    {WM_RBUTTONDOWN, 0, 0, 0, nullptr, &AfxMsgThunk::Mouse<ThisClass, &ThisClass::OnRButtonDown>},
#define ON_WM_MOUSEMOVE() {WM_MOUSEMOVE, 0, 0, 0, nullptr, &AfxMsgThunk::Mouse<ThisClass, &ThisClass::OnMouseMove>},
#define ON_WM_SHOWWINDOW() \
    {WM_SHOWWINDOW, 0, 0, 0, nullptr, &AfxMsgThunk::ShowWnd<ThisClass, &ThisClass::OnShowWindow>},
#define ON_WM_ERASEBKGND() \
    {WM_ERASEBKGND, 0, 0, 0, nullptr, &AfxMsgThunk::EraseBkgnd<ThisClass, &ThisClass::OnEraseBkgnd>},
#define ON_WM_GETMINMAXINFO() \
    {WM_GETMINMAXINFO, 0, 0, 0, nullptr, &AfxMsgThunk::GetMinMaxInfo<ThisClass, &ThisClass::OnGetMinMaxInfo>},
#define ON_WM_CONTEXTMENU() \
    {WM_CONTEXTMENU, 0, 0, 0, nullptr, &AfxMsgThunk::ContextMenu<ThisClass, &ThisClass::OnContextMenu>},
// One entry per colour message, as the framework's single macro covers them all.
#define ON_WM_CTLCOLOR() \
    {WM_CTLCOLORMSGBOX, 0, 0, 0, nullptr, &AfxMsgThunk::CtlColor<ThisClass, &ThisClass::OnCtlColor>}, \
    {WM_CTLCOLOREDIT, 0, 0, 0, nullptr, &AfxMsgThunk::CtlColor<ThisClass, &ThisClass::OnCtlColor>}, \
    {WM_CTLCOLORLISTBOX, 0, 0, 0, nullptr, &AfxMsgThunk::CtlColor<ThisClass, &ThisClass::OnCtlColor>}, \
    {WM_CTLCOLORBTN, 0, 0, 0, nullptr, &AfxMsgThunk::CtlColor<ThisClass, &ThisClass::OnCtlColor>}, \
    {WM_CTLCOLORDLG, 0, 0, 0, nullptr, &AfxMsgThunk::CtlColor<ThisClass, &ThisClass::OnCtlColor>}, \
    {WM_CTLCOLORSCROLLBAR, 0, 0, 0, nullptr, &AfxMsgThunk::CtlColor<ThisClass, &ThisClass::OnCtlColor>}, \
    {WM_CTLCOLORSTATIC, 0, 0, 0, nullptr, &AfxMsgThunk::CtlColor<ThisClass, &ThisClass::OnCtlColor>},
