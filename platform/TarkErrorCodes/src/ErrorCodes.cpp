#include "TarkErrorCodes.h"

#include <wchar.h>
#include <new>

namespace {

wchar_t* DuplicateText(const wchar_t* psz)
{
    if (psz == nullptr)
        return nullptr;
    size_t n = wcslen(psz) + 1;
    wchar_t* copy = new (std::nothrow) wchar_t[n];
    if (copy != nullptr)
        wmemcpy(copy, psz, n);
    return copy;
}

} // namespace

CZException::CZException(ZarnErrorCode code, const wchar_t* pszText, bool bReport, bool bLog,
                         const wchar_t* pszFile, int nLine)
    : m_nRefs(1), m_code(code), m_pszText(DuplicateText(pszText)),
      m_pszFile(DuplicateText(pszFile)), m_nLine(nLine), m_bReport(bReport), m_bLog(bLog)
{
}

CZException::CZException(const CZException& other)
    : m_nRefs(1), m_code(other.m_code), m_pszText(DuplicateText(other.m_pszText)),
      m_pszFile(DuplicateText(other.m_pszFile)), m_nLine(other.m_nLine),
      m_bReport(other.m_bReport), m_bLog(other.m_bLog)
{
}

CZException::~CZException()
{
    delete[] m_pszText;
    delete[] m_pszFile;
}

void CZException::AddRef()
{
    InterlockedIncrement(&m_nRefs);
}

unsigned long CZException::Release()
{
    LONG remaining = InterlockedDecrement(&m_nRefs);
    if (remaining == 0)
        delete this;
    return static_cast<unsigned long>(remaining);
}

CErrorAutoThrow::CErrorAutoThrow(const CZException& error)
    : m_pException(new CZException(error))
{
}

CErrorAutoThrow::CErrorAutoThrow(const CErrorAutoThrow& other) noexcept
    : m_pException(other.m_pException)
{
    if (m_pException != nullptr)
        m_pException->AddRef();
}

CErrorAutoThrow& CErrorAutoThrow::operator=(const CErrorAutoThrow& other) noexcept
{
    // Take the new reference before dropping the old one: self-assignment safe.
    if (other.m_pException != nullptr)
        other.m_pException->AddRef();
    CZException* old = m_pException;
    m_pException = other.m_pException;
    if (old != nullptr)
        old->Release();
    return *this;
}

CErrorAutoThrow::~CErrorAutoThrow()
{
    ClearError();
}

void CErrorAutoThrow::SetError(ZarnErrorCode code, const wchar_t* pszText, const wchar_t* pszFile,
                               int nLine)
{
    CZException* error = new CZException(code, pszText, false, false, pszFile, nLine);
    ClearError();
    m_pException = error;
}

void CErrorAutoThrow::ClearError() noexcept
{
    if (m_pException != nullptr)
    {
        m_pException->Release();
        m_pException = nullptr;
    }
}

ZarnErrorCode CErrorAutoThrow::GetErrorCode() const noexcept
{
    return m_pException ? m_pException->GetErrorCode() : ZEC_NO_ERROR;
}
