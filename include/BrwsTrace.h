// Diagnostic trace to the debugger output, shared by the maker's modules.
// Output is on only when the named event "TVM_OUTPUT_DEBUG_ENABLE" is signalled
// or, when no module has created it yet, the per-user registry switch is set.
#pragma once

#include <windows.h>
#include "BrwsUtilExport.h"

#define RTRACE_LEVEL_INFO  L"[TVMx64]\t[INFO]\t\t"
#define RTRACE_LEVEL_DEBUG L"[TVMx64]\t[DEBUG]\t"

// A trace record: built on the stack with its fields, then called with a
// printf-style wide format (%s takes a wide string). Only records with the
// INFO level text produce output.
class BRWSUTIL_API RTRACE
{
public:
    RTRACE(const wchar_t* pszCategory = nullptr, const wchar_t* pszFile = nullptr,
           const wchar_t* pszLevel = nullptr, int nLine = 0)
        : m_pszCategory(pszCategory), m_pszFile(pszFile), m_pszLevel(pszLevel), m_nLine(nLine)
    {
    }
    virtual ~RTRACE();

    void operator()(const wchar_t* pszFormat, ...) const;

    const wchar_t* m_pszCategory;
    const wchar_t* m_pszFile;
    const wchar_t* m_pszLevel;
    int m_nLine;
};
