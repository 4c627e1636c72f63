// Node blocks of the list classes.
#include "afx.h"

#include <stdlib.h>

static_assert(sizeof(CPlex) % 16 == 0, "node data after the block header must stay 16-byte aligned");

CPlex* PASCAL CPlex::Create(CPlex*& pHead, UINT_PTR nMax, UINT_PTR cbElement)
{
    if (nMax == 0 || cbElement == 0 || nMax > (static_cast<UINT_PTR>(-1) - sizeof(CPlex)) / cbElement)
        AfxThrowInvalidArgException();
    CPlex* p = static_cast<CPlex*>(malloc(sizeof(CPlex) + nMax * cbElement));
    if (p == nullptr)
        AfxThrowMemoryException();
    p->pNext = pHead;
    p->pReserved = nullptr;
    pHead = p;
    return p;
}

void CPlex::FreeDataChain() noexcept
{
    CPlex* p = this;
    while (p != nullptr)
    {
        CPlex* pNext = p->pNext;
        free(p);
        p = pNext;
    }
}
