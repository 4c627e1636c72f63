// Counting blocks of the COM task allocator (the shell's allocator for item
// identifier lists and strings) that are still outstanding, through an
// IMallocSpy registered once for the life of the test process.
//
// Typical use: derive the test fixture from TaskMemCheckedTest, which fails a
// test that ends with blocks allocated during it and not freed. Warm the shell
// up before the first check (the shell keeps a few blocks of its own for the
// life of the process, allocated on first use).
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

namespace testing_support {

class TaskMemSpy
{
public:
    // The spy, registered with CoRegisterMallocSpy on first use.
    static TaskMemSpy& Instance();

    // False when the registration failed (another spy is registered).
    bool IsRegistered() const { return m_bRegistered; }

    // A mark before the next allocation; OutstandingSince counts the blocks
    // allocated after the mark that are still not freed.
    unsigned long long Mark() const;
    size_t OutstandingSince(unsigned long long mark) const;

    // Makes the next nCount non-empty allocations of the task allocator fail.
    void FailNextAllocations(int nCount);

private:
    TaskMemSpy();
    bool m_bRegistered = false;
};

// A fixture that fails a test leaving task-allocator blocks behind.
class TaskMemCheckedTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    // Blocks allocated since SetUp and still outstanding.
    size_t Outstanding() const { return TaskMemSpy::Instance().OutstandingSince(m_mark); }

private:
    unsigned long long m_mark = 0;
};

} // namespace testing_support
