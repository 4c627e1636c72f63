#include "TarkLanguage.h"

#include <map>
#include <mutex>
#include <string>
#include <vector>
#include <wctype.h>

namespace {

std::wstring KeyOf(LPCWSTR psz)
{
    std::wstring key(psz ? psz : L"");
    for (wchar_t& c : key)
        c = static_cast<wchar_t>(towlower(c));
    return key;
}

// "C:\dir\TarkBrowserUtil.dll" -> "tarkbrowserutil"
std::wstring KeyOfModuleFile(LPCWSTR pszFile)
{
    std::wstring file(pszFile ? pszFile : L"");
    size_t slash = file.find_last_of(L"\\/");
    std::wstring name = slash == std::wstring::npos ? file : file.substr(slash + 1);
    size_t dot = name.rfind(L'.');
    if (dot != std::wstring::npos)
        name.erase(dot);
    return KeyOf(name.c_str());
}

// True while the module that holds the code at pfn is loaded.
bool IsCodeLoaded(const void* pfn)
{
    HMODULE module = nullptr;
    return GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                  GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                              static_cast<LPCWSTR>(pfn), &module) != FALSE;
}

} // namespace

class CLanguageState
{
public:
    CLanguageState() { InitializeCriticalSection(&resourceLock); }
    ~CLanguageState() { DeleteCriticalSection(&resourceLock); }

    mutable std::mutex mutex; // guards everything below but the resource lock
    std::wstring path;
    std::wstring altPath;
    std::vector<std::pair<std::wstring, LANGUAGE_LINK_CALLBACK>> callbacks;
    std::vector<CLanguageModuleInfo> records;
    std::map<std::wstring, HINSTANCE> handleByKey;
    CRITICAL_SECTION resourceLock;
};

CConnectLanguage& CConnectLanguage::Instance()
{
    static CConnectLanguage instance;
    return instance;
}

CConnectLanguage::CConnectLanguage() : m_pState(new CLanguageState) {}

CConnectLanguage::~CConnectLanguage()
{
    delete m_pState;
}

void CConnectLanguage::SetPath(LPCWSTR pszFolder)
{
    std::lock_guard<std::mutex> guard(m_pState->mutex);
    m_pState->path = pszFolder ? pszFolder : L"";
}

void CConnectLanguage::SetAltPath(LPCWSTR pszFolder)
{
    std::lock_guard<std::mutex> guard(m_pState->mutex);
    m_pState->altPath = pszFolder ? pszFolder : L"";
}

CString CConnectLanguage::GetPath() const
{
    std::lock_guard<std::mutex> guard(m_pState->mutex);
    return CString(m_pState->path.c_str());
}

CString CConnectLanguage::GetAltPath() const
{
    std::lock_guard<std::mutex> guard(m_pState->mutex);
    return CString(m_pState->altPath.c_str());
}

void CConnectLanguage::StoreCB(LANGUAGE_LINK_CALLBACK pfnCallback, const CString& strKey)
{
    std::lock_guard<std::mutex> guard(m_pState->mutex);
    std::wstring key = KeyOf(strKey);
    for (auto& entry : m_pState->callbacks)
    {
        if (entry.first == key)
        {
            entry.second = pfnCallback;
            return;
        }
    }
    m_pState->callbacks.emplace_back(key, pfnCallback);
}

int CConnectLanguage::GetStoredCallbackCount() const
{
    std::lock_guard<std::mutex> guard(m_pState->mutex);
    return static_cast<int>(m_pState->callbacks.size());
}

int CConnectLanguage::CallStoredCallbacks(LPCWSTR pszLanguage)
{
    std::vector<LANGUAGE_LINK_CALLBACK> toCall;
    {
        std::lock_guard<std::mutex> guard(m_pState->mutex);
        for (const auto& entry : m_pState->callbacks)
            toCall.push_back(entry.second);
    }
    // Called outside the mutex: a callback asks for the paths and records itself.
    int called = 0;
    for (LANGUAGE_LINK_CALLBACK pfn : toCall)
    {
        if (pfn == nullptr || !IsCodeLoaded(reinterpret_cast<const void*>(pfn)))
            continue;
        pfn(CString(pszLanguage ? pszLanguage : L""));
        ++called;
    }
    return called;
}

void CConnectLanguage::AddModuleInfo(CString strModuleFile, CString strText2,
                                     CString strResourcePath, CString strText4, int nKind,
                                     HINSTANCE hResource, const CString& strText7, bool bFlag,
                                     CString strText9)
{
    CLanguageModuleInfo info;
    info.strModuleFile = strModuleFile;
    info.strText2 = strText2;
    info.strResourcePath = strResourcePath;
    info.strText4 = strText4;
    info.nKind = nKind;
    info.hResource = hResource;
    info.strText7 = strText7;
    info.bFlag = bFlag;
    info.strText9 = strText9;

    std::lock_guard<std::mutex> guard(m_pState->mutex);
    m_pState->handleByKey[KeyOfModuleFile(strModuleFile)] = hResource;
    m_pState->records.push_back(info);
}

int CConnectLanguage::GetModuleInfoCount() const
{
    std::lock_guard<std::mutex> guard(m_pState->mutex);
    return static_cast<int>(m_pState->records.size());
}

bool CConnectLanguage::GetModuleInfo(int nIndex, CLanguageModuleInfo* pInfo) const
{
    std::lock_guard<std::mutex> guard(m_pState->mutex);
    if (pInfo == nullptr || nIndex < 0 || nIndex >= static_cast<int>(m_pState->records.size()))
        return false;
    *pInfo = m_pState->records[nIndex];
    return true;
}

HINSTANCE CConnectLanguage::GetModuleResourceHandle(const CString& strKey) const
{
    std::lock_guard<std::mutex> guard(m_pState->mutex);
    auto found = m_pState->handleByKey.find(KeyOf(strKey));
    return found == m_pState->handleByKey.end() ? nullptr : found->second;
}

void CConnectLanguage::GetResLock()
{
    EnterCriticalSection(&m_pState->resourceLock);
}

void CConnectLanguage::FreeResLock()
{
    LeaveCriticalSection(&m_pState->resourceLock);
}
