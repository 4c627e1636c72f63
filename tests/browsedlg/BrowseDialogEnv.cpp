#include "BrowseDialogEnv.h"

#include <TarkLanguage.h>
#include <commctrl.h>
#include <ole2.h>

#include "BrwsDriveTree.h"

namespace browsedlg_test {

namespace {

CWinApp theApp(L"BrowseDlgTests");

class BrowseDialogEnvironment : public ::testing::Environment
{
public:
    void SetUp() override
    {
        OleInitialize(nullptr);
        INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_TREEVIEW_CLASSES | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&icc);
        theApp.SetRegistryKey(L"TarkBrowseDlgTests");
        CConnectLanguage& language = CConnectLanguage::Instance();
        language.SetPath(testing_support::BinaryFolder().c_str());
        language.SetAltPath(L"");
        ASSERT_GE(language.CallStoredCallbacks(L"English"), 1);
        CString text;
        ASSERT_TRUE(text.LoadString(IDS_BRWS_FOLDER_PROMPT)) << "language module not linked";
    }
    void TearDown() override
    {
        ClearProfile();
        OleUninitialize();
    }
};

::testing::Environment* const g_environment = ::testing::AddGlobalTestEnvironment(new BrowseDialogEnvironment);

} // namespace

void ClearProfile()
{
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\TarkBrowseDlgTests");
}

INT_PTR RunDialog(CDialog& dlg, DialogDriver& driver)
{
    driver.Start();
    const INT_PTR result = dlg.DoModal();
    EXPECT_TRUE(driver.Finished());
    return result;
}

INT_PTR RunDialog(CDialog& dlg, std::function<void(HWND)> step)
{
    DialogDriver driver;
    driver.Then(std::move(step));
    return RunDialog(dlg, driver);
}

std::wstring TreeItemText(HWND hTree, HTREEITEM hItem)
{
    // A folder name has at most 255 characters.
    wchar_t buffer[MAX_PATH] = {};
    TVITEMW item = {TVIF_TEXT | TVIF_HANDLE, hItem};
    item.pszText = buffer;
    item.cchTextMax = MAX_PATH;
    return SendMessageW(hTree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)) ? buffer : L"<no item>";
}

std::vector<std::wstring> ChildTexts(HWND hTree, HTREEITEM hItem)
{
    std::vector<std::wstring> texts;
    for (HTREEITEM h = TreeView_GetChild(hTree, hItem); h; h = TreeView_GetNextSibling(hTree, h))
        texts.push_back(TreeItemText(hTree, h));
    return texts;
}

std::wstring TreeItemPath(HWND hTree, HTREEITEM hItem)
{
    TVITEMW item = {TVIF_PARAM | TVIF_HANDLE, hItem};
    if (!SendMessageW(hTree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)) || !item.lParam)
        return L"<no data>";
    const CDriveTreeItemData* pData = reinterpret_cast<const CDriveTreeItemData*>(item.lParam);
    return pData->m_pFolder ? std::wstring(static_cast<LPCWSTR>(pData->m_pFolder->m_strPath)) : L"<no folder>";
}

std::vector<std::wstring> ComboEntries(HWND hCombo)
{
    std::vector<std::wstring> entries;
    int count = static_cast<int>(SendMessageW(hCombo, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i)
    {
        // Entries are paths of any length.
        std::wstring entry(static_cast<size_t>(SendMessageW(hCombo, CB_GETLBTEXTLEN, i, 0)) + 1, L'\0');
        SendMessageW(hCombo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(&entry[0]));
        entries.push_back(entry.c_str());
    }
    return entries;
}

std::vector<LONG> WindowRect(HWND hWnd)
{
    RECT rc = {};
    GetWindowRect(hWnd, &rc);
    return {rc.left, rc.top, rc.right, rc.bottom};
}

std::vector<LONG> ControlRect(HWND hDlg, int id)
{
    RECT rc = {};
    GetWindowRect(GetDlgItem(hDlg, id), &rc);
    MapWindowPoints(nullptr, hDlg, reinterpret_cast<POINT*>(&rc), 2);
    return {rc.left, rc.top, rc.right, rc.bottom};
}

void CheckResizing(HWND hDlg, const std::vector<Follow>& follows, int dx, int dy)
{
    const std::vector<LONG> start = WindowRect(hDlg);
    auto resize = [&](int cx, int cy) {
        MoveWindow(hDlg, start[0], start[1], start[2] - start[0] + cx, start[3] - start[1] + cy, TRUE);
    };
    std::vector<std::vector<LONG>> before;
    for (const Follow& follow : follows)
        before.push_back(ControlRect(hDlg, follow.id));
    resize(dx, dy);
    for (size_t i = 0; i < follows.size(); ++i)
    {
        const Follow& f = follows[i];
        const std::vector<LONG>& b = before[i];
        EXPECT_EQ((std::vector<LONG>{b[0] + f.left * dx, b[1] + f.top * dy, b[2] + f.right * dx, b[3] + f.bottom * dy}),
                  ControlRect(hDlg, f.id))
            << "control " << f.id;
    }
    resize(-60, -60);
    const std::vector<LONG> smallest = WindowRect(hDlg);
    EXPECT_EQ(start[2] - start[0], smallest[2] - smallest[0]) << "below the template's width";
    EXPECT_EQ(start[3] - start[1], smallest[3] - smallest[1]) << "below the template's height";
}

bool SamePath(std::wstring a, std::wstring b)
{
    if (!a.empty() && a.back() == L'\\')
        a.pop_back();
    if (!b.empty() && b.back() == L'\\')
        b.pop_back();
    return lstrcmpiW(a.c_str(), b.c_str()) == 0;
}

} // namespace browsedlg_test
