// The window layer's per-thread state: window-creation capture, the message
// being handled (for CWnd::Default), the notification lockout of UpdateData,
// and the maps of temporary wrappers. Private to the framework DLL.
#pragma once

#include <afxwin.h>
#include <afxcmn.h>

#include <unordered_map>

// Temporary wrappers of one kind, keyed by handle. The map owns them; pfnFree
// detaches the handle from an object (so that its destructor leaves the
// handle alone) and deletes it.
class CTempHandleMap
{
public:
    explicit CTempHandleMap(void (*pfnFree)(CObject*)) noexcept : m_pfnFree(pfnFree) {}
    ~CTempHandleMap() { DeleteAll(); }
    CTempHandleMap(const CTempHandleMap&) = delete;
    CTempHandleMap& operator=(const CTempHandleMap&) = delete;

    CObject* Find(const void* h) const
    {
        auto it = m_map.find(h);
        return it == m_map.end() ? nullptr : it->second;
    }
    void Add(const void* h, CObject* p) { m_map[h] = p; }
    void DeleteAll()
    {
        std::unordered_map<const void*, CObject*> doomed;
        doomed.swap(m_map);
        for (auto& entry : doomed)
            m_pfnFree(entry.second);
    }

private:
    std::unordered_map<const void*, CObject*> m_map;
    void (*m_pfnFree)(CObject*);
};

struct AFX_WND_THREAD_STATE
{
    AFX_WND_THREAD_STATE();
    ~AFX_WND_THREAD_STATE();

    // Window-creation capture (AfxHookWindowCreate).
    CWnd* m_pWndInit = nullptr;
    HHOOK m_hHookCbt = nullptr;
    int m_nHookDepth = 0;

    // The message AfxWndProc is handling now, for CWnd::Default.
    MSG m_lastSentMsg = {};

    // UpdateData's window: control notifications to it are ignored meanwhile.
    HWND m_hLockoutNotifyWindow = nullptr;

    int m_nTempMapLock = 0;
    CTempHandleMap m_tempWnd;
    CTempHandleMap m_tempMenu;
    CTempHandleMap m_tempImageList;
};

// The calling thread's state, made on first use and freed when the thread ends.
AFX_WND_THREAD_STATE* AfxGetWndThreadState();

// Lookup or creation of a temporary wrapper: pfnMake makes an empty object
// that the caller's kind then points at h.
template <class T, class H>
T* AfxTempFromHandle(CTempHandleMap& map, H h, T* (*pfnMake)(H))
{
    if (h == nullptr)
        return nullptr;
    if (CObject* p = map.Find(h))
        return static_cast<T*>(p);
    T* p = pfnMake(h);
    map.Add(h, p);
    return p;
}

// The handle of a window object that may be null: what GetSafeHwnd is used
// for, without calling a member through a null pointer.
inline HWND AfxSafeHwnd(const CWnd* pWnd)
{
    return pWnd != nullptr ? pWnd->m_hWnd : nullptr;
}
