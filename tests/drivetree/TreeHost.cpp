#include "TreeHost.h"

#include <TarkLanguage.h>
#include <tlhelp32.h>

namespace drivetree_test {

namespace {

const wchar_t kHostClass[] = L"DriveTreeTestHost";

// Counts the wait cursors begun: one per population.
class CCountingApp : public CWinApp
{
public:
    CCountingApp() : CWinApp(L"DriveTree Tests") {}
    void DoWaitCursor(int nCode) override
    {
        if (nCode > 0)
            ++m_nBegun;
        CWinApp::DoWaitCursor(nCode);
    }
    int m_nBegun = 0;
};

CCountingApp theApp;

// One visible top-level window for the whole run; each host is a child of it.
// (Under Xvfb without a window manager, destroying a top-level window takes
// seconds in Wine's X11 driver.)
HWND Stage()
{
    static HWND hStage = [] {
        INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_TREEVIEW_CLASSES | ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&icc);
        WNDCLASSW wc = {};
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = kHostClass;
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        RegisterClassW(&wc);
        return CreateWindowExW(0, kHostClass, L"drive tree tests", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 340, 460,
                               nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    }();
    return hStage;
}

} // namespace

int Populations()
{
    return theApp.m_nBegun;
}

CTreeHost::CTreeHost(int bShowAllFolders, bool bRouteDispInfo) : m_bRouteDispInfo(bRouteDispInfo)
{
    HWND hStage = Stage();
    m_hwnd = CreateWindowExW(0, kHostClass, L"drive tree", WS_CHILD | WS_VISIBLE, 0, 0, 320, 420, hStage, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
    SetWindowLongPtrW(m_hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrW(m_hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CTreeHost::WindowProc));
    HWND hTree = CreateWindowExW(0, WC_TREEVIEWW, L"",
                                 WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT, 0, 0, 300,
                                 400, m_hwnd, reinterpret_cast<HMENU>(1), GetModuleHandleW(nullptr), nullptr);
    m_tree.Attach(hTree);
    m_controller.Initialize(&m_tree, m_hwnd, bShowAllFolders);
}

CTreeHost::~CTreeHost()
{
    m_controller.Destroy();
    m_tree.Detach();
    DestroyWindow(m_hwnd);
}

LRESULT CALLBACK CTreeHost::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    CTreeHost* pHost = reinterpret_cast<CTreeHost*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (pHost && msg == WM_NOTIFY)
    {
        switch (reinterpret_cast<NMHDR*>(lParam)->code)
        {
        case TVN_ITEMEXPANDINGW:
            return pHost->m_controller.OnItemExpanding(reinterpret_cast<NMTREEVIEWW*>(lParam));
        case TVN_DELETEITEMW:
            if (!reinterpret_cast<NMTREEVIEWW*>(lParam)->itemOld.lParam)
                ++pHost->m_nPlaceholdersDeleted;
            return pHost->m_controller.OnDeleteItem(reinterpret_cast<NMTREEVIEWW*>(lParam));
        case TVN_GETDISPINFOW:
            if (!pHost->m_bRouteDispInfo)
                break;
            pHost->m_dispInfoItems.insert(reinterpret_cast<NMTVDISPINFOW*>(lParam)->item.hItem);
            return pHost->m_controller.OnGetDispInfo(reinterpret_cast<NMTVDISPINFOW*>(lParam));
        case TVN_SELCHANGEDW:
            pHost->m_selections.push_back(reinterpret_cast<NMTREEVIEWW*>(lParam)->itemNew.hItem);
            break;
        }
    }
    else if (pHost && msg == WM_USER && pHost->m_bHoldChanges)
    {
        pHost->m_heldChanges.push_back(MSG{hwnd, msg, wParam, lParam});
        return 0;
    }
    else if (pHost && msg == WM_USER && pHost->m_bRouteChanges)
    {
        ++pHost->m_nChangeMessages;
        return pHost->m_controller.OnChangeNotification(wParam, lParam);
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

HTREEITEM CTreeHost::Open(const std::wstring& path)
{
    return m_controller.FindOrAddFolder(CreateShellFolder(m_hwnd, path.c_str()), TRUE, nullptr);
}

void CTreeHost::UserKey(HTREEITEM hItem, UINT nKey)
{
    m_tree.SelectItem(hItem);
    m_tree.SendMessage(WM_KEYDOWN, nKey, 0);
}

std::vector<HTREEITEM> CTreeHost::Children(HTREEITEM hItem)
{
    std::vector<HTREEITEM> children;
    for (HTREEITEM h = m_tree.GetChildItem(hItem); h; h = m_tree.GetNextSiblingItem(h))
        children.push_back(h);
    return children;
}

// Text drawn over the background leaves more than one colour in its rectangle.
bool CTreeHost::ShowsText(HTREEITEM hItem)
{
    CRect rcText;
    m_tree.UpdateWindow();
    if (!m_tree.GetItemRect(hItem, &rcText, TRUE))
        return false;
    HDC hdc = GetDC(m_tree.m_hWnd);
    std::set<COLORREF> colours;
    for (int y = rcText.top; y < rcText.bottom; ++y)
        for (int x = rcText.left; x < rcText.right; ++x)
            colours.insert(GetPixel(hdc, x, y));
    ReleaseDC(m_tree.m_hWnd, hdc);
    return colours.size() > 1;
}

std::vector<std::wstring> CTreeHost::ChildTexts(HTREEITEM hItem)
{
    std::vector<std::wstring> texts;
    for (HTREEITEM h : Children(hItem))
        texts.push_back(Text(h));
    return texts;
}

HTREEITEM CTreeHost::ChildNamed(HTREEITEM hItem, const std::wstring& name)
{
    for (HTREEITEM h : Children(hItem))
        if (Text(h) == name)
            return h;
    return nullptr;
}

void DriveTreeTest::SetUpTestSuite()
{
    CoInitialize(nullptr); // as in the host
    CConnectLanguage& language = CConnectLanguage::Instance();
    language.SetPath(testing_support::BinaryFolder().c_str());
    language.SetAltPath(L"");
    ASSERT_GE(language.CallStoredCallbacks(L"English"), 1);
    testing_support::TaskMemSpy::Instance();
    // The shell keeps caches of its own for the process (icons, folder
    // objects); one full round fills them before any count is taken.
    ScratchFolder scratch(L"tree", {L"a"});
    CTreeHost host;
    HTREEITEM hItem = host.Open(scratch.Path());
    host.Tree().EnsureVisible(hItem);
    host.Tree().Expand(hItem, TVE_EXPAND);
    UpdateWindow(host.Tree().m_hWnd);
    // Every icon the tests meet lands in the shell's icon cache once (and
    // the shell starts whatever it starts for that).
    std::vector<HTREEITEM> items = {host.Tree().GetRootItem()};
    for (size_t i = 0; i < items.size(); ++i)
    {
        int nImage = 0, nSelected = 0;
        host.Tree().GetItemImage(items[i], nImage, nSelected);
        GetShellIconIndex(host.Controller().GetItemFolder(items[i])->GetShellData()->m_pidlFull, SHGFI_SMALLICON);
        for (HTREEITEM hChild : host.Children(items[i]))
            items.push_back(hChild);
    }
}

std::set<DWORD> ThreadIds()
{
    std::set<DWORD> ids;
    HANDLE hSnapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 entry = {sizeof(entry)};
    for (BOOL b = Thread32First(hSnapshot, &entry); b; b = Thread32Next(hSnapshot, &entry))
        if (entry.th32OwnerProcessID == GetCurrentProcessId())
            ids.insert(entry.th32ThreadID);
    CloseHandle(hSnapshot);
    return ids;
}

bool WaitForThreadsToEnd(const std::set<DWORD>& before, DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    for (;;)
    {
        std::vector<HANDLE> newer;
        for (DWORD id : ThreadIds())
            if (HANDLE hThread = before.count(id) ? nullptr : OpenThread(SYNCHRONIZE, FALSE, id))
                newer.push_back(hThread);
        const DWORD elapsed = GetTickCount() - start;
        const DWORD result = newer.empty()         ? WAIT_OBJECT_0
                             : elapsed >= timeoutMs ? WAIT_TIMEOUT
                                                    : WaitForMultipleObjects(static_cast<DWORD>(newer.size()),
                                                                             newer.data(), TRUE, timeoutMs - elapsed);
        for (HANDLE hThread : newer)
            CloseHandle(hThread);
        if (newer.empty() || result == WAIT_TIMEOUT || result == WAIT_FAILED)
            return newer.empty();
    }
}

} // namespace drivetree_test
