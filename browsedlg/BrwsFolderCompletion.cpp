// Path completion of the folder field. The shell's completion control asks
// its list to expand the text up to the last separator, then offers the
// entries that start with what was typed; ours lists that folder's
// subfolders as full paths, spelt with the typed parent so that they match.
#include "browsedlg/BrwsFolderCompletion.h"

#include "BrwsShellSettings.h"
#include "fileutil/PathInternal.h"
#include "module/Holders.h"

#include <shldisp.h>
#include <shlguid.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <new>
#include <vector>

namespace {

// The subfolders of the last folder the completion control expanded. The
// control holds the only lasting reference, for as long as the edit lives.
class CSubfolderList final : public IEnumString, public IACList
{
public:
    CSubfolderList() = default;
    CSubfolderList(const CSubfolderList&) = delete;
    CSubfolderList& operator=(const CSubfolderList&) = delete;

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override
    {
        if (!ppv)
            return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_IEnumString)
            *ppv = static_cast<IEnumString*>(this);
        else if (riid == IID_IACList)
            *ppv = static_cast<IACList*>(this);
        else
        {
            *ppv = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&m_cRef)); }
    STDMETHODIMP_(ULONG) Release() override
    {
        const LONG cRef = InterlockedDecrement(&m_cRef);
        if (cRef == 0)
            delete this;
        return static_cast<ULONG>(cRef);
    }

    // The caller frees each string with CoTaskMemFree.
    STDMETHODIMP Next(ULONG celt, LPOLESTR* rgelt, ULONG* pceltFetched) override;
    STDMETHODIMP Skip(ULONG celt) override
    {
        m_nNext += celt;
        return m_nNext <= m_entries.size() ? S_OK : S_FALSE;
    }
    STDMETHODIMP Reset() override
    {
        m_nNext = 0;
        return S_OK;
    }
    STDMETHODIMP Clone(IEnumString** ppenum) override { return E_NOTIMPL; }
    STDMETHODIMP Expand(PCWSTR pszParent) override;

private:
    ~CSubfolderList() = default;

    LONG m_cRef = 1;
    std::vector<CString> m_entries;
    size_t m_nNext = 0;
};

STDMETHODIMP CSubfolderList::Next(ULONG celt, LPOLESTR* rgelt, ULONG* pceltFetched)
{
    if (!rgelt || (celt > 1 && !pceltFetched))
        return E_POINTER;
    ULONG nFetched = 0;
    for (; nFetched < celt && m_nNext < m_entries.size(); ++nFetched, ++m_nNext)
    {
        const CString& strEntry = m_entries[m_nNext];
        const size_t cb = (static_cast<size_t>(strEntry.GetLength()) + 1) * sizeof(wchar_t);
        rgelt[nFetched] = static_cast<LPOLESTR>(CoTaskMemAlloc(cb));
        if (!rgelt[nFetched])
            break;
        memcpy(rgelt[nFetched], static_cast<LPCWSTR>(strEntry), cb);
    }
    if (pceltFetched)
        *pceltFetched = nFetched;
    return nFetched == celt ? S_OK : S_FALSE;
}

STDMETHODIMP CSubfolderList::Expand(PCWSTR pszParent)
{
    m_entries.clear();
    m_nNext = 0;
    if (!pszParent || !*pszParent)
        return S_OK;
    const CString strParent(pszParent);
    const bool bShowHidden = ShowHiddenFiles() != 0;
    WIN32_FIND_DATAW data;
    CScopedFindHandle search(::FindFirstFileExW(ExtendedLengthPath(strParent + L"*"), FindExInfoBasic, &data,
                                                FindExSearchLimitToDirectories, nullptr, 0));
    for (bool bMore = search.IsValid(); bMore; bMore = ::FindNextFileW(search.Get(), &data) != FALSE)
    {
        const bool bDots = wcscmp(data.cFileName, L".") == 0 || wcscmp(data.cFileName, L"..") == 0;
        const bool bHidden = (data.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN) != 0;
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !bDots && (bShowHidden || !bHidden))
            m_entries.push_back(strParent + data.cFileName);
    }
    return S_OK;
}

} // namespace

bool CBrwsFolderCompletion::Attach(HWND hCombo)
{
    m_dropDown.Reset();
    HWND hEdit = hCombo ? ::FindWindowExW(hCombo, nullptr, L"Edit", nullptr) : nullptr;
    if (!hEdit)
        return false;
    if (::SHAutoComplete(hEdit, SHACF_FILESYS_DIRS) == S_OK)
        return true;

    CComHolder<IAutoComplete2> complete;
    if (FAILED(::CoCreateInstance(CLSID_AutoComplete, nullptr, CLSCTX_INPROC_SERVER, IID_IAutoComplete2,
                                  complete.ReceiveVoid())))
        return false;
    CComHolder<IEnumString> list(new (std::nothrow) CSubfolderList);
    if (!list || FAILED(complete->Init(hEdit, list.Get(), nullptr, nullptr)))
        return false;
    complete->SetOptions(ACO_AUTOSUGGEST);
    complete->QueryInterface(IID_IAutoCompleteDropDown, m_dropDown.ReceiveVoid());
    return true;
}

bool CBrwsFolderCompletion::IsListShown() const
{
    DWORD dwFlags = 0;
    return m_dropDown && SUCCEEDED(m_dropDown->GetDropDownStatus(&dwFlags, nullptr)) && (dwFlags & ACDD_VISIBLE);
}
