// Scope holders for the kernel objects that the file helpers open: each closes
// its object on every path out of the scope that took it.
#pragma once

#include <windows.h>

template <class Traits>
class CScopedHandle
{
public:
    using Type = typename Traits::Type;

    CScopedHandle() noexcept : m_h(Traits::Invalid()) {}
    explicit CScopedHandle(Type h) noexcept : m_h(h) {}
    ~CScopedHandle() { Close(); }
    CScopedHandle(const CScopedHandle&) = delete;
    CScopedHandle& operator=(const CScopedHandle&) = delete;

    bool IsValid() const noexcept { return m_h != Traits::Invalid(); }
    Type Get() const noexcept { return m_h; }

    // For functions that return the object through an out-pointer; closes the
    // one held before.
    Type* Receive() noexcept
    {
        Close();
        return &m_h;
    }

    void Close() noexcept
    {
        if (IsValid())
            Traits::Close(m_h);
        m_h = Traits::Invalid();
    }

private:
    Type m_h;
};

struct CFileHandleTraits
{
    using Type = HANDLE;
    static HANDLE Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) noexcept { ::CloseHandle(h); }
};

struct CFindHandleTraits
{
    using Type = HANDLE;
    static HANDLE Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) noexcept { ::FindClose(h); }
};

struct CRegKeyTraits
{
    using Type = HKEY;
    static HKEY Invalid() noexcept { return nullptr; }
    static void Close(HKEY h) noexcept { ::RegCloseKey(h); }
};

using CScopedFileHandle = CScopedHandle<CFileHandleTraits>; // CreateFileW
using CScopedFindHandle = CScopedHandle<CFindHandleTraits>; // FindFirstFileW
using CScopedRegKey = CScopedHandle<CRegKeyTraits>;         // RegOpenKeyExW
