// Scope holders for everything the library takes from the system: COM
// references, blocks of the COM task allocator (identifier lists, shell
// strings), kernel, find, change-notification, registry and GDI handles.
// Every early return and every exception then gives back what was taken, and
// a successful hand-over is written as Detach(). Not exported: no header of
// include/ names it, so a host of the DLL never sees it; the sample host, the
// bench and the tests, built from this tree, use it as the library does.
//
// One template, CHolder<Traits>; a traits class says what the held value is,
// which value means "nothing" and how the value is given back:
//   using Type = ...;             the value held
//   static Type Empty();          what the taking function gives on failure
//   static void Free(Type v);     gives back a value that is not Empty()
//   static void Share(Type v);    (optional) takes one more reference, for Share()
#pragma once

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

// Owns one value of Traits::Type, or nothing (Traits::Empty()). Moves, never
// copies.
template <class Traits>
class CHolder
{
public:
    using Type = typename Traits::Type;

    CHolder() noexcept = default;
    // Adopts a value the caller already owns.
    explicit CHolder(Type value) noexcept : m_value(value) {}
    ~CHolder() { Reset(); }

    CHolder(CHolder&& other) noexcept : m_value(other.Detach()) {}
    CHolder& operator=(CHolder&& other) noexcept
    {
        if (this != &other)
            Reset(other.Detach());
        return *this;
    }
    CHolder(const CHolder&) = delete;
    CHolder& operator=(const CHolder&) = delete;

    // A holder of one more reference on value (which may be empty); only for
    // traits that can share, such as COM references.
    static CHolder Share(Type value) noexcept
    {
        if (value != Traits::Empty())
            Traits::Share(value);
        return CHolder(value);
    }

    Type Get() const noexcept { return m_value; }
    // For COM references: calls on the interface held.
    Type operator->() const noexcept { return m_value; }
    bool IsValid() const noexcept { return m_value != Traits::Empty(); }
    explicit operator bool() const noexcept { return IsValid(); }

    // The slot for an out-parameter; whatever was held is given back first.
    Type* Receive() noexcept
    {
        Reset();
        return &m_value;
    }
    // The same slot for functions that take void** (QueryInterface, CoCreateInstance).
    void** ReceiveVoid() noexcept { return reinterpret_cast<void**>(Receive()); }

    // Hands the value to the caller; the holder is left empty.
    Type Detach() noexcept
    {
        Type value = m_value;
        m_value = Traits::Empty();
        return value;
    }

    // Gives back what is held and adopts value.
    void Reset(Type value = Traits::Empty()) noexcept
    {
        Type old = m_value;
        m_value = value;
        if (old != Traits::Empty())
            Traits::Free(old);
    }

private:
    Type m_value = Traits::Empty();
};

// ---- COM and the shell ----------------------------------------------------------

// One reference to a COM interface.
template <class T>
struct CComTraits
{
    using Type = T*;
    static T* Empty() noexcept { return nullptr; }
    static void Free(T* p) noexcept { p->Release(); }
    static void Share(T* p) noexcept { p->AddRef(); }
};

// One block of the COM task allocator (the allocator behind SHGetMalloc).
template <class T>
struct CTaskMemTraits
{
    using Type = T*;
    static T* Empty() noexcept { return nullptr; }
    static void Free(T* p) noexcept { ::CoTaskMemFree(p); }
};

template <class T>
using CComHolder = CHolder<CComTraits<T>>;
template <class T>
using CTaskMemHolder = CHolder<CTaskMemTraits<T>>;
using CIDListHolder = CTaskMemHolder<ITEMIDLIST>;
using CShellFolderHolder = CComHolder<IShellFolder>;

// ---- Kernel handles ---------------------------------------------------------------
// The kernel's functions disagree on what failure returns. INVALID_HANDLE_VALUE:
// CreateFileW, CreateToolhelp32Snapshot, CreateNamedPipeW, FindFirstFileW and
// FindFirstChangeNotificationW. Null: CreateEventW, OpenEventW, CreateMutexW,
// CreateThread, OpenProcess, OpenThread, CreateFileMappingW. Each holder is
// empty at its functions' failure value, so IsValid() is the failure test.

// A handle that is empty at INVALID_HANDLE_VALUE.
struct CInvalidEmptyHandleTraits
{
    using Type = HANDLE;
    static HANDLE Empty() noexcept { return INVALID_HANDLE_VALUE; }
};

struct CFileHandleTraits : CInvalidEmptyHandleTraits
{
    static void Free(HANDLE h) noexcept { ::CloseHandle(h); }
};

struct CFindHandleTraits : CInvalidEmptyHandleTraits
{
    static void Free(HANDLE h) noexcept { ::FindClose(h); }
};

struct CChangeNotificationTraits : CInvalidEmptyHandleTraits
{
    static void Free(HANDLE h) noexcept { ::FindCloseChangeNotification(h); }
};

struct CKernelHandleTraits
{
    using Type = HANDLE;
    static HANDLE Empty() noexcept { return nullptr; }
    static void Free(HANDLE h) noexcept { ::CloseHandle(h); }
};

using CScopedFileHandle = CHolder<CFileHandleTraits>;     // CreateFileW, CreateToolhelp32Snapshot
using CScopedKernelHandle = CHolder<CKernelHandleTraits>; // events, threads, processes
using CScopedFindHandle = CHolder<CFindHandleTraits>;     // FindFirstFileW, FindFirstFileExW

// FindFirstChangeNotificationW. A class rather than an alias so that the
// drive tree's exported header can name it in a forward declaration.
class CChangeNotificationHandle : public CHolder<CChangeNotificationTraits>
{
public:
    using CHolder::CHolder;
};

// ---- Registry and GDI -----------------------------------------------------------

struct CRegKeyTraits
{
    using Type = HKEY;
    static HKEY Empty() noexcept { return nullptr; }
    static void Free(HKEY h) noexcept { ::RegCloseKey(h); }
};

// A pen, brush, font, bitmap or region that no device context has selected.
template <class T>
struct CGdiObjectTraits
{
    using Type = T;
    static T Empty() noexcept { return nullptr; }
    static void Free(T h) noexcept { ::DeleteObject(h); }
};

using CScopedRegKey = CHolder<CRegKeyTraits>; // RegOpenKeyExW, RegCreateKeyExW
template <class T>
using CGdiObjectHolder = CHolder<CGdiObjectTraits<T>>;
