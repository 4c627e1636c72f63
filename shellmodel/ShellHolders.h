// Scope holders for what the shell hands out: one COM interface reference and
// one block of the task allocator (identifier lists, shell strings). Every
// early return and every exception then gives back what was taken, and a
// successful hand-over is written as Detach().
#pragma once

#include <objbase.h>
#include <shlobj.h>

// Owns one reference to a COM interface, or nothing.
template <class T>
class CComHolder
{
public:
    CComHolder() noexcept = default;
    // Adopts a reference the caller already owns.
    explicit CComHolder(T* p) noexcept : m_p(p) {}
    ~CComHolder() { Reset(); }

    CComHolder(CComHolder&& other) noexcept : m_p(other.Detach()) {}
    CComHolder& operator=(CComHolder&& other) noexcept
    {
        if (this != &other)
            Reset(other.Detach());
        return *this;
    }
    CComHolder(const CComHolder&) = delete;
    CComHolder& operator=(const CComHolder&) = delete;

    // Takes one more reference on p (which may be null) for the holder.
    static CComHolder Share(T* p) noexcept
    {
        if (p)
            p->AddRef();
        return CComHolder(p);
    }

    T* Get() const noexcept { return m_p; }
    T* operator->() const noexcept { return m_p; }
    explicit operator bool() const noexcept { return m_p != nullptr; }

    // The slot for an out-parameter; whatever was held is released first.
    T** Receive() noexcept
    {
        Reset();
        return &m_p;
    }
    void** ReceiveVoid() noexcept { return reinterpret_cast<void**>(Receive()); }

    // Hands the reference to the caller.
    T* Detach() noexcept
    {
        T* p = m_p;
        m_p = nullptr;
        return p;
    }

    // Releases what is held and adopts p.
    void Reset(T* p = nullptr) noexcept
    {
        T* old = m_p;
        m_p = p;
        if (old)
            old->Release();
    }

private:
    T* m_p = nullptr;
};

// Owns one block of the COM task allocator (the allocator behind SHGetMalloc),
// or nothing.
template <class T>
class CTaskMemHolder
{
public:
    CTaskMemHolder() noexcept = default;
    // Adopts a block the caller already owns.
    explicit CTaskMemHolder(T* p) noexcept : m_p(p) {}
    ~CTaskMemHolder() { Reset(); }

    CTaskMemHolder(CTaskMemHolder&& other) noexcept : m_p(other.Detach()) {}
    CTaskMemHolder& operator=(CTaskMemHolder&& other) noexcept
    {
        if (this != &other)
            Reset(other.Detach());
        return *this;
    }
    CTaskMemHolder(const CTaskMemHolder&) = delete;
    CTaskMemHolder& operator=(const CTaskMemHolder&) = delete;

    T* Get() const noexcept { return m_p; }
    explicit operator bool() const noexcept { return m_p != nullptr; }

    // The slot for an out-parameter; whatever was held is freed first.
    T** Receive() noexcept
    {
        Reset();
        return &m_p;
    }

    // Hands the block to the caller.
    T* Detach() noexcept
    {
        T* p = m_p;
        m_p = nullptr;
        return p;
    }

    // Frees what is held and adopts p.
    void Reset(T* p = nullptr) noexcept
    {
        T* old = m_p;
        m_p = p;
        if (old)
            CoTaskMemFree(old);
    }

private:
    T* m_p = nullptr;
};

typedef CTaskMemHolder<ITEMIDLIST> CIDListHolder;
typedef CComHolder<IShellFolder> CShellFolderHolder;
