// The rule for one name inside a folder and the expansion of translated name
// patterns.
#include "fileutil/NameRules.h"

#include <cwchar>

bool IsPlainFileName(const wchar_t* pszName)
{
    if (pszName == nullptr || *pszName == L'\0')
        return false;
    bool bOnlyDotsAndSpaces = true;
    for (const wchar_t* p = pszName; *p != L'\0'; ++p)
    {
        if (*p < 0x20 || wcschr(L"\\/:*?\"<>|", *p) != nullptr)
            return false;
        if (*p != L'.' && *p != L' ')
            bOnlyDotsAndSpaces = false;
    }
    return !bOnlyDotsAndSpaces;
}

bool ExpandNamePattern(const CString& strPattern, const CString* pBase, const int* pNumber, CString& strOut)
{
    strOut.Empty();
    int nNames = 0;
    int nNumbers = 0;
    const int nLength = strPattern.GetLength();
    for (int i = 0; i < nLength; ++i)
    {
        const wchar_t ch = strPattern[i];
        if (ch != L'%')
        {
            strOut += ch;
            continue;
        }
        if (++i == nLength)
            return false;
        switch (strPattern[i])
        {
        case L'%':
            strOut += L'%';
            break;
        case L's':
            if (pBase == nullptr)
                return false;
            ++nNames;
            strOut += *pBase;
            break;
        case L'd':
            if (pNumber == nullptr)
                return false;
            ++nNumbers;
            strOut.AppendFormat(L"%d", *pNumber);
            break;
        default:
            return false;
        }
    }
    return nNames == (pBase != nullptr ? 1 : 0) && nNumbers == (pNumber != nullptr ? 1 : 0);
}
