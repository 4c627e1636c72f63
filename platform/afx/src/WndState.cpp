// The window layer's per-thread state and the temporary-map lock.
#include "WndState.h"

namespace {

// Fiber-local storage rather than thread_local: its callback frees the state
// when a thread ends, whichever way it ends, without a hook in DllMain.
DWORD g_dwStateSlot = FLS_OUT_OF_INDEXES;
INIT_ONCE g_stateSlotOnce = INIT_ONCE_STATIC_INIT;

void WINAPI FreeThreadState(void* pState)
{
    delete static_cast<AFX_WND_THREAD_STATE*>(pState);
}

BOOL CALLBACK AllocStateSlot(PINIT_ONCE, PVOID, PVOID*)
{
    g_dwStateSlot = FlsAlloc(FreeThreadState);
    return g_dwStateSlot != FLS_OUT_OF_INDEXES;
}

void FreeTempWnd(CObject* p)
{
    static_cast<CWnd*>(p)->m_hWnd = nullptr;
    delete p;
}

void FreeTempMenu(CObject* p)
{
    static_cast<CMenu*>(p)->m_hMenu = nullptr;
    delete p;
}

void FreeTempImageList(CObject* p)
{
    static_cast<CImageList*>(p)->m_hImageList = nullptr;
    delete p;
}

} // namespace

AFX_WND_THREAD_STATE::AFX_WND_THREAD_STATE()
    : m_tempWnd(FreeTempWnd), m_tempMenu(FreeTempMenu), m_tempImageList(FreeTempImageList)
{
}

AFX_WND_THREAD_STATE::~AFX_WND_THREAD_STATE()
{
    if (m_hHookCbt != nullptr)
        UnhookWindowsHookEx(m_hHookCbt);
}

AFX_WND_THREAD_STATE* AfxGetWndThreadState()
{
    if (!InitOnceExecuteOnce(&g_stateSlotOnce, AllocStateSlot, nullptr, nullptr))
        AfxThrowMemoryException();
    auto* pState = static_cast<AFX_WND_THREAD_STATE*>(FlsGetValue(g_dwStateSlot));
    if (pState == nullptr)
    {
        pState = new (std::nothrow) AFX_WND_THREAD_STATE;
        if (pState == nullptr || !FlsSetValue(g_dwStateSlot, pState))
        {
            delete pState;
            AfxThrowMemoryException();
        }
    }
    return pState;
}

void AFXAPI AfxLockTempMaps()
{
    ++AfxGetWndThreadState()->m_nTempMapLock;
}

BOOL AFXAPI AfxUnlockTempMaps(BOOL bDeleteTemps)
{
    AFX_WND_THREAD_STATE* pState = AfxGetWndThreadState();
    if (pState->m_nTempMapLock == 0 || --pState->m_nTempMapLock != 0)
        return FALSE;
    if (bDeleteTemps)
    {
        pState->m_tempWnd.DeleteAll();
        pState->m_tempMenu.DeleteAll();
        pState->m_tempImageList.DeleteAll();
    }
    return TRUE;
}
