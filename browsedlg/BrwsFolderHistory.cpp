// The browse-for-folder dialog's remembered values, all through the host
// application's profile: the folder history (the folder field's list), the
// favourite folders and the window rectangle at the last OK.
//
// Values are lines ended by a line feed; a text after the last line feed is
// not an entry. The favourites store name and path lines alternately, the
// format hosts' profiles already hold.
#include "BrwsForFolderDlg.h"

#include "browsedlg/BrwsDialogLayout.h"
#include "browsedlg/BrwsForFolderInternal.h"
#include "resources/BrwsResourceIds.h"

#include <algorithm>
#include <memory>
#include <new>
#include <vector>

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
    std::vector<CString> entries;
    SplitLines(strValue, [&entries](const CString& strEntry) { entries.push_back(strEntry); });
    // A name without its path: the value is not trusted at all.
    if (entries.size() % 2 != 0)
        return;
    for (size_t i = 0; i < entries.size(); i += 2)
        m_favorites.Add({entries[i], entries[i + 1]});
}

void CBrwsForFolderDlg::WriteFavoritesHistory()
{
    CWinApp* pApp = AfxGetApp();
    if (!pApp)
        return;
    CString strValue;
    for (INT_PTR i = 0; i < m_favorites.GetSize(); ++i)
    {
        strValue += m_favorites[i].m_strName;
        strValue += L'\n';
        strValue += m_favorites[i].m_strPath;
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

// The lines shown are the favourites in their order, so a selected line's
// index is its favourite's: two favourites that read alike stay two.
void CBrwsForFolderDlg::DoRemoveFavorites()
{
    CBrwsRemoveFavoritesDlg dlg(nullptr);
    for (INT_PTR i = 0; i < m_favorites.GetSize(); ++i)
        dlg.m_lstLines.AddTail(FavoriteLine(m_favorites[i].m_strName, m_favorites[i].m_strPath));
    if (dlg.DoModal() != IDOK)
        return;

    // One pass, keeping in place what was not selected (the indexes ascend).
    INT_PTR nKept = 0;
    INT_PTR nSelected = 0;
    for (INT_PTR i = 0; i < m_favorites.GetSize(); ++i)
    {
        if (nSelected < dlg.m_anSelected.GetSize() && dlg.m_anSelected[nSelected] == i)
            ++nSelected;
        else if (nKept++ != i)
            m_favorites[nKept - 1] = m_favorites[i];
    }
    m_favorites.SetSize(nKept);
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
    m_anSelected.RemoveAll();
    if (n > 0)
    {
        m_anSelected.SetSize(n);
        const int nGot = m_lbLines.GetSelItems(n, m_anSelected.GetData());
        m_anSelected.SetSize(nGot < 0 ? 0 : nGot);
        std::sort(m_anSelected.GetData(), m_anSelected.GetData() + m_anSelected.GetSize());
        for (int i = 0; i < m_anSelected.GetSize(); ++i)
        {
            CString strText;
            m_lbLines.GetText(m_anSelected[i], strText);
            m_lstLines.AddTail(strText);
        }
    }
    CDialog::OnOK();
}
