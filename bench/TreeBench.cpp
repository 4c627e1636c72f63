// Measures, in one run, how long CDriveTreeUtil takes to fill a folder of
// 1,000, 5,000 and 20,000 empty subfolders, beside what the listing itself
// costs (FindFirstFileW, and the shell's enumeration with attributes) and
// what the system's own SHBrowseForFolderW takes for the 1,000 folder.
//
// Every figure is the median of seven rounds on a warm cache. The
// targets are on the population (the controller's own work); the expand (what
// the user waits for: population plus the tree control's layout) and the first
// paint (the icons of the rows on screen, looked up only then) are shown beside.
#include <afxwin.h>
#include <afxcmn.h>

#include "BrwsDriveTree.h"
#include "BrwsFolderFactory.h"
#include "BrwsIDList.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

const wchar_t kHostClass[] = L"TreeBenchHost";
const UINT kTreeId = 100;

double Now()
{
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double TimeOf(const std::function<void()>& run)
{
    const double t0 = Now();
    run();
    return Now() - t0;
}

// ---- The window that owns the tree and routes to the controller ----------------

CDriveTreeUtil* g_pController = nullptr;

LRESULT CALLBACK HostProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (g_pController)
    {
        if (msg == WM_NOTIFY)
        {
            NMHDR* pHeader = reinterpret_cast<NMHDR*>(lParam);
            switch (pHeader->code)
            {
            case TVN_ITEMEXPANDINGW:
                return g_pController->OnItemExpanding(reinterpret_cast<NMTREEVIEWW*>(lParam));
            case TVN_DELETEITEMW:
                return g_pController->OnDeleteItem(reinterpret_cast<NMTREEVIEWW*>(lParam));
            case TVN_GETDISPINFOW:
                return g_pController->OnGetDispInfo(reinterpret_cast<NMTVDISPINFOW*>(lParam));
            }
        }
        else if (msg == WM_USER)
        {
            return g_pController->OnChangeNotification(wParam, lParam);
        }
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

void Pump()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
    {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

// ---- Folders on disk ---------------------------------------------------------------

std::wstring TempRoot()
{
    wchar_t szTemp[MAX_PATH];
    GetTempPathW(MAX_PATH, szTemp);
    return std::wstring(szTemp) + L"tree_bench_" + std::to_wstring(GetCurrentProcessId());
}

std::wstring SubName(int i)
{
    wchar_t sz[32];
    swprintf(sz, 32, L"Folder %05d", i);
    return sz;
}

void MakeFolder(const std::wstring& path, int nChildren)
{
    CreateDirectoryW(path.c_str(), nullptr);
    for (int i = 1; i <= nChildren; ++i)
        CreateDirectoryW((path + L"\\" + SubName(i)).c_str(), nullptr);
}

void RemoveFolder(const std::wstring& path, int nChildren)
{
    for (int i = 1; i <= nChildren; ++i)
        RemoveDirectoryW((path + L"\\" + SubName(i)).c_str());
    RemoveDirectoryW(path.c_str());
}

// ---- What is measured ---------------------------------------------------------------

int RawListing(const std::wstring& path)
{
    WIN32_FIND_DATAW data;
    HANDLE hFind = FindFirstFileW((path + L"\\*").c_str(), &data);
    int nFolders = 0;
    if (hFind == INVALID_HANDLE_VALUE)
        return 0;
    do
    {
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && wcscmp(data.cFileName, L".") != 0 &&
            wcscmp(data.cFileName, L"..") != 0)
            ++nFolders;
    } while (FindNextFileW(hFind, &data));
    FindClose(hFind);
    return nFolders;
}

// The folders of path as the shell enumerates them, each asked for the
// attributes a folder tree needs.
int ShellEnumeration(const std::wstring& path)
{
    IShellFolder* pDesktop = nullptr;
    if (FAILED(SHGetDesktopFolder(&pDesktop)))
        return 0;
    int nFolders = 0;
    LPITEMIDLIST pidl = nullptr;
    IShellFolder* pFolder = nullptr;
    IEnumIDList* pEnum = nullptr;
    if (SUCCEEDED(pDesktop->ParseDisplayName(nullptr, nullptr, const_cast<LPWSTR>(path.c_str()), nullptr, &pidl,
                                             nullptr)) &&
        SUCCEEDED(pDesktop->BindToObject(pidl, nullptr, IID_IShellFolder, reinterpret_cast<void**>(&pFolder))) &&
        pFolder->EnumObjects(nullptr, SHCONTF_FOLDERS, &pEnum) == S_OK)
    {
        LPITEMIDLIST batch[15];
        ULONG nFetched = 0;
        HRESULT hr;
        do
        {
            hr = pEnum->Next(15, batch, &nFetched);
            for (ULONG i = 0; i < nFetched; ++i)
            {
                LPCITEMIDLIST one = batch[i];
                SFGAOF attributes = SFGAO_LINK | SFGAO_HIDDEN | SFGAO_FILESYSTEM | SFGAO_HASSUBFOLDER;
                if (SUCCEEDED(pFolder->GetAttributesOf(1, &one, &attributes)))
                    ++nFolders;
                CoTaskMemFree(batch[i]);
            }
        } while (hr == S_OK);
        pEnum->Release();
    }
    if (pFolder)
        pFolder->Release();
    CoTaskMemFree(pidl);
    pDesktop->Release();
    return nFolders;
}

// Opens the protected population to the bench.
class CBenchTree : public CDriveTreeUtil
{
public:
    void Populate(HTREEITEM hItem) { PopulateShellFolder(hItem, 0); }
};

struct CHost
{
    HWND hwnd = nullptr;
    CTreeCtrl tree;
    CBenchTree controller;

    CHost()
    {
        hwnd = CreateWindowExW(0, kHostClass, L"tree bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20, 420, 640,
                               nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        HWND hTree = CreateWindowExW(WS_EX_CLIENTEDGE, WC_TREEVIEWW, L"",
                                     WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT, 0, 0,
                                     400, 600, hwnd, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kTreeId)),
                                     GetModuleHandleW(nullptr), nullptr);
        tree.Attach(hTree);
        g_pController = &controller;
        controller.Initialize(&tree, hwnd, 1);
    }
    ~CHost()
    {
        controller.Destroy();
        g_pController = nullptr;
        tree.Detach();
        DestroyWindow(hwnd);
    }

    // The folder's item, not yet filled, scrolled to the top of the tree.
    HTREEITEM Open(const std::wstring& path)
    {
        HTREEITEM hItem = controller.FindOrAddFolder(CreateShellFolder(hwnd, path.c_str()), TRUE, nullptr);
        if (hItem)
            tree.SelectSetFirstVisible(hItem);
        Pump();
        UpdateWindow(tree.m_hWnd);
        return hItem;
    }

    int CountChildren(HTREEITEM hItem)
    {
        int nItems = 0;
        for (HTREEITEM h = tree.GetChildItem(hItem); h; h = tree.GetNextSiblingItem(h))
            ++nItems;
        return nItems;
    }
};

struct CFill
{
    double dPopulate = 0; // the controller's population of an unopened item
    double dRefill = 0;   // the same again, every child already there (as after a change on disk)
    double dExpand = 0;   // a first TVM_EXPAND end to end: population and the tree's own layout
    double dPaint = 0;    // the first paint afterwards: the icons of the rows on screen
    int nItems = 0;
};

CFill Fill(const std::wstring& path)
{
    CFill result;
    {
        CHost host;
        HTREEITEM hItem = host.Open(path);
        if (!hItem)
            return result;
        double t0 = Now();
        host.controller.Populate(hItem);
        result.dPopulate = Now() - t0;
        result.nItems = host.CountChildren(hItem);
        t0 = Now();
        host.controller.Populate(hItem);
        result.dRefill = Now() - t0;
        if (host.CountChildren(hItem) != result.nItems)
            result.nItems = -1;
    }
    {
        CHost host;
        HTREEITEM hItem = host.Open(path);
        if (!hItem)
            return result;
        double t0 = Now();
        host.tree.Expand(hItem, TVE_EXPAND);
        result.dExpand = Now() - t0;
        t0 = Now();
        RedrawWindow(host.tree.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        result.dPaint = Now() - t0;
        if (host.CountChildren(hItem) != result.nItems)
            result.nItems = -1;
    }
    return result;
}

// SHBrowseForFolderW rooted at the folder: it fills the folder before it
// reports BFFM_INITIALIZED, and is closed right then.
double g_dInitialized = 0;

int CALLBACK BrowseCallback(HWND hwnd, UINT msg, LPARAM, LPARAM)
{
    if (msg == BFFM_INITIALIZED)
    {
        g_dInitialized = Now();
        PostMessageW(hwnd, WM_COMMAND, IDCANCEL, 0);
    }
    return 0;
}

double SystemBrowse(HWND hwndOwner, const std::wstring& path)
{
    LPITEMIDLIST pidlRoot = GetFullIDList(hwndOwner, path.c_str());
    if (!pidlRoot)
        return -1;
    BROWSEINFOW info = {};
    wchar_t szName[MAX_PATH];
    info.hwndOwner = hwndOwner;
    info.pidlRoot = pidlRoot;
    info.pszDisplayName = szName;
    info.lpszTitle = L"bench";
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    info.lpfn = BrowseCallback;
    g_dInitialized = 0;
    double t0 = Now();
    LPITEMIDLIST pidlResult = SHBrowseForFolderW(&info);
    CoTaskMemFree(pidlResult);
    FreeShellMem(pidlRoot);
    return g_dInitialized > 0 ? g_dInitialized - t0 : -1;
}

const int kRounds = 7;

struct CRow
{
    int nFolders;
    double dRaw = 0;
    double dShell = 0;
    CFill fill;
};

double MedianOf(const std::vector<CFill>& fills, double CFill::*field)
{
    std::vector<double> values;
    for (const CFill& fill : fills)
        values.push_back(fill.*field);
    return Median(values);
}

} // namespace

int main()
{
    CoInitialize(nullptr);
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_TREEVIEW_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    WNDCLASSW wc = {};
    wc.lpfnWndProc = HostProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kHostClass;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    RegisterClassW(&wc);

    const std::wstring root = TempRoot();
    CreateDirectoryW(root.c_str(), nullptr);
    std::vector<CRow> rows = {{1000}, {5000}, {20000}};
    std::printf("Building folders under %ls ...\n", root.c_str());
    for (CRow& row : rows)
        MakeFolder(root + L"\\n" + std::to_wstring(row.nFolders), row.nFolders);

    // Rounds over all sizes, so that a change of the machine's load during
    // the run weighs on every size alike; the first round is not timed.
    bool bComplete = true;
    std::vector<std::vector<double>> raws(rows.size()), shells(rows.size());
    std::vector<std::vector<CFill>> fills(rows.size());
    for (int nRound = 0; nRound <= kRounds; ++nRound)
    {
        for (size_t i = 0; i < rows.size(); ++i)
        {
            const std::wstring path = root + L"\\n" + std::to_wstring(rows[i].nFolders);
            const double dRaw = TimeOf([&] { RawListing(path); });
            const double dShell = TimeOf([&] { ShellEnumeration(path); });
            const CFill fill = Fill(path);
            if (fill.nItems != rows[i].nFolders)
                bComplete = false;
            if (nRound == 0)
                continue;
            raws[i].push_back(dRaw);
            shells[i].push_back(dShell);
            fills[i].push_back(fill);
        }
    }
    for (size_t i = 0; i < rows.size(); ++i)
    {
        CRow& row = rows[i];
        row.dRaw = Median(raws[i]);
        row.dShell = Median(shells[i]);
        row.fill.dPopulate = MedianOf(fills[i], &CFill::dPopulate);
        row.fill.dRefill = MedianOf(fills[i], &CFill::dRefill);
        row.fill.dExpand = MedianOf(fills[i], &CFill::dExpand);
        row.fill.dPaint = MedianOf(fills[i], &CFill::dPaint);
        row.fill.nItems = fills[i].back().nItems;
    }

    double dSystem = -1;
    {
        HWND hwndOwner = CreateWindowExW(0, kHostClass, L"owner", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr,
                                         nullptr, GetModuleHandleW(nullptr), nullptr);
        dSystem = SystemBrowse(hwndOwner, root + L"\\n1000");
        DestroyWindow(hwndOwner);
    }

    std::printf("\nMedians in ms. population: the controller fills an unopened folder item;\n"
                "expand: a first TVM_EXPAND end to end (population plus the tree's own layout);\n"
                "refill: population again with every child present; paint: the first paint after\n"
                "the expand, where the icons of the rows on screen are looked up.\n\n");
    std::printf("%7s %8s %8s %10s %8s %9s %8s %8s %8s %8s\n", "folders", "listing", "shell", "population",
                "pop/list", "pop/shell", "expand", "exp/shl", "refill", "paint");
    for (const CRow& row : rows)
        std::printf("%7d %8.1f %8.1f %10.1f %8.2f %9.2f %8.1f %8.2f %8.1f %8.1f%s\n", row.nFolders, row.dRaw,
                    row.dShell, row.fill.dPopulate, row.fill.dPopulate / row.dRaw, row.fill.dPopulate / row.dShell,
                    row.fill.dExpand, row.fill.dExpand / row.dShell, row.fill.dRefill, row.fill.dPaint,
                    row.fill.nItems == row.nFolders ? "" : "  (wrong item count!)");
    const CRow& small = rows.front();
    const CRow& big = rows.back();
    std::printf("\ngrowth 1,000 -> 20,000: listing x%.1f, shell x%.1f, population x%.1f, expand x%.1f, refill x%.1f\n",
                big.dRaw / small.dRaw, big.dShell / small.dShell, big.fill.dPopulate / small.fill.dPopulate,
                big.fill.dExpand / small.fill.dExpand, big.fill.dRefill / small.fill.dRefill);
    if (dSystem >= 0)
        std::printf("SHBrowseForFolderW on the 1,000 folder: %.1f ms (x%.0f our population, x%.0f our expand)\n",
                    dSystem, dSystem / small.fill.dPopulate, dSystem / small.fill.dExpand);
    else
        std::printf("SHBrowseForFolderW on the 1,000 folder: could not be measured\n");

    const double dRatioSmall = small.fill.dPopulate / small.dShell;
    const double dGrowth = big.fill.dPopulate / small.fill.dPopulate;
    std::printf("\n%s: population of 1,000 subfolders is %.2f x the shell enumeration (target <= 4)\n",
                bComplete && dRatioSmall <= 4.0 ? "PASS" : "FAIL", dRatioSmall);
    std::printf("%s: population of 20,000 subfolders is %.2f x the population of 1,000 (target <= 25)\n",
                bComplete && dGrowth <= 25.0 ? "PASS" : "FAIL", dGrowth);

    for (const CRow& row : rows)
        RemoveFolder(root + L"\\n" + std::to_wstring(row.nFolders), row.nFolders);
    RemoveDirectoryW(root.c_str());
    CoUninitialize();
    return 0;
}
