#include "ListingGate.h"

#include "drivetree/ListingSeam.h"
#include "module/Holders.h"

#include <shlwapi.h>

namespace testing_support {

namespace {

ListingGate* g_pGate = nullptr;

std::wstring Upper(std::wstring text)
{
    CharUpperBuffW(&text[0], static_cast<DWORD>(text.size()));
    return text;
}

std::wstring NameOf(IShellFolder* pFolder, LPCITEMIDLIST relative)
{
    STRRET name = {};
    wchar_t szName[MAX_PATH] = {};
    if (SUCCEEDED(pFolder->GetDisplayNameOf(relative, SHGDN_INFOLDER, &name)))
        StrRetToBufW(&name, relative, szName, MAX_PATH);
    return szName;
}

// IUnknown for the wrappers below: one interface, counted references.
template <class Interface>
class CCounted : public Interface
{
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override
    {
        *ppv = (riid == IID_IUnknown || riid == __uuidof(Interface)) ? static_cast<Interface*>(this) : nullptr;
        return *ppv ? (AddRef(), S_OK) : E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&m_nRefs); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const ULONG nRefs = InterlockedDecrement(&m_nRefs);
        if (!nRefs)
            delete this;
        return nRefs;
    }

protected:
    virtual ~CCounted() = default;

private:
    LONG m_nRefs = 1;
};

} // namespace

// An enumerator that waits at the gate before it gives its first item.
class GatedEnum : public CCounted<IEnumIDList>
{
public:
    GatedEnum(ListingGate& gate, IEnumIDList* pInner, bool bAtEnd)
        : m_gate(gate), m_inner(CComHolder<IEnumIDList>::Share(pInner)), m_bAtEnd(bAtEnd)
    {
    }

    // Held at the end: the last items come as if more followed, and the
    // call after them waits.
    HRESULT STDMETHODCALLTYPE Next(ULONG celt, PITEMID_CHILD* rgelt, ULONG* pFetched) override
    {
        if (!m_bAtEnd || m_bEnded)
            WaitOnce();
        if (m_bEnded)
        {
            *pFetched = 0;
            return S_FALSE;
        }
        const HRESULT hr = m_inner->Next(celt, rgelt, pFetched);
        m_bEnded = m_bAtEnd && hr == S_FALSE;
        return m_bEnded ? S_OK : hr;
    }
    HRESULT STDMETHODCALLTYPE Skip(ULONG celt) override { return m_inner->Skip(celt); }
    HRESULT STDMETHODCALLTYPE Reset() override { return m_inner->Reset(); }
    HRESULT STDMETHODCALLTYPE Clone(IEnumIDList** ppEnum) override { return m_inner->Clone(ppEnum); }

private:
    void WaitOnce()
    {
        if (m_bPassed)
            return;
        InterlockedIncrement(&m_gate.m_nWaiting);
        WaitForSingleObject(m_gate.m_hOpen, INFINITE);
        InterlockedDecrement(&m_gate.m_nWaiting);
        m_bPassed = true;
    }

    ListingGate& m_gate;
    CComHolder<IEnumIDList> m_inner;
    const bool m_bAtEnd;
    bool m_bPassed = false, m_bEnded = false;
};

// The real folder, but for what its mode changes.
class GatedFolder : public CCounted<IShellFolder>
{
public:
    GatedFolder(ListingGate& gate, IShellFolder* pInner, ListingGate::Mode mode)
        : m_gate(gate), m_inner(CComHolder<IShellFolder>::Share(pInner)), m_mode(mode)
    {
        if (InterlockedIncrement(&m_gate.m_nLive) == 1)
            ResetEvent(m_gate.m_hNoneLive);
    }

    HRESULT STDMETHODCALLTYPE EnumObjects(HWND h, SHCONTF f, IEnumIDList** ppEnum) override
    {
        if (m_mode == ListingGate::Mode::Fail)
            return E_FAIL;
        HRESULT hr = m_inner->EnumObjects(h, f, ppEnum);
        const bool bHold = m_mode == ListingGate::Mode::Hold || m_mode == ListingGate::Mode::HoldEnd;
        if (bHold && hr == S_OK && *ppEnum)
        {
            IEnumIDList* pInner = *ppEnum;
            *ppEnum = new GatedEnum(m_gate, pInner, m_mode == ListingGate::Mode::HoldEnd);
            pInner->Release();
        }
        return hr;
    }
    HRESULT STDMETHODCALLTYPE GetAttributesOf(UINT cidl, PCUITEMID_CHILD_ARRAY apidl, SFGAOF* pAttributes) override
    {
        const std::wstring name = cidl == 1 && m_mode == ListingGate::Mode::Decorate ? NameOf(m_inner.Get(), apidl[0])
                                                                                      : std::wstring();
        if (name == L"broken")
            return E_FAIL;
        HRESULT hr = m_inner->GetAttributesOf(cidl, apidl, pAttributes);
        if (name == L"link")
            *pAttributes |= SFGAO_LINK;
        if (name == L"leaf")
            *pAttributes &= ~SFGAO_HASSUBFOLDER;
        return hr;
    }
    // The rest as the real folder answers.
#define FORWARD(Method, Params, Args) \
    HRESULT STDMETHODCALLTYPE Method Params override { return m_inner->Method Args; }
    FORWARD(ParseDisplayName, (HWND h, IBindCtx* b, LPWSTR n, ULONG* e, PIDLIST_RELATIVE* p, ULONG* a),
            (h, b, n, e, p, a))
    FORWARD(BindToObject, (PCUIDLIST_RELATIVE p, IBindCtx* b, REFIID r, void** v), (p, b, r, v))
    FORWARD(BindToStorage, (PCUIDLIST_RELATIVE p, IBindCtx* b, REFIID r, void** v), (p, b, r, v))
    FORWARD(CompareIDs, (LPARAM l, PCUIDLIST_RELATIVE a, PCUIDLIST_RELATIVE b), (l, a, b))
    FORWARD(CreateViewObject, (HWND h, REFIID r, void** v), (h, r, v))
    FORWARD(GetUIObjectOf, (HWND h, UINT c, PCUITEMID_CHILD_ARRAY a, REFIID r, UINT* x, void** v), (h, c, a, r, x, v))
    FORWARD(GetDisplayNameOf, (PCUITEMID_CHILD p, SHGDNF f, STRRET* n), (p, f, n))
    FORWARD(SetNameOf, (HWND h, PCUITEMID_CHILD p, LPCWSTR n, SHGDNF f, PITEMID_CHILD* o), (h, p, n, f, o))
#undef FORWARD

private:
    ~GatedFolder() override
    {
        if (InterlockedDecrement(&m_gate.m_nLive) == 0)
            SetEvent(m_gate.m_hNoneLive);
    }
    ListingGate& m_gate;
    CComHolder<IShellFolder> m_inner;
    const ListingGate::Mode m_mode;
};

ListingGate::ListingGate()
    : m_hOpen(CreateEventW(nullptr, TRUE, FALSE, nullptr)), m_hNoneLive(CreateEventW(nullptr, TRUE, TRUE, nullptr))
{
    g_pGate = this;
    BrwsSetListingBindHook(&ListingGate::Bind);
}

ListingGate::~ListingGate()
{
    BrwsSetListingBindHook(nullptr);
    Open();
    WaitUntilNoneLive(10000);
    g_pGate = nullptr;
    CloseHandle(m_hOpen);
    CloseHandle(m_hNoneLive);
}

void ListingGate::Set(const std::wstring& path, Mode mode)
{
    std::lock_guard<std::mutex> lock(m_lock);
    m_modes[Upper(path)] = mode;
}

void ListingGate::Clear(const std::wstring& path)
{
    std::lock_guard<std::mutex> lock(m_lock);
    m_modes.erase(Upper(path));
}

// On the listing thread.
HRESULT CALLBACK ListingGate::Bind(LPCITEMIDLIST pidlFull, IShellFolder** ppFolder)
{
    ListingGate* pGate = g_pGate;
    wchar_t szPath[MAX_PATH] = {};
    if (!pGate || !SHGetPathFromIDListW(pidlFull, szPath))
        return S_FALSE;
    std::unique_lock<std::mutex> lock(pGate->m_lock);
    auto it = pGate->m_modes.find(Upper(szPath));
    if (it == pGate->m_modes.end())
        return S_FALSE;
    const Mode mode = it->second;
    lock.unlock();
    CComHolder<IShellFolder> desktop, real;
    HRESULT hr = SHGetDesktopFolder(desktop.Receive());
    if (SUCCEEDED(hr))
        hr = desktop->BindToObject(pidlFull, nullptr, IID_IShellFolder, real.ReceiveVoid());
    if (FAILED(hr))
        return hr;
    *ppFolder = new GatedFolder(*pGate, real.Get(), mode);
    return S_OK;
}

} // namespace testing_support
