// Name, path and UNC helpers, and the file-name filter checked against a plain
// recursive matcher on generated names.
#include "BrwsPathUtil.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <thread>
#include <vector>

namespace {

std::string U8(const CString& s)
{
    std::string out(WideCharToMultiByte(CP_UTF8, 0, s, s.GetLength(), nullptr, 0, nullptr, nullptr), '\0');
    WideCharToMultiByte(CP_UTF8, 0, s, s.GetLength(), &out[0], static_cast<int>(out.size()), nullptr, nullptr);
    return out;
}

TEST(PathUtil, NameExtensionAndTrailer)
{
    const struct { const wchar_t* path; int name; int ext; } indices[] = {
        {L"D:\\dir\\a.txt", 7, 9}, {L"a.txt", 0, 2}, {L"D:\\dir\\", -1, -1}, {L"", 0, -1},
        {L"dir/a.txt", 0, 6},      {L"a", 0, -1},    {L"a.", 0, 2},          {L"D:\\x.y\\z", 7, 5}};
    for (const auto& c : indices)
    {
        EXPECT_EQ(c.name, GetFileNameIndex(c.path)) << U8(c.path);
        EXPECT_EQ(c.ext, GetFileNameExtIndex(c.path)) << U8(c.path);
    }
    const struct { const wchar_t* in; const wchar_t* out; } trailers[] = {
        {L"D:\\dir\\", L"D:\\dir"}, {L"D:\\", L"D:\\"},   {L"\\", L"\\"},          {L"/", L"/"},
        {L"", L""},                 {L"D:\\dir\\\\", L"D:\\dir\\"}, {L"D:/dir/", L"D:/dir"},
        {L"D:/", L"D:/"},           {L"D:\\dir", L"D:\\dir"}, {L"ab\\", L"ab"}};
    for (const auto& c : trailers)
    {
        CString path(c.in);
        EXPECT_EQ(&path, &RemovePathTrailer_Br(path));
        EXPECT_STREQ(c.out, path) << U8(c.in);
    }
}

struct UncCase
{
    const wchar_t* path;
    int result;
    const wchar_t* server;
    const wchar_t* share;
    const wchar_t* rest;
};

void ExpectUnc(const UncCase& c)
{
    CString server(L"x"), share(L"x"), rest(L"x");
    EXPECT_EQ(c.result, GetUNCComponents(c.path, &server, &share, &rest)) << U8(c.path);
    EXPECT_STREQ(c.server, server) << U8(c.path);
    EXPECT_STREQ(c.share, share) << U8(c.path);
    EXPECT_STREQ(c.rest, rest) << U8(c.path);
}

TEST(PathUtil, UncComponents)
{
    const std::wstring longPart(259, L'p');
    const std::wstring longRest = L"\\\\s\\t\\" + longPart + L"p";
    const std::wstring longServer = L"\\\\" + std::wstring(258, L's') + L"\\t";
    const std::wstring longShare = L"\\\\s\\" + longPart + L"p";
    const UncCase cases[] = {
        {L"\\\\srv\\photos\\2019\\a.jpg", TRUE, L"\\\\srv", L"photos", L"2019\\a.jpg"},
        {L"\\\\srv/photos/x", TRUE, L"\\\\srv", L"photos", L"x"},
        {L"\\\\srv", TRUE, L"\\\\srv", L"", L""},
        {L"\\\\srv\\share", TRUE, L"\\\\srv", L"share", L""},
        {L"\\\\srv\\\\x", TRUE, L"\\\\srv", L"", L""}, // an empty share ends the split
        {L"sv\\x", TRUE, L"\\\\sv", L"x", L""},
        {L"\\\\s\\x", TRUE, L"\\\\s", L"x", L""},
        {L"\\\\\u30b5\u30fc\u30d0\\\u5199\u771f\\\u03b1\U0001F600.jpg", TRUE, L"\\\\\u30b5\u30fc\u30d0",
         L"\u5199\u771f", L"\u03b1\U0001F600.jpg"},
        {L"s\\x", FALSE, L"", L"", L""},   {L"D:\\x", FALSE, L"", L"", L""},
        {L"\\x", FALSE, L"", L"", L""},    {L"\\\\", FALSE, L"", L"", L""},
        {L"", FALSE, L"", L"", L""},       {nullptr, FALSE, L"", L"", L""},
        {longRest.c_str(), FALSE, L"", L"", L""},
        {longServer.c_str(), FALSE, L"", L"", L""},
        {longShare.c_str(), FALSE, L"", L"", L""},
    };
    for (const UncCase& c : cases)
        ExpectUnc(c);
    // The longest parts that fit.
    const std::wstring fits = L"\\\\" + std::wstring(257, L's') + L"\\" + longPart + L"\\" + longPart;
    ExpectUnc({fits.c_str(), TRUE, (L"\\\\" + std::wstring(257, L's')).c_str(), longPart.c_str(),
               longPart.c_str()});

    CString rest(L"x");
    EXPECT_FALSE(GetUNCComponents(L"\\\\srv\\share\\r", nullptr, nullptr, &rest));
    EXPECT_STREQ(L"", rest);
    CString server;
    EXPECT_TRUE(GetUNCComponents(longRest.c_str(), &server, nullptr, nullptr)); // rest not built
    EXPECT_STREQ(L"\\\\s", server);
    EXPECT_FALSE(GetUNCComponents((longRest + std::wstring(800, L'p')).c_str(), &server, nullptr, nullptr));
}

TEST(PathUtil, UncComponentsOnSeveralThreadsAtOnce)
{
    std::vector<std::thread> threads;
    std::vector<int> wrong(4, 0);
    for (int t = 0; t < 4; ++t)
    {
        threads.emplace_back([t, &wrong] {
            std::wstring id = std::to_wstring(t);
            std::wstring path = L"\\\\server" + id + L"\\share" + id + L"\\rest" + id;
            for (int i = 0; i < 3000; ++i)
            {
                CString server, share, rest;
                if (!GetUNCComponents(path.c_str(), &server, &share, &rest) ||
                    server != (L"\\\\server" + id).c_str() || share != (L"share" + id).c_str() ||
                    rest != (L"rest" + id).c_str())
                    ++wrong[t];
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
    if (*filter == L'\0')
        return *name == L'\0';
    if (*filter == L'*')
        return ReferenceMatch(name, filter + 1) || (*name && ReferenceMatch(name + 1, filter));
    return *name && (*filter == L'?' || *filter == *name) && ReferenceMatch(name + 1, filter + 1);
}

bool Expected(const std::wstring& name, const std::wstring& filter, bool caseSensitive)
{
    CString n(name.c_str()), f(filter.c_str());
    if (!caseSensitive)
    {
        n.MakeLower();
        f.MakeLower();
    }
    if (f.FindOneOf(L"*?") < 0)
        return std::wstring(n).find(f) != std::wstring::npos;
    return ReferenceMatch(n, f);
}

TEST(FileNameFilter, TableOfTheDesign)
{
    const struct { const wchar_t* filter; const wchar_t* name; int result; } rows[] = {
        {L"*.jpg", L"a.jpg", TRUE},   {L"*.jpg", L"photo.jpg", TRUE}, {L"*.jpg", L"a.b.jpg", TRUE},
        {L"*.jpg", L"holiday.2019.jpg", TRUE}, {L"*", L"x", TRUE},    {L"*.*", L"a.b", TRUE},
        {L"*.*", L"ab", FALSE},       {L"img??.png", L"img01.png", TRUE}, {L"*?x", L"abx", TRUE},
        {L"*?x", L"ax", TRUE},        {L"**", L"", TRUE},              {L"a*", L"", FALSE},
        {L"?", L"", FALSE},           {L"", L"", TRUE},                {L"", L"any", TRUE},
        {L"jpg", L"my.jpg.bak", TRUE}, {L"jpgx", L"my.jpg", FALSE},
        {L"\u5199*.jpg", L"\u5199\u771f.jpg", TRUE}, {L"\u5199*.jpg", L"\u771f.jpg", FALSE},
        {L"\u03b1?.jpg", L"\u03b2x.jpg", FALSE},
    };
    for (const auto& r : rows)
        EXPECT_EQ(r.result, DoesFileNameMatchFilter(r.name, r.filter, 1)) << U8(r.filter) << " " << U8(r.name);
    EXPECT_TRUE(DoesFileNameMatchFilter(L"Photo.JPG", L"*.jpg", 0));
    EXPECT_FALSE(DoesFileNameMatchFilter(L"Photo.JPG", L"*.jpg", 1));
    EXPECT_TRUE(DoesFileNameMatchFilter(L"Photo.JPG", L"PHOTO", 0));
    EXPECT_FALSE(DoesFileNameMatchFilter(L"Photo.JPG", L"PHOTO", 1));
    EXPECT_TRUE(DoesFileNameMatchFilter(nullptr, nullptr, 0));
}

TEST(FileNameFilter, AgreesWithReferenceOnGeneratedNames)
{
    // ASCII, Latin-1, Greek, Japanese and an emoji (a surrogate pair), in both cases.
    const std::vector<std::wstring> units = {L"a", L"B", L"b", L".", L"\u00e4", L"\u00c4", L"\u03b1",
                                             L"\u0391", L"\u5199", L"\U0001F600"};
    std::mt19937 random(20190817);
    auto pick = [&](int n) { return static_cast<int>(random() % n); };
    int mismatches = 0;
    for (int i = 0; i < 20000; ++i)
    {
        std::wstring name;
        int nameLength = i % 50 == 0 ? 255 + pick(80) : pick(12);
        while (static_cast<int>(name.size()) < nameLength)
            name += units[pick(static_cast<int>(units.size()))];
        std::wstring filter;
        // The reference is polynomial in the number of stars: fewer on long names.
        const int maxStars = nameLength > 100 ? 2 : 3;
        for (int n = pick(7), stars = 0; n > 0; --n)
        {
            int kind = pick(10);
            if (kind < 2 && stars < maxStars)
            {
                filter += L'*';
                ++stars;
            }
            else if (kind < 4)
                filter += L'?';
            else if (kind < 6 && !name.empty()) // a piece of the name makes matches likely
                filter += name.substr(pick(static_cast<int>(name.size())), 1 + pick(3));
            else
                filter += units[pick(static_cast<int>(units.size()))];
        }
        bool caseSensitive = i % 2 == 0;
        if ((DoesFileNameMatchFilter(name.c_str(), filter.c_str(), caseSensitive) != 0) !=
                Expected(name, filter, caseSensitive) &&
            ++mismatches <= 10)
            ADD_FAILURE() << "filter " << U8(filter.c_str()) << " name " << U8(name.c_str());
    }
    EXPECT_EQ(0, mismatches);

    // Long names and many stars stay fast (no exponential backtracking).
    std::wstring longName(100000, L'a');
    EXPECT_FALSE(DoesFileNameMatchFilter(longName.c_str(), L"*a*a*a*a*a*a*a*a*a*a*b", 1));
    EXPECT_TRUE(DoesFileNameMatchFilter((longName + L".jpg").c_str(), L"*.jpg", 1));
}

} // namespace
