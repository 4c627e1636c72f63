// Framework subset: exceptions. They are thrown by pointer, as the framework
// throws them, and the catcher disposes of them with Delete():
//     catch (CException* e) { ...; e->Delete(); }
#pragma once

#include "afxsub_object.h"

class AFX_API CException : public CObject
{
    DECLARE_DYNAMIC(CException)
public:
    // bAutoDelete: whether Delete() frees the object (false for the static
    // instances thrown when memory or arguments fail).
    explicit CException(BOOL bAutoDelete = TRUE);

    // Frees the exception unless it is one of the framework's static ones.
    void Delete();

    BOOL m_bAutoDelete;
};

class AFX_API CSimpleException : public CException
{
    DECLARE_DYNAMIC(CSimpleException)
public:
    explicit CSimpleException(BOOL bAutoDelete = TRUE);
};

class AFX_API CMemoryException : public CSimpleException
{
    DECLARE_DYNAMIC(CMemoryException)
public:
    explicit CMemoryException(BOOL bAutoDelete = TRUE);
};

class AFX_API CInvalidArgException : public CSimpleException
{
    DECLARE_DYNAMIC(CInvalidArgException)
public:
    explicit CInvalidArgException(BOOL bAutoDelete = TRUE);
};

// Thrown by dialog data exchange for a control that is missing or taken.
class AFX_API CNotSupportedException : public CSimpleException
{
    DECLARE_DYNAMIC(CNotSupportedException)
public:
    explicit CNotSupportedException(BOOL bAutoDelete = TRUE);
};

// An OLE/COM failure code.
class AFX_API COleException : public CException
{
    DECLARE_DYNAMIC(COleException)
public:
    COleException();

    SCODE m_sc;
};

// Throw the framework's static memory exception (never freed by Delete()).
[[noreturn]] AFX_API void AFXAPI AfxThrowMemoryException();
// Throws a new COleException carrying sc; E_OUTOFMEMORY throws the memory
// exception instead, as the framework does.
[[noreturn]] AFX_API void AFXAPI AfxThrowOleException(SCODE sc);
[[noreturn]] AFX_API void AFXAPI AfxThrowNotSupportedException();
