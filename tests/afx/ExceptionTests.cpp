// The framework's exceptions are thrown by pointer to their own class (code
// catches the class it expects), and Delete() frees only those made for the
// throw: the ones thrown when memory or arguments fail are static.
#include <afxwin.h>

#include <gtest/gtest.h>

TEST(ExceptionTest, EachIsCaughtAsItsClassAndOnlyTheNewOnesAreFreed)
{
    EXPECT_THROW(AfxThrowMemoryException(), CMemoryException*);
    // Out of memory is reported as the memory exception, as the framework does.
    EXPECT_THROW(AfxThrowOleException(E_OUTOFMEMORY), CMemoryException*);
    EXPECT_THROW(AfxThrowInvalidArgException(), CInvalidArgException*);
    EXPECT_THROW(AfxThrowNotSupportedException(), CNotSupportedException*);

    const struct { const char* name; void (*throwIt)(); bool bStatic; } rows[] = {
        {"memory", [] { AfxThrowMemoryException(); }, true},
        {"OLE memory", [] { AfxThrowOleException(E_OUTOFMEMORY); }, true},
        {"argument", [] { AfxThrowInvalidArgException(); }, true},
        {"not supported", [] { AfxThrowNotSupportedException(); }, true},
        {"OLE", [] { AfxThrowOleException(E_FAIL); }, false}};
    for (const auto& r : rows)
    {
        SCOPED_TRACE(r.name);
        CException* pCaught[2] = {};
        for (CException*& pException : pCaught)
        {
            try
            {
                r.throwIt();
            }
            catch (CException* e)
            {
                pException = e;
            }
            ASSERT_NE(nullptr, pException);
            EXPECT_EQ(!r.bStatic, pException->m_bAutoDelete != FALSE);
            pException->Delete();
        }
        EXPECT_TRUE(!r.bStatic || pCaught[0] == pCaught[1]) << "the same object, not freed by Delete()";
    }
}
