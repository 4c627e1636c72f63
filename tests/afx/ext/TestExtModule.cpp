#include "TestExtModule.h"

namespace {

AFX_EXTENSION_MODULE g_testExtModule = {};

} // namespace

IMPLEMENT_DYNCREATE(CTestExtShape, CObject)
IMPLEMENT_DYNCREATE(CTestExtCircle, CTestExtShape)
IMPLEMENT_DYNAMIC(CTestExtAbstract, CCmdTarget)

LPCWSTR CTestExtShape::Describe() const
{
    return L"shape";
}

LPCWSTR CTestExtCircle::Describe() const
{
    return L"circle";
}

AFX_EXTENSION_MODULE& TestExtModuleRecord()
{
    return g_testExtModule;
}

CDynLinkLibrary* TestExtLink()
{
    return new CDynLinkLibrary(g_testExtModule);
}

extern "C" BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD dwReason, LPVOID /*pReserved*/)
{
    if (dwReason == DLL_PROCESS_ATTACH)
        return AfxInitExtensionModule(g_testExtModule, hInstance);
    if (dwReason == DLL_PROCESS_DETACH)
        AfxTermExtensionModule(g_testExtModule);
    return TRUE;
}
