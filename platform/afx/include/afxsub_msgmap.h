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
// void f(); ON_NOTIFY void f(NMHDR*, LRESULT*); ON_MESSAGE LRESULT f(WPARAM,
// LPARAM); ON_WM_xxx the framework's OnXxx. Overloaded handler names cannot be
// bound. Only the entries the library and its hosts use are here.
#pragma once

#include "afxsub_app.h"

#include <commctrl.h>

class CWnd;

// A thunk gets the object whose map holds the entry and the message with its
// raw parameters; what it returns becomes the message's result.
typedef LRESULT (*AFX_PMSGTHUNK)(CCmdTarget* pTarget, UINT nMessage, WPARAM wParam, LPARAM lParam);

struct AFX_MSGMAP_ENTRY
{
    UINT nMessage;   // 0 ends the table
    UINT nCode;      // notification code (WM_COMMAND, WM_NOTIFY)
    UINT nID;        // first control identifier
    UINT nLastID;    // last control identifier (nID unless a range)
    AFX_PMSGTHUNK pfnThunk;
};

struct AFX_MSGMAP
{
    // The base class's map through a function of the derived class, so that
    // the table stays a link-time constant when the base class is imported.
    const AFX_MSGMAP* (PASCAL* pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

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
            {0, 0, 0, 0, nullptr}}; \
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
LRESULT Notify(CCmdTarget* p, UINT, WPARAM, LPARAM lParam)
{
    void (T::*f)(NMHDR*, LRESULT*) = pmf;
    LRESULT result = 0;
    (static_cast<T*>(p)->*f)(reinterpret_cast<NMHDR*>(lParam), &result);
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
LRESULT Key(CCmdTarget* p, UINT, WPARAM wParam, LPARAM lParam)
{
    void (T::*f)(UINT, UINT, UINT) = pmf;
    (static_cast<T*>(p)->*f)(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));
    return 0;
}

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
    {WM_COMMAND, 0, static_cast<UINT>(static_cast<WORD>(id)), static_cast<UINT>(static_cast<WORD>(id)), \
     &AfxMsgThunk::Command<ThisClass, memberFxn>},
#define ON_CONTROL(wNotifyCode, id, memberFxn) \
    {WM_COMMAND, static_cast<UINT>(static_cast<WORD>(wNotifyCode)), static_cast<UINT>(static_cast<WORD>(id)), \
     static_cast<UINT>(static_cast<WORD>(id)), &AfxMsgThunk::Command<ThisClass, memberFxn>},

#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_EN_CHANGE(id, memberFxn) ON_CONTROL(EN_CHANGE, id, memberFxn)
#define ON_EN_UPDATE(id, memberFxn) ON_CONTROL(EN_UPDATE, id, memberFxn)
#define ON_EN_SETFOCUS(id, memberFxn) ON_CONTROL(EN_SETFOCUS, id, memberFxn)
#define ON_EN_KILLFOCUS(id, memberFxn) ON_CONTROL(EN_KILLFOCUS, id, memberFxn)
#define ON_CBN_SELCHANGE(id, memberFxn) ON_CONTROL(CBN_SELCHANGE, id, memberFxn)
#define ON_CBN_EDITCHANGE(id, memberFxn) ON_CONTROL(CBN_EDITCHANGE, id, memberFxn)
#define ON_LBN_SELCHANGE(id, memberFxn) ON_CONTROL(LBN_SELCHANGE, id, memberFxn)

// Common-control notifications (WM_NOTIFY); the handler sets *pResult.
#define ON_NOTIFY(wNotifyCode, id, memberFxn) \
    {WM_NOTIFY, static_cast<UINT>(wNotifyCode), static_cast<UINT>(id), static_cast<UINT>(id), \
     &AfxMsgThunk::Notify<ThisClass, memberFxn>},

// Any message, raw parameters.
#define ON_MESSAGE(message, memberFxn) \
    {static_cast<UINT>(message), 0, 0, 0, &AfxMsgThunk::Message<ThisClass, memberFxn>},

// Window messages bound to the framework's handler names.
#define ON_WM_CREATE() {WM_CREATE, 0, 0, 0, &AfxMsgThunk::Create<ThisClass, &ThisClass::OnCreate>},
#define ON_WM_DESTROY() {WM_DESTROY, 0, 0, 0, &AfxMsgThunk::Void<ThisClass, &ThisClass::OnDestroy>},
#define ON_WM_NCDESTROY() {WM_NCDESTROY, 0, 0, 0, &AfxMsgThunk::Void<ThisClass, &ThisClass::OnNcDestroy>},
#define ON_WM_SIZE() {WM_SIZE, 0, 0, 0, &AfxMsgThunk::Size<ThisClass, &ThisClass::OnSize>},
#define ON_WM_KEYDOWN() {WM_KEYDOWN, 0, 0, 0, &AfxMsgThunk::Key<ThisClass, &ThisClass::OnKeyDown>},
#define ON_WM_GETMINMAXINFO() \
    {WM_GETMINMAXINFO, 0, 0, 0, &AfxMsgThunk::GetMinMaxInfo<ThisClass, &ThisClass::OnGetMinMaxInfo>},
