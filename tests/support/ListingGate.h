// Folders whose listing a test controls, through the drive tree's listing
// seam: a listing of such a folder can be held until the test lets it go,
// can fail, or can see items the real shell folder reports otherwise.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include <map>
#include <mutex>
#include <string>

namespace testing_support {

class ListingGate
{
public:
    enum class Mode
    {
        Hold,     // the enumeration waits before its first item until Open()
        HoldEnd,  // the enumeration gives every item, then waits before its end until Open()
        Fail,     // EnumObjects fails
        Decorate, // the item "link" is a shortcut, "broken" has no attributes, "leaf" no subfolders
    };

    // Installs the seam; the destructor takes it out again, lets every held
    // listing go, and waits until no listing holds a gated folder any more.
    ListingGate();
    ~ListingGate();

    void Set(const std::wstring& path, Mode mode);
    // The folder is listed as usual from now on.
    void Clear(const std::wstring& path);
    // Lets every held listing go on; Close holds those that start later.
    void Open() { SetEvent(m_hOpen); }
    void Close() { ResetEvent(m_hOpen); }
    // Listings waiting at the gate now.
    int Waiting() const { return static_cast<int>(m_nWaiting); }
    // Waits up to timeoutMs (without pumping messages) until no listing holds
    // a gated folder any more.
    bool WaitUntilNoneLive(DWORD timeoutMs) const
    {
        return WaitForSingleObject(m_hNoneLive, timeoutMs) == WAIT_OBJECT_0;
    }

private:
    static HRESULT CALLBACK Bind(LPCITEMIDLIST pidlFull, IShellFolder** ppFolder);
    friend class GatedFolder;
    friend class GatedEnum;

    mutable std::mutex m_lock;
    std::map<std::wstring, Mode> m_modes; // by path, upper case
    HANDLE m_hOpen;                       // manual reset: held listings go on
    HANDLE m_hNoneLive;                   // manual reset: no gated folder is held
    volatile LONG m_nWaiting = 0;
    volatile LONG m_nLive = 0;
};

} // namespace testing_support
