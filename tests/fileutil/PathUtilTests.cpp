// Name, path and UNC helpers; the file-name filter against a plain recursive matcher.
#include "BrwsPathUtil.h"
#include "TestProcess.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

using testing_support::Narrow;

namespace {

TEST(PathUtil, NameExtensionAndTrailer)
{
    const struct { const wchar_t* path; int name, ext; } indices[] = {
        {L"D:\\dir\\a.txt", 7, 9}, {L"a.txt", 0, 2}, {L"D:\\dir\\", -1, -1}, {L"", 0, -1},
        {L"dir/a.txt", 0, 6}, {L"a", 0, -1}, {L"a.", 0, 2}, {L"D:\\x.y\\z", 7, 5}};
    for (const auto& c : indices)
    {
        EXPECT_EQ(c.name, GetFileNameIndex(c.path)) << Narrow(c.path);
        EXPECT_EQ(c.ext, GetFileNameExtIndex(c.path)) << Narrow(c.path);
    }
    const struct { const wchar_t* in; const wchar_t* out; } trailers[] = {
        {L"D:\\dir\\", L"D:\\dir"}, {L"D:\\", L"D:\\"}, {L"\\", L"\\"}, {L"", L""},
        {L"D:\\dir\\\\", L"D:\\dir\\"}, {L"D:/dir/", L"D:/dir"}, {L"D:/", L"D:/"}, {L"ab", L"ab"}};
    for (const auto& c : trailers)
    {
        CString path(c.in);
        EXPECT_EQ(&path, &RemovePathTrailer_Br(path));
        EXPECT_STREQ(c.out, path);
    }
}

TEST(PathUtil, UncComponents)
{
    const std::wstring part(259, L'p'), server(L"\\\\" + std::wstring(257, L's'));
    const std::wstring fits = server + L"\\" + part + L"\\" + part;
    const std::wstring longRest = L"\\\\s\\t\\" + part + L"p", longShare = L"\\\\s\\" + part + L"p";
    const std::wstring longServer = server + L"s\\t";
    const struct { const wchar_t* path; int result; const wchar_t *server = L"", *share = L"", *rest = L""; } cases[] = {
        {L"\\\\srv\\photos\\2019\\a.jpg", TRUE, L"\\\\srv", L"photos", L"2019\\a.jpg"},
        {L"\\\\srv/photos/x", TRUE, L"\\\\srv", L"photos", L"x"},
        {L"\\\\srv", TRUE, L"\\\\srv"}, {L"\\\\srv\\share", TRUE, L"\\\\srv", L"share"},
        {L"\\\\srv\\\\x", TRUE, L"\\\\srv"}, {L"sv\\x", TRUE, L"\\\\sv", L"x"},
        {L"\\\\\u30b5\u30fc\u30d0\\\u5199\u771f\\\u03b1\U0001F600", TRUE, L"\\\\\u30b5\u30fc\u30d0",
         L"\u5199\u771f", L"\u03b1\U0001F600"},
        {fits.c_str(), TRUE, server.c_str(), part.c_str(), part.c_str()},
        {L"s\\x", FALSE}, {L"D:\\x", FALSE}, {L"\\x", FALSE}, {L"\\\\", FALSE}, {L"", FALSE}, {nullptr, FALSE},
        {longRest.c_str(), FALSE}, {longShare.c_str(), FALSE}, {longServer.c_str(), FALSE}};
    for (const auto& c : cases)
    {
        CString server(L"x"), share(L"x"), rest(L"x");
        EXPECT_EQ(c.result, GetUNCComponents(c.path, &server, &share, &rest)) << Narrow(c.path ? c.path : L"");
        EXPECT_EQ(std::wstring(c.server) + L"|" + c.share + L"|" + c.rest, std::wstring(server + L"|" + share + L"|" + rest));
    }
    CString rest(L"x"), name;
    EXPECT_FALSE(GetUNCComponents(L"\\\\srv\\share\\r", nullptr, nullptr, &rest));
    EXPECT_STREQ(L"", rest);
    EXPECT_TRUE(GetUNCComponents(longRest.c_str(), &name, nullptr, nullptr)); // the rest is not built
    EXPECT_FALSE(GetUNCComponents((longRest + std::wstring(800, L'p')).c_str(), &name, nullptr, nullptr));
}

// The plain definition: '*' any run, '?' one unit, anything else itself.
bool ReferenceMatch(const wchar_t* name, const wchar_t* filter)
{
    if (*filter == L'*')
        return ReferenceMatch(name, filter + 1) || (*name && ReferenceMatch(name + 1, filter));
    if (*filter == L'\0' || *name == L'\0')
        return *filter == *name;
    return (*filter == L'?' || *filter == *name) && ReferenceMatch(name + 1, filter + 1);
}

// Without wildcards a filter matches any part of the name; case-insensitive
// matching lowers both. Names of ASCII, Latin-1, Greek, Japanese and an
// emoji (a surrogate pair), in both cases; the wildcards, last, only in filters.
TEST(FileNameFilter, AgreesWithReferenceOnGeneratedNames)
{
    const std::vector<std::wstring> units = {L"a", L"B", L"b", L".", L"\u00e4", L"\u00c4", L"\u03b1",
                                             L"\u0391", L"\u5199", L"\U0001F600", L"?", L"*"};
    std::mt19937 random(20190817);
    auto pick = [&](size_t n) { return random() % n; };
    for (int i = 0; i < 20000; ++i)
    {
        std::wstring name, filter;
        for (size_t length = i % 50 == 0 ? 255 + pick(80) : pick(12); name.size() < length;)
            name += units[pick(units.size() - 2)];
        // Pieces of the name make matches likely; the reference is polynomial
        // in the number of stars, so long names get at most two.
        for (int n = pick(7), stars = name.size() > 100 ? 1 : 0; n > 0; --n)
        {
            std::wstring piece = pick(3) == 0 && !name.empty() ? name.substr(pick(name.size()), 1 + pick(3))
                                                               : units[pick(units.size())];
            if (piece != L"*" || stars++ < 3)
                filter += piece;
        }
        const int bCaseSensitive = i % 2;
        CString n(name.c_str()), f(filter.c_str());
        if (!bCaseSensitive)
            n.MakeLower(), f.MakeLower();
        const std::wstring lowered(n), pattern(f);
        bool expected = pattern.find_first_of(L"*?") == std::wstring::npos ? lowered.find(pattern) != std::wstring::npos
                                                                           : ReferenceMatch(n, f);
        ASSERT_EQ(expected, DoesFileNameMatchFilter(name.c_str(), filter.c_str(), bCaseSensitive) != 0)
            << "filter " << Narrow(filter) << " name " << Narrow(name);
    }
    // Long names and many stars stay fast (no exponential backtracking).
    std::wstring longName(100000, L'a');
    EXPECT_FALSE(DoesFileNameMatchFilter(longName.c_str(), L"*a*a*a*a*a*a*a*a*a*a*b", 1));
    EXPECT_TRUE(DoesFileNameMatchFilter((longName + L".jpg").c_str(), L"*.jpg", 1));
}

} // namespace
