// The file-operation error dialog and the missing-files prompt built on it.
#include "BrwsFileOpDlg.h"

#include "fileops/FileOpsInternal.h"
#include "fileutil/PathInternal.h"
#include "resources/BrwsResourceIds.h"

namespace {

// String of each operation (0 to 4), column (not found; not found and the
// other problem; the other problem only) and answer mode (inform; ask to go
// on); 0 where no message exists.
const UINT kMessageIds[5][3][2] = {
    {{IDS_BRWS_MOVE_NOTFOUND, IDS_BRWS_MOVE_NOTFOUND_ASK},
     {IDS_BRWS_MOVE_BOTH, IDS_BRWS_MOVE_BOTH_ASK},
     {IDS_BRWS_MOVE_OTHER, IDS_BRWS_MOVE_OTHER_ASK}},
    {{IDS_BRWS_COPY_NOTFOUND, IDS_BRWS_COPY_NOTFOUND_ASK},
     {IDS_BRWS_COPY_BOTH, IDS_BRWS_COPY_BOTH_ASK},
     {IDS_BRWS_COPY_OTHER, IDS_BRWS_COPY_OTHER_ASK}},
    {{IDS_BRWS_RENAME_NOTFOUND, IDS_BRWS_RENAME_NOTFOUND_ASK},
     {IDS_BRWS_RENAME_BOTH, IDS_BRWS_RENAME_BOTH_ASK},
     {IDS_BRWS_RENAME_OTHER, IDS_BRWS_RENAME_OTHER_ASK}},
    {{IDS_BRWS_DELETE_NOTFOUND, IDS_BRWS_DELETE_NOTFOUND_ASK},
     {IDS_BRWS_DELETE_BOTH, IDS_BRWS_DELETE_BOTH_ASK},
     {IDS_BRWS_DELETE_OTHER, IDS_BRWS_DELETE_OTHER_ASK}},
    {{IDS_BRWS_HOSTOP_NOTFOUND, IDS_BRWS_HOSTOP_NOTFOUND_ASK}, {0, 0}, {0, 0}},
};

} // namespace

BEGIN_MESSAGE_MAP(CBrwsFileOpErrorDlg, CDialog)
    ON_BN_CLICKED(IDNO, &CBrwsFileOpErrorDlg::OnNo)
    ON_BN_CLICKED(IDYES, &CBrwsFileOpErrorDlg::OnYes)
END_MESSAGE_MAP()

CBrwsFileOpErrorDlg::CBrwsFileOpErrorDlg(CWnd* pParent)
    : CDialog(IDD_BRWS_FILEOP_ERROR, pParent), m_bNotFound(0), m_bOtherProblem(0), m_bCanContinue(0),
      m_pFileList(nullptr), m_eFileOp(eBFileOpMove)
{
}

CBrwsFileOpErrorDlg::~CBrwsFileOpErrorDlg() = default;

void CBrwsFileOpErrorDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_BRWS_FILEOP_ICON, m_ctlIcon);
    DDX_Text(pDX, IDC_BRWS_FILEOP_FILES, m_strFileList);
    DDX_Text(pDX, IDC_BRWS_FILEOP_MESSAGE, m_strMessage);
}

BOOL CBrwsFileOpErrorDlg::OnInitDialog()
{
    if (CWnd* pFiles = GetDlgItem(IDC_BRWS_FILEOP_FILES))
        pFiles->ShowScrollBar(SB_HORZ, TRUE);

    // Built afresh, so that a second run of the same object lists each path once.
    m_strFileList.Empty();
    if (m_pFileList != nullptr)
    {
        POSITION pos = m_pFileList->GetHeadPosition();
        while (pos != nullptr)
        {
            if (!m_strFileList.IsEmpty())
                m_strFileList += L"\r\n";
            m_strFileList += m_pFileList->GetNext(pos);
        }
    }
    LoadMessage();

    if (!CDialog::OnInitDialog())
        return FALSE;

    m_ctlIcon.SetIcon(::LoadIconW(nullptr, IDI_HAND));
    if (LPCWSTR pszAppName = AfxGetAppName())
        SetWindowText(pszAppName);

    if (m_bCanContinue)
    {
        CWnd* pYes = GetDlgItem(IDYES);
        CWnd* pNo = GetDlgItem(IDNO);
        CWnd* pOK = GetDlgItem(IDOK);
        if (pYes != nullptr)
            pYes->ShowWindow(SW_SHOW);
        if (pNo != nullptr)
            pNo->ShowWindow(SW_SHOW);
        if (pOK != nullptr)
            pOK->ShowWindow(SW_HIDE);
        // Enter must not reach the hidden OK button, which answers as No would.
        if (pYes != nullptr)
            SetDefID(IDYES);
    }
    return TRUE;
}

void CBrwsFileOpErrorDlg::OnOK()
{
    CDialog::OnOK();
}

void CBrwsFileOpErrorDlg::OnYes()
{
    EndDialog(IDYES);
}

void CBrwsFileOpErrorDlg::OnNo()
{
    EndDialog(IDNO);
}

void CBrwsFileOpErrorDlg::LoadMessage()
{
    int nColumn;
    if (!m_bOtherProblem)
        nColumn = 0;
    else if (m_bNotFound)
        nColumn = 1;
    else
        nColumn = 2;
    int nOp = static_cast<int>(m_eFileOp);
    if (nOp < 0 || nOp > 4)
        return;
    UINT nID = kMessageIds[nOp][nColumn][m_bCanContinue ? 1 : 0];
    if (nID == 0)
        return;
    if (!m_strMessage.LoadStringW(nID))
        m_strMessage.Empty();
}

bool fileops::AskToGoOn(EBFileOp eOp, int bCanContinue, const wchar_t* pszFolder, const CBFileList& notFound)
{
    CString strFolder = pszFolder != nullptr ? pszFolder : L"";
    AddPathBackslash(strFolder);
    CStringList paths(10);
    POSITION pos = notFound.GetHeadPosition();
    while (pos != nullptr)
    {
        const CBFile* pFile = notFound.GetNext(pos);
        if (pFile != nullptr)
            paths.AddTail(strFolder + pFile->m_strName);
    }

    CBrwsFileOpErrorDlg dlg;
    dlg.m_bNotFound = 1;
    dlg.m_bOtherProblem = 0;
    dlg.m_bCanContinue = bCanContinue;
    dlg.m_pFileList = &paths;
    dlg.m_eFileOp = eOp;
    INT_PTR nAnswer = dlg.DoModal();
    return bCanContinue && nAnswer == IDYES;
}

CErrorAutoThrow DisplayFileOpEmptyFilesPrompt(EBFileOp eOp, int bCanContinue, const wchar_t* pszFolder,
                                              const CList<CBFile*, CBFile*>& notFound)
{
    return fileops::ResultOf([&] {
        if (!fileops::AskToGoOn(eOp, bCanContinue, pszFolder, notFound))
            fileops::Raise(ZEC_USER_STOPPED);
    });
}
