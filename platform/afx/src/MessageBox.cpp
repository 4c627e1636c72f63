// The application's message box and %1-style string formatting.
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

int AFXAPI AfxMessageBox(UINT nIDPrompt, UINT nType, UINT nIDHelp)
{
    CString text;
    text.LoadStringW(nIDPrompt);
    if (nIDHelp == static_cast<UINT>(-1))
        nIDHelp = nIDPrompt;
    return AfxMessageBox(text, nType, nIDHelp);
}

void AFXAPI AfxFormatStrings(CString& rString, LPCWSTR lpszFormat, LPCWSTR const* rglpsz, int nString)
{
    CString result;
    for (const wchar_t* p = lpszFormat; *p != L'\0'; ++p)
    {
        if (p[0] == L'%' && p[1] >= L'1' && p[1] <= L'9')
        {
            int i = p[1] - L'1';
            if (i >= nString)
                result += L'?';
            else if (rglpsz[i] != nullptr)
                result += rglpsz[i];
            ++p;
        }
        else
        {
            result += *p;
        }
    }
    rString = result;
}

void AFXAPI AfxFormatStrings(CString& rString, UINT nIDS, LPCWSTR const* rglpsz, int nString)
{
    CString format;
    if (!format.LoadStringW(nIDS))
    {
        TRACE(L"AfxFormatStrings: no string %u\n", nIDS);
        return;
    }
    AfxFormatStrings(rString, format, rglpsz, nString);
}

void AFXAPI AfxFormatString1(CString& rString, UINT nIDS, LPCWSTR lpsz1)
{
    AfxFormatStrings(rString, nIDS, &lpsz1, 1);
}

void AFXAPI AfxFormatString2(CString& rString, UINT nIDS, LPCWSTR lpsz1, LPCWSTR lpsz2)
{
    LPCWSTR rglpsz[2] = {lpsz1, lpsz2};
    AfxFormatStrings(rString, nIDS, rglpsz, 2);
}
