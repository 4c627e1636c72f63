#include "MallocSpy.h"

#include <objbase.h>

#include <algorithm>
#include <mutex>
#include <unordered_map>

namespace testing_support {

namespace {

// Remembers every block allocated while it is registered, with the sequence
// number of its allocation, until the block is freed. The allocator calls the
// spy under its own lock, but tests may also read from other threads.
struct CountingSpy : IMallocSpy
{
    // IUnknown: the spy lives as long as the process.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override
    {
        *ppv = riid == IID_IUnknown || riid == IID_IMallocSpy ? static_cast<IMallocSpy*>(this) : nullptr;
        return *ppv ? S_OK : E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    SIZE_T STDMETHODCALLTYPE PreAlloc(SIZE_T cbRequest) override
    {
        std::lock_guard<std::mutex> hold(m_lock);
        const bool bFail = cbRequest != 0 && m_nFailures > 0;
        m_nFailures -= bFail ? 1 : 0;
        return bFail ? 0 : cbRequest;
    }
    void* STDMETHODCALLTYPE PostAlloc(void* pActual) override { return Add(pActual); }
    void* STDMETHODCALLTYPE PreFree(void* pRequest, BOOL fSpyed) override { return fSpyed ? Remove(pRequest) : pRequest; }
    void STDMETHODCALLTYPE PostFree(BOOL) override {}
    SIZE_T STDMETHODCALLTYPE PreRealloc(void* pRequest, SIZE_T cbRequest, void** ppNewRequest,
                                        BOOL fSpyed) override
    {
        *ppNewRequest = fSpyed ? Remove(pRequest) : pRequest;
        return cbRequest;
    }
    void* STDMETHODCALLTYPE PostRealloc(void* pActual, BOOL) override { return Add(pActual); }
    void* STDMETHODCALLTYPE PreGetSize(void* pRequest, BOOL) override { return pRequest; }
    SIZE_T STDMETHODCALLTYPE PostGetSize(SIZE_T cbActual, BOOL) override { return cbActual; }
    void* STDMETHODCALLTYPE PreDidAlloc(void* pRequest, BOOL) override { return pRequest; }
    int STDMETHODCALLTYPE PostDidAlloc(void*, BOOL, int fActual) override { return fActual; }
    void STDMETHODCALLTYPE PreHeapMinimize() override {}
    void STDMETHODCALLTYPE PostHeapMinimize() override {}

    void* Add(void* p)
    {
        std::lock_guard<std::mutex> hold(m_lock);
        if (p)
            m_live[p] = m_sequence++;
        return p;
    }
    void* Remove(void* p)
    {
        std::lock_guard<std::mutex> hold(m_lock);
        m_live.erase(p);
        return p;
    }

    std::mutex m_lock;
    std::unordered_map<void*, unsigned long long> m_live;
    unsigned long long m_sequence = 0;
    int m_nFailures = 0;
};

// Never destroyed: the allocator may call it until the process ends.
CountingSpy& Spy()
{
    static CountingSpy* spy = new CountingSpy;
    return *spy;
}

} // namespace

TaskMemSpy::TaskMemSpy() : m_bRegistered(SUCCEEDED(CoRegisterMallocSpy(&Spy())))
{
}

TaskMemSpy& TaskMemSpy::Instance()
{
    static TaskMemSpy instance;
    return instance;
}

unsigned long long TaskMemSpy::Mark() const
{
    std::lock_guard<std::mutex> hold(Spy().m_lock);
    return Spy().m_sequence;
}

size_t TaskMemSpy::OutstandingSince(unsigned long long mark) const
{
    std::lock_guard<std::mutex> hold(Spy().m_lock);
    return std::count_if(Spy().m_live.begin(), Spy().m_live.end(), [=](const auto& block) { return block.second >= mark; });
}

void TaskMemSpy::FailNextAllocations(int nCount)
{
    std::lock_guard<std::mutex> hold(Spy().m_lock);
    Spy().m_nFailures = nCount;
}

void TaskMemCheckedTest::SetUp()
{
    ASSERT_TRUE(TaskMemSpy::Instance().IsRegistered()) << "CoRegisterMallocSpy failed";
    m_mark = TaskMemSpy::Instance().Mark();
}

void TaskMemCheckedTest::TearDown()
{
    TaskMemSpy::Instance().FailNextAllocations(0);
    EXPECT_EQ(0u, Outstanding()) << "task-allocator blocks left outstanding by the test";
}

} // namespace testing_support
