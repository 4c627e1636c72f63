// The framework's exceptions and the functions that throw them.
#include "afx.h"

#include <wchar.h>

IMPLEMENT_DYNAMIC(CException, CObject)
IMPLEMENT_DYNAMIC(CSimpleException, CException)
IMPLEMENT_DYNAMIC(CMemoryException, CSimpleException)
IMPLEMENT_DYNAMIC(CInvalidArgException, CSimpleException)
IMPLEMENT_DYNAMIC(CNotSupportedException, CSimpleException)
IMPLEMENT_DYNAMIC(COleException, CException)

namespace {

BOOL CopyMessage(LPCWSTR lpszMessage, LPWSTR lpszError, UINT nMaxError, PUINT pnHelpContext)
{
    if (pnHelpContext != nullptr)
        *pnHelpContext = 0;
    if (lpszError == nullptr || nMaxError == 0)
        return FALSE;
    lpszError[0] = L'\0';
    if (lpszMessage == nullptr)
        return FALSE;
    wcsncpy(lpszError, lpszMessage, nMaxError - 1);
    lpszError[nMaxError - 1] = L'\0';
    return TRUE;
}

} // namespace

CException::CException(BOOL bAutoDelete) : m_bAutoDelete(bAutoDelete)
{
}

void CException::Delete()
{
    if (m_bAutoDelete)
        delete this;
}

BOOL CException::GetErrorMessage(LPWSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const
{
    return CopyMessage(nullptr, lpszError, nMaxError, pnHelpContext);
}

CSimpleException::CSimpleException(BOOL bAutoDelete, LPCWSTR lpszMessage)
    : CException(bAutoDelete), m_lpszMessage(lpszMessage)
{
}

BOOL CSimpleException::GetErrorMessage(LPWSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const
{
    return CopyMessage(m_lpszMessage, lpszError, nMaxError, pnHelpContext);
}

CMemoryException::CMemoryException(BOOL bAutoDelete) : CSimpleException(bAutoDelete, L"Out of memory.")
{
}

CInvalidArgException::CInvalidArgException(BOOL bAutoDelete)
    : CSimpleException(bAutoDelete, L"Invalid argument.")
{
}

CNotSupportedException::CNotSupportedException(BOOL bAutoDelete)
    : CSimpleException(bAutoDelete, L"Unsupported operation.")
{
}

COleException::COleException() : m_sc(S_OK)
{
}

BOOL COleException::GetErrorMessage(LPWSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const
{
    if (pnHelpContext != nullptr)
        *pnHelpContext = 0;
    if (lpszError == nullptr || nMaxError == 0)
        return FALSE;
    DWORD n = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                             static_cast<DWORD>(m_sc), 0, lpszError, nMaxError, nullptr);
    if (n == 0)
        _snwprintf(lpszError, nMaxError, L"Error 0x%08lX.", static_cast<unsigned long>(m_sc));
    lpszError[nMaxError - 1] = L'\0';
    return TRUE;
}

SCODE PASCAL COleException::Process(const CException* pAnyException)
{
    if (pAnyException == nullptr)
        return E_UNEXPECTED;
    if (pAnyException->IsKindOf(RUNTIME_CLASS(COleException)))
        return static_cast<const COleException*>(pAnyException)->m_sc;
    if (pAnyException->IsKindOf(RUNTIME_CLASS(CMemoryException)))
        return E_OUTOFMEMORY;
    if (pAnyException->IsKindOf(RUNTIME_CLASS(CInvalidArgException)))
        return E_INVALIDARG;
    if (pAnyException->IsKindOf(RUNTIME_CLASS(CNotSupportedException)))
        return E_NOTIMPL;
    return E_UNEXPECTED;
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
