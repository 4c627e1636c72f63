// The browse-for-folder dialog's remembered values, all through the host
// application's profile: the folder history (the folder field's list), the
// favourite folders and the window rectangle at the last OK.
//
// Values are lines ended by a line feed; a text after the last line feed is
// not an entry. The favourites store name and path lines alternately.
#include "BrwsForFolderDlg.h"

#include "browsedlg/BrwsDialogLayout.h"
#include "browsedlg/BrwsForFolderInternal.h"
#include "resources/BrwsResourceIds.h"

#include <memory>
#include <new>

namespace {

// Calls add(entry) for every entry of a value: the text before each line feed.
template <class Add>
void SplitLines(const CString& strValue, Add add)
{
    CString strEntry;
    for (int i = 0; i < strValue.GetLength(); ++i)
    {
        wchar_t ch = strValue[i];
        if (ch == L'\n')
        {
            add(strEntry);
            strEntry.Empty();
        }
        else
        {
            strEntry += ch;
        }
    }
}

CString FavoriteLine(const CString& strName, const CString& strPath)
{
    CString strLine;
    strLine.Format(L"%s   (%s)", static_cast<LPCWSTR>(strName), static_cast<LPCWSTR>(strPath));
    return strLine;
}

} // namespace

void CBrwsForFolderDlg::ReadHistory()
{
    if (PolicyHidesHistory())
        return;
    CWinApp* pApp = AfxGetApp();
    if (!pApp)
        return;
    CString strValue = pApp->GetProfileString(m_strHistorySection, m_strHistoryEntry, nullptr);
    SplitLines(strValue, [this](const CString& strEntry) { m_cbFolders.AddString(strEntry); });
}

void CBrwsForFolderDlg::WriteHistory(int bAddCurrent)
{
    if (m_strHistorySection.IsEmpty() || m_strHistoryEntry.IsEmpty())
        return;
    if (PolicyHidesHistory())
        return;
    CWinApp* pApp = AfxGetApp();
    if (!pApp || !m_cbFolders.GetSafeHwnd())
        return;
    UpdateData(TRUE);
    if (bAddCurrent && m_pResultFolder && !m_pResultFolder->m_strPath.IsEmpty())
    {
        const CString& strPath = m_pResultFolder->m_strPath;
        int nFound = m_cbFolders.FindStringExact(-1, strPath);
        if (nFound != CB_ERR)
            m_cbFolders.DeleteString(static_cast<UINT>(nFound));
        m_cbFolders.InsertString(0, strPath);
    }
    int nCount = m_cbFolders.GetCount();
    CString strValue;
    if (nCount > 0)
    {
        int n = nCount < m_nHistoryMax ? nCount : m_nHistoryMax;
        for (int i = 0; i < n; ++i)
        {
            CString strEntry;
            m_cbFolders.GetLBText(i, strEntry);
            if (!strEntry.IsEmpty())
            {
                strValue += strEntry;
                strValue += L'\n';
            }
        }
    }
    pApp->WriteProfileString(m_strHistorySection, m_strHistoryEntry, strValue);
}

void CBrwsForFolderDlg::ReadFavoritesHistory()
{
    CWinApp* pApp = AfxGetApp();
    if (!pApp)
        return;
    CString strValue = pApp->GetProfileString(m_strFavoritesSection, m_strFavoritesEntry, nullptr);
    if (strValue.IsEmpty())
        return;
    int nEntry = 0;
    SplitLines(strValue, [this, &nEntry](const CString& strEntry) {
        if (nEntry++ % 2 == 0)
            m_lstFavoriteNames.AddTail(strEntry);
        else
            m_lstFavoritePaths.AddTail(strEntry);
    });
    if (m_lstFavoriteNames.GetCount() != m_lstFavoritePaths.GetCount())
    {
        m_lstFavoriteNames.RemoveAll();
        m_lstFavoritePaths.RemoveAll();
    }
}

void CBrwsForFolderDlg::WriteFavoritesHistory()
{
    CWinApp* pApp = AfxGetApp();
    if (!pApp)
        return;
    CString strValue;
    POSITION posName = m_lstFavoriteNames.GetHeadPosition();
    POSITION posPath = m_lstFavoritePaths.GetHeadPosition();
    while (posName && posPath)
    {
        strValue += m_lstFavoriteNames.GetNext(posName);
        strValue += L'\n';
        strValue += m_lstFavoritePaths.GetNext(posPath);
        strValue += L'\n';
    }
    pApp->WriteProfileString(m_strFavoritesSection, m_strFavoritesEntry, strValue);
}

void CBrwsForFolderDlg::ReadStartPlacement()
{
    CWinApp* pApp = AfxGetApp();
    if (!pApp)
        return;
    LPBYTE pData = nullptr;
    UINT nBytes = 0;
    if (!pApp->GetProfileBinary(m_strPlacementSection, m_strPlacementEntry, &pData, &nBytes))
        return;
    std::unique_ptr<BYTE[]> data(pData);
    // Anything shorter is not a rectangle; reading it would run past the block.
    if (data && nBytes >= sizeof(RECT))
        memcpy(&m_rcStart, data.get(), sizeof(RECT));
}

void CBrwsForFolderDlg::WriteStartPlacement()
{
    GetWindowRect(&m_rcStart);
    if (CWinApp* pApp = AfxGetApp())
        pApp->WriteProfileBinary(m_strPlacementSection, m_strPlacementEntry, reinterpret_cast<LPBYTE>(&m_rcStart),
                                 sizeof(RECT));
}

void CBrwsForFolderDlg::DoRemoveFavorites()
{
    CBrwsRemoveFavoritesDlg dlg(nullptr);
    POSITION posName = m_lstFavoriteNames.GetHeadPosition();
    POSITION posPath = m_lstFavoritePaths.GetHeadPosition();
    while (posName && posPath)
    {
        const CString& strName = m_lstFavoriteNames.GetNext(posName);
        dlg.m_lstLines.AddTail(FavoriteLine(strName, m_lstFavoritePaths.GetNext(posPath)));
    }
    if (dlg.DoModal() != IDOK)
        return;

    int n = static_cast<int>(m_lstFavoriteNames.GetCount());
    int i = 0;
    while (i < n)
    {
        POSITION posN = m_lstFavoriteNames.FindIndex(i);
        POSITION posP = m_lstFavoritePaths.FindIndex(i);
        CString strLine = FavoriteLine(m_lstFavoriteNames.GetAt(posN), m_lstFavoritePaths.GetAt(posP));
        bool bSelected = false;
        for (POSITION pos = dlg.m_lstLines.GetHeadPosition(); pos && !bSelected;)
            bSelected = dlg.m_lstLines.GetNext(pos) == strLine;
        if (bSelected)
        {
            m_lstFavoriteNames.RemoveAt(posN);
            m_lstFavoritePaths.RemoveAt(posP);
            --n;
        }
        else
        {
            ++i;
        }
    }
    WriteFavoritesHistory();
}

// ---- the remove-favourites dialog ---------------------------------------------------

namespace {

// The list takes up what the window grows by; the buttons keep the lower
// right corner.
const BrwsAnchoredControl kRemoveLayout[] = {
    {IDC_BRWS_FAVORITES_LIST, eBrwsGrowX | eBrwsGrowY},
    {IDOK, eBrwsMoveX | eBrwsMoveY},
    {IDCANCEL, eBrwsMoveX | eBrwsMoveY},
    {IDC_BRWS_SIZE_GRIP, eBrwsMoveX | eBrwsMoveY},
};

} // namespace

CBrwsRemoveFavoritesDlg::CBrwsRemoveFavoritesDlg(CWnd* pParent)
    : CDialog(static_cast<UINT>(IDD_BRWS_REMOVE_FAVORITES), pParent), m_lstLines(10),
      m_pLayout(new (std::nothrow) CBrwsDialogLayout)
{
}

CBrwsRemoveFavoritesDlg::~CBrwsRemoveFavoritesDlg() = default;

BEGIN_MESSAGE_MAP(CBrwsRemoveFavoritesDlg, CDialog)
    ON_LBN_SELCHANGE(IDC_BRWS_FAVORITES_LIST, &CBrwsRemoveFavoritesDlg::OnSelchangeList)
    ON_WM_SIZE()
    ON_WM_GETMINMAXINFO()
END_MESSAGE_MAP()

void CBrwsRemoveFavoritesDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_BRWS_FAVORITES_LIST, m_lbLines);
}

BOOL CBrwsRemoveFavoritesDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (m_pLayout)
        m_pLayout->Attach(*this, kRemoveLayout);
    for (POSITION pos = m_lstLines.GetHeadPosition(); pos;)
        m_lbLines.AddString(m_lstLines.GetNext(pos));
    m_lbLines.SetCaretIndex(0, TRUE);
    m_lbLines.SetFocus();
    return FALSE;
}

void CBrwsRemoveFavoritesDlg::OnSize(UINT nType, int cx, int cy)
{
    CDialog::OnSize(nType, cx, cy);
    if (m_pLayout)
        m_pLayout->Arrange(cx, cy);
}

void CBrwsRemoveFavoritesDlg::OnGetMinMaxInfo(MINMAXINFO* pInfo)
{
    CDialog::OnGetMinMaxInfo(pInfo);
    if (m_pLayout)
        m_pLayout->LimitTracking(pInfo);
}

void CBrwsRemoveFavoritesDlg::OnSelchangeList()
{
    int n = m_lbLines.GetSelCount();
    CWnd* pOk = GetDlgItem(IDOK);
    if (!pOk)
        return;
    pOk->EnableWindow(n >= 1);
    if (n >= 1)
        pOk->ModifyStyle(0, BS_DEFPUSHBUTTON);
}

void CBrwsRemoveFavoritesDlg::OnOK()
{
    int n = m_lbLines.GetSelCount();
    m_lstLines.RemoveAll();
    if (n > 0)
    {
        CArray<int, int> indexes;
        indexes.SetSize(n);
        int nGot = m_lbLines.GetSelItems(n, indexes.GetData());
        for (int i = 0; i < nGot; ++i)
        {
            CString strText;
            m_lbLines.GetText(indexes[i], strText);
            m_lstLines.AddTail(strText);
        }
    }
    CDialog::OnOK();
}
