// Browse cache file headers written by the tests, and fitting images into boxes.
#include "BrwsCacheFile.h"
#include "TestProcess.h"
#include "module/Holders.h"

#include <TarkGDI.h>
#include <gtest/gtest.h>

#include <fstream>
#include <utility>

namespace {

// A header as the host writes it; text fields are padded with 'P' after their
// NUL, so that reading past the NUL would show.
std::string Header(DWORD version, const std::string& text1, const std::string& text2)
{
    std::string bytes = "ZARN BROWS FILE" + std::string(reinterpret_cast<const char*>(&version), 4) + "\1\2\3\4";
    bytes += (text1 + '\0' + std::string(256, 'P')).substr(0, 256);
    return bytes + (text2 + '\0' + std::string(32, 'P')).substr(0, version == 0x100 ? 13 : 32) + "rest";
}

// "code version text1|text2" of what was read, "-" where nothing was stored.
std::wstring Summary(int code, DWORD version, const CString& text1, const CString& text2)
{
    CString summary;
    summary.Format(L"%d %x %s|%s", code, version, static_cast<LPCWSTR>(text1), static_cast<LPCWSTR>(text2));
    return static_cast<LPCWSTR>(summary);
}

// Writes bytes to path and reads them back with the out-pointers chosen by
// mask (1 version, 2 text 1, 4 text 2), then checks that the file was
// closed: it opens without sharing.
std::wstring WriteAndRead(const std::wstring& path, const std::string& bytes, int mask = 7)
{
    EXPECT_TRUE(std::ofstream(path.c_str(), std::ios::binary).write(bytes.data(), bytes.size()).good());
    DWORD version = 0;
    CString text1 = L"-", text2 = L"-";
    const int code = ReadCacheFileInfo(path.c_str(), mask & 1 ? &version : nullptr, mask & 2 ? &text1 : nullptr,
                                       mask & 4 ? &text2 : nullptr);
    CScopedFileHandle file(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    EXPECT_TRUE(file.IsValid()) << "still open";
    return Summary(code, version, text1, text2);
}

// Text field 1 is ANSI, at most 256 bytes; text field 2 is 13 bytes in the
// first version and 32 after it, read whole when it has no NUL, and the
// header ends with it: one byte less is a short read.
TEST(CacheFile, AcceptedVersions)
{
    testing_support::ScratchFolder folder;
    const std::wstring file = folder / L"\u5199\u771f.zbc";
    const std::string text1 = "Caf\xe9 photos";
    wchar_t ansi[20];
    CString expected1(ansi, MultiByteToWideChar(CP_ACP, 0, text1.data(), static_cast<int>(text1.size()), ansi, 20));
    for (DWORD version : {0x00000100, 0x01000100, 0x02000100, 0x03000100, 0x00000200, 0x01000200})
    {
        const int text2Size = version == 0x100 ? 13 : 32;
        EXPECT_EQ(Summary(0, version, expected1, CString(L'x', text2Size)),
                  WriteAndRead(file, Header(version, text1, std::string(40, 'x'))));
        EXPECT_EQ(Summary(0, 0, CString(L'a', 256), L"b"), WriteAndRead(file, Header(version, std::string(300, 'a'), "b"), 6));
        const std::string cut = Header(version, "a", "b").substr(0, 279 + text2Size - 1);
        EXPECT_EQ(Summary(ZEC_FILE_READ_FAILED, version, L"a", L"-"), WriteAndRead(file, cut));
        EXPECT_EQ(Summary(0, version, L"a", L"-"), WriteAndRead(file, cut, 3));
    }
}

// Every byte of the magic counts; cut off in the magic, the version or text
// field 1 is a short read, the version stored once it was read. An unknown
// version fails only when text field 2 is asked for.
TEST(CacheFile, RejectedFiles)
{
    testing_support::ScratchFolder folder;
    const std::wstring file = folder / L"cache.zbc";
    const std::string good = Header(0x00000300, "one", "two");
    EXPECT_EQ(Summary(ZEC_CACHE_VERSION, 0x300, L"one", L"-"), WriteAndRead(file, good));
    for (size_t i = 0; i < 15; ++i)
    {
        const std::string bad = good.substr(0, i) + char(good[i] ^ 0x20) + good.substr(i + 1);
        EXPECT_EQ(Summary(ZEC_NOT_CACHE_FILE, 0, L"-", L"-"), WriteAndRead(file, bad)) << i;
    }
    for (size_t size : {0, 10, 14, 15, 18, 19, 22, 278, 279})
        EXPECT_EQ(Summary(size < 279 ? ZEC_FILE_READ_FAILED : 0, size >= 19 ? 0x300 : 0, size < 279 ? L"-" : L"one", L"-"),
                  WriteAndRead(file, good.substr(0, size), 3)) << size;
    CScopedFileHandle locked(CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    for (const std::wstring& path : {folder / L"missing.zbc", folder.Path(), file})
        EXPECT_EQ(ZEC_FILE_OPEN_FAILED, ReadCacheFileInfo(path.c_str(), nullptr, nullptr, nullptr))
            << testing_support::Narrow(path);
    EXPECT_EQ(ZEC_FILE_OPEN_FAILED, ReadCacheFileInfo(nullptr, nullptr, nullptr, nullptr));
}

// Fits an attached image of any size (the iterator never reads the one pixel it refers to).
int Scale(int w, int h, int maxW, int maxH, int* fitW, int* fitH)
{
    BITMAPINFOHEADER info = {sizeof(info), w, h, 1, 32, BI_RGB};
    DWORD pixel = 0;
    CRowIterator image;
    EXPECT_TRUE(image.Attach(&info, &pixel));
    return GetScaledDIBSize(image, maxW, maxH, fitW, fitH);
}

// Products beyond 32 bits stay exact; nothing is written when no size can be
// computed (no image, no out-pointer, a box side of zero or below).
TEST(ScaledDIBSize, FitsTheBox)
{
    const struct { int w, h, maxW, maxH, fitW, fitH; } cases[] = {
        {100, 50, 200, 200, 200, 100}, {100, 300, 200, 200, 66, 200}, {100, 150, 200, 200, 133, 200},
        {200, 100, 200, 200, 200, 100}, {1000, 1, 100, 100, 100, 1}, {200000, 100000, 60000, 60000, 60000, 30000},
        {1, 100000, 100000, 100000, 1, 100000}, {2000000000, 1000000000, 1000000, 1000000, 1000000, 500000},
        {70000, 70000, 2000000000, 2000000000, 2000000000, 2000000000}};
    for (const auto& c : cases)
    {
        int w = -7, h = -7;
        EXPECT_EQ(1, Scale(c.w, c.h, c.maxW, c.maxH, &w, &h));
        EXPECT_EQ(std::make_pair(c.fitW, c.fitH), std::make_pair(w, h)) << c.w << "x" << c.h << " in " << c.maxW << "x" << c.maxH;
    }
    int w = -7, h = -7;
    CRowIterator detached;
    EXPECT_EQ(0, GetScaledDIBSize(detached, 100, 100, &w, &h));
    EXPECT_EQ(0, Scale(10, 10, 100, 100, nullptr, &h) + Scale(10, 10, 100, 100, &w, nullptr));
    for (int side : {0, -5})
        EXPECT_EQ(0, Scale(10, 10, side, 100, &w, &h) + Scale(10, 10, 100, side, &w, &h));
    EXPECT_EQ(std::make_pair(-7, -7), std::make_pair(w, h));
}

} // namespace
