// Dialog data exchange: CDataExchange and the DDX_ functions.
#include "WndState.h"

#include "afxsub_dialog.h"

namespace {

CString ControlText(HWND hWnd)
{
    CString text;
    int nLen = ::GetWindowTextLengthW(hWnd);
    int nGot = ::GetWindowTextW(hWnd, text.GetBufferSetLength(nLen), nLen + 1);
    text.ReleaseBufferSetLength(nGot < 0 ? 0 : nGot);
    return text;
}

} // namespace

// ---- CDataExchange ---------------------------------------------------------------

CDataExchange::CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
    : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd)
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
    return hWndCtrl;
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
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        value = ControlText(hWndCtrl);
    else
        AfxSetWindowText(hWndCtrl, value);
}
