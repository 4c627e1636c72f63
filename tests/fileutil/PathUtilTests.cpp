// Name, path and UNC helpers; the file-name filter against a plain recursive matcher.
#include "BrwsPathUtil.h"
#include "TestProcess.h"

#include <gtest/gtest.h>

#include <random>
#include <thread>
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
    const struct { const wchar_t* path; int result; const wchar_t *server, *share, *rest; } cases[] = {
        {L"\\\\srv\\photos\\2019\\a.jpg", TRUE, L"\\\\srv", L"photos", L"2019\\a.jpg"},
        {L"\\\\srv/photos/x", TRUE, L"\\\\srv", L"photos", L"x"},
        {L"\\\\srv", TRUE, L"\\\\srv", L"", L""}, {L"\\\\srv\\share", TRUE, L"\\\\srv", L"share", L""},
        {L"\\\\srv\\\\x", TRUE, L"\\\\srv", L"", L""}, {L"sv\\x", TRUE, L"\\\\sv", L"x", L""},
        {L"\\\\s\\x", TRUE, L"\\\\s", L"x", L""},
        {L"\\\\\u30b5\u30fc\u30d0\\\u5199\u771f\\\u03b1\U0001F600", TRUE, L"\\\\\u30b5\u30fc\u30d0",
         L"\u5199\u771f", L"\u03b1\U0001F600"},
        {fits.c_str(), TRUE, server.c_str(), part.c_str(), part.c_str()},
        {L"s\\x", FALSE, L"", L"", L""}, {L"D:\\x", FALSE, L"", L"", L""}, {L"\\x", FALSE, L"", L"", L""},
        {L"\\\\", FALSE, L"", L"", L""}, {L"", FALSE, L"", L"", L""}, {nullptr, FALSE, L"", L"", L""},
        {longRest.c_str(), FALSE, L"", L"", L""}, {longShare.c_str(), FALSE, L"", L"", L""},
        {longServer.c_str(), FALSE, L"", L"", L""}};
    for (const auto& c : cases)
    {
        CString server(L"x"), share(L"x"), rest(L"x");
        EXPECT_EQ(c.result, GetUNCComponents(c.path, &server, &share, &rest)) << Narrow(c.path ? c.path : L"");
        EXPECT_STREQ(c.server, server);
        EXPECT_STREQ(c.share, share);
        EXPECT_STREQ(c.rest, rest);
    }
    CString rest(L"x"), name;
    EXPECT_FALSE(GetUNCComponents(L"\\\\srv\\share\\r", nullptr, nullptr, &rest));
    EXPECT_STREQ(L"", rest);
    EXPECT_TRUE(GetUNCComponents(longRest.c_str(), &name, nullptr, nullptr)); // the rest is not built
    EXPECT_FALSE(GetUNCComponents((longRest + std::wstring(800, L'p')).c_str(), &name, nullptr, nullptr));
}

TEST(PathUtil, UncComponentsOnSeveralThreadsAtOnce)
{
    std::vector<int> wrong(4, 0);
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
    {
        threads.emplace_back([t, &wrong] {
            const std::wstring id = std::to_wstring(t);
            for (int i = 0; i < 3000; ++i)
            {
                CString server, share, rest;
                GetUNCComponents((L"\\\\server" + id + L"\\share" + id + L"\\r" + id).c_str(), &server, &share, &rest);
                wrong[t] += server != (L"\\\\server" + id).c_str() || share != (L"share" + id).c_str() ||
                            rest != (L"r" + id).c_str();
            }
        });
    }
    for (std::thread& t : threads)
        t.join();
    EXPECT_EQ(std::vector<int>(4, 0), wrong);
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

TEST(FileNameFilter, TableAndCaseRule)
{
    const struct { const wchar_t *filter, *name; int result; } rows[] = {
        {L"*.jpg", L"a.jpg", TRUE}, {L"*.jpg", L"photo.jpg", TRUE}, {L"*.jpg", L"holiday.2019.jpg", TRUE},
        {L"*", L"x", TRUE}, {L"*.*", L"a.b", TRUE}, {L"*.*", L"ab", FALSE}, {L"img??.png", L"img01.png", TRUE},
        {L"*?x", L"abx", TRUE}, {L"*?x", L"ax", TRUE}, {L"**", L"", TRUE}, {L"a*", L"", FALSE},
        {L"", L"any", TRUE}, {L"jpg", L"my.jpg.bak", TRUE}, {L"jpgx", L"my.jpg", FALSE},
        {L"\u03b1?.jpg", L"\u03b2x.jpg", FALSE}, {L"\u5199*", L"\u5199\u771f", TRUE}};
    for (const auto& r : rows)
        EXPECT_EQ(r.result, DoesFileNameMatchFilter(r.name, r.filter, 1)) << Narrow(r.filter) << " " << Narrow(r.name);
    EXPECT_TRUE(DoesFileNameMatchFilter(L"Photo.JPG", L"*.jpg", 0));
    EXPECT_FALSE(DoesFileNameMatchFilter(L"Photo.JPG", L"*.jpg", 1));
    EXPECT_TRUE(DoesFileNameMatchFilter(L"\u0391\u00c4.JPG", L"\u03b1\u00e4", 0));
    EXPECT_FALSE(DoesFileNameMatchFilter(L"\u0391\u00c4.JPG", L"\u03b1\u00e4", 1));
}

TEST(FileNameFilter, AgreesWithReferenceOnGeneratedNames)
{
    // ASCII, Latin-1, Greek, Japanese and an emoji (a surrogate pair), in both cases.
    const std::vector<std::wstring> units = {L"a", L"B", L"b", L".", L"\u00e4", L"\u00c4", L"\u03b1",
                                             L"\u0391", L"\u5199", L"\U0001F600"};
    std::mt19937 random(20190817);
    auto pick = [&](size_t n) { return random() % n; };
    int mismatches = 0;
    for (int i = 0; i < 20000; ++i)
    {
        std::wstring name, filter;
        size_t length = i % 50 == 0 ? 255 + pick(80) : pick(12);
        while (name.size() < length)
            name += units[pick(units.size())];
        // The reference is polynomial in the number of stars: fewer on long names.
        for (int n = pick(7), stars = length > 100 ? 1 : 0; n > 0; --n)
        {
            size_t kind = pick(10);
            if (kind < 2 && stars++ < 3)
                filter += L'*';
            else if (kind < 4)
                filter += L'?';
            else if (kind < 6 && !name.empty()) // a piece of the name makes matches likely
                filter += name.substr(pick(name.size()), 1 + pick(3));
            else
                filter += units[pick(units.size())];
        }
        bool caseSensitive = i % 2;
        CString n(name.c_str()), f(filter.c_str());
        if (!caseSensitive)
            n.MakeLower(), f.MakeLower();
        bool expected = f.FindOneOf(L"*?") < 0 ? std::wstring(n).find(f) != std::wstring::npos : ReferenceMatch(n, f);
        if (expected != (DoesFileNameMatchFilter(name.c_str(), filter.c_str(), caseSensitive) != 0) && ++mismatches <= 10)
            ADD_FAILURE() << "filter " << Narrow(filter) << " name " << Narrow(name);
    }
    EXPECT_EQ(0, mismatches);
    // Long names and many stars stay fast (no exponential backtracking).
    std::wstring longName(100000, L'a');
    EXPECT_FALSE(DoesFileNameMatchFilter(longName.c_str(), L"*a*a*a*a*a*a*a*a*a*a*b", 1));
    EXPECT_TRUE(DoesFileNameMatchFilter((longName + L".jpg").c_str(), L"*.jpg", 1));
}

} // namespace
