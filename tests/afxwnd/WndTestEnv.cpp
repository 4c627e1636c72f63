#include "WndTestEnv.h"

namespace {

CWinApp theApp(L"AfxWnd Tests");
HINSTANCE g_hResources = nullptr;

class CWndTestEnvironment : public ::testing::Environment
{
public:
    void SetUp() override
    {
        INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_TREEVIEW_CLASSES | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&icc);
        g_hResources = LoadLibraryW(L"afxwnd_testres.dll");
        ASSERT_NE(nullptr, g_hResources);
        // The chain owns the entry from here on.
        new CDynLinkLibrary(g_hResources, g_hResources);
    }
};

::testing::Environment* const g_environment = ::testing::AddGlobalTestEnvironment(new CWndTestEnvironment);

} // namespace

HINSTANCE TestResources()
{
    return g_hResources;
}

void PumpPending()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE))
    {
        if (msg.message == WM_QUIT)
        {
            PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
            continue;
        }
        AfxPumpMessage();
    }
}

CMainWndScope::CMainWndScope(CWnd* pWnd) : m_pOld(AfxGetApp()->m_pMainWnd)
{
    AfxGetApp()->m_pMainWnd = pWnd;
}

CMainWndScope::~CMainWndScope()
{
    AfxGetApp()->m_pMainWnd = m_pOld;
}

BOOL CreateFrame(CWnd& wnd, LPCWSTR lpszTitle, bool bVisible)
{
    DWORD dwStyle = WS_OVERLAPPEDWINDOW | (bVisible ? WS_VISIBLE : 0);
    return wnd.CreateEx(0, nullptr, lpszTitle, dwStyle, 50, 50, 400, 300, nullptr, nullptr);
}

HTREEITEM InsertTreeItem(CTreeCtrl& tree, LPCWSTR pszText, HTREEITEM hParent, LPARAM lParam, HTREEITEM hInsertAfter)
{
    TVINSERTSTRUCTW tvis = {};
    tvis.hParent = hParent;
    tvis.hInsertAfter = hInsertAfter;
    tvis.item.mask = TVIF_TEXT | TVIF_PARAM;
    tvis.item.pszText = const_cast<LPWSTR>(pszText);
    tvis.item.lParam = lParam;
    return tree.InsertItem(&tvis);
}
