// Lets GoogleTest show CString values in failure messages.
#pragma once

#include <afxstr.h>

#include <ostream>

inline void PrintTo(const CString& value, std::ostream* os)
{
    int n = WideCharToMultiByte(CP_UTF8, 0, value, value.GetLength(), nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, value, value.GetLength(), &utf8[0], n, nullptr, nullptr);
    *os << '"' << utf8 << '"';
}
