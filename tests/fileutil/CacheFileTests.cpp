// Browse cache file headers written by the tests, and fitting images into boxes.
#include "BrwsCacheFile.h"
#include "TestProcess.h"
#include "module/Holders.h"

#include <TarkGDI.h>
#include <gtest/gtest.h>

namespace {

// A header as the host writes it; text fields are padded with 'P' after their
// NUL, so that reading past the NUL would show.
std::string Header(DWORD version, const std::string& text1, const std::string& text2)
{
    std::string bytes = "ZARN BROWS FILE" + std::string(reinterpret_cast<const char*>(&version), 4) + "\1\2\3\4";
    bytes += (text1 + '\0' + std::string(256, 'P')).substr(0, 256);
    return bytes + (text2 + '\0' + std::string(32, 'P')).substr(0, version == 0x100 ? 13 : 32) + "rest";
}

struct Read
{
    ZarnErrorCode code;
    DWORD version = 0xDEADBEEF;
    CString text1 = L"unset", text2 = L"unset";
};

// Writes bytes to path and reads them back with the out-pointers chosen by
// mask (1 version, 2 text 1, 4 text 2), then checks that the file was
// closed: it opens without sharing.
Read WriteAndRead(const std::wstring& path, const std::string& bytes, int mask = 7)
{
    CScopedFileHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    EXPECT_TRUE(WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
    file.Reset();
    Read r;
    r.code = ReadCacheFileInfo(path.c_str(), mask & 1 ? &r.version : nullptr, mask & 2 ? &r.text1 : nullptr,
                               mask & 4 ? &r.text2 : nullptr);
    file.Reset(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    EXPECT_TRUE(file.IsValid()) << "still open";
    return r;
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
        SCOPED_TRACE(version);
        const int text2Size = version == 0x100 ? 13 : 32;
        Read r = WriteAndRead(file, Header(version, text1, std::string(40, 'x')));
        EXPECT_EQ(ZEC_NO_ERROR, r.code);
        EXPECT_EQ(version, r.version);
        EXPECT_STREQ(expected1, r.text1);
        EXPECT_STREQ(CString(L'x', text2Size), r.text2);
        r = WriteAndRead(file, Header(version, std::string(300, 'a'), "b"), 6);
        EXPECT_EQ(ZEC_NO_ERROR, r.code);
        EXPECT_EQ(0xDEADBEEFu, r.version);
        EXPECT_STREQ(CString(L'a', 256), r.text1);
        EXPECT_STREQ(L"b", r.text2);
        const std::string cut = Header(version, "a", "b").substr(0, 279 + text2Size - 1);
        EXPECT_EQ(ZEC_FILE_READ_FAILED, WriteAndRead(file, cut).code);
        EXPECT_EQ(ZEC_NO_ERROR, WriteAndRead(file, cut, 3).code);
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
    EXPECT_EQ(ZEC_NO_ERROR, WriteAndRead(file, good, 3).code);
    Read r = WriteAndRead(file, good);
    EXPECT_EQ(ZEC_CACHE_VERSION, r.code);
    EXPECT_EQ(0x00000300u, r.version);
    EXPECT_STREQ(L"one", r.text1);
    EXPECT_STREQ(L"unset", r.text2);
    for (size_t i = 0; i < 15; ++i)
        EXPECT_EQ(ZEC_NOT_CACHE_FILE, WriteAndRead(file, good.substr(0, i) + char(good[i] ^ 0x20) + good.substr(i + 1)).code) << i;
    for (size_t size : {0, 10, 14, 15, 18, 19, 22, 278, 279})
    {
        r = WriteAndRead(file, good.substr(0, size), 3);
        EXPECT_EQ(size < 279 ? ZEC_FILE_READ_FAILED : ZEC_NO_ERROR, r.code) << size;
        EXPECT_EQ(size >= 19 ? 0x00000300u : 0xDEADBEEFu, r.version) << size;
    }
    EXPECT_EQ(ZEC_FILE_OPEN_FAILED, ReadCacheFileInfo((folder / L"missing.zbc").c_str(), nullptr, nullptr, nullptr));
    EXPECT_EQ(ZEC_FILE_OPEN_FAILED, ReadCacheFileInfo(folder.Path().c_str(), nullptr, nullptr, nullptr));
    EXPECT_EQ(ZEC_FILE_OPEN_FAILED, ReadCacheFileInfo(nullptr, nullptr, nullptr, nullptr));
    CScopedFileHandle locked(CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    EXPECT_EQ(ZEC_FILE_OPEN_FAILED, ReadCacheFileInfo(file.c_str(), nullptr, nullptr, nullptr));
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

TEST(ScaledDIBSize, FitsTheBox)
{
    const struct { int w, h, maxW, maxH, fitW, fitH; } cases[] = {
        {100, 50, 200, 200, 200, 100}, {100, 300, 200, 200, 66, 200}, {100, 150, 200, 200, 133, 200},
        {200, 100, 200, 200, 200, 100}, {1000, 1, 100, 100, 100, 1},
        // Products beyond 32 bits.
        {200000, 100000, 60000, 60000, 60000, 30000}, {1, 100000, 100000, 100000, 1, 100000},
        {2000000000, 1000000000, 1000000, 1000000, 1000000, 500000},
        {70000, 70000, 2000000000, 2000000000, 2000000000, 2000000000}};
    for (const auto& c : cases)
    {
        int w = -7, h = -7;
        EXPECT_EQ(1, Scale(c.w, c.h, c.maxW, c.maxH, &w, &h));
        EXPECT_EQ(c.fitW * 1LL << 32 | c.fitH, w * 1LL << 32 | h) << c.w << "x" << c.h << " in " << c.maxW << "x" << c.maxH;
    }

    // Nothing is written when no size can be computed.
    int w = -7, h = -7;
    CRowIterator detached;
    EXPECT_EQ(0, GetScaledDIBSize(detached, 100, 100, &w, &h));
    EXPECT_EQ(0, Scale(10, 10, 100, 100, nullptr, &h) + Scale(10, 10, 100, 100, &w, nullptr));
    for (int side : {0, -5})
        EXPECT_EQ(0, Scale(10, 10, side, 100, &w, &h) + Scale(10, 10, 100, side, &w, &h));
    EXPECT_EQ(-7, w);
    EXPECT_EQ(-7, h);
}

} // namespace
