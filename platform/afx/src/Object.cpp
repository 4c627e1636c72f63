// CObject and run-time class records.
#include "afx.h"

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
