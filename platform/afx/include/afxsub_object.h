// Framework subset: the root class CObject and run-time class information
// (CRuntimeClass and the DECLARE_/IMPLEMENT_DYNAMIC and _DYNCREATE macros).
#pragma once

#include "afxsub_base.h"

class CObject;

// One constant record per class that uses the run-time class macros. The base
// class is reached through a function of the derived class rather than through
// its address, so that the record stays a link-time constant even when the
// base class lives in another DLL (its data would be imported).
struct AFX_API CRuntimeClass
{
    LPCSTR m_lpszClassName;
    int m_nObjectSize;
    UINT m_wSchema;                          // 0xFFFF when not serializable
    CObject* (PASCAL* m_pfnCreateObject)();  // null when not creatable
    CRuntimeClass* (PASCAL* m_pfnGetBaseClass)();
    CRuntimeClass* m_pNextClass;             // unused; kept for layout familiarity

    BOOL IsDerivedFrom(const CRuntimeClass* pBaseClass) const;
    CRuntimeClass* GetBaseClass() const;
};

#define _RUNTIME_CLASS(class_name) (const_cast<CRuntimeClass*>(&class_name::class##class_name))
#define RUNTIME_CLASS(class_name) (class_name::GetThisClass())

#define DECLARE_DYNAMIC(class_name) \
protected: \
    static CRuntimeClass* PASCAL _GetBaseClass(); \
public: \
    static const CRuntimeClass class##class_name; \
    static CRuntimeClass* PASCAL GetThisClass(); \
    virtual CRuntimeClass* GetRuntimeClass() const override;

#define DECLARE_DYNCREATE(class_name) \
    DECLARE_DYNAMIC(class_name) \
    static CObject* PASCAL CreateObject();

#define IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, wSchema, pfnNew) \
    CRuntimeClass* PASCAL class_name::_GetBaseClass() { return RUNTIME_CLASS(base_class_name); } \
    const CRuntimeClass class_name::class##class_name = { \
        #class_name, static_cast<int>(sizeof(class class_name)), wSchema, pfnNew, \
        &class_name::_GetBaseClass, nullptr}; \
    CRuntimeClass* PASCAL class_name::GetThisClass() { return _RUNTIME_CLASS(class_name); } \
    CRuntimeClass* class_name::GetRuntimeClass() const { return _RUNTIME_CLASS(class_name); }

#define IMPLEMENT_DYNAMIC(class_name, base_class_name) \
    IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, 0xFFFF, nullptr)

#define IMPLEMENT_DYNCREATE(class_name, base_class_name) \
    CObject* PASCAL class_name::CreateObject() { return new class_name; } \
    IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, 0xFFFF, class_name::CreateObject)

// The root of the framework's classes. Not copyable, as in the framework:
// derived classes that want copies define their own copy operations.
class AFX_API CObject
{
public:
    static const CRuntimeClass classCObject;
    static CRuntimeClass* PASCAL GetThisClass();
    virtual CRuntimeClass* GetRuntimeClass() const;
    virtual ~CObject() = default;

    BOOL IsKindOf(const CRuntimeClass* pClass) const;

    // Objects come from the C heap, like every other allocation of the
    // framework, so that any module may delete what another created; running
    // out of memory throws CMemoryException* rather than std::bad_alloc.
    static void* PASCAL operator new(size_t nSize);
    static void* PASCAL operator new(size_t nSize, const std::nothrow_t&) noexcept;
    static void PASCAL operator delete(void* p);
    static void PASCAL operator delete(void* p, const std::nothrow_t&) noexcept;

protected:
    CObject() = default;

public:
    CObject(const CObject&) = delete;
    CObject& operator=(const CObject&) = delete;
};
