// AfxWinMain: the body of a framework application's WinMain.
#include "WndState.h"

int AFXAPI AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPWSTR lpCmdLine, int nCmdShow)
{
    CWinApp* pApp = AfxGetApp();
    CWinThread* pThread = AfxGetThread();
    if (pApp == nullptr || pThread == nullptr)
        return -1;
    if (!AfxWinInit(hInstance, hPrevInstance, lpCmdLine, nCmdShow) || !pApp->InitApplication())
        return -1;
    if (!pThread->InitInstance())
    {
        // A main window made before InitInstance gave up must not outlive it.
        if (pThread->m_pMainWnd != nullptr)
            pThread->m_pMainWnd->DestroyWindow();
        return pThread->ExitInstance();
    }
    return pThread->Run();
}
