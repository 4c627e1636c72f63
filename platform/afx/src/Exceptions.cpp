// The framework's exceptions and the functions that throw them.
#include "afx.h"

IMPLEMENT_DYNAMIC(CException, CObject)
IMPLEMENT_DYNAMIC(CSimpleException, CException)
IMPLEMENT_DYNAMIC(CMemoryException, CSimpleException)
IMPLEMENT_DYNAMIC(CInvalidArgException, CSimpleException)
IMPLEMENT_DYNAMIC(CNotSupportedException, CSimpleException)
IMPLEMENT_DYNAMIC(COleException, CException)

CException::CException(BOOL bAutoDelete) : m_bAutoDelete(bAutoDelete)
{
}

void CException::Delete()
{
    if (m_bAutoDelete)
        delete this;
}

CSimpleException::CSimpleException(BOOL bAutoDelete) : CException(bAutoDelete)
{
}

CMemoryException::CMemoryException(BOOL bAutoDelete) : CSimpleException(bAutoDelete)
{
}

CInvalidArgException::CInvalidArgException(BOOL bAutoDelete) : CSimpleException(bAutoDelete)
{
}

CNotSupportedException::CNotSupportedException(BOOL bAutoDelete) : CSimpleException(bAutoDelete)
{
}

COleException::COleException() : m_sc(S_OK)
{
}

// Thrown when memory ran out, so they must not need memory themselves: static
// instances that Delete() leaves alone.
void AFXAPI AfxThrowMemoryException()
{
    static CMemoryException s_memoryException(FALSE);
    throw &s_memoryException;
}

void AFXAPI AfxThrowInvalidArgException()
{
    static CInvalidArgException s_invalidArgException(FALSE);
    throw &s_invalidArgException;
}

void AFXAPI AfxThrowNotSupportedException()
{
    static CNotSupportedException s_notSupportedException(FALSE);
    throw &s_notSupportedException;
}

void AFXAPI AfxThrowOleException(SCODE sc)
{
    if (sc == E_OUTOFMEMORY)
        AfxThrowMemoryException();
    COleException* pException = new COleException;
    pException->m_sc = sc;
    throw pException;
}
