// CString: construction and conversion, searching and extraction edge cases,
// case mapping beyond ASCII, formatting, direct buffer access, sharing.
#include <afxstr.h>

#include "AfxTestPrint.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

TEST(CStringTest, ConstructionAndAnsiConversion)
{
    EXPECT_TRUE(CString(static_cast<LPCWSTR>(nullptr)).IsEmpty());
    EXPECT_TRUE(CString(static_cast<LPCSTR>(nullptr)).IsEmpty());
    EXPECT_EQ(CString(L"abc"), CString("abc"));
    EXPECT_EQ(CString(L"xxxx"), CString(L'x', 4));
    EXPECT_TRUE(CString(L'x', 0).IsEmpty());

    // A non-ASCII byte converts as the ANSI code page says.
    const char narrow[] = "caf\xE9 \x80";
    wchar_t expected[16] = {};
    MultiByteToWideChar(CP_ACP, 0, narrow, -1, expected, 16);
    EXPECT_STREQ(expected, CString(narrow));
    EXPECT_EQ(CString(L"ca"), CString(narrow, 2));

    // Counted constructors keep embedded nulls, and so does concatenation.
    CString embedded(L"a\0b", 3);
    EXPECT_EQ(3, embedded.GetLength());
    CString joined = embedded + embedded;
    EXPECT_EQ(6, joined.GetLength());
    EXPECT_EQ(L'b', joined[5]);
    EXPECT_EQ(L'\0', joined[6]);  // the terminator may be read
    EXPECT_THROW(joined.GetAt(7), CInvalidArgException*);
    EXPECT_THROW(joined.SetAt(6, L'x'), CInvalidArgException*);
}

TEST(CStringTest, FindFollowsTheFrameworkAtTheEdges)
{
    const CString s(L"abcabc");
    // Single characters are looked up both ways; the two must agree.
    const struct { const wchar_t* what; int start, expected; } rows[] = {
        {L"a", 0, 0}, {L"a", 1, 3}, {L"c", 5, 5}, {L"c", 6, -1}, {L"a", 100, -1}, {L"a", -1, -1},
        {L"z", 0, -1}, {L"a", -2, -1}, {L"bc", 0, 1}, {L"bc", 2, 4}, {L"bc", 5, -1},
        {L"", 6, 6}, // the end is a valid start for a substring
        {L"", 7, -1}};
    for (const auto& r : rows)
    {
        SCOPED_TRACE(testing::Message() << r.start);
        EXPECT_EQ(r.expected, s.Find(r.what, r.start));
        if (wcslen(r.what) == 1)
        {
            EXPECT_EQ(r.expected, s.Find(r.what[0], r.start));
        }
    }
    EXPECT_EQ(-1, s.Find(static_cast<LPCWSTR>(nullptr)));
    EXPECT_EQ(3, s.ReverseFind(L'a'));
    EXPECT_EQ(-1, s.ReverseFind(L'z'));
    EXPECT_EQ(1, s.FindOneOf(L"xcb"));
    EXPECT_EQ(-1, s.FindOneOf(L"xyz"));
    EXPECT_EQ(-1, CString().Find(L'a'));
    EXPECT_EQ(0, CString().Find(L""));
}

TEST(CStringTest, ExtractionIsClamped)
{
    CString s(L"hello");
    EXPECT_EQ(CString(L"he"), s.Left(2));
    EXPECT_EQ(CString(L""), s.Left(-1));
    EXPECT_EQ(s, s.Left(99));
    EXPECT_EQ(CString(L"llo"), s.Right(3));
    EXPECT_EQ(CString(L""), s.Right(-5));
    EXPECT_EQ(s, s.Right(99));
    EXPECT_EQ(CString(L"ell"), s.Mid(1, 3));
    EXPECT_EQ(CString(L"llo"), s.Mid(2));
    EXPECT_EQ(CString(L"he"), s.Mid(-3, 2));
    EXPECT_EQ(CString(L"hello"), s.Mid(-3));
    EXPECT_EQ(CString(L"lo"), s.Mid(3, 100));
    EXPECT_EQ(CString(L""), s.Mid(5));
    EXPECT_EQ(CString(L""), s.Mid(9, 2));
    EXPECT_EQ(CString(L""), s.Mid(1, -1));
    EXPECT_EQ(CString(L"hel"), s.SpanIncluding(L"lhe").Left(3));
    EXPECT_EQ(CString(L"he"), s.SpanExcluding(L"l"));

    CString path(L"  a;;b;c ");
    int pos = 0;
    std::vector<CString> tokens;
    for (CString t = path.Tokenize(L"; ", pos); pos >= 0; t = path.Tokenize(L"; ", pos))
        tokens.push_back(t);
    ASSERT_EQ(3u, tokens.size());
    EXPECT_EQ(CString(L"a"), tokens[0]);
    EXPECT_EQ(CString(L"c"), tokens[2]);
}

TEST(CStringTest, CaseMappingCoversGreekAndLeavesJapaneseAlone)
{
    CString s(L"ΑΒΓ Σοφία ＡＢＣ 日本語カタカナ ABC");
    s.MakeLower();
    EXPECT_STREQ(L"αβγ σοφία ａｂｃ 日本語カタカナ abc", s);
    s.MakeUpper();
    EXPECT_STREQ(L"ΑΒΓ ΣΟΦΊΑ ＡＢＣ 日本語カタカナ ABC", s);

    EXPECT_EQ(0, CString(L"Σοφία").CompareNoCase(L"ΣΟΦΊΑ"));
    EXPECT_EQ(0, CString(L"Straße").CompareNoCase(L"STRAßE"));
    EXPECT_LT(CString(L"apple").CompareNoCase(L"BANANA"), 0);
    EXPECT_GT(CString(L"Zebra").CompareNoCase(L"apple"), 0);
    // Compared as lower case: '_' sorts before letters.
    EXPECT_LT(CString(L"_").CompareNoCase(L"A"), 0);
    EXPECT_NE(0, CString(L"ab").CompareNoCase(L"abc"));

    EXPECT_GT(CString(L"b").Compare(L"B"), 0);  // ordinal
    EXPECT_TRUE(CString(L"a") < L"b");
    EXPECT_TRUE(L"b" > CString(L"a"));
    EXPECT_TRUE(CString(L"a") != CString(L"A"));
}

TEST(CStringTest, FormatUsesWideStringsForPercentS)
{
    CString s;
    s.Format(L"%s|%ls|%d|%S|%5.2f|%c", L"wide", L"also wide", -42, "narrow", 3.14159, L'Ω');
    EXPECT_STREQ(L"wide|also wide|-42|narrow| 3.14|Ω", s);

    // The string's own text as an argument.
    s = L"abc";
    s.Format(L"[%s][%s]", static_cast<LPCWSTR>(s), s.GetString());
    EXPECT_STREQ(L"[abc][abc]", s);
    s.AppendFormat(L"+%03d", 7);
    EXPECT_STREQ(L"[abc][abc]+007", s);

    CString longText;
    longText.Format(L"%s%s", static_cast<LPCWSTR>(CString(L'x', 3000)), L"end");
    EXPECT_EQ(3003, longText.GetLength());
    EXPECT_EQ(3000, longText.Find(L"end"));
}

TEST(CStringTest, GetBufferAndReleaseBuffer)
{
    CString s(L"abc");
    CString shared = s;
    LPWSTR p = s.GetBuffer(10);
    EXPECT_GE(s.GetAllocLength(), 10);
    wcscpy(p, L"hello");
    s.ReleaseBuffer();
    EXPECT_EQ(5, s.GetLength());
    EXPECT_STREQ(L"hello", s);
    EXPECT_STREQ(L"abc", shared);  // the copy kept its text

    p = s.GetBuffer();
    p[1] = L'a';
    s.ReleaseBuffer(2);
    EXPECT_STREQ(L"ha", s);

    p = s.GetBufferSetLength(4);
    p[2] = L'l';
    p[3] = L'f';
    s.ReleaseBuffer();
    EXPECT_STREQ(L"half", s);

    CString empty;
    empty.GetBuffer(0);
    empty.ReleaseBuffer();
    EXPECT_TRUE(empty.IsEmpty());
}

TEST(CStringTest, EditingOperations)
{
    CString s(L"  \t padded \r\n");
    EXPECT_STREQ(L"padded", s.Trim());
    EXPECT_STREQ(L"xxaxx", CString(L"..xxaxx--").Trim(L".-"));
    EXPECT_STREQ(L"ab**", CString(L"**ab**").TrimLeft(L'*'));
    EXPECT_STREQ(L"**ab", CString(L"**ab**").TrimRight(L'*'));

    CString r(L"one two one two one");
    EXPECT_EQ(3, r.Replace(L"one", L"1"));
    EXPECT_STREQ(L"1 two 1 two 1", r);
    EXPECT_EQ(2, r.Replace(L"two", L""));
    EXPECT_STREQ(L"1  1  1", r);
    EXPECT_EQ(0, r.Replace(L"", L"x"));
    EXPECT_EQ(4, r.Replace(L' ', L'_'));
    EXPECT_EQ(3, r.Remove(L'1'));
    EXPECT_STREQ(L"____", r);

    CString a(L"aa");
    EXPECT_EQ(2, a.Replace(L"a", L"aa"));
    EXPECT_STREQ(L"aaaa", a);

    CString ins(L"ace");
    EXPECT_EQ(4, ins.Insert(1, L'b'));
    EXPECT_EQ(5, ins.Insert(99, L"f"));
    EXPECT_STREQ(L"abcef", ins);
    EXPECT_EQ(6, ins.Insert(-4, L"_"));
    EXPECT_EQ(4, ins.Delete(0, 2));
    EXPECT_STREQ(L"bcef", ins);
    EXPECT_EQ(2, ins.Delete(2, 99));
    EXPECT_EQ(2, ins.Delete(5));
    EXPECT_STREQ(L"cb", ins.MakeReverse());

    CString built = L"<" + CString(L"mid") + L'>' + L"!";
    built += L'?';
    built += CString("!");
    EXPECT_STREQ(L"<mid>!?!", built);
    built = L'x' + built;
    EXPECT_EQ(L'x', built[0]);
}

TEST(CStringTest, CopiesOnDifferentThreadsStayIndependent)
{
    const CString source(L"shared text");
    std::vector<std::thread> threads;
    std::vector<int> failures(4, 0);
    for (int t = 0; t < 4; ++t)
    {
        threads.emplace_back([&source, &failures, t] {
            for (int i = 0; i < 20000; ++i)
            {
                CString copy = source;
                CString second = copy;
                copy += L'!';
                second.MakeUpper();
                if (copy != L"shared text!" || second != L"SHARED TEXT")
                    ++failures[t];
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    for (int failure : failures)
        EXPECT_EQ(0, failure);
    EXPECT_STREQ(L"shared text", source);
}
