// Framework subset: dialogs. CDialog (modal and modeless, from a template
// found through the framework's resource search), dialog data exchange
// (CDataExchange and the DDX_ functions), and the application's message box
// (AfxMessageBox, with AfxFormatString1/2 for %1 and %2 placeholders).
#pragma once

#include "afxsub_wnd.h"

// Thrown (by pointer) to abandon an operation after the user was told why;
// UpdateData catches it. AfxThrowUserException throws a new one.
class AFX_API CUserException : public CSimpleException
{
    DECLARE_DYNAMIC(CUserException)
public:
    explicit CUserException(BOOL bAutoDelete = TRUE) : CSimpleException(bAutoDelete) {}
};
[[noreturn]] AFX_API void AFXAPI AfxThrowUserException();

class CDialog;

// One run of DoDataExchange: which direction, for which dialog, and which
// control was touched last (Fail puts the focus back there).
class AFX_API CDataExchange
{
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate);

    BOOL m_bSaveAndValidate;  // TRUE: controls to members (and validate); FALSE: members to controls
    CWnd* m_pDlgWnd;
    UINT m_idLastControl;
    BOOL m_bEditLastControl;

    // The control's window; throws CNotSupportedException* when the dialog
    // has no control nIDC. The Edit form marks it as an edit control, whose
    // text Fail selects.
    HWND PrepareCtrl(int nIDC);
    HWND PrepareEditCtrl(int nIDC);
    // Ends the exchange: when saving, focuses (and for edits selects) the
    // last prepared control; then throws CUserException*.
    [[noreturn]] void Fail();
};

class AFX_API CDialog : public CWnd
{
    DECLARE_DYNAMIC(CDialog)
public:
    CDialog() noexcept;
    // The template by resource name or number; pParentWnd null: the owner is
    // the application's main window (or the active window) when shown.
    explicit CDialog(LPCWSTR lpszTemplateName, CWnd* pParentWnd = nullptr) noexcept;
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
    // Makes DoModal use a template in memory (kept by the caller) instead of a resource.
    BOOL InitModalIndirect(LPCDLGTEMPLATEW lpDialogTemplate, CWnd* pParentWnd = nullptr);

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

    // Runs DoDataExchange in the given direction; FALSE when a value failed
    // validation (the user was told) or a control was missing. Control
    // notifications to the dialog are ignored meanwhile.
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);
    virtual void DoDataExchange(CDataExchange* pDX);

    // Keyboard and mouse messages go through the dialog manager (Tab,
    // arrows, Enter, Escape, mnemonics).
    BOOL PreTranslateMessage(MSG* pMsg) override;

    DWORD GetDefID() const { return static_cast<DWORD>(::SendMessageW(m_hWnd, DM_GETDEFID, 0, 0)); }
    void SetDefID(UINT nID) { ::SendMessageW(m_hWnd, DM_SETDEFID, nID, 0); }
    void NextDlgCtrl() const { ::SendMessageW(m_hWnd, WM_NEXTDLGCTL, 0, 0); }
    void PrevDlgCtrl() const { ::SendMessageW(m_hWnd, WM_NEXTDLGCTL, 1, 0); }
    void GotoDlgCtrl(CWnd* pWndCtrl)
    {
        ::SendMessageW(m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(AfxSafeHwnd(pWndCtrl)), 1);
    }
    void MapDialogRect(LPRECT lpRect) const { ::MapDialogRect(m_hWnd, lpRect); }

    LPCWSTR m_lpszTemplateName;  // a name or MAKEINTRESOURCE number
    UINT m_nIDHelp;
    LPCDLGTEMPLATEW m_lpDialogTemplate;  // InitModalIndirect's template, or null
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
// Text of any control. The numeric forms accept optional white space around
// a decimal number; anything else tells the user and fails the exchange.
AFX_API void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, CString& value);
AFX_API void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, int& value);
AFX_API void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, UINT& value);
AFX_API void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, long& value);
AFX_API void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, DWORD& value);
// Check state of a check box or radio button: 0, 1 or 2 (indeterminate).
AFX_API void AFXAPI DDX_Check(CDataExchange* pDX, int nIDC, int& value);
// Radio group starting at nIDC (the first button, WS_GROUP): index of the
// checked button, -1 for none.
AFX_API void AFXAPI DDX_Radio(CDataExchange* pDX, int nIDC, int& value);
// Combo box: the edit text (drop lists: the selected item's text); loading
// selects the first item starting with the value, else sets the edit text.
AFX_API void AFXAPI DDX_CBString(CDataExchange* pDX, int nIDC, CString& value);
AFX_API void AFXAPI DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index);
// List box: the selected item's text (empty when none); loading selects the
// first item starting with the value.
AFX_API void AFXAPI DDX_LBString(CDataExchange* pDX, int nIDC, CString& value);
AFX_API void AFXAPI DDX_LBIndex(CDataExchange* pDX, int nIDC, int& index);

// Validation: tell the user and fail when the value is out of range (only
// while saving).
AFX_API void AFXAPI DDV_MaxChars(CDataExchange* pDX, const CString& value, int nChars);
AFX_API void AFXAPI DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal);
AFX_API void AFXAPI DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minVal, UINT maxVal);

// ---- message boxes and formatted strings ---------------------------------------------

// The application's message box: owner the application's main window (its
// last active popup) or the active window, caption the application's name
// (the executable's path without an application object). Without an icon in
// nType, MB_OK/MB_OKCANCEL get MB_ICONEXCLAMATION and MB_YESNO/MB_YESNOCANCEL
// MB_ICONQUESTION. A top-level window above the owner is disabled meanwhile.
// nIDHelp is accepted for compatibility; there is no help.
AFX_API int AFXAPI AfxMessageBox(LPCWSTR lpszText, UINT nType = MB_OK, UINT nIDHelp = 0);
// The text is string nIDPrompt, found through the resource search (empty
// when missing); nIDHelp -1 means nIDPrompt.
AFX_API int AFXAPI AfxMessageBox(UINT nIDPrompt, UINT nType = MB_OK, UINT nIDHelp = static_cast<UINT>(-1));

// rString becomes lpszFormat with each %1 ... %9 replaced by the matching
// entry of rglpsz ("?" when the index is past nString, nothing for a null
// entry); other characters, lone % included, are copied.
AFX_API void AFXAPI AfxFormatStrings(CString& rString, LPCWSTR lpszFormat, LPCWSTR const* rglpsz, int nString);
// The same with the format taken from string nIDS (through the resource search).
AFX_API void AFXAPI AfxFormatStrings(CString& rString, UINT nIDS, LPCWSTR const* rglpsz, int nString);
AFX_API void AFXAPI AfxFormatString1(CString& rString, UINT nIDS, LPCWSTR lpsz1);
AFX_API void AFXAPI AfxFormatString2(CString& rString, UINT nIDS, LPCWSTR lpsz1, LPCWSTR lpsz2);
