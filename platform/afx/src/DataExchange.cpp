// Dialog data exchange: CDataExchange and the DDX_/DDV_ functions.
#include "WndState.h"

#include "afxsub_dialog.h"

#include <errno.h>
#include <stdlib.h>
#include <wchar.h>
#include <wctype.h>

namespace {

// The framework's own prompts; it has no string resources to take them from.
const wchar_t kParseInt[] = L"Please enter an integer.";
const wchar_t kParseUInt[] = L"Please enter a positive integer.";
const wchar_t kMaxChars[] = L"Please enter no more than %1 characters.";
const wchar_t kMinMaxInt[] = L"Please enter an integer between %1 and %2.";

CString ControlText(HWND hWnd)
{
    CString text;
    int nLen = ::GetWindowTextLengthW(hWnd);
    int nGot = ::GetWindowTextW(hWnd, text.GetBufferSetLength(nLen), nLen + 1);
    text.ReleaseBufferSetLength(nGot < 0 ? 0 : nGot);
    return text;
}

// A decimal number with optional white space around it and, when signed,
// an optional sign; false for anything else or a value out of range.
bool ParseSigned(const CString& text, long long nMin, long long nMax, long long* pValue)
{
    const wchar_t* p = text;
    while (iswspace(*p))
        ++p;
    if (*p == L'\0')
        return false;
    wchar_t* pEnd = nullptr;
    errno = 0;
    long long value = wcstoll(p, &pEnd, 10);
    if (pEnd == p || errno == ERANGE)
        return false;
    while (iswspace(*pEnd))
        ++pEnd;
    if (*pEnd != L'\0' || value < nMin || value > nMax)
        return false;
    *pValue = value;
    return true;
}

bool ParseUnsigned(const CString& text, unsigned long long nMax, unsigned long long* pValue)
{
    const wchar_t* p = text;
    while (iswspace(*p))
        ++p;
    if (*p == L'-' || *p == L'\0')
        return false;
    wchar_t* pEnd = nullptr;
    errno = 0;
    unsigned long long value = wcstoull(p, &pEnd, 10);
    if (pEnd == p || errno == ERANGE)
        return false;
    while (iswspace(*pEnd))
        ++pEnd;
    if (*pEnd != L'\0' || value > nMax)
        return false;
    *pValue = value;
    return true;
}

[[noreturn]] void FailWithPrompt(CDataExchange* pDX, LPCWSTR lpszPrompt)
{
    AfxMessageBox(lpszPrompt, MB_ICONEXCLAMATION);
    pDX->Fail();
}

template <class T>
void ExchangeSigned(CDataExchange* pDX, int nIDC, T& value, long long nMin, long long nMax)
{
    HWND hWndCtrl = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
    {
        long long parsed = 0;
        if (!ParseSigned(ControlText(hWndCtrl), nMin, nMax, &parsed))
            FailWithPrompt(pDX, kParseInt);
        value = static_cast<T>(parsed);
    }
    else
    {
        wchar_t szText[32];
        swprintf(szText, _countof(szText), L"%lld", static_cast<long long>(value));
        AfxSetWindowText(hWndCtrl, szText);
    }
}

template <class T>
void ExchangeUnsigned(CDataExchange* pDX, int nIDC, T& value, unsigned long long nMax)
{
    HWND hWndCtrl = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
    {
        unsigned long long parsed = 0;
        if (!ParseUnsigned(ControlText(hWndCtrl), nMax, &parsed))
            FailWithPrompt(pDX, kParseUInt);
        value = static_cast<T>(parsed);
    }
    else
    {
        wchar_t szText[32];
        swprintf(szText, _countof(szText), L"%llu", static_cast<unsigned long long>(value));
        AfxSetWindowText(hWndCtrl, szText);
    }
}

} // namespace

// ---- CDataExchange ---------------------------------------------------------------

CDataExchange::CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
    : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd), m_idLastControl(0), m_bEditLastControl(FALSE)
{
}

HWND CDataExchange::PrepareCtrl(int nIDC)
{
    HWND hWndCtrl = ::GetDlgItem(m_pDlgWnd->m_hWnd, nIDC);
    if (hWndCtrl == nullptr)
    {
        TRACE(L"DDX: the dialog has no control %d\n", nIDC);
        AfxThrowNotSupportedException();
    }
    m_idLastControl = static_cast<UINT>(nIDC);
    m_bEditLastControl = FALSE;
    return hWndCtrl;
}

HWND CDataExchange::PrepareEditCtrl(int nIDC)
{
    HWND hWndCtrl = PrepareCtrl(nIDC);
    m_bEditLastControl = TRUE;
    return hWndCtrl;
}

void CDataExchange::Fail()
{
    if (m_bSaveAndValidate && m_idLastControl != 0)
    {
        HWND hWndLast = ::GetDlgItem(m_pDlgWnd->m_hWnd, static_cast<int>(m_idLastControl));
        ::SetFocus(hWndLast);
        if (m_bEditLastControl)
            ::SendMessageW(hWndLast, EM_SETSEL, 0, -1);
    }
    AfxThrowUserException();
}

// ---- DDX ----------------------------------------------------------------------------

void AFXAPI DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl)
{
    if (rControl.m_hWnd != nullptr)
        return;
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (!rControl.SubclassWindow(hWndCtrl))
    {
        TRACE(L"DDX_Control: control %d already has an object\n", nIDC);
        AfxThrowNotSupportedException();
    }
}

void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, CString& value)
{
    HWND hWndCtrl = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        value = ControlText(hWndCtrl);
    else
        AfxSetWindowText(hWndCtrl, value);
}

void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, int& value)
{
    ExchangeSigned(pDX, nIDC, value, INT_MIN, INT_MAX);
}

void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, long& value)
{
    ExchangeSigned(pDX, nIDC, value, LONG_MIN, LONG_MAX);
}

void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, UINT& value)
{
    ExchangeUnsigned(pDX, nIDC, value, UINT_MAX);
}

void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, DWORD& value)
{
    ExchangeUnsigned(pDX, nIDC, value, ULONG_MAX);
}

void AFXAPI DDX_Check(CDataExchange* pDX, int nIDC, int& value)
{
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
    {
        value = static_cast<int>(::SendMessageW(hWndCtrl, BM_GETCHECK, 0, 0));
    }
    else
    {
        if (value < 0 || value > 2)
        {
            TRACE(L"DDX_Check: value %d out of range, 0 used\n", value);
            value = 0;
        }
        ::SendMessageW(hWndCtrl, BM_SETCHECK, static_cast<WPARAM>(value), 0);
    }
}

void AFXAPI DDX_Radio(CDataExchange* pDX, int nIDC, int& value)
{
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        value = -1;
    int iButton = 0;
    // The group runs from nIDC to the next control with WS_GROUP.
    do
    {
        if (::SendMessageW(hWndCtrl, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON)
        {
            if (pDX->m_bSaveAndValidate)
            {
                if (::SendMessageW(hWndCtrl, BM_GETCHECK, 0, 0) == BST_CHECKED)
                    value = iButton;
            }
            else
            {
                ::SendMessageW(hWndCtrl, BM_SETCHECK, iButton == value ? BST_CHECKED : BST_UNCHECKED, 0);
            }
            ++iButton;
        }
        hWndCtrl = ::GetWindow(hWndCtrl, GW_HWNDNEXT);
    } while (hWndCtrl != nullptr && !(::GetWindowLongPtrW(hWndCtrl, GWL_STYLE) & WS_GROUP));
}

void AFXAPI DDX_CBString(CDataExchange* pDX, int nIDC, CString& value)
{
    HWND hWndCtrl = pDX->PrepareEditCtrl(nIDC);
    bool bDropList = (::GetWindowLongPtrW(hWndCtrl, GWL_STYLE) & 0x3) == CBS_DROPDOWNLIST;
    if (pDX->m_bSaveAndValidate)
    {
        if (bDropList)
        {
            value.Empty();
            int nIndex = static_cast<int>(::SendMessageW(hWndCtrl, CB_GETCURSEL, 0, 0));
            if (nIndex != CB_ERR)
            {
                int nLen = static_cast<int>(::SendMessageW(hWndCtrl, CB_GETLBTEXTLEN, nIndex, 0));
                if (nLen > 0)
                {
                    int nGot = static_cast<int>(::SendMessageW(
                        hWndCtrl, CB_GETLBTEXT, nIndex, reinterpret_cast<LPARAM>(value.GetBufferSetLength(nLen))));
                    value.ReleaseBufferSetLength(nGot < 0 ? 0 : nGot);
                }
            }
        }
        else
        {
            value = ControlText(hWndCtrl);
        }
    }
    else if (::SendMessageW(hWndCtrl, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                            reinterpret_cast<LPARAM>(static_cast<LPCWSTR>(value))) == CB_ERR &&
             !bDropList)
    {
        AfxSetWindowText(hWndCtrl, value);
    }
}

void AFXAPI DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index)
{
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        index = static_cast<int>(::SendMessageW(hWndCtrl, CB_GETCURSEL, 0, 0));
    else
        ::SendMessageW(hWndCtrl, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void AFXAPI DDX_LBString(CDataExchange* pDX, int nIDC, CString& value)
{
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
    {
        value.Empty();
        int nIndex = static_cast<int>(::SendMessageW(hWndCtrl, LB_GETCURSEL, 0, 0));
        if (nIndex != LB_ERR)
        {
            int nLen = static_cast<int>(::SendMessageW(hWndCtrl, LB_GETTEXTLEN, nIndex, 0));
            if (nLen > 0)
            {
                int nGot = static_cast<int>(::SendMessageW(hWndCtrl, LB_GETTEXT, nIndex,
                                                           reinterpret_cast<LPARAM>(value.GetBufferSetLength(nLen))));
                value.ReleaseBufferSetLength(nGot < 0 ? 0 : nGot);
            }
        }
    }
    else
    {
        ::SendMessageW(hWndCtrl, LB_SELECTSTRING, static_cast<WPARAM>(-1),
                       reinterpret_cast<LPARAM>(static_cast<LPCWSTR>(value)));
    }
}

void AFXAPI DDX_LBIndex(CDataExchange* pDX, int nIDC, int& index)
{
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        index = static_cast<int>(::SendMessageW(hWndCtrl, LB_GETCURSEL, 0, 0));
    else
        ::SendMessageW(hWndCtrl, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

// ---- DDV ----------------------------------------------------------------------------

void AFXAPI DDV_MaxChars(CDataExchange* pDX, const CString& value, int nChars)
{
    if (pDX->m_bSaveAndValidate)
    {
        if (value.GetLength() > nChars)
        {
            wchar_t szMax[16];
            swprintf(szMax, _countof(szMax), L"%d", nChars);
            LPCWSTR args[] = {szMax};
            CString prompt;
            AfxFormatStrings(prompt, kMaxChars, args, 1);
            FailWithPrompt(pDX, prompt);
        }
    }
    else if (pDX->m_idLastControl != 0 && pDX->m_bEditLastControl)
    {
        // The edit then refuses what validation would reject.
        HWND hWndLast = ::GetDlgItem(pDX->m_pDlgWnd->m_hWnd, static_cast<int>(pDX->m_idLastControl));
        ::SendMessageW(hWndLast, EM_LIMITTEXT, static_cast<WPARAM>(nChars), 0);
    }
}

void AFXAPI DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal)
{
    if (!pDX->m_bSaveAndValidate || (value >= minVal && value <= maxVal))
        return;
    wchar_t szMin[16];
    wchar_t szMax[16];
    swprintf(szMin, _countof(szMin), L"%d", minVal);
    swprintf(szMax, _countof(szMax), L"%d", maxVal);
    LPCWSTR args[] = {szMin, szMax};
    CString prompt;
    AfxFormatStrings(prompt, kMinMaxInt, args, 2);
    FailWithPrompt(pDX, prompt);
}

void AFXAPI DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minVal, UINT maxVal)
{
    if (!pDX->m_bSaveAndValidate || (value >= minVal && value <= maxVal))
        return;
    wchar_t szMin[16];
    wchar_t szMax[16];
    swprintf(szMin, _countof(szMin), L"%u", minVal);
    swprintf(szMax, _countof(szMax), L"%u", maxVal);
    LPCWSTR args[] = {szMin, szMax};
    CString prompt;
    AfxFormatStrings(prompt, kMinMaxInt, args, 2);
    FailWithPrompt(pDX, prompt);
}
