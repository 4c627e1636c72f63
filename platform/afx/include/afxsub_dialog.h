// Framework subset: dialogs. CDialog (modal and modeless, from a template
// found through the framework's resource search), dialog data exchange
// (CDataExchange and the DDX_ functions), and the application's message box.
#pragma once

#include "afxsub_wnd.h"

class CDialog;

// One run of DoDataExchange: which direction, for which dialog.
class AFX_API CDataExchange
{
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate);

    BOOL m_bSaveAndValidate;  // TRUE: controls to members; FALSE: members to controls
    CWnd* m_pDlgWnd;

    // The control's window; throws CNotSupportedException* when the dialog
    // has no control nIDC.
    HWND PrepareCtrl(int nIDC);
};

class AFX_API CDialog : public CWnd
{
    DECLARE_DYNAMIC(CDialog)
public:
    // The template by resource number; pParentWnd null: the owner is the
    // application's main window (or the active window) when shown.
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr) noexcept;
    // A modeless dialog still open is destroyed (its overrides no longer run).
    ~CDialog() override;

    // Modal run: finds the template with AfxFindResourceHandle(template,
    // RT_DIALOG), disables the owner, runs the dialog through the framework's
    // pump (so PreTranslateMessage sees its messages), and answers the value
    // given to EndDialog; -1 when the template is missing or the dialog could
    // not be created.
    virtual INT_PTR DoModal();
    // Modeless: creates the dialog (shown when its template says WS_VISIBLE).
    virtual BOOL Create(LPCWSTR lpszTemplateName, CWnd* pParentWnd = nullptr);
    virtual BOOL Create(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    // Modeless from a template in memory (kept by the caller).
    virtual BOOL CreateIndirect(LPCDLGTEMPLATEW lpDialogTemplate, CWnd* pParentWnd = nullptr,
                                HINSTANCE hInst = nullptr);

    // Called once the controls exist (WM_INITDIALOG). The default moves the
    // members into the controls (UpdateData(FALSE); on failure ends the
    // dialog with -1) and returns TRUE: the system then focuses the first
    // control. Return FALSE after setting the focus yourself.
    virtual BOOL OnInitDialog();
    // IDOK: UpdateData(TRUE), then EndDialog(IDOK) unless validation failed.
    virtual void OnOK();
    // IDCANCEL (also Escape and the close box): EndDialog(IDCANCEL).
    virtual void OnCancel();
    // Ends the modal loop with nResult (or hides a modeless dialog; destroy
    // that with DestroyWindow).
    void EndDialog(int nResult);

    // Runs DoDataExchange in the given direction; FALSE when the exchange
    // threw (a control was missing). Control notifications to the dialog are
    // ignored meanwhile.
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);
    virtual void DoDataExchange(CDataExchange* pDX);

    // Keyboard and mouse messages go through the dialog manager (Tab,
    // arrows, Enter, Escape, mnemonics).
    BOOL PreTranslateMessage(MSG* pMsg) override;

    void SetDefID(UINT nID) { ::SendMessageW(m_hWnd, DM_SETDEFID, nID, 0); }

    LPCWSTR m_lpszTemplateName;  // a name or MAKEINTRESOURCE number
    CWnd* m_pParentWnd;

protected:
    DECLARE_MESSAGE_MAP()

    // Creates the window from a template with capture, so the object sees
    // every message from the first on.
    BOOL CreateDlgIndirect(LPCDLGTEMPLATEW lpDialogTemplate, HWND hWndParent, HINSTANCE hInst);
    HWND PreModal();
    void PostModal();

    HWND m_hWndTop;  // the top-level window PreModal disabled, or null
};

// The dialog procedure behind every CDialog: hands WM_INITDIALOG to
// OnInitDialog; everything else already went through the message map.
AFX_API INT_PTR CALLBACK AfxDlgProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

// ---- dialog data exchange ---------------------------------------------------------

// Subclasses control nIDC into rControl the first time (both directions);
// throws CNotSupportedException* when the control is missing or taken.
AFX_API void AFXAPI DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);
// Text of any control.
AFX_API void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, CString& value);

// ---- message boxes ---------------------------------------------------------------------

// The application's message box: owner the application's main window (its
// last active popup) or the active window, caption the application's name
// (the executable's path without an application object). Without an icon in
// nType, MB_OK/MB_OKCANCEL get MB_ICONEXCLAMATION and MB_YESNO/MB_YESNOCANCEL
// MB_ICONQUESTION. A top-level window above the owner is disabled meanwhile.
// nIDHelp is accepted for compatibility; there is no help.
AFX_API int AFXAPI AfxMessageBox(LPCWSTR lpszText, UINT nType = MB_OK, UINT nIDHelp = 0);
