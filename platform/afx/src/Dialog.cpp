// CDialog: modal and modeless dialogs from templates.
#include "WndState.h"

#include "afxsub_dialog.h"

IMPLEMENT_DYNAMIC(CDialog, CWnd)

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_COMMAND(IDOK, &CDialog::OnOK)
    ON_COMMAND(IDCANCEL, &CDialog::OnCancel)
END_MESSAGE_MAP()

namespace {

// The template resource of a dialog, searched along the extension chain.
LPCDLGTEMPLATEW FindDialogTemplate(LPCWSTR lpszTemplateName, HINSTANCE* phInst)
{
    HINSTANCE hInst = AfxFindResourceHandle(lpszTemplateName, RT_DIALOG);
    HRSRC hResource = ::FindResourceW(hInst, lpszTemplateName, RT_DIALOG);
    if (hResource == nullptr)
        return nullptr;
    HGLOBAL hTemplate = ::LoadResource(hInst, hResource);
    if (hTemplate == nullptr)
        return nullptr;
    *phInst = hInst;
    return static_cast<LPCDLGTEMPLATEW>(::LockResource(hTemplate));
}

bool IsEditControl(HWND hWnd)
{
    wchar_t szClass[8] = {};
    ::GetClassNameW(hWnd, szClass, _countof(szClass));
    return lstrcmpiW(szClass, L"Edit") == 0;
}

} // namespace

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd) noexcept
    : m_lpszTemplateName(MAKEINTRESOURCEW(nIDTemplate)), m_pParentWnd(pParentWnd), m_hWndTop(nullptr)
{
    m_nFlags |= WF_ISDIALOG;
}

CDialog::~CDialog()
{
    // Destroyed here rather than in ~CWnd so that the dialog's own map
    // still sees the window's last messages.
    if (m_hWnd != nullptr && CWnd::FromHandlePermanent(m_hWnd) == this)
        DestroyWindow();
}

INT_PTR CALLBACK AfxDlgProc(HWND hWnd, UINT message, WPARAM, LPARAM)
{
    if (message != WM_INITDIALOG)
        return FALSE;
    CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
    if (pWnd == nullptr || !pWnd->IsKindOf(RUNTIME_CLASS(CDialog)))
        return TRUE;
    CDialog* pDlg = static_cast<CDialog*>(pWnd);
    try
    {
        return pDlg->OnInitDialog();
    }
    catch (CException* e)
    {
        // Unwinding through the dialog manager is not an option; a dialog
        // that cannot initialise ends as one that could not be created.
        TRACE(L"AfxDlgProc: an exception ended OnInitDialog\n");
        e->Delete();
        pDlg->EndDialog(-1);
        return FALSE;
    }
}

BOOL CDialog::CreateDlgIndirect(LPCDLGTEMPLATEW lpDialogTemplate, HWND hWndParent, HINSTANCE hInst)
{
    if (m_hWnd != nullptr || lpDialogTemplate == nullptr)
        return FALSE;
    if (hInst == nullptr)
        hInst = AfxGetResourceHandle();
    AfxHookWindowCreate(this);
    HWND hWnd = ::CreateDialogIndirectParamW(hInst, lpDialogTemplate, hWndParent, AfxDlgProc, 0);
    AfxUnhookWindowCreate();
    return hWnd != nullptr && hWnd == m_hWnd;
}

HWND CDialog::PreModal()
{
    return CWnd::GetSafeOwner_(AfxSafeHwnd(m_pParentWnd), &m_hWndTop);
}

void CDialog::PostModal()
{
    if (m_hWndTop != nullptr && ::IsWindow(m_hWndTop))
        ::EnableWindow(m_hWndTop, TRUE);
    m_hWndTop = nullptr;
}

INT_PTR CDialog::DoModal()
{
    HINSTANCE hInst = nullptr;
    LPCDLGTEMPLATEW lpTemplate = FindDialogTemplate(m_lpszTemplateName, &hInst);
    if (lpTemplate == nullptr)
        return -1;

    HWND hWndParent = PreModal();
    bool bEnableParent = false;
    if (hWndParent != nullptr && hWndParent != ::GetDesktopWindow() && ::IsWindowEnabled(hWndParent))
    {
        ::EnableWindow(hWndParent, FALSE);
        bEnableParent = true;
    }

    // EndDialog inside OnInitDialog must already end the run.
    m_nModalResult = -1;
    m_nFlags |= WF_CONTINUEMODAL;
    try
    {
        if (CreateDlgIndirect(lpTemplate, hWndParent, hInst))
        {
            if (m_nFlags & WF_CONTINUEMODAL)
            {
                DWORD dwFlags = MLF_SHOWONIDLE;
                if (GetStyle() & DS_NOIDLEMSG)
                    dwFlags |= MLF_NOIDLEMSG;
                RunModalLoop(dwFlags);
            }
            // Hidden before the owner comes back, so activation goes to the
            // owner and not to some other window.
            if (m_hWnd != nullptr)
            {
                SetWindowPos(nullptr, 0, 0, 0, 0,
                             SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
            }
        }
    }
    catch (CException* e)
    {
        TRACE(L"CDialog::DoModal: an exception ended the dialog\n");
        e->Delete();
        m_nModalResult = -1;
    }
    m_nFlags &= ~(WF_CONTINUEMODAL | WF_MODALLOOP);

    if (bEnableParent)
        ::EnableWindow(hWndParent, TRUE);
    if (hWndParent != nullptr && ::GetActiveWindow() == m_hWnd)
        ::SetActiveWindow(hWndParent);
    DestroyWindow();
    PostModal();
    return m_nModalResult;
}

BOOL CDialog::Create(LPCWSTR lpszTemplateName, CWnd* pParentWnd)
{
    m_lpszTemplateName = lpszTemplateName;
    HINSTANCE hInst = nullptr;
    LPCDLGTEMPLATEW lpTemplate = FindDialogTemplate(lpszTemplateName, &hInst);
    if (lpTemplate == nullptr)
        return FALSE;
    return CreateIndirect(lpTemplate, pParentWnd, hInst);
}

BOOL CDialog::Create(UINT nIDTemplate, CWnd* pParentWnd)
{
    return Create(MAKEINTRESOURCEW(nIDTemplate), pParentWnd);
}

BOOL CDialog::CreateIndirect(LPCDLGTEMPLATEW lpDialogTemplate, CWnd* pParentWnd, HINSTANCE hInst)
{
    m_pParentWnd = pParentWnd;
    HWND hWndParent = pParentWnd != nullptr ? pParentWnd->m_hWnd : AfxSafeHwnd(AfxGetMainWnd());
    return CreateDlgIndirect(lpDialogTemplate, hWndParent, hInst);
}

BOOL CDialog::OnInitDialog()
{
    if (!UpdateData(FALSE))
    {
        TRACE(L"CDialog::OnInitDialog: UpdateData failed, the dialog ends\n");
        EndDialog(-1);
        return FALSE;
    }
    return TRUE;
}

void CDialog::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

void CDialog::EndDialog(int nResult)
{
    if (m_nFlags & (WF_MODALLOOP | WF_CONTINUEMODAL))
        EndModalLoop(nResult);
    ::EndDialog(m_hWnd, nResult);
}

BOOL CDialog::UpdateData(BOOL bSaveAndValidate)
{
    CDataExchange dx(this, bSaveAndValidate);
    AFX_WND_THREAD_STATE* pState = AfxGetWndThreadState();
    HWND hWndOldLockout = pState->m_hLockoutNotifyWindow;
    pState->m_hLockoutNotifyWindow = m_hWnd;
    BOOL bOK = FALSE;
    try
    {
        DoDataExchange(&dx);
        bOK = TRUE;
    }
    catch (CException* e)
    {
        TRACE(L"CDialog::UpdateData: the exchange failed (missing control?)\n");
        e->Delete();
    }
    pState->m_hLockoutNotifyWindow = hWndOldLockout;
    return bOK;
}

void CDialog::DoDataExchange(CDataExchange*)
{
}

BOOL CDialog::PreTranslateMessage(MSG* pMsg)
{
    if (CWnd::PreTranslateMessage(pMsg))
        return TRUE;

    // The dialog manager leaves Escape to a multi-line edit, which ignores
    // it; the user still expects the dialog to cancel.
    if (pMsg->message == WM_KEYDOWN && (pMsg->wParam == VK_ESCAPE || pMsg->wParam == VK_CANCEL) &&
        (::GetWindowLongPtrW(pMsg->hwnd, GWL_STYLE) & ES_MULTILINE) && IsEditControl(pMsg->hwnd) &&
        ::IsChild(m_hWnd, pMsg->hwnd))
    {
        HWND hCancel = ::GetDlgItem(m_hWnd, IDCANCEL);
        if (hCancel == nullptr || ::IsWindowEnabled(hCancel))
        {
            SendMessage(WM_COMMAND, IDCANCEL, 0);
            return TRUE;
        }
    }

    bool bInput = (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST) ||
                  (pMsg->message >= WM_MOUSEFIRST && pMsg->message <= WM_MOUSELAST);
    return bInput && ::IsDialogMessageW(m_hWnd, pMsg);
}
