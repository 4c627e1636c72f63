// Framework subset: synchronisation objects. Each owns its kernel handle
// (closed by the destructor).
#pragma once

#include "afxsub_app.h"

class AFX_API CSyncObject : public CObject
{
    DECLARE_DYNAMIC(CSyncObject)
public:
    ~CSyncObject() override;

    HANDLE m_hObject;

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
};
