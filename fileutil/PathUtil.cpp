// Name, path, UNC and filter helpers. Everything works on the caller's UTF-16
// text as it is: a round trip through the ANSI code page would turn characters
// outside it (Japanese, Greek, emoji on a Western system) into '?'.
#include "BrwsPathUtil.h"
#include "fileutil/PathInternal.h"

#include <cstdint>
#include <cwchar>
#include <string>

namespace {

// The longest path GetUNCComponents accepts and the longest part it returns,
// terminator included: the limits of the fixed buffers it always had, kept so
// that its answers do not change.
const size_t kMaxUncPath = 780;
const size_t kMaxUncPart = 260;

bool IsSeparator(wchar_t c)
{
    return c == L'\\' || c == L'/';
}

// The characters from pos up to the next separator or the end; pos moves past
// them and past the separator that stopped the scan.
std::wstring TakePart(const wchar_t* text, size_t length, size_t& pos)
{
    size_t start = pos;
    while (pos < length && !IsSeparator(text[pos]))
        ++pos;
    std::wstring part(text + start, pos - start);
    if (pos < length)
        ++pos;
    return part;
}

// Whole-text match of '*' and '?' wildcards. On a mismatch it returns to the
// latest '*' and lets it take one more character; earlier stars never need to be
// revisited, since the latest one can already absorb anything they could.
// Worst case O(name x filter), no recursion.
bool MatchWildcards(const wchar_t* name, size_t nameLength, const wchar_t* filter,
                    size_t filterLength)
{
    size_t s = 0;
    size_t p = 0;
    size_t star = SIZE_MAX; // filter index of the latest '*'
    size_t starName = 0;    // name index where that '*' currently ends
    while (s < nameLength)
    {
        if (p < filterLength && filter[p] == L'*')
        {
            star = p++;
            starName = s;
        }
        else if (p < filterLength && (filter[p] == L'?' || filter[p] == name[s]))
        {
            ++p;
            ++s;
        }
        else if (star != SIZE_MAX)
        {
            p = star + 1;
            s = ++starName;
        }
        else
        {
            return false;
        }
    }
    while (p < filterLength && filter[p] == L'*')
        ++p;
    return p == filterLength;
}

} // namespace

int GetFileNameIndex(const wchar_t* path)
{
    if (path == nullptr || *path == L'\0')
        return 0;
    const wchar_t* last = wcsrchr(path, L'\\');
    if (last == nullptr)
        return 0;
    if (last[1] == L'\0')
        return -1;
    return static_cast<int>(last + 1 - path);
}

int GetFileNameExtIndex(const wchar_t* name)
{
    if (name == nullptr)
        return -1;
    const wchar_t* dot = wcsrchr(name, L'.');
    return dot ? static_cast<int>(dot + 1 - name) : -1;
}

CString& RemovePathTrailer_Br(CString& path)
{
    int length = path.GetLength();
    if (length == 0 || !IsSeparator(path[length - 1]))
        return path;
    // A lone separator and a drive root ("D:\") name a root; stripping would
    // turn them into a relative path.
    if (length == 1 || (length == 3 && path[1] == L':'))
        return path;
    path.Delete(length - 1, 1);
    return path;
}

void AddPathBackslash(CString& path)
{
    int length = path.GetLength();
    if (length != 0 && path[length - 1] != L'\\')
        path += L'\\';
}

int GetUNCComponents(const wchar_t* path, CString* pstrServer, CString* pstrShare,
                     CString* pstrRest)
{
    for (CString* out : {pstrServer, pstrShare, pstrRest})
    {
        if (out)
            out->Empty();
    }
    if (pstrServer == nullptr && pstrShare == nullptr)
        return FALSE;
    if (path == nullptr || *path == L'\0')
        return FALSE;
    size_t length = wcsnlen(path, kMaxUncPath);
    if (length >= 2 && path[1] == L':')
        return FALSE;
    if (length >= kMaxUncPath)
        return FALSE;

    size_t pos = 0;
    if (path[0] == L'\\')
    {
        if (length < 3 || path[1] != L'\\')
            return FALSE;
        pos = 2;
    }
    std::wstring server = L"\\\\" + TakePart(path, length, pos);
    // "s\x" is too short to hold a server; "sv\x" and "\\s\x" are not.
    if (pos <= 2)
        return FALSE;
    if (server.size() >= kMaxUncPart)
        return FALSE;

    std::wstring share;
    std::wstring rest;
    if (pstrShare || pstrRest)
    {
        share = TakePart(path, length, pos);
        if (share.size() >= kMaxUncPart)
            return FALSE;
        if (pstrRest && !share.empty())
        {
            rest.assign(path + pos, length - pos);
            if (rest.size() >= kMaxUncPart)
                return FALSE;
        }
    }

    // Stored only now, so that a failure above leaves every out-string empty.
    if (pstrServer)
        *pstrServer = server.c_str();
    if (pstrShare)
        *pstrShare = share.c_str();
    if (pstrRest)
        *pstrRest = rest.c_str();
    return TRUE;
}

int DoesFileNameMatchFilter(const wchar_t* pszName, const wchar_t* pszFilter, int bCaseSensitive)
{
    CString strName(pszName ? pszName : L"");
    CString strFilter(pszFilter ? pszFilter : L"");
    if (!bCaseSensitive)
    {
        strName.MakeLower();
        strFilter.MakeLower();
    }
    if (strFilter.FindOneOf(L"*?") < 0)
        return strFilter.IsEmpty() || strName.Find(strFilter) >= 0;
    return MatchWildcards(strName.GetString(), static_cast<size_t>(strName.GetLength()),
                          strFilter.GetString(), static_cast<size_t>(strFilter.GetLength()));
}
