// The framework's exceptions are thrown by pointer to their own class (code
// catches the class it expects), and Delete() frees only those made for the
// throw: the ones thrown when memory or arguments fail are static.
#include <afxwin.h>

#include <gtest/gtest.h>

// What the row's statement throws, caught as the class it must be thrown as.
#define CATCHING(Class, statement) \
    []() -> CException* { try { statement; } catch (Class* e) { return e; } return nullptr; }

TEST(ExceptionTest, EachIsCaughtAsItsClassAndOnlyTheNewOnesAreFreed)
{
    const struct { const char* name; CException* (*caught)(); bool bStatic; } rows[] = {
        {"memory", CATCHING(CMemoryException, AfxThrowMemoryException()), true},
        // Out of memory is reported as the memory exception, as the framework does.
        {"OLE memory", CATCHING(CMemoryException, AfxThrowOleException(E_OUTOFMEMORY)), true},
        {"argument", CATCHING(CInvalidArgException, AfxThrowInvalidArgException()), true},
        {"not supported", CATCHING(CNotSupportedException, AfxThrowNotSupportedException()), true},
        {"OLE", CATCHING(COleException, AfxThrowOleException(E_FAIL)), false}};
    for (const auto& r : rows)
    {
        SCOPED_TRACE(r.name);
        CException* pCaught[2] = {};
        for (CException*& pException : pCaught)
        {
            ASSERT_NE(nullptr, pException = r.caught());
            EXPECT_EQ(!r.bStatic, pException->m_bAutoDelete != FALSE);
            pException->Delete();
        }
        EXPECT_TRUE(!r.bStatic || pCaught[0] == pCaught[1]) << "the same object, not freed by Delete()";
    }
}
