// Run-time classes across DLLs (framework, extension module, test program) and
// the framework's pointer-thrown exceptions.
#include <afxwin.h>

#include "TestExtModule.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class CLocalTarget : public CCmdTarget
{
    DECLARE_DYNCREATE(CLocalTarget)
};

} // namespace

IMPLEMENT_DYNCREATE(CLocalTarget, CCmdTarget)

TEST(RuntimeClassTest, ClassesOfAnotherModuleAreCreatedAndRecognised)
{
    CRuntimeClass* pClass = RUNTIME_CLASS(CTestExtCircle);
    EXPECT_STREQ("CTestExtCircle", pClass->m_lpszClassName);
    EXPECT_EQ(static_cast<int>(sizeof(CTestExtCircle)), pClass->m_nObjectSize);
    EXPECT_EQ(RUNTIME_CLASS(CTestExtShape), pClass->GetBaseClass());
    EXPECT_EQ(RUNTIME_CLASS(CObject), RUNTIME_CLASS(CTestExtShape)->GetBaseClass());
    EXPECT_EQ(nullptr, RUNTIME_CLASS(CObject)->GetBaseClass());

    std::unique_ptr<CObject> object(pClass->m_pfnCreateObject());
    ASSERT_NE(nullptr, object);
    EXPECT_EQ(pClass, object->GetRuntimeClass());
    EXPECT_TRUE(object->IsKindOf(RUNTIME_CLASS(CTestExtShape)));
    EXPECT_TRUE(object->IsKindOf(RUNTIME_CLASS(CObject)));
    EXPECT_FALSE(object->IsKindOf(RUNTIME_CLASS(CCmdTarget)));
    EXPECT_FALSE(object->IsKindOf(nullptr));
    auto* pCircle = static_cast<CTestExtCircle*>(object.get());
    EXPECT_STREQ(L"circle", pCircle->Describe());
    EXPECT_EQ(7, pCircle->m_nRadius);

    std::unique_ptr<CObject> shape(RUNTIME_CLASS(CTestExtShape)->m_pfnCreateObject());
    ASSERT_NE(nullptr, shape);
    EXPECT_FALSE(shape->IsKindOf(RUNTIME_CLASS(CTestExtCircle)));

    // Objects made in this program are freed by the framework's delete, and
    // the forms of new that code written for the framework uses still work.
    std::unique_ptr<CTestExtShape> direct(new (std::nothrow) CTestExtShape);
    ASSERT_NE(nullptr, direct);
    EXPECT_STREQ(L"shape", direct->Describe());
}

TEST(RuntimeClassTest, OnlyDynCreateClassesHaveACreatorAndAncestryCrossesModules)
{
    CRuntimeClass* pAbstract = RUNTIME_CLASS(CTestExtAbstract);
    EXPECT_EQ(nullptr, pAbstract->m_pfnCreateObject);
    EXPECT_TRUE(pAbstract->IsDerivedFrom(RUNTIME_CLASS(CCmdTarget)));
    EXPECT_EQ(nullptr, RUNTIME_CLASS(CObject)->m_pfnCreateObject);

    std::unique_ptr<CObject> local(RUNTIME_CLASS(CLocalTarget)->m_pfnCreateObject());
    ASSERT_NE(nullptr, local);
    EXPECT_EQ(RUNTIME_CLASS(CLocalTarget), local->GetRuntimeClass());
    EXPECT_TRUE(local->IsKindOf(RUNTIME_CLASS(CCmdTarget)));

    EXPECT_TRUE(RUNTIME_CLASS(CWinApp)->IsDerivedFrom(RUNTIME_CLASS(CWinThread)));
    EXPECT_TRUE(RUNTIME_CLASS(CDynLinkLibrary)->IsDerivedFrom(RUNTIME_CLASS(CCmdTarget)));
    EXPECT_TRUE(RUNTIME_CLASS(CMemoryException)->IsDerivedFrom(RUNTIME_CLASS(CException)));
    EXPECT_FALSE(RUNTIME_CLASS(CException)->IsDerivedFrom(RUNTIME_CLASS(CMemoryException)));
}

TEST(ExceptionTest, MemoryExceptionIsStaticOthersCarryTheirCodes)
{
    CException* pFirst = nullptr;
    try
    {
        AfxThrowMemoryException();
    }
    catch (CException* e)
    {
        EXPECT_TRUE(e->IsKindOf(RUNTIME_CLASS(CMemoryException)));
        EXPECT_FALSE(e->m_bAutoDelete);
        pFirst = e;
        e->Delete();
    }
    try
    {
        AfxThrowMemoryException();
    }
    catch (CMemoryException* e)
    {
        EXPECT_EQ(pFirst, e);  // the same object, not freed by Delete()
        e->Delete();
    }

    try
    {
        AfxThrowOleException(E_FAIL);
        FAIL() << "nothing thrown";
    }
    catch (COleException* e)
    {
        EXPECT_EQ(E_FAIL, e->m_sc);
        EXPECT_TRUE(e->m_bAutoDelete);
        e->Delete();
    }
    // Out of memory is reported as the memory exception, as the framework does.
    EXPECT_THROW(AfxThrowOleException(E_OUTOFMEMORY), CMemoryException*);
    try
    {
        AfxThrowInvalidArgException();
    }
    catch (CException* e)
    {
        EXPECT_TRUE(e->IsKindOf(RUNTIME_CLASS(CInvalidArgException)));
        e->Delete();
    }
}
