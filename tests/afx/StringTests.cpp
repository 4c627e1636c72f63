// CString where the library's own tests would not notice a fault: a write
// through any member leaves the copies alone (also when the text written is
// the string's own), the clamping of the extractions its path code uses, case
// beyond ASCII, and reference counts shared by threads.
#include <afxstr.h>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <thread>

TEST(CStringTest, EveryWriteLeavesTheCopiesAloneEvenFromItsOwnText)
{
    const struct { const char* name; std::function<void(CString&)> write; const wchar_t* expected; } rows[] = {
        {"SetAt", [](CString& s) { s.SetAt(0, L'X'); }, L"XbCabC"},
        {"append", [](CString& s) { s += L'!'; }, L"abCabC!"},
        {"append itself", [](CString& s) { s += static_cast<LPCWSTR>(s); }, L"abCabCabCabC"},
        {"Format itself", [](CString& s) { s.Format(L"[%s|%d]", static_cast<LPCWSTR>(s), 7); }, L"[abCabC|7]"},
        {"MakeUpper", [](CString& s) { s.MakeUpper(); }, L"ABCABC"},
        {"MakeLower", [](CString& s) { s.MakeLower(); }, L"abcabc"},
        {"Replace", [](CString& s) { s.Replace(L'a', L'/'); }, L"/bC/bC"},
        {"Delete", [](CString& s) { s.Delete(1, 3); }, L"abC"},
        {"GetBuffer", [](CString& s) { wcscpy(s.GetBuffer(20), L"a longer text"); s.ReleaseBuffer(8); }, L"a longer"},
    };
    for (const auto& r : rows)
    {
        for (bool bShared : {false, true})
        {
            SCOPED_TRACE(testing::Message() << r.name << (bShared ? " (shared)" : ""));
            CString text(L"abCabC");
            CString copy = bShared ? text : CString();
            r.write(text);
            EXPECT_STREQ(r.expected, text);
            EXPECT_STREQ(bShared ? L"abCabC" : L"", copy);
        }
    }
}

// Counts past either end are clamped, never an error: path code takes the
// last character or the rest of a name without checking the length first.
TEST(CStringTest, SearchAndExtractionAtTheEdges)
{
    const CString s(L"abcabc");
    EXPECT_EQ(3, s.ReverseFind(L'a'));
    EXPECT_EQ(-1, s.ReverseFind(L'z'));
    const struct { CString got; const wchar_t* expected; } parts[] = {
        {s.Left(2), L"ab"}, {s.Left(-1), L""}, {s.Left(99), L"abcabc"}, {s.Right(1), L"c"},
        {s.Right(-5), L""}, {s.Right(99), L"abcabc"}, {s.Mid(1, 3), L"bca"}, {s.Mid(4), L"bc"},
        {s.Mid(-3, 2), L"ab"}, {s.Mid(-3), L"abcabc"}, {s.Mid(3, 100), L"abc"}, {s.Mid(6), L""},
        {s.Mid(9, 2), L""}, {s.Mid(1, -1), L""}};
    for (const auto& r : parts)
        EXPECT_STREQ(r.expected, r.got);
}

TEST(CStringTest, CaseBeyondAscii)
{
    CString s(L"ΑΒΓ Σοφία ＡＢＣ 日本語 ABC");
    EXPECT_STREQ(L"αβγ σοφία ａｂｃ 日本語 abc", s.MakeLower());
    EXPECT_STREQ(L"ΑΒΓ ΣΟΦΊΑ ＡＢＣ 日本語 ABC", s.MakeUpper());
    EXPECT_EQ(0, CString(L"Σοφία\\Ｄｉｒ").CompareNoCase(L"ΣΟΦΊΑ\\ｄＩＲ"));
    EXPECT_NE(0, CString(L"ab").CompareNoCase(L"abc"));
    EXPECT_NE(0, CString(L"abc").CompareNoCase(L"ab"));
}

TEST(CStringTest, CopiesOnDifferentThreadsCountTheirSharing)
{
    CString source(L"shared text");
    std::atomic<int> nToStart{3};
    auto copyAndDrop = [&] {
        for (--nToStart; nToStart > 0;) // all start together
            std::this_thread::yield();
        for (int i = 0; i < 1000000; ++i)
        {
            CString copy = source;
            CString second;
            second = copy;
        }
    };
    std::thread threads[] = {std::thread(copyAndDrop), std::thread(copyAndDrop), std::thread(copyAndDrop)};
    for (std::thread& thread : threads)
        thread.join();
    // Every copy is gone, so the text is the source's alone again and a write
    // stays in place; a lost count would make it copy (or free it before).
    LPCWSTR pszBefore = source.GetString();
    source.SetAt(0, L'S');
    EXPECT_EQ(pszBefore, source.GetString());
    EXPECT_STREQ(L"Shared text", source);
}
