// The file-operation error dialog, which names the operation and lists the
// files concerned, and the missing-files prompt that the operations show
// through it. Template and texts come from the language resource module.
#pragma once

#include <afxwin.h>

#include "BrwsFileOps.h"
#include "BrwsUtilExport.h"

// Modal dialog (template 25176): a message chosen by operation and condition,
// the files one per line, and OK, or Yes and No when the user may go on.
// The caller sets the public members between construction and DoModal.
class BRWSUTIL_API CBrwsFileOpErrorDlg : public CDialog
{
public:
    // pParent null: the application's main window owns the dialog.
    explicit CBrwsFileOpErrorDlg(CWnd* pParent = nullptr);
    ~CBrwsFileOpErrorDlg() override;

    int m_bNotFound;          // the listed files were not found
    int m_bOtherProblem;      // a second condition with messages of its own
    int m_bCanContinue;       // Yes and No replace OK; the message asks
    CStringList* m_pFileList; // the full paths to list; not owned, outlives DoModal; null lists none
    EBFileOp m_eFileOp;       // the operation the message names
    CStatic m_ctlIcon;        // control 25359: the system error icon
    CString m_strFileList;    // control 25356: the paths, CR LF between them
    CString m_strMessage;     // control 25357

    // Fills the list and the message, shows the icon and the application's
    // name as title, and swaps OK for Yes (the default) and No when the user
    // may go on.
    BOOL OnInitDialog() override;
    // Ends the dialog with IDOK.
    void OnOK() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    // m_strMessage from the string of the operation, the conditions and
    // m_bCanContinue; left as it was when the combination has no message.
    void LoadMessage();
    afx_msg void OnYes();
    afx_msg void OnNo();

    DECLARE_MESSAGE_MAP()
};

// Shows the dialog for the files of notFound, which lie in pszFolder (with or
// without a trailing backslash), as "not found" for the operation eOp, and
// waits for the user. Success only when bCanContinue is nonzero and the user
// chose Yes; ZEC_USER_STOPPED (100) for No, Escape, the close box, OK, or when
// the dialog cannot be shown.
BRWSUTIL_API CErrorAutoThrow DisplayFileOpEmptyFilesPrompt(EBFileOp eOp, int bCanContinue,
                                                           const wchar_t* pszFolder,
                                                           const CList<CBFile*, CBFile*>& notFound);
