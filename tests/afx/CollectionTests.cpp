// CList's node blocks and free pool (a list that empties gives its memory
// back) and the lifetime of its elements. The library's own lists show the
// order of their elements, never where their memory went.
#include <afxtempl.h>

#include <gtest/gtest.h>

#include <vector>

namespace {

// Looks at a list's node blocks and free pool from the inside.
template <class BASE>
class Probe : public BASE
{
public:
    using BASE::BASE;

    template <class LINK>
    static int Count(LINK p)
    {
        return p ? 1 + Count(p->pNext) : 0;
    }
    int BlockCount() const { return Count(this->m_pBlocks); }
    int FreeCount() const { return Count(this->m_pNodeFree); }
};

// Counts live instances, and can be told to fail when copied.
struct Counted
{
    static inline int s_live = 0;
    static inline bool s_failCopy = false;
    int value;

    Counted(int v = 0) : value(v) { ++s_live; }
    Counted(const Counted& other) : value(other.value)
    {
        if (s_failCopy)
            AfxThrowInvalidArgException();
        ++s_live;
    }
    ~Counted() { --s_live; }
};

std::vector<int> Values(CList<Counted, const Counted&>& list)
{
    std::vector<int> values;
    for (POSITION pos = list.GetHeadPosition(); pos != nullptr;)
        values.push_back(list.GetNext(pos).value);
    return values;
}

} // namespace

TEST(CListTest, NodesComeFromBlocksAndThePoolAndAllGoWhenTheListEmpties)
{
    Counted::s_live = 0;
    {
        Probe<CList<Counted, const Counted&>> list(3);
        POSITION first = list.AddTail(Counted(1));
        for (int i = 2; i <= 4; ++i)
            list.AddTail(Counted(i));
        EXPECT_EQ(2, list.BlockCount());
        EXPECT_EQ(2, list.FreeCount());
        EXPECT_EQ(4, Counted::s_live);

        // A removed node goes back to the pool and is the next one handed out.
        EXPECT_EQ(1, list.RemoveHead().value);
        EXPECT_EQ(3, list.FreeCount());
        EXPECT_EQ(first, list.AddTail(Counted(5)));
        list.RemoveAt(list.FindIndex(2));
        EXPECT_EQ((std::vector<int>{2, 3, 5}), Values(list));
        EXPECT_EQ(3, Counted::s_live);

        // A failed element copy leaves the list as it was, its node in the pool.
        Counted::s_failCopy = true;
        EXPECT_THROW(list.AddTail(Counted(6)), CInvalidArgException*);
        Counted::s_failCopy = false;
        EXPECT_EQ((std::vector<int>{2, 3, 5}), Values(list));
        EXPECT_EQ(3, list.FreeCount());

        // Blocks stay while any node lives, and all go with the last one.
        list.RemoveHead();
        list.RemoveAt(list.GetTailPosition());
        EXPECT_EQ(2, list.BlockCount());
        list.RemoveHead();
        EXPECT_EQ(0, list.BlockCount());
        EXPECT_EQ(0, list.FreeCount());
        EXPECT_EQ(0, Counted::s_live);
        list.AddTail(Counted(7));
        list.AddTail(Counted(8));
        list.RemoveAll();
        EXPECT_EQ(0, Counted::s_live);
        list.AddTail(Counted(9));
    }
    EXPECT_EQ(0, Counted::s_live) << "the list's destructor ends its elements";
}
