// The application's message box.
#include "WndState.h"

#include "afxsub_dialog.h"

namespace {

UINT WithDefaultIcon(UINT nType)
{
    if ((nType & MB_ICONMASK) != 0)
        return nType;
    switch (nType & MB_TYPEMASK)
    {
    case MB_OK:
    case MB_OKCANCEL:
        return nType | MB_ICONEXCLAMATION;
    case MB_YESNO:
    case MB_YESNOCANCEL:
        return nType | MB_ICONQUESTION;
    default:
        return nType;
    }
}

int AfxInternalMessageBox(LPCWSTR lpszText, UINT nType)
{
    HWND hWndTop = nullptr;
    HWND hWndOwner = CWnd::GetSafeOwner_(nullptr, &hWndTop);

    wchar_t szModule[MAX_PATH] = {};
    LPCWSTR pszCaption = AfxGetAppName();
    if (pszCaption == nullptr)
    {
        ::GetModuleFileNameW(nullptr, szModule, MAX_PATH - 1);
        pszCaption = szModule;
    }
    int nResult = ::MessageBoxW(hWndOwner, lpszText, pszCaption, WithDefaultIcon(nType));
    if (hWndTop != nullptr)
        ::EnableWindow(hWndTop, TRUE);
    return nResult;
}

} // namespace

int AFXAPI AfxMessageBox(LPCWSTR lpszText, UINT nType, UINT /*nIDHelp*/)
{
    return AfxInternalMessageBox(lpszText, nType);
}
