// Browse cache file header. Layout (little-endian): 15-byte magic, 32-bit
// version at 15, 4 bytes not read here, text field 1 (256 bytes) at 23, text
// field 2 at 279 (13 bytes in version 0x100, 32 bytes in the later versions).
#include "BrwsCacheFile.h"
#include "module/Holders.h"

#include <cstring>

namespace {

const char kMagic[15] = {'Z', 'A', 'R', 'N', ' ', 'B', 'R', 'O', 'W', 'S', ' ', 'F', 'I', 'L', 'E'};
const LONGLONG kVersionOffset = 15;
const LONGLONG kText1Offset = 23;
const DWORD kText1Size = 256;
const LONGLONG kText2Offset = 279;
const DWORD kText2SizeFirst = 13;
const DWORD kText2Size = 32;
const DWORD kFirstVersion = 0x00000100;

// Versions whose header holds the second text field.
bool HasText2(DWORD version)
{
    switch (version)
    {
    case 0x00000100:
    case 0x01000100:
    case 0x02000100:
    case 0x03000100:
    case 0x00000200:
    case 0x01000200:
        return true;
    default:
        return false;
    }
}

// Exactly size bytes at the absolute offset; a short read fails too.
bool ReadAt(HANDLE file, LONGLONG offset, void* buffer, DWORD size)
{
    LARGE_INTEGER position;
    position.QuadPart = offset;
    DWORD read = 0;
    return SetFilePointerEx(file, position, nullptr, FILE_BEGIN) &&
           ReadFile(file, buffer, size, &read, nullptr) && read == size;
}

// The ANSI text up to the first NUL of a field, or the whole field without one.
CString FieldText(const char* field, DWORD size)
{
    int length = static_cast<int>(strnlen(field, size));
    if (length == 0)
        return CString();
    // No code page makes more UTF-16 units than bytes.
    wchar_t wide[kText1Size];
    int wideLength = MultiByteToWideChar(CP_ACP, 0, field, length, wide, length);
    return CString(wide, wideLength);
}

ZarnErrorCode ReadHeader(const wchar_t* pszFile, DWORD* pdwVersion, CString* pstrText1,
                         CString* pstrText2)
{
    if (pszFile == nullptr)
        return ZEC_FILE_OPEN_FAILED;
    CScopedFileHandle file(
        CreateFileW(pszFile, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file.IsValid())
        return ZEC_FILE_OPEN_FAILED;

    char magic[sizeof(kMagic)];
    if (!ReadAt(file.Get(), 0, magic, sizeof(magic)))
        return ZEC_FILE_READ_FAILED;
    if (memcmp(magic, kMagic, sizeof(kMagic)) != 0)
        return ZEC_NOT_CACHE_FILE;

    BYTE versionBytes[4];
    if (!ReadAt(file.Get(), kVersionOffset, versionBytes, sizeof(versionBytes)))
        return ZEC_FILE_READ_FAILED;
    DWORD version = versionBytes[0] | (versionBytes[1] << 8) | (versionBytes[2] << 16) |
                    (static_cast<DWORD>(versionBytes[3]) << 24);
    if (pdwVersion)
        *pdwVersion = version;

    if (pstrText1)
    {
        char text[kText1Size];
        if (!ReadAt(file.Get(), kText1Offset, text, kText1Size))
            return ZEC_FILE_READ_FAILED;
        *pstrText1 = FieldText(text, kText1Size);
    }

    if (pstrText2)
    {
        if (!HasText2(version))
            return ZEC_CACHE_VERSION;
        DWORD size = version == kFirstVersion ? kText2SizeFirst : kText2Size;
        char text[kText2Size];
        if (!ReadAt(file.Get(), kText2Offset, text, size))
            return ZEC_FILE_READ_FAILED;
        *pstrText2 = FieldText(text, size);
    }
    return ZEC_NO_ERROR;
}

} // namespace

CErrorAutoThrow ReadCacheFileInfo(const wchar_t* pszFile, DWORD* pdwVersion, CString* pstrText1,
                                  CString* pstrText2)
{
    CErrorAutoThrow result;
    ZarnErrorCode code = ReadHeader(pszFile, pdwVersion, pstrText1, pstrText2);
    if (code != ZEC_NO_ERROR)
        result.SetError(code, nullptr, nullptr, 0);
    return result;
}
