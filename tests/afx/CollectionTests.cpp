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

template <class LIST>
std::vector<int> Forward(const LIST& list)
{
    std::vector<int> values;
    for (POSITION pos = list.GetHeadPosition(); pos != nullptr;)
        values.push_back(list.GetNext(pos));
    return values;
}

template <class LIST>
std::vector<int> Backward(const LIST& list)
{
    std::vector<int> values;
    for (POSITION pos = list.GetTailPosition(); pos != nullptr;)
        values.push_back(list.GetPrev(pos));
    return values;
}

} // namespace

TEST(CListTest, NodesComeFromBlocksOfTheGivenSizeAndAreReused)
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
    POSITION reused = list.AddTail(5);
    EXPECT_EQ(first, reused);
    EXPECT_EQ(2, list.BlockCount());
    EXPECT_EQ((std::vector<int>{2, 3, 4, 5}), Forward(list));
}

TEST(CListTest, AllBlocksAreFreedWhenTheCountReachesZero)
{
    Probe<CList<int, int>> list(2);
    for (int i = 0; i < 5; ++i)
        list.AddTail(i);
    ASSERT_EQ(3, list.BlockCount());

    while (list.GetCount() > 1)
        list.RemoveHead();
    EXPECT_EQ(3, list.BlockCount());

    list.RemoveAt(list.GetHeadPosition());
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_EQ(0, list.BlockCount());
    EXPECT_EQ(0, list.FreeCount());

    // And the list works again from scratch.
    list.AddHead(9);
    EXPECT_EQ(1, list.BlockCount());
    EXPECT_EQ(9, list.GetHead());
}

TEST(CListTest, ElementsAreConstructedAndDestroyedExactlyOnce)
{
    Counted::s_live = 0;
    {
        CList<Counted, const Counted&> list(4);
        for (int i = 0; i < 10; ++i)
            list.AddTail(Counted(i));
        EXPECT_EQ(10, Counted::s_live);
        Counted head = list.RemoveHead();
        EXPECT_EQ(0, head.value);
        EXPECT_EQ(10, Counted::s_live);  // nine in the list and the copy
        list.RemoveTail();
        list.RemoveAt(list.FindIndex(3));
        EXPECT_EQ(8, Counted::s_live);
        list.RemoveAll();
        EXPECT_EQ(1, Counted::s_live);
        list.AddTail(Counted(42));
    }
    EXPECT_EQ(0, Counted::s_live);
}

TEST(CListTest, AFailedElementCopyLeavesTheListAsItWas)
{
    Counted::s_live = 0;
    Probe<CList<Counted, const Counted&>> list(2);
    list.AddTail(Counted(1));
    Counted value(2);
    Counted::s_failCopy = true;
    EXPECT_THROW(list.AddTail(value), CInvalidArgException*);
    Counted::s_failCopy = false;
    EXPECT_EQ(1, list.GetCount());
    EXPECT_EQ(1, list.FreeCount());
    list.AddTail(value);
    EXPECT_EQ(2, list.GetCount());
    EXPECT_EQ(2, list.GetTail().value);
}

TEST(CListTest, OrderOfInsertionAndTraversal)
{
    CList<int, int> list;
    list.AddTail(2);
    list.AddHead(1);
    POSITION pos3 = list.AddTail(3);
    list.InsertBefore(pos3, 25);
    list.InsertAfter(pos3, 4);
    list.InsertBefore(nullptr, 0);   // null: at the head
    list.InsertAfter(nullptr, 5);    // null: at the tail
    EXPECT_EQ((std::vector<int>{0, 1, 2, 25, 3, 4, 5}), Forward(list));
    EXPECT_EQ((std::vector<int>{5, 4, 3, 25, 2, 1, 0}), Backward(list));
    EXPECT_EQ(0, list.GetHead());
    EXPECT_EQ(5, list.GetTail());
    EXPECT_EQ(7, list.GetCount());
    EXPECT_EQ(7, list.GetSize());

    list.SetAt(list.FindIndex(3), 24);
    EXPECT_EQ(24, list.GetAt(list.FindIndex(3)));
    EXPECT_EQ(nullptr, list.FindIndex(7));
    EXPECT_EQ(nullptr, list.FindIndex(-1));

    list.RemoveAt(list.FindIndex(3));
    EXPECT_EQ(5, list.RemoveTail());
    EXPECT_EQ((std::vector<int>{0, 1, 2, 3, 4}), Forward(list));
    EXPECT_EQ((std::vector<int>{4, 3, 2, 1, 0}), Backward(list));
}

TEST(CListTest, FindStartsAfterTheGivenPosition)
{
    CList<int, int> list;
    for (int v : {7, 8, 7, 9, 7})
        list.AddTail(v);
    POSITION first = list.Find(7);
    ASSERT_EQ(list.GetHeadPosition(), first);
    POSITION second = list.Find(7, first);
    EXPECT_EQ(list.FindIndex(2), second);
    POSITION third = list.Find(7, second);
    EXPECT_EQ(list.GetTailPosition(), third);
    EXPECT_EQ(nullptr, list.Find(7, third));
    EXPECT_EQ(nullptr, list.Find(6));
}

TEST(CListTest, AddingWholeListsKeepsTheirOrder)
{
    CList<int, int> list;
    CList<int, int> other;
    list.AddTail(5);
    for (int v : {1, 2, 3})
        other.AddTail(v);
    list.AddTail(&other);
    list.AddHead(&other);
    EXPECT_EQ((std::vector<int>{1, 2, 3, 5, 1, 2, 3}), Forward(list));
    EXPECT_EQ(3, other.GetCount());
}

TEST(CListTest, MisuseThrowsInvalidArgAndLeavesTheListUsable)
{
    CList<int, int> list;
    EXPECT_THROW(list.RemoveHead(), CInvalidArgException*);
    EXPECT_THROW(list.RemoveTail(), CInvalidArgException*);
    EXPECT_THROW(list.GetHead(), CInvalidArgException*);
    POSITION pos = nullptr;
    EXPECT_THROW(list.GetNext(pos), CInvalidArgException*);
    list.AddTail(1);
    EXPECT_EQ(1, list.RemoveHead());
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

    POSITION pos = list.Find(L"item 3");
    ASSERT_NE(nullptr, pos);
    EXPECT_EQ(list.FindIndex(3), pos);
    EXPECT_EQ(CString(L"eleventh"), list.GetTail());
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

TEST(CArrayTest, GrowsByTheFrameworkRule)
{
    ArrayProbe<int, int> array;
    array.Add(1);
    EXPECT_EQ(1, array.Capacity());
    array.Add(2);  // at least 4 more
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
}

TEST(CArrayTest, StringElementsSurviveReallocationAndSelfReference)
{
    CArray<CString, const CString&> array;
    array.Add(CString(L"first"));
    for (int i = 0; i < 20; ++i)
        array.Add(array[0]);  // refers into the array while it may move
    EXPECT_EQ(21, array.GetSize());
    for (int i = 0; i < array.GetSize(); ++i)
        ASSERT_EQ(CString(L"first"), array[i]);
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
    EXPECT_EQ(3, array.GetSize());
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
