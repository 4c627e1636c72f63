// CList node blocks and free pool, list order and misuse, CStringList, CArray growth.
#include <afxtempl.h>

#include "AfxTestPrint.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Looks at a list's node blocks and free pool from the inside.
template <class BASE>
class Probe : public BASE
{
public:
    using BASE::BASE;

    int BlockCount() const
    {
        int n = 0;
        for (CPlex* p = this->m_pBlocks; p != nullptr; p = p->pNext)
            ++n;
        return n;
    }

    int FreeCount() const
    {
        int n = 0;
        for (auto* p = this->m_pNodeFree; p != nullptr; p = p->pNext)
            ++n;
        return n;
    }
};

// Counts live instances, and can be told to fail when copied.
struct Counted
{
    static int s_live;
    static bool s_failCopy;
    int value;

    Counted(int v = 0) : value(v) { ++s_live; }
    Counted(const Counted& other) : value(other.value)
    {
        if (s_failCopy)
            AfxThrowInvalidArgException();
        ++s_live;
    }
    Counted& operator=(const Counted&) = default;
    ~Counted() { --s_live; }
    bool operator==(const Counted& other) const { return value == other.value; }
};
int Counted::s_live = 0;
bool Counted::s_failCopy = false;

// The values head to tail, then (to check the back links) tail to head reversed.
template <class LIST>
std::vector<int> Values(LIST& list)
{
    std::vector<int> forward;
    std::vector<int> backward;
    for (POSITION pos = list.GetHeadPosition(); pos != nullptr;)
        forward.push_back(list.GetNext(pos));
    for (POSITION pos = list.GetTailPosition(); pos != nullptr;)
        backward.insert(backward.begin(), list.GetPrev(pos));
    EXPECT_EQ(forward, backward) << "the links disagree";
    return forward;
}

} // namespace

TEST(CListTest, NodesComeFromBlocksAndThePoolAndAllGoWhenTheListEmpties)
{
    Probe<CList<int, int>> list(3);
    EXPECT_EQ(0, list.BlockCount());
    POSITION first = list.AddTail(1);
    list.AddTail(2);
    list.AddTail(3);
    EXPECT_EQ(1, list.BlockCount());
    EXPECT_EQ(0, list.FreeCount());
    list.AddTail(4);
    EXPECT_EQ(2, list.BlockCount());
    EXPECT_EQ(2, list.FreeCount());

    // A removed node goes back to the pool and is the next one handed out.
    EXPECT_EQ(1, list.RemoveHead());
    EXPECT_EQ(3, list.FreeCount());
    EXPECT_EQ(first, list.AddTail(5));
    EXPECT_EQ(2, list.BlockCount());
    EXPECT_EQ((std::vector<int>{2, 3, 4, 5}), Values(list));

    // Blocks stay while any node lives, and all go with the last one.
    while (list.GetCount() > 1)
        list.RemoveHead();
    EXPECT_EQ(2, list.BlockCount());
    list.RemoveAt(list.GetHeadPosition());
    EXPECT_EQ(0, list.BlockCount());
    EXPECT_EQ(0, list.FreeCount());
    list.AddHead(9);
    EXPECT_EQ(1, list.BlockCount());
    EXPECT_EQ(9, list.GetHead());
}

TEST(CListTest, ElementsLiveExactlyAsLongAsTheirNodes)
{
    Counted::s_live = 0;
    {
        CList<Counted, const Counted&> list(4);
        for (int i = 0; i < 10; ++i)
            list.AddTail(Counted(i));
        EXPECT_EQ(10, Counted::s_live);
        Counted head = list.RemoveHead();
        EXPECT_EQ(0, head.value);
        EXPECT_EQ(10, Counted::s_live); // nine in the list and the copy
        list.RemoveAt(list.GetTailPosition());
        list.RemoveAt(list.FindIndex(3));
        EXPECT_EQ(8, Counted::s_live);
        list.RemoveAll();
        EXPECT_EQ(1, Counted::s_live);
        list.AddTail(Counted(42));
    }
    EXPECT_EQ(0, Counted::s_live);

    // A failed element copy leaves the list as it was, its node back in the pool.
    Probe<CList<Counted, const Counted&>> list(2);
    list.AddTail(Counted(1));
    Counted value(2);
    Counted::s_failCopy = true;
    EXPECT_THROW(list.AddTail(value), CInvalidArgException*);
    Counted::s_failCopy = false;
    EXPECT_EQ(1, list.GetCount());
    EXPECT_EQ(1, list.FreeCount());
    list.AddTail(value);
    EXPECT_EQ(2, list.GetAt(list.GetTailPosition()).value);
}

TEST(CListTest, OrderIndexJoinAndMisuse)
{
    CList<int, int> list;
    list.AddTail(2);
    list.AddHead(1);
    list.AddTail(3);
    list.AddHead(0);
    list.AddTail(4);
    EXPECT_EQ((std::vector<int>{0, 1, 2, 3, 4}), Values(list));
    EXPECT_EQ(5, list.GetCount());
    EXPECT_EQ(3, list.GetAt(list.FindIndex(3)));
    EXPECT_EQ(nullptr, list.FindIndex(5));
    EXPECT_EQ(nullptr, list.FindIndex(-1));
    list.RemoveAt(list.FindIndex(2));
    list.RemoveAt(list.GetTailPosition());
    list.RemoveAt(list.GetHeadPosition());
    EXPECT_EQ((std::vector<int>{1, 3}), Values(list));

    // A whole list joins at the tail in its order and stays as it was.
    CList<int, int> joined;
    joined.AddTail(5);
    joined.AddTail(&list);
    EXPECT_EQ((std::vector<int>{5, 1, 3}), Values(joined));
    EXPECT_EQ(2, list.GetCount());

    CList<int, int> empty;
    EXPECT_THROW(empty.RemoveHead(), CInvalidArgException*);
    EXPECT_THROW(empty.GetHead(), CInvalidArgException*);
    POSITION none = nullptr;
    EXPECT_THROW(empty.GetNext(none), CInvalidArgException*);
    EXPECT_THROW(empty.RemoveAt(none), CInvalidArgException*);
    empty.AddTail(1);
    EXPECT_EQ(1, empty.RemoveHead());
}

TEST(CStringListTest, HoldsStringsInBlocksOfTen)
{
    Probe<CStringList> list;
    for (int i = 0; i < 10; ++i)
    {
        CString s;
        s.Format(L"item %d", i);
        list.AddTail(s);
    }
    EXPECT_EQ(1, list.BlockCount());
    list.AddTail(L"eleventh");
    EXPECT_EQ(2, list.BlockCount());
    EXPECT_EQ(CString(L"item 3"), list.GetAt(list.FindIndex(3)));
    EXPECT_EQ(CString(L"item 0"), list.RemoveHead());
    list.RemoveAll();
    EXPECT_EQ(0, list.BlockCount());
}

namespace {

template <class TYPE, class ARG_TYPE>
class ArrayProbe : public CArray<TYPE, ARG_TYPE>
{
public:
    INT_PTR Capacity() const { return this->m_nMaxSize; }
};

} // namespace

TEST(CArrayTest, GrowsByTheFrameworkRuleAndKeepsItsElements)
{
    // One element at a time, as an array filled in a loop grows.
    ArrayProbe<int, int> array;
    array.SetSize(1);
    EXPECT_EQ(1, array.Capacity());
    array.SetSize(2); // at least 4 more
    EXPECT_EQ(5, array.Capacity());
    array.SetSize(6);
    EXPECT_EQ(9, array.Capacity());
    for (int i = 0; i < 6; ++i)
        array[i] = i + 1;
    for (int n = 7; n <= 100; ++n)
    {
        array.SetSize(n);
        array[n - 1] = n;
    }
    // Beyond 32 elements the step is an eighth of the size.
    EXPECT_GE(array.Capacity(), 100);
    EXPECT_LT(array.Capacity(), 100 + 100 / 8 + 4);
    for (int i = 0; i < 100; ++i)
        ASSERT_EQ(i + 1, array[i]);
    EXPECT_EQ(array.GetData() + 99, &array.GetAt(99));

    ArrayProbe<int, int> stepped;
    stepped.SetSize(1, 16);
    EXPECT_EQ(16, stepped.Capacity());
    stepped.SetSize(17);
    EXPECT_EQ(32, stepped.Capacity());
    EXPECT_EQ(0, stepped[16]);

    // Strings move to the new storage and new ones start empty.
    CArray<CString, const CString&> strings;
    strings.SetSize(1);
    strings[0] = L"first";
    for (int n = 2; n <= 21; ++n)
        strings.SetSize(n);
    EXPECT_EQ(CString(L"first"), strings[0]);
    EXPECT_TRUE(strings[20].IsEmpty());
}

TEST(CArrayTest, MisuseThrowsAndSizeZeroFrees)
{
    CArray<int, int> array;
    array.SetSize(3);
    EXPECT_THROW(array.GetAt(3), CInvalidArgException*);
    EXPECT_THROW(array[-1], CInvalidArgException*);
    EXPECT_THROW(array.SetSize(-1), CInvalidArgException*);
    array.SetSize(0);
    EXPECT_EQ(nullptr, array.GetData());
    EXPECT_THROW(array.GetAt(0), CInvalidArgException*);
}
