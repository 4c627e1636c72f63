// The process-wide module state, the extension-module chain and the resource
// search built on it.
#include "AfxInternal.h"

namespace {

// The locks are never deleted: extension modules unlink their chain entries
// from their own DllMain at process exit, which may come after this module's
// static objects would have been destroyed.
struct GlobalLocks
{
    CRITICAL_SECTION sections[CRIT_MAX];

    GlobalLocks()
    {
        for (CRITICAL_SECTION& cs : sections)
            InitializeCriticalSection(&cs);
    }
};

GlobalLocks& Locks()
{
    static GlobalLocks* s_pLocks = new GlobalLocks;
    return *s_pLocks;
}

// Made when this DLL is loaded, so every later caller finds the executable as
// the current instance and resource handle until someone changes them.
struct ModuleStateHolder
{
    AFX_MODULE_STATE state;

    ModuleStateHolder() : state()
    {
        HINSTANCE hExe = GetModuleHandleW(nullptr);
        state.m_hCurrentInstanceHandle = hExe;
        state.m_hCurrentResourceHandle = hExe;
        Locks();
    }
};

ModuleStateHolder g_moduleState;

// A scoped hold of one of the global locks.
class CGlobalLockScope
{
public:
    explicit CGlobalLockScope(int nLockType) : m_nLockType(nLockType) { AfxLockGlobals(m_nLockType); }
    ~CGlobalLockScope() { AfxUnlockGlobals(m_nLockType); }
    CGlobalLockScope(const CGlobalLockScope&) = delete;
    CGlobalLockScope& operator=(const CGlobalLockScope&) = delete;

private:
    int m_nLockType;
};

bool HasStringResource(HINSTANCE hInstance, UINT nID)
{
    int nLength = 0;
    return afx_internal::GetStringResourceImage(hInstance, nID, &nLength) != nullptr;
}

bool HasResource(HINSTANCE hInstance, LPCWSTR lpszName, LPCWSTR lpszType)
{
    return FindResourceW(hInstance, lpszName, lpszType) != nullptr;
}

// The first module of the search order for which found(module) holds, or null.
template <class Found>
HINSTANCE SearchResourceModules(Found found)
{
    AFX_MODULE_STATE* pState = AfxGetModuleState();
    HINSTANCE hCurrent = AfxGetResourceHandle();
    if (hCurrent != nullptr && found(hCurrent))
        return hCurrent;

    CGlobalLockScope lock(CRIT_DYNLINKLIST);
    for (int pass = 0; pass < 2; ++pass)
    {
        const bool bSystemPass = pass == 1;
        for (CDynLinkLibrary* pDLL = pState->m_libraryList.GetHead(); pDLL != nullptr; pDLL = pDLL->m_pNextDLL)
        {
            if ((pDLL->m_bSystem != FALSE) == bSystemPass && pDLL->m_hResource != nullptr &&
                found(pDLL->m_hResource))
                return pDLL->m_hResource;
        }
    }
    return nullptr;
}

} // namespace

namespace afx_internal {

const wchar_t* GetStringResourceImage(HINSTANCE hInstance, UINT nID, int* pnLength)
{
    *pnLength = 0;
    // Strings are stored in blocks of 16, block n + 1 holding ids 16n .. 16n + 15,
    // each as a length word followed by that many characters.
    HRSRC hResource = FindResourceW(hInstance, MAKEINTRESOURCEW((nID >> 4) + 1), MAKEINTRESOURCEW(6));
    if (hResource == nullptr)
        return nullptr;
    HGLOBAL hGlobal = LoadResource(hInstance, hResource);
    DWORD cbBlock = SizeofResource(hInstance, hResource);
    const WORD* p = hGlobal != nullptr ? static_cast<const WORD*>(LockResource(hGlobal)) : nullptr;
    if (p == nullptr)
        return nullptr;
    const WORD* pEnd = p + cbBlock / sizeof(WORD);
    for (UINT i = 0; i < (nID & 15); ++i)
    {
        if (p >= pEnd)
            return nullptr;
        p += 1 + *p;
    }
    if (p >= pEnd || *p == 0 || p + 1 + *p > pEnd)
        return nullptr;
    *pnLength = *p;
    return reinterpret_cast<const wchar_t*>(p + 1);
}

} // namespace afx_internal

AFX_MODULE_STATE* AFXAPI AfxGetModuleState()
{
    return &g_moduleState.state;
}

HINSTANCE AFXAPI AfxGetInstanceHandle()
{
    return AfxGetModuleState()->m_hCurrentInstanceHandle;
}

HINSTANCE AFXAPI AfxGetResourceHandle()
{
    return AfxGetModuleState()->m_hCurrentResourceHandle;
}

void AFXAPI AfxSetResourceHandle(HINSTANCE hInstResource)
{
    AfxGetModuleState()->m_hCurrentResourceHandle = hInstResource;
}

void AFXAPI AfxLockGlobals(int nLockType)
{
    ENSURE(nLockType >= 0 && nLockType < CRIT_MAX);
    EnterCriticalSection(&Locks().sections[nLockType]);
}

void AFXAPI AfxUnlockGlobals(int nLockType)
{
    ENSURE(nLockType >= 0 && nLockType < CRIT_MAX);
    LeaveCriticalSection(&Locks().sections[nLockType]);
}

// ---- extension modules -------------------------------------------------------

IMPLEMENT_DYNAMIC(CDynLinkLibrary, CCmdTarget)

CDynLinkLibrary::CDynLinkLibrary(AFX_EXTENSION_MODULE& state, BOOL bSystem)
    : m_hModule(state.hModule), m_hResource(state.hResource), m_bSystem(bSystem), m_pNextDLL(nullptr)
{
    Link();
}

CDynLinkLibrary::CDynLinkLibrary(HINSTANCE hModule, HINSTANCE hResource)
    : m_hModule(hModule), m_hResource(hResource), m_bSystem(FALSE), m_pNextDLL(nullptr)
{
    Link();
}

void CDynLinkLibrary::Link()
{
    CDynLinkLibraryList& list = AfxGetModuleState()->m_libraryList;
    CGlobalLockScope lock(CRIT_DYNLINKLIST);
    m_pNextDLL = list.m_pHead;
    list.m_pHead = this;
}

CDynLinkLibrary::~CDynLinkLibrary()
{
    CDynLinkLibraryList& list = AfxGetModuleState()->m_libraryList;
    CGlobalLockScope lock(CRIT_DYNLINKLIST);
    for (CDynLinkLibrary** ppLink = &list.m_pHead; *ppLink != nullptr; ppLink = &(*ppLink)->m_pNextDLL)
    {
        if (*ppLink == this)
        {
            *ppLink = m_pNextDLL;
            break;
        }
    }
}

BOOL AFXAPI AfxInitExtensionModule(AFX_EXTENSION_MODULE& state, HMODULE hModInst)
{
    if (state.bInitialized)
        return TRUE;
    state.bInitialized = TRUE;
    state.hModule = hModInst;
    state.hResource = hModInst;
    return TRUE;
}

void AFXAPI AfxTermExtensionModule(AFX_EXTENSION_MODULE& state, BOOL bAll)
{
    CGlobalLockScope lock(CRIT_DYNLINKLIST);
    CDynLinkLibrary* pDLL = AfxGetModuleState()->m_libraryList.GetHead();
    while (pDLL != nullptr)
    {
        CDynLinkLibrary* pNext = pDLL->m_pNextDLL;
        if (bAll || pDLL->m_hModule == state.hModule)
            delete pDLL;  // unlinks itself under the same (recursive) lock
        pDLL = pNext;
    }
}

// ---- resource search -------------------------------------------------------

HINSTANCE AFXAPI AfxFindResourceHandle(LPCWSTR lpszName, LPCWSTR lpszType)
{
    HINSTANCE hInstance = SearchResourceModules(
        [=](HINSTANCE h) { return HasResource(h, lpszName, lpszType); });
    return hInstance != nullptr ? hInstance : AfxGetResourceHandle();
}

HINSTANCE AFXAPI AfxFindStringResourceHandle(UINT nID)
{
    return SearchResourceModules([=](HINSTANCE h) { return HasStringResource(h, nID); });
}
