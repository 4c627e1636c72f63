// Framework subset: the module state and extension modules. One application
// state serves the whole process (host, framework and every extension module),
// as when all of them use the shared framework DLL. It holds the current
// instance and resource handles, the application object and the chain of
// CDynLinkLibrary entries through which resources of extension modules are
// found.
//
// The resource search (AfxFindResourceHandle, AfxFindStringResourceHandle,
// and so CString::LoadString) looks, in this order, at the
// current resource handle, the resource handle of every non-system chain entry
// from the most recently created to the oldest, then at the system entries;
// when nothing has the resource it answers the current resource handle.
#pragma once

#include "afxsub_app.h"

class CDynLinkLibrary;

// The chain of extension-module entries, newest first.
class AFX_API CDynLinkLibraryList
{
public:
    CDynLinkLibrary* GetHead() const noexcept { return m_pHead; }

private:
    friend class CDynLinkLibrary;
    CDynLinkLibrary* m_pHead = nullptr;
};

struct AFX_API AFX_MODULE_STATE
{
    CWinApp* m_pCurrentWinApp;
    HINSTANCE m_hCurrentInstanceHandle;  // the executable
    HINSTANCE m_hCurrentResourceHandle;  // where resources are looked for first
    LPCWSTR m_lpszCurrentAppName;        // the application object's m_pszAppName
    BOOL m_bSystem;                      // FALSE: this is the application's state
    CDynLinkLibraryList m_libraryList;   // guarded by AfxLockGlobals(CRIT_DYNLINKLIST)
};

// The process-wide state (never null).
AFX_API AFX_MODULE_STATE* AFXAPI AfxGetModuleState();

AFX_API HINSTANCE AFXAPI AfxGetInstanceHandle();
AFX_API HINSTANCE AFXAPI AfxGetResourceHandle();
AFX_API void AFXAPI AfxSetResourceHandle(HINSTANCE hInstResource);

// Process-wide recursive locks of the framework.
enum
{
    CRIT_DYNLINKLIST = 0,
    CRIT_WAITCURSOR = 1,
    CRIT_MAX = 8
};
AFX_API void AFXAPI AfxLockGlobals(int nLockType);
AFX_API void AFXAPI AfxUnlockGlobals(int nLockType);

// The record an extension module keeps about itself (one static instance per
// module, zero-initialised).
struct AFX_EXTENSION_MODULE
{
    BOOL bInitialized;
    HMODULE hModule;    // the module's own handle
    HMODULE hResource;  // where its resources are; the module itself unless replaced
    CRuntimeClass* pFirstSharedClass;
    void* pFirstSharedFactory;
};

// Called from an extension module's DllMain on process attach: sets hModule
// and hResource to hModInst and returns TRUE. A second call on an initialised
// record changes nothing and returns TRUE.
AFX_API BOOL AFXAPI AfxInitExtensionModule(AFX_EXTENSION_MODULE& state, HMODULE hModInst);
// Called on process detach: deletes the chain entries whose module handle is
// state.hModule (every entry when bAll), each unlinking itself.
AFX_API void AFXAPI AfxTermExtensionModule(AFX_EXTENSION_MODULE& state, BOOL bAll = FALSE);

// One entry of the chain. Created on the heap; it links itself at the head of
// the chain when constructed and unlinks itself when deleted. From then on the
// chain owns it: AfxTermExtensionModule deletes it.
class AFX_API CDynLinkLibrary : public CCmdTarget
{
    DECLARE_DYNAMIC(CDynLinkLibrary)
public:
    // Takes hModule and hResource from the record. System entries are
    // searched after all others.
    explicit CDynLinkLibrary(AFX_EXTENSION_MODULE& state, BOOL bSystem = FALSE);
    CDynLinkLibrary(HINSTANCE hModule, HINSTANCE hResource);
    ~CDynLinkLibrary() override;

    HMODULE m_hModule;
    HMODULE m_hResource;
    BOOL m_bSystem;
    CDynLinkLibrary* m_pNextDLL;  // the next (older) entry, under CRIT_DYNLINKLIST

private:
    void Link();
};

// The module holding resource lpszName of type lpszType, searched as described
// above; the current resource handle when none has it.
AFX_API HINSTANCE AFXAPI AfxFindResourceHandle(LPCWSTR lpszName, LPCWSTR lpszType);
// The module holding a non-empty string nID, searched the same way; null when
// none has it.
AFX_API HINSTANCE AFXAPI AfxFindStringResourceHandle(UINT nID);

// The framework's string identifier of the application title (looked up in the
// executable when the application object is given no name).
#define AFX_IDS_APP_TITLE 0xE000
