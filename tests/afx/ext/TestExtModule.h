// A small extension module for the framework tests: run-time classes exported
// from a DLL other than the framework, and its own place in the chain.
#pragma once

#include <afxwin.h>
#include <afxdllx.h>

#ifdef AFX_TEST_EXT_BUILD
#define AFX_TEST_EXT_API __declspec(dllexport)
#else
#define AFX_TEST_EXT_API __declspec(dllimport)
#endif

class AFX_TEST_EXT_API CTestExtShape : public CObject
{
    DECLARE_DYNCREATE(CTestExtShape)
public:
    CTestExtShape() = default;
    virtual LPCWSTR Describe() const;
};

class AFX_TEST_EXT_API CTestExtCircle : public CTestExtShape
{
    DECLARE_DYNCREATE(CTestExtCircle)
protected:
    CTestExtCircle() = default;

public:
    LPCWSTR Describe() const override;
    int m_nRadius = 7;
};

// Known at run time but not creatable.
class AFX_TEST_EXT_API CTestExtAbstract : public CCmdTarget
{
    DECLARE_DYNAMIC(CTestExtAbstract)
public:
    virtual void Draw() = 0;
};

// The module's extension record, initialised by its DllMain.
AFX_TEST_EXT_API AFX_EXTENSION_MODULE& TestExtModuleRecord();
// Adds a chain entry for the module (as a module does once its resources are ready).
AFX_TEST_EXT_API CDynLinkLibrary* TestExtLink();
