// CObject, run-time class records and the diagnostic helpers.
#include "afx.h"

#include <stdio.h>
#include <stdlib.h>

const CRuntimeClass CObject::classCObject = {"CObject", static_cast<int>(sizeof(CObject)), 0xFFFF, nullptr,
                                             nullptr, nullptr};

CRuntimeClass* PASCAL CObject::GetThisClass()
{
    return const_cast<CRuntimeClass*>(&classCObject);
}

CRuntimeClass* CObject::GetRuntimeClass() const
{
    return GetThisClass();
}

BOOL CObject::IsKindOf(const CRuntimeClass* pClass) const
{
    return GetRuntimeClass()->IsDerivedFrom(pClass);
}

BOOL CObject::IsSerializable() const
{
    return GetRuntimeClass()->m_wSchema != 0xFFFF;
}

void* PASCAL CObject::operator new(size_t nSize)
{
    void* p = malloc(nSize != 0 ? nSize : 1);
    if (p == nullptr)
        AfxThrowMemoryException();
    return p;
}

void* PASCAL CObject::operator new(size_t nSize, const std::nothrow_t&) noexcept
{
    return malloc(nSize != 0 ? nSize : 1);
}

void PASCAL CObject::operator delete(void* p)
{
    free(p);
}

void PASCAL CObject::operator delete(void* p, const std::nothrow_t&) noexcept
{
    free(p);
}

CRuntimeClass* CRuntimeClass::GetBaseClass() const
{
    return m_pfnGetBaseClass != nullptr ? m_pfnGetBaseClass() : nullptr;
}

BOOL CRuntimeClass::IsDerivedFrom(const CRuntimeClass* pBaseClass) const
{
    if (pBaseClass == nullptr)
        return FALSE;
    // Each record exists once in the process (in the module that implements
    // the class), so identity decides.
    for (const CRuntimeClass* pClass = this; pClass != nullptr; pClass = pClass->GetBaseClass())
    {
        if (pClass == pBaseClass)
            return TRUE;
    }
    return FALSE;
}

CObject* CRuntimeClass::CreateObject()
{
    if (m_pfnCreateObject == nullptr)
        return nullptr;
    try
    {
        return m_pfnCreateObject();
    }
    catch (CException* e)
    {
        e->Delete();
        return nullptr;
    }
}

void AFXAPI AfxAssertFailedLine(const char* lpszFileName, int nLine)
{
    char text[512];
    snprintf(text, sizeof(text), "Assertion failed: %s(%d)\n", lpszFileName, nLine);
    OutputDebugStringA(text);
    fputs(text, stderr);
    if (IsDebuggerPresent())
        DebugBreak();
}

void AFX_CDECL AfxTrace(LPCWSTR lpszFormat, ...)
{
    wchar_t text[1024];
    va_list args;
    va_start(args, lpszFormat);
    _vsnwprintf(text, _countof(text) - 1, lpszFormat, args);
    va_end(args);
    text[_countof(text) - 1] = L'\0';
    OutputDebugStringW(text);
}
