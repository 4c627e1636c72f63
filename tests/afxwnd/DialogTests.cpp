// CDialog and dialog data exchange, driven as a person uses a dialog: the
// dialog runs modally from a template of the chain's resource module while a
// timer performs one step per tick.
#include "WndTestEnv.h"

#include <functional>

namespace {

class CDataDlg : public CDialog
{
public:
    explicit CDataDlg(CWnd* pParent = nullptr, UINT nIDTemplate = IDD_DATA) : CDialog(nIDTemplate, pParent) {}

    CString m_strName = L"Ann";
    bool m_bMissingControl = false;
    std::function<void(CDataDlg&)> m_onInit;
    std::function<void()> m_onGo;

    CEdit m_editName;
    CComboBox m_combo;
    CListBox m_list;
    int m_nNameChanges = 0;
    int m_nGo = 0;
    int m_nListChanges = 0;
    int m_nKeyDowns = 0;

    BOOL PreTranslateMessage(MSG* pMsg) override
    {
        if (pMsg->message == WM_KEYDOWN)
            ++m_nKeyDowns;
        return CDialog::PreTranslateMessage(pMsg);
    }

protected:
    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Control(pDX, IDC_NAME, m_editName);
        DDX_Control(pDX, IDC_COMBO, m_combo);
        DDX_Control(pDX, IDC_LIST, m_list);
        DDX_Text(pDX, IDC_NAME, m_strName);
        if (m_bMissingControl)
            DDX_Text(pDX, IDC_NOT_THERE, m_strName);
    }

    BOOL OnInitDialog() override
    {
        if (!CDialog::OnInitDialog())
            return FALSE;
        for (LPCWSTR item : {L"one", L"two", L"three"})
            m_list.AddString(item);
        if (m_onInit)
            m_onInit(*this);
        return TRUE;
    }

    afx_msg void OnNameChange() { ++m_nNameChanges; }
    afx_msg void OnGo()
    {
        ++m_nGo;
        if (m_onGo)
            m_onGo();
    }
    afx_msg void OnListChange() { ++m_nListChanges; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CDataDlg, CDialog)
    ON_EN_CHANGE(IDC_NAME, &CDataDlg::OnNameChange)
    ON_BN_CLICKED(IDC_GO, &CDataDlg::OnGo)
    ON_LBN_SELCHANGE(IDC_LIST, &CDataDlg::OnListChange)
END_MESSAGE_MAP()

class CTreeDlg : public CDialog
{
public:
    CTreeDlg() : CDialog(IDD_TREE) {}

    CTreeCtrl m_tree;
    HTREEITEM m_hFirst = nullptr;
    HTREEITEM m_hLocked = nullptr;
    BOOL m_bAllowEdit = FALSE;

protected:
    void DoDataExchange(CDataExchange* pDX) override { DDX_Control(pDX, IDC_TREE, m_tree); }
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        m_hFirst = InsertTreeItem(m_tree, L"first");
        m_hLocked = InsertTreeItem(m_tree, L"locked");
        m_tree.SelectItem(m_hFirst);
        return TRUE;
    }
    afx_msg void OnSelChanging(NMHDR* pNMHDR, LRESULT* pResult)
    {
        *pResult = reinterpret_cast<NMTREEVIEWW*>(pNMHDR)->itemNew.hItem == m_hLocked;
    }
    afx_msg void OnBeginLabelEdit(NMHDR*, LRESULT* pResult) { *pResult = !m_bAllowEdit; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTreeDlg, CDialog)
    ON_NOTIFY(TVN_SELCHANGINGW, IDC_TREE, &CTreeDlg::OnSelChanging)
    ON_NOTIFY(TVN_BEGINLABELEDITW, IDC_TREE, &CTreeDlg::OnBeginLabelEdit)
END_MESSAGE_MAP()

std::wstring FocusText()
{
    return DialogDriver::Text(GetFocus());
}

} // namespace

TEST(DialogModal, DataGoesIntoTheControlsAndBackWhenTheUserConfirms)
{
    CDataDlg dlg;
    DialogDriver driver;
    driver
        .Then([&](HWND hDlg) {
            EXPECT_EQ(L"Ann", DialogDriver::ItemText(hDlg, IDC_NAME));
            EXPECT_EQ(&dlg.m_editName, CWnd::FromHandlePermanent(GetDlgItem(hDlg, IDC_NAME)));
            EXPECT_EQ(0, dlg.m_nNameChanges) << "loading the controls sends the dialog nothing";
            EXPECT_TRUE(IsWindowVisible(hDlg));
        })
        .Then([&](HWND hDlg) {
            DialogDriver::SetText(hDlg, IDC_NAME, L"Zed");
            DialogDriver::Select(hDlg, IDC_LIST, 2);
        })
        .Then([&](HWND hDlg) { DialogDriver::Click(hDlg, IDOK); });
    driver.Start();
    EXPECT_EQ(IDOK, dlg.DoModal());
    EXPECT_TRUE(driver.Finished());
    EXPECT_EQ(L"Zed", Str(dlg.m_strName));
    EXPECT_EQ(1, dlg.m_nNameChanges);
    EXPECT_EQ(1, dlg.m_nListChanges);
    EXPECT_EQ(nullptr, dlg.m_hWnd);
    EXPECT_EQ(nullptr, dlg.m_editName.m_hWnd) << "controls are detached with the dialog";
}

TEST(DialogModal, KeysGoThroughTheDialogManager)
{
    {
        CDataDlg dlg;
        DialogDriver driver;
        driver.Then([](HWND hDlg) { SetFocus(GetDlgItem(hDlg, IDC_NAME)); })
            .Then([](HWND) { DialogDriver::PostKey(GetFocus(), VK_TAB); })
            .Then([](HWND hDlg) {
                EXPECT_EQ(GetDlgItem(hDlg, IDC_COUNT), GetFocus());
                DialogDriver::PostChars(GetFocus(), L"1");
            })
            .Then([&](HWND hDlg) {
                EXPECT_EQ(L"1", FocusText()) << "typing goes to the field Tab reached";
                // Enter presses the default button, which the dialog may change.
                dlg.SetDefID(IDC_GO);
                EXPECT_EQ(MAKELONG(IDC_GO, DC_HASDEFID), SendMessageW(hDlg, DM_GETDEFID, 0, 0));
                DialogDriver::PostKey(GetFocus(), VK_RETURN);
            })
            .Then([&](HWND) {
                EXPECT_EQ(1, dlg.m_nGo);
                dlg.SetDefID(IDOK);
                DialogDriver::PostKey(GetFocus(), VK_RETURN);
            });
        driver.Start();
        EXPECT_EQ(IDOK, dlg.DoModal());
        EXPECT_TRUE(driver.Finished());
        EXPECT_GE(dlg.m_nKeyDowns, 3) << "the dialog's PreTranslateMessage saw the keys";
    }
    {
        CDataDlg dlg;
        dlg.m_strName = L"unchanged";
        DialogDriver driver;
        driver.Then([](HWND hDlg) {
                  DialogDriver::SetText(hDlg, IDC_NAME, L"changed");
                  SetFocus(GetDlgItem(hDlg, IDC_NAME));
              })
            .Then([](HWND) { DialogDriver::PostKey(GetFocus(), VK_ESCAPE); });
        driver.Start();
        EXPECT_EQ(IDCANCEL, dlg.DoModal());
        EXPECT_EQ(L"unchanged", Str(dlg.m_strName)) << "Cancel exchanges nothing";
    }
}

TEST(DialogModal, OwnerIsTheParentOrTheMainWindowAndIsDisabledMeanwhile)
{
    CWnd mainWnd;
    ASSERT_TRUE(CreateFrame(mainWnd, L"main"));
    CMainWndScope scope(&mainWnd);
    CWnd other;
    ASSERT_TRUE(CreateFrame(other, L"other"));
    for (CWnd* pParent : {static_cast<CWnd*>(nullptr), &other})
    {
        CWnd& owner = pParent != nullptr ? *pParent : mainWnd;
        CDataDlg dlg(pParent);
        DialogDriver driver;
        driver.Then([&](HWND hDlg) {
            EXPECT_EQ(owner.m_hWnd, GetWindow(hDlg, GW_OWNER));
            EXPECT_FALSE(IsWindowEnabled(owner.m_hWnd));
            if (pParent != nullptr)
                return DialogDriver::Click(hDlg, IDCANCEL);
            // The framework's own end wins over the system's.
            EndDialog(hDlg, 0);
            dlg.EndDialog(IDCANCEL);
        });
        driver.Start();
        EXPECT_EQ(IDCANCEL, dlg.DoModal());
        EXPECT_TRUE(IsWindowEnabled(owner.m_hWnd));
    }
}

TEST(DialogModal, FailuresAndEarlyEndsGiveTheirResults)
{
    CDataDlg missingTemplate(nullptr, IDD_MISSING);
    EXPECT_EQ(-1, missingTemplate.DoModal());

    CDataDlg missingControl;
    missingControl.m_bMissingControl = true;
    EXPECT_EQ(-1, missingControl.DoModal()) << "a failed first exchange ends the dialog with -1";

    CDataDlg early;
    early.m_onInit = [](CDataDlg& dlg) { dlg.EndDialog(9); };
    EXPECT_EQ(9, early.DoModal());
    EXPECT_EQ(nullptr, early.m_hWnd);
}

TEST(DialogModal, NotificationResultsReachTheControl)
{
    CTreeDlg dlg;
    DialogDriver driver;
    driver.Then([&](HWND) {
        EXPECT_FALSE(dlg.m_tree.SelectItem(dlg.m_hLocked));
        EXPECT_EQ(dlg.m_hFirst, dlg.m_tree.GetSelectedItem()) << "TVN_SELCHANGING answered TRUE";
        auto editLabel = [&] {
            return dlg.m_tree.SendMessage(TVM_EDITLABELW, 0, reinterpret_cast<LPARAM>(dlg.m_hFirst));
        };
        EXPECT_EQ(0, editLabel()) << "TVN_BEGINLABELEDIT answered TRUE";
        dlg.m_bAllowEdit = TRUE;
        EXPECT_NE(0, editLabel());
        dlg.m_tree.SendMessage(TVM_ENDEDITLABELNOW, TRUE);
        dlg.EndDialog(IDOK);
    });
    driver.Start();
    EXPECT_EQ(IDOK, dlg.DoModal());
    EXPECT_TRUE(driver.Finished());
}

TEST(DialogModeless, CreateShowEndAndDestroy)
{
    CWnd mainWnd;
    ASSERT_TRUE(CreateFrame(mainWnd, L"main"));
    CDataDlg dlg;
    ASSERT_TRUE(dlg.Create(IDD_DATA, &mainWnd));
    EXPECT_EQ(mainWnd.m_hWnd, GetWindow(dlg.m_hWnd, GW_OWNER));
    EXPECT_FALSE(IsWindowVisible(dlg.m_hWnd)) << "the template has no WS_VISIBLE";
    EXPECT_EQ(L"Ann", DialogDriver::ItemText(dlg.m_hWnd, IDC_NAME));
    dlg.ShowWindow(SW_SHOW);
    dlg.SendMessage(WM_COMMAND, IDCANCEL);
    EXPECT_FALSE(IsWindowVisible(dlg.m_hWnd)) << "a modeless dialog is only hidden by EndDialog";
    EXPECT_TRUE(dlg.DestroyWindow());
    EXPECT_EQ(nullptr, dlg.m_hWnd);
}

// The box has the application's caption and the main window as owner; inside
// a dialog the dialog owns it.
TEST(DialogMessageBox, CaptionOwnerTextAndAnswer)
{
    CWnd mainWnd;
    ASSERT_TRUE(CreateFrame(mainWnd, L"main"));
    CMainWndScope scope(&mainWnd);
    CDataDlg dlg;
    int answer = 0;
    dlg.m_onGo = [&] { answer = AfxMessageBox(L"Inner", MB_OKCANCEL); };
    DialogDriver driver;
    driver
        .Then([&](HWND hBox) {
            EXPECT_EQ(L"AfxWnd Tests", DialogDriver::Text(hBox));
            EXPECT_EQ(L"Go on?", DialogDriver::ItemText(hBox, 0xFFFF));
            EXPECT_EQ(mainWnd.m_hWnd, GetWindow(hBox, GW_OWNER));
            DialogDriver::Click(hBox, IDNO);
        })
        // The click opens the box; the next steps run inside the box's own loop.
        .Then([](HWND hDlg) { DialogDriver::Click(hDlg, IDC_GO); })
        .Then([&](HWND hBox) {
            EXPECT_EQ(dlg.m_hWnd, GetWindow(hBox, GW_OWNER));
            EXPECT_FALSE(IsWindowEnabled(dlg.m_hWnd));
            DialogDriver::Click(hBox, IDCANCEL);
        })
        .Then([&](HWND hDlg) {
            EXPECT_EQ(dlg.m_hWnd, hDlg);
            DialogDriver::Click(hDlg, IDCANCEL);
        });
    driver.Start();
    EXPECT_EQ(IDNO, AfxMessageBox(L"Go on?", MB_YESNO));
    EXPECT_TRUE(IsWindowEnabled(mainWnd.m_hWnd));
    EXPECT_EQ(IDCANCEL, dlg.DoModal());
    EXPECT_EQ(IDCANCEL, answer);
    EXPECT_TRUE(driver.Finished());
}
