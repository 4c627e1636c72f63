// Framework subset: synchronisation objects. Each owns its kernel handle
// (closed by the destructor). Lock waits for the object; CSingleLock locks
// one for a scope.
#pragma once

#include "afxsub_app.h"

class AFX_API CSyncObject : public CObject
{
    DECLARE_DYNAMIC(CSyncObject)
public:
    ~CSyncObject() override;

    HANDLE m_hObject;

    operator HANDLE() const { return m_hObject; }
    // TRUE when the object was signalled (or a mutex abandoned) within
    // dwTimeout milliseconds.
    virtual BOOL Lock(DWORD dwTimeout = INFINITE);
    virtual BOOL Unlock() = 0;
    virtual BOOL Unlock(LONG /*lCount*/, LPLONG /*lpPrevCount*/ = nullptr) { return TRUE; }

protected:
    explicit CSyncObject(LPCWSTR pstrName) noexcept;
};

// A kernel event. The constructor throws CMemoryException* (standing for the
// framework's resource exception) when the event cannot be made. A named
// event that exists already is opened, keeping its state and reset mode.
class AFX_API CEvent : public CSyncObject
{
    DECLARE_DYNAMIC(CEvent)
public:
    explicit CEvent(BOOL bInitiallyOwn = FALSE, BOOL bManualReset = FALSE, LPCWSTR lpszName = nullptr,
                    LPSECURITY_ATTRIBUTES lpsaAttribute = nullptr);

    BOOL SetEvent() { return ::SetEvent(m_hObject); }
    BOOL ResetEvent() { return ::ResetEvent(m_hObject); }
    // Releases the waiting threads (one for an auto-reset event) and leaves
    // the event unsignalled.
    BOOL PulseEvent() { return ::PulseEvent(m_hObject); }
    BOOL Unlock() override { return TRUE; }
};

class AFX_API CMutex : public CSyncObject
{
    DECLARE_DYNAMIC(CMutex)
public:
    explicit CMutex(BOOL bInitiallyOwn = FALSE, LPCWSTR lpszName = nullptr,
                    LPSECURITY_ATTRIBUTES lpsaAttribute = nullptr);
    BOOL Unlock() override { return ::ReleaseMutex(m_hObject); }
};

// A critical section (no kernel handle; Lock has no time limit).
class AFX_API CCriticalSection : public CSyncObject
{
    DECLARE_DYNAMIC(CCriticalSection)
public:
    CCriticalSection();
    ~CCriticalSection() override;
    operator CRITICAL_SECTION*() { return &m_sect; }
    BOOL Lock() { ::EnterCriticalSection(&m_sect); return TRUE; }
    BOOL Lock(DWORD /*dwTimeout*/) override { return Lock(); }
    BOOL Unlock() override { ::LeaveCriticalSection(&m_sect); return TRUE; }

    CRITICAL_SECTION m_sect;
};

// Locks one object for the lifetime of the lock (when it was locked).
class AFX_API CSingleLock
{
public:
    explicit CSingleLock(CSyncObject* pObject, BOOL bInitialLock = FALSE);
    ~CSingleLock() { Unlock(); }
    CSingleLock(const CSingleLock&) = delete;
    CSingleLock& operator=(const CSingleLock&) = delete;

    BOOL Lock(DWORD dwTimeOut = INFINITE);
    // Releases the object when this lock holds it; TRUE otherwise too.
    BOOL Unlock();
    BOOL IsLocked() const { return m_bAcquired; }

protected:
    CSyncObject* m_pObject;
    BOOL m_bAcquired;
};
