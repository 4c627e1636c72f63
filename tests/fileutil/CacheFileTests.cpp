// Browse cache file headers written by the tests, and fitting images into boxes.
#include "BrwsCacheFile.h"
#include "TestProcess.h"

#include <TarkGDI.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>

using testing_support::ScratchFolder;

namespace {

const DWORD kAccepted[] = {0x00000100, 0x01000100, 0x02000100, 0x03000100, 0x00000200, 0x01000200};

// A header as the host writes it; text fields are padded with 'P' after their
// NUL, so that reading past the NUL would show.
std::string Header(DWORD version, const std::string& text1, const std::string& text2)
{
    std::string bytes = "ZARN BROWS FILE";
    for (int i = 0; i < 4; ++i)
        bytes += static_cast<char>(version >> (8 * i));
    bytes += "\x01\x02\x03\x04";
    size_t text2Size = version == 0x00000100 ? 13 : 32;
    bytes += (text1 + '\0' + std::string(256, 'P')).substr(0, 256);
    bytes += (text2 + '\0' + std::string(32, 'P')).substr(0, text2Size);
    return bytes + "further content";
}

void Write(const std::wstring& path, const std::string& bytes)
{
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, h);
    DWORD written = 0;
    WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(h);
}

CString FromAnsi(const std::string& text)
{
    wchar_t wide[300];
    int n = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide, 300);
    return CString(wide, n);
}

struct Read
{
    ZarnErrorCode code;
    DWORD version = 0xDEADBEEF;
    CString text1 = L"unset";
    CString text2 = L"unset";
};

// Reads with the out-pointers chosen by mask (1 version, 2 text 1, 4 text 2),
// then checks that the file was closed: it opens without sharing.
Read ReadAll(const std::wstring& path, int mask = 7)
{
    Read r;
    r.code = ReadCacheFileInfo(path.c_str(), mask & 1 ? &r.version : nullptr, mask & 2 ? &r.text1 : nullptr,
                               mask & 4 ? &r.text2 : nullptr);
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_TRUE(h != INVALID_HANDLE_VALUE || GetLastError() != ERROR_SHARING_VIOLATION) << "still open";
    if (h != INVALID_HANDLE_VALUE)
        CloseHandle(h);
    return r;
}

TEST(CacheFile, AcceptedVersions)
{
    ScratchFolder folder;
    const std::wstring file = folder / L"\u5199\u771f.zbc";
    const std::string text1 = "Caf\xe9 photos", longText2(40, 'x');
    for (DWORD version : kAccepted)
    {
        size_t text2Size = version == 0x00000100 ? 13 : 32;
        Write(file, Header(version, text1, longText2)); // no NUL inside text field 2
        Read r = ReadAll(file);
        EXPECT_EQ(ZEC_NO_ERROR, r.code) << version;
        EXPECT_EQ(version, r.version);
        EXPECT_STREQ(FromAnsi(text1), r.text1);
        EXPECT_STREQ(FromAnsi(longText2.substr(0, text2Size)), r.text2);

        Write(file, Header(version, std::string(300, 'a'), "b"));
        r = ReadAll(file, 6);
        EXPECT_EQ(ZEC_NO_ERROR, r.code);
        EXPECT_EQ(0xDEADBEEFu, r.version);
        EXPECT_STREQ(CString(L'a', 256), r.text1); // no NUL in the field: all of it
        EXPECT_STREQ(L"b", r.text2);
        // The header ends with text field 2: one byte less is a short read.
        Write(file, Header(version, "a", "b").substr(0, 279 + text2Size - 1));
        EXPECT_EQ(ZEC_FILE_READ_FAILED, ReadAll(file).code);
        EXPECT_EQ(ZEC_NO_ERROR, ReadAll(file, 3).code);
    }
}

TEST(CacheFile, RejectedFiles)
{
    ScratchFolder folder;
    const std::wstring file = folder / L"cache.zbc";
    const std::string good = Header(0x00000300, "one", "two");

    Write(file, good);
    Read r = ReadAll(file, 3);
    EXPECT_EQ(ZEC_NO_ERROR, r.code);
    r = ReadAll(file);
    EXPECT_EQ(ZEC_CACHE_VERSION, r.code);
    EXPECT_EQ(0x00000300u, r.version); // set before the failure
    EXPECT_STREQ(L"one", r.text1);
    EXPECT_STREQ(L"unset", r.text2);

    for (size_t i = 0; i < 15; ++i)
    {
        std::string bad = good;
        bad[i] ^= 0x20;
        Write(file, bad);
        r = ReadAll(file);
        EXPECT_EQ(ZEC_NOT_CACHE_FILE, r.code) << i;
        EXPECT_EQ(0xDEADBEEFu, r.version);
    }
    // Short files: the magic, the version or text field 1 is cut off.
    for (size_t size : {0, 10, 14, 15, 18, 19, 22, 278})
    {
        Write(file, good.substr(0, size));
        r = ReadAll(file, 3);
        EXPECT_EQ(ZEC_FILE_READ_FAILED, r.code) << size;
        EXPECT_EQ(size >= 19 ? 0x00000300u : 0xDEADBEEFu, r.version) << size;
    }
    Write(file, good.substr(0, 19));
    EXPECT_EQ(ZEC_NO_ERROR, ReadAll(file, 1).code);
    Write(file, good.substr(0, 279));
    EXPECT_EQ(ZEC_NO_ERROR, ReadAll(file, 3).code);

    EXPECT_EQ(ZEC_FILE_OPEN_FAILED, ReadAll(folder / L"missing.zbc").code);
    EXPECT_EQ(ZEC_FILE_OPEN_FAILED, ReadAll(folder.Path()).code);
    EXPECT_EQ(ZEC_FILE_OPEN_FAILED, ReadCacheFileInfo(nullptr, nullptr, nullptr, nullptr));
    Write(file, good);
    HANDLE locked = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_EQ(ZEC_FILE_OPEN_FAILED, ReadCacheFileInfo(file.c_str(), nullptr, nullptr, nullptr));
    CloseHandle(locked);
}

// An attached image of any size: the iterator only refers to pixels it never reads here.
struct Image
{
    Image(int width, int height)
    {
        BITMAPINFOHEADER info = {sizeof(info), width, height, 1, 32, BI_RGB};
        EXPECT_TRUE(rows.Attach(&info, &pixel));
    }
    CRowIterator rows;
    DWORD pixel = 0;
};

struct Fit
{
    int result, width, height;
};

Fit Scale(int w, int h, int maxW, int maxH)
{
    Image image(w, h);
    Fit fit = {0, -7, -7};
    fit.result = GetScaledDIBSize(image.rows, maxW, maxH, &fit.width, &fit.height);
    return fit;
}

// The steps the sizes were first defined with, in their 32-bit arithmetic;
// valid while the products fit.
Fit Reference32(uint32_t w, uint32_t h, uint32_t maxW, uint32_t maxH)
{
    bool fitHeight;
    if (maxW < w)
    {
        h = h * maxW / w;
        w = maxW;
        fitHeight = h > maxH;
    }
    else if (h > maxH)
        fitHeight = true;
    else if (maxW == w)
        fitHeight = false;
    else
    {
        h = h * maxW / w;
        w = maxW;
        fitHeight = h > maxH;
    }
    if (fitHeight)
    {
        w = w * maxH / h;
        h = maxH;
    }
    return {1, w ? static_cast<int>(w) : 1, h ? static_cast<int>(h) : 1};
}

TEST(ScaledDIBSize, FitsTheBox)
{
    const struct { int w, h, maxW, maxH, fitW, fitH; } cases[] = {
        {100, 50, 200, 200, 200, 100}, {100, 300, 200, 200, 66, 200}, {100, 150, 200, 200, 133, 200},
        {200, 100, 200, 200, 200, 100}, {1000, 1, 100, 100, 100, 1},
        // Products beyond 32 bits.
        {200000, 100000, 60000, 60000, 60000, 30000}, {1, 100000, 100000, 100000, 1, 100000},
        {2000000000, 1000000000, 1000000, 1000000, 1000000, 500000},
        {70000, 70000, 2000000000, 2000000000, 2000000000, 2000000000},
    };
    for (const auto& c : cases)
    {
        Fit fit = Scale(c.w, c.h, c.maxW, c.maxH);
        EXPECT_EQ(1, fit.result);
        EXPECT_EQ(c.fitW, fit.width) << c.w << "x" << c.h << " in " << c.maxW << "x" << c.maxH;
        EXPECT_EQ(c.fitH, fit.height) << c.w << "x" << c.h << " in " << c.maxW << "x" << c.maxH;
    }

    std::mt19937 random(3);
    for (int i = 0; i < 5000; ++i)
    {
        uint32_t w = 1 + random() % 3000, h = 1 + random() % 3000;
        uint32_t maxW = 1 + random() % 3000, maxH = 1 + random() % 3000;
        Fit expected = Reference32(w, h, maxW, maxH), fit = Scale(w, h, maxW, maxH);
        ASSERT_EQ(expected.width, fit.width) << w << "x" << h << " in " << maxW << "x" << maxH;
        ASSERT_EQ(expected.height, fit.height) << w << "x" << h << " in " << maxW << "x" << maxH;
    }

    // Nothing is written when the size cannot be computed.
    CRowIterator detached;
    int width = -7, height = -7;
    EXPECT_EQ(0, GetScaledDIBSize(detached, 100, 100, &width, &height));
    Image image(10, 10);
    EXPECT_EQ(0, GetScaledDIBSize(image.rows, 100, 100, nullptr, &height));
    EXPECT_EQ(0, GetScaledDIBSize(image.rows, 100, 100, &width, nullptr));
    const int boxes[][2] = {{0, 100}, {100, 0}, {-5, 100}, {100, -5}};
    for (const auto& box : boxes)
        EXPECT_EQ(0, GetScaledDIBSize(image.rows, box[0], box[1], &width, &height));
    EXPECT_EQ(-7, width);
    EXPECT_EQ(-7, height);
}

} // namespace
