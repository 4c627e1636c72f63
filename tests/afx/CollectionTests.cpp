// CList node blocks and free pool, list order and search, CStringList, CArray growth.
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
std::vector<int> Values(const LIST& list)
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
        list.RemoveTail();
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
    EXPECT_EQ(2, list.GetTail().value);
}

TEST(CListTest, InsertionOrderSearchAndMisuse)
{
    CList<int, int> list;
    list.AddTail(2);
    list.AddHead(1);
    POSITION pos3 = list.AddTail(3);
    list.InsertBefore(pos3, 25);
    list.InsertAfter(pos3, 4);
    list.InsertBefore(nullptr, 0); // null: at the head
    list.InsertAfter(nullptr, 5);  // null: at the tail
    EXPECT_EQ((std::vector<int>{0, 1, 2, 25, 3, 4, 5}), Values(list));
    EXPECT_EQ(7, list.GetCount());
    list.SetAt(list.FindIndex(3), 24);
    EXPECT_EQ(24, list.GetAt(list.FindIndex(3)));
    EXPECT_EQ(nullptr, list.FindIndex(7));
    EXPECT_EQ(nullptr, list.FindIndex(-1));
    list.RemoveAt(list.FindIndex(3));
    EXPECT_EQ(5, list.RemoveTail());
    EXPECT_EQ((std::vector<int>{0, 1, 2, 3, 4}), Values(list));

    // Find starts after the given position.
    CList<int, int> sevens;
    for (int v : {7, 8, 7, 9, 7})
        sevens.AddTail(v);
    POSITION first = sevens.Find(7);
    ASSERT_EQ(sevens.GetHeadPosition(), first);
    POSITION second = sevens.Find(7, first);
    EXPECT_EQ(sevens.FindIndex(2), second);
    POSITION third = sevens.Find(7, second);
    EXPECT_EQ(sevens.GetTailPosition(), third);
    EXPECT_EQ(nullptr, sevens.Find(7, third));
    EXPECT_EQ(nullptr, sevens.Find(6));

    // Whole lists keep their order at either end.
    CList<int, int> joined;
    joined.AddTail(5);
    joined.AddTail(&list);
    joined.AddHead(&sevens);
    EXPECT_EQ((std::vector<int>{7, 8, 7, 9, 7, 5, 0, 1, 2, 3, 4}), Values(joined));
    EXPECT_EQ(5, list.GetCount());

    CList<int, int> empty;
    EXPECT_THROW(empty.RemoveHead(), CInvalidArgException*);
    EXPECT_THROW(empty.RemoveTail(), CInvalidArgException*);
    EXPECT_THROW(empty.GetHead(), CInvalidArgException*);
    POSITION none = nullptr;
    EXPECT_THROW(empty.GetNext(none), CInvalidArgException*);
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
    EXPECT_EQ(list.FindIndex(3), list.Find(L"item 3"));
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

TEST(CArrayTest, GrowsByTheFrameworkRuleAndSurvivesSelfReference)
{
    ArrayProbe<int, int> array;
    array.Add(1);
    EXPECT_EQ(1, array.Capacity());
    array.Add(2); // at least 4 more
    EXPECT_EQ(5, array.Capacity());
    for (int i = 3; i <= 6; ++i)
        array.Add(i);
    EXPECT_EQ(9, array.Capacity());
    for (int i = 7; i <= 100; ++i)
        array.Add(i);
    // Beyond 32 elements the step is an eighth of the size.
    EXPECT_GE(array.Capacity(), 100);
    EXPECT_LT(array.Capacity(), 100 + 100 / 8 + 4);
    for (int i = 0; i < 100; ++i)
        ASSERT_EQ(i + 1, array[i]);

    ArrayProbe<int, int> stepped;
    stepped.SetSize(0, 16);
    stepped.Add(1);
    EXPECT_EQ(16, stepped.Capacity());
    stepped.SetSize(17);
    EXPECT_EQ(32, stepped.Capacity());
    EXPECT_EQ(0, stepped[16]);

    CArray<CString, const CString&> strings;
    strings.Add(CString(L"first"));
    for (int i = 0; i < 20; ++i)
        strings.Add(strings[0]); // refers into the array while it may move
    ASSERT_EQ(21, strings.GetSize());
    for (int i = 0; i < strings.GetSize(); ++i)
        ASSERT_EQ(CString(L"first"), strings[i]);
}

TEST(CArrayTest, InsertRemoveAppendCopy)
{
    CStringArray array;
    array.Add(L"a");
    array.Add(L"d");
    array.InsertAt(1, L"b");
    array.InsertAt(2, L"c", 2);
    ASSERT_EQ(5, array.GetCount());
    EXPECT_EQ(CString(L"abccd"), array[0] + array[1] + array[2] + array[3] + array[4]);
    array.RemoveAt(2, 2);
    EXPECT_EQ(CString(L"d"), array.GetAt(2));
    EXPECT_EQ(2, array.GetUpperBound());
    array.SetAtGrow(5, L"f");
    EXPECT_EQ(6, array.GetSize());
    EXPECT_TRUE(array[4].IsEmpty());

    CStringArray other;
    other.Add(L"x");
    EXPECT_EQ(1, other.Append(array));
    EXPECT_EQ(7, other.GetSize());
    EXPECT_EQ(CString(L"a"), other[1]);
    CStringArray copy;
    copy.Add(L"gone");
    copy.Copy(array);
    EXPECT_EQ(6, copy.GetSize());
    EXPECT_EQ(CString(L"f"), copy.ElementAt(5));

    EXPECT_THROW(array.GetAt(6), CInvalidArgException*);
    EXPECT_THROW(array.SetAt(-1, L"z"), CInvalidArgException*);
    array.RemoveAll();
    EXPECT_EQ(nullptr, array.GetData());
}
