// Measures, in one run, what a user of the drive tree waits for, beside what
// the listing itself costs (FindFirstFileW, and the shell's enumeration with
// attributes):
//  - opening a folder of 1,000, 5,000 and 20,000 empty subfolders: the
//    expansion and the first paint, until every child is on screen;
//  - the controller's own filling of such a folder, and its refill of the
//    20,000 folder after one subfolder vanished (what a change on disk costs);
//  - a burst of 300 folders made in a folder of 300 while the tree watches
//    it: the fillings it causes and the longest stall of the message loop.
//
// Every figure is the median of kRounds rounds on a warm cache, the rounds
// going over all sizes so that a change of the machine's load weighs on every
// size alike; the first round is not timed. The folders live under the path
// given as the first argument (./run bench makes them from outside Wine,
// which is much faster for big folders), else under the temporary folder.
#include <afxwin.h>
#include <afxcmn.h>

#include "BrwsDriveTree.h"
#include "BrwsFolderFactory.h"
#include "BrwsIDList.h"
#include "module/Holders.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace {

const wchar_t kHostClass[] = L"TreeBenchHost";
const UINT kTreeId = 100;
const int kRounds = 15;

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
    if (values.empty())
        return 0;
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
bool g_bRouteChanges = true;
int g_nChangeMessages = 0;

LRESULT CALLBACK HostProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (g_pController && msg == WM_NOTIFY)
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
    else if (g_pController && msg == WM_USER && g_bRouteChanges)
    {
        ++g_nChangeMessages;
        return g_pController->OnChangeNotification(wParam, lParam);
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

// Runs the message loop until done() holds or timeoutMs pass.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs)
{
    const double tEnd = Now() + timeoutMs;
    while (!done())
    {
        if (Now() > tEnd)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        Pump();
    }
    return true;
}

// ---- Folders on disk ---------------------------------------------------------------

std::wstring SubName(int i)
{
    wchar_t sz[32];
    swprintf(sz, 32, L"Folder %06d", i);
    return sz;
}

bool HasFolder(const std::wstring& path)
{
    const DWORD dwAttributes = GetFileAttributesW(path.c_str());
    return dwAttributes != INVALID_FILE_ATTRIBUTES && (dwAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Makes what is missing of a folder of nChildren subfolders.
void MakeFolder(const std::wstring& path, int nChildren)
{
    CreateDirectoryW(path.c_str(), nullptr);
    if (HasFolder(path + L"\\" + SubName(nChildren)))
        return;
    for (int i = 1; i <= nChildren; ++i)
        CreateDirectoryW((path + L"\\" + SubName(i)).c_str(), nullptr);
}

// ---- What is measured ---------------------------------------------------------------

int RawListing(const std::wstring& path)
{
    WIN32_FIND_DATAW data;
    CScopedFindHandle find(FindFirstFileW((path + L"\\*").c_str(), &data));
    int nFolders = 0;
    if (!find)
        return 0;
    do
    {
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && wcscmp(data.cFileName, L".") != 0 &&
            wcscmp(data.cFileName, L"..") != 0)
            ++nFolders;
    } while (FindNextFileW(find.Get(), &data));
    return nFolders;
}

// The folders of path as the shell enumerates them, each asked for the
// attributes a folder tree needs.
int ShellEnumeration(const std::wstring& path)
{
    CShellFolderHolder desktop;
    CIDListHolder pidl;
    CShellFolderHolder folder;
    CComHolder<IEnumIDList> items;
    if (FAILED(SHGetDesktopFolder(desktop.Receive())) ||
        FAILED(desktop->ParseDisplayName(nullptr, nullptr, const_cast<LPWSTR>(path.c_str()), nullptr,
                                         pidl.Receive(), nullptr)) ||
        FAILED(desktop->BindToObject(pidl.Get(), nullptr, IID_IShellFolder, folder.ReceiveVoid())) ||
        folder->EnumObjects(nullptr, SHCONTF_FOLDERS, items.Receive()) != S_OK)
        return 0;
    int nFolders = 0;
    LPITEMIDLIST batch[15];
    ULONG nFetched = 0;
    HRESULT hr;
    do
    {
        hr = items->Next(15, batch, &nFetched);
        for (ULONG i = 0; i < nFetched; ++i)
        {
            CIDListHolder one(batch[i]);
            LPCITEMIDLIST relative = one.Get();
            SFGAOF attributes = SFGAO_LINK | SFGAO_HIDDEN | SFGAO_FILESYSTEM | SFGAO_HASSUBFOLDER;
            if (SUCCEEDED(folder->GetAttributesOf(1, &relative, &attributes)))
                ++nFolders;
        }
    } while (hr == S_OK);
    return nFolders;
}

// Opens the protected population to the bench.
class CBenchTree : public CDriveTreeUtil
{
public:
    void Populate(HTREEITEM hItem, int bRefresh) { PopulateShellFolder(hItem, bRefresh); }
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

struct CSizeRound
{
    double dRaw = 0;
    double dShell = 0;
    double dPopulate = 0;  // the controller's filling of an unopened folder item
    double dOnScreen = 0;  // a first expansion until every child is painted
    bool bComplete = true; // every subfolder became an item
};

CSizeRound MeasureSize(const std::wstring& path, int nFolders)
{
    CSizeRound round;
    round.dRaw = TimeOf([&] { RawListing(path); });
    round.dShell = TimeOf([&] { ShellEnumeration(path); });
    {
        CHost host;
        HTREEITEM hItem = host.Open(path);
        round.dPopulate = TimeOf([&] { host.controller.Populate(hItem, 0); });
        round.bComplete = hItem && host.CountChildren(hItem) == nFolders;
    }
    CHost host;
    HTREEITEM hItem = host.Open(path);
    round.dOnScreen = TimeOf([&] {
        host.tree.Expand(hItem, TVE_EXPAND);
        RedrawWindow(host.tree.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    });
    round.bComplete = round.bComplete && host.CountChildren(hItem) == nFolders;
    return round;
}

// The refill after one subfolder vanished, as a change on disk leads to it,
// and the filling of the same folder beside it.
struct CRefill
{
    double dPopulate = 0;
    double dRefill = 0;
    bool bComplete = true;
};

CRefill MeasureRefill(const std::wstring& path, int nFolders)
{
    CRefill refill;
    g_bRouteChanges = false; // the refill is started here, not by the watch
    {
        CHost host;
        HTREEITEM hItem = host.Open(path);
        refill.dPopulate = TimeOf([&] { host.controller.Populate(hItem, 0); });
        const std::wstring vanishing = path + L"\\" + SubName(nFolders / 2);
        RemoveDirectoryW(vanishing.c_str());
        refill.dRefill = TimeOf([&] { host.controller.Populate(hItem, 1); });
        refill.bComplete = host.CountChildren(hItem) == nFolders - 1;
        CreateDirectoryW(vanishing.c_str(), nullptr);
    }
    Pump();
    g_bRouteChanges = true;
    return refill;
}

// The message loop's longest gap between ticks of a 10 ms timer.
struct CStallMeter
{
    static CStallMeter* s_pActive;
    double dLast = 0;
    double dLongest = 0;
    UINT_PTR nTimer = 0;

    CStallMeter()
    {
        s_pActive = this;
        dLast = Now();
        nTimer = SetTimer(nullptr, 0, 10, &CStallMeter::OnTick);
    }
    ~CStallMeter()
    {
        KillTimer(nullptr, nTimer);
        s_pActive = nullptr;
    }
    static void CALLBACK OnTick(HWND, UINT, UINT_PTR, DWORD)
    {
        CStallMeter* pMeter = s_pActive;
        const double dNow = Now();
        pMeter->dLongest = std::max(pMeter->dLongest, dNow - pMeter->dLast);
        pMeter->dLast = dNow;
    }
};
CStallMeter* CStallMeter::s_pActive = nullptr;

struct CBurst
{
    int nFillings = 0;
    double dLongestStall = 0;
    bool bComplete = false;
};

// 300 folders made by another thread (as an unzip would) in a watched folder
// of 300, while the message loop runs with a 10 ms timer.
CBurst MeasureBurst(const std::wstring& path)
{
    const int nOld = 300;
    const int nNew = 300;
    MakeFolder(path, nOld);
    CBurst burst;
    CHost host;
    HTREEITEM hItem = host.Open(path);
    host.tree.Expand(hItem, TVE_EXPAND);
    PumpUntil([] { return false; }, 200);
    g_nChangeMessages = 0;
    {
        CStallMeter meter;
        std::thread maker([&] {
            for (int i = 1; i <= nNew; ++i)
                CreateDirectoryW((path + L"\\New " + std::to_wstring(i)).c_str(), nullptr);
        });
        burst.bComplete = PumpUntil([&] { return host.CountChildren(hItem) == nOld + nNew; }, 20000);
        maker.join();
        PumpUntil([] { return false; }, 1500); // any filling still to come
        burst.dLongestStall = meter.dLongest;
    }
    burst.nFillings = g_nChangeMessages;
    for (int i = 1; i <= nNew; ++i)
        RemoveDirectoryW((path + L"\\New " + std::to_wstring(i)).c_str());
    return burst;
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

double SystemBrowse(const std::wstring& path)
{
    HWND hwndOwner = CreateWindowExW(0, kHostClass, L"owner", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                                     GetModuleHandleW(nullptr), nullptr);
    CIDListHolder root(GetFullIDList(hwndOwner, path.c_str()));
    double dResult = -1;
    if (root)
    {
        BROWSEINFOW info = {};
        wchar_t szName[MAX_PATH];
        info.hwndOwner = hwndOwner;
        info.pidlRoot = root.Get();
        info.pszDisplayName = szName;
        info.lpszTitle = L"bench";
        info.ulFlags = BIF_RETURNONLYFSDIRS;
        info.lpfn = BrowseCallback;
        g_dInitialized = 0;
        const double t0 = Now();
        CIDListHolder chosen(SHBrowseForFolderW(&info));
        dResult = g_dInitialized > 0 ? g_dInitialized - t0 : -1;
    }
    DestroyWindow(hwndOwner);
    return dResult;
}

void Verdict(bool bPass, const char* pszFormat, double dValue, double dTarget)
{
    std::printf("%s: ", bPass ? "PASS" : "FAIL");
    std::printf(pszFormat, dValue, dTarget);
    std::printf("\n");
}

void RegisterHostClass()
{
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_TREEVIEW_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    WNDCLASSW wc = {};
    wc.lpfnWndProc = HostProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kHostClass;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    RegisterClassW(&wc);
}

std::wstring FixtureRoot(int argc, wchar_t** argv)
{
    if (argc > 1)
        return argv[1];
    wchar_t szTemp[MAX_PATH];
    GetTempPathW(MAX_PATH, szTemp);
    return std::wstring(szTemp) + L"tree_bench";
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    CoInitialize(nullptr);
    RegisterHostClass();
    const std::wstring root = FixtureRoot(argc, argv);
    CreateDirectoryW(root.c_str(), nullptr);
    const int sizes[] = {1000, 5000, 20000};
    const size_t nSizes = sizeof(sizes) / sizeof(sizes[0]);
    auto pathOf = [&](int nFolders) { return root + L"\\n" + std::to_wstring(nFolders); };
    std::printf("Folders under %ls\n", root.c_str());
    for (int nFolders : sizes)
        MakeFolder(pathOf(nFolders), nFolders);

    std::vector<std::vector<CSizeRound>> rounds(nSizes);
    std::vector<CRefill> refills;
    bool bComplete = true;
    for (int nRound = 0; nRound <= kRounds; ++nRound)
    {
        for (size_t i = 0; i < nSizes; ++i)
        {
            const CSizeRound round = MeasureSize(pathOf(sizes[i]), sizes[i]);
            bComplete = bComplete && round.bComplete;
            if (nRound > 0)
                rounds[i].push_back(round);
        }
        const CRefill refill = MeasureRefill(pathOf(sizes[nSizes - 1]), sizes[nSizes - 1]);
        bComplete = bComplete && refill.bComplete;
        if (nRound > 0)
            refills.push_back(refill);
    }
    auto median = [](const std::vector<CSizeRound>& of, double CSizeRound::*field) {
        std::vector<double> values;
        for (const CSizeRound& round : of)
            values.push_back(round.*field);
        return Median(values);
    };

    std::printf("\nMedians of %d rounds, in ms. population: the controller fills an unopened folder;\n"
                "on screen: a first expansion until every child is painted (what the user waits for).\n\n",
                kRounds);
    std::printf("%7s %8s %8s %10s %9s %10s %9s\n", "folders", "listing", "shell", "population", "pop/shell",
                "on screen", "scr/shell");
    std::vector<double> onScreen(nSizes), shell(nSizes);
    for (size_t i = 0; i < nSizes; ++i)
    {
        shell[i] = median(rounds[i], &CSizeRound::dShell);
        onScreen[i] = median(rounds[i], &CSizeRound::dOnScreen);
        const double dPopulate = median(rounds[i], &CSizeRound::dPopulate);
        std::printf("%7d %8.1f %8.1f %10.1f %9.2f %10.1f %9.2f\n", sizes[i], median(rounds[i], &CSizeRound::dRaw),
                    shell[i], dPopulate, dPopulate / shell[i], onScreen[i], onScreen[i] / shell[i]);
    }
    std::vector<double> populations, refillTimes;
    for (const CRefill& refill : refills)
    {
        populations.push_back(refill.dPopulate);
        refillTimes.push_back(refill.dRefill);
    }
    const double dRefillPopulation = Median(populations);
    const double dRefill = Median(refillTimes);
    std::printf("\nrefill of %d after one vanished: %.1f ms, its population %.1f ms\n", sizes[nSizes - 1], dRefill,
                dRefillPopulation);

    const CBurst burst = MeasureBurst(root + L"\\burst");
    std::printf("burst of 300 new folders in a watched folder of 300: %d filling(s), longest stall %.1f ms%s\n",
                burst.nFillings, burst.dLongestStall, burst.bComplete ? "" : " (not every folder appeared!)");
    const double dSystem = SystemBrowse(pathOf(sizes[0]));
    if (dSystem >= 0)
        std::printf("SHBrowseForFolderW on the 1,000 folder: %.1f ms (x%.0f our time on screen)\n", dSystem,
                    dSystem / onScreen[0]);
    if (!bComplete)
        std::printf("\nsome folder was not filled completely: every verdict fails\n");

    std::printf("\n");
    for (size_t i = 0; i < nSizes; ++i)
    {
        char szFormat[128];
        std::snprintf(szFormat, sizeof(szFormat),
                      "expansion and first paint of %d subfolders is %%.2f x the shell enumeration (target <= %%.0f)",
                      sizes[i]);
        Verdict(bComplete && onScreen[i] <= 3 * shell[i], szFormat, onScreen[i] / shell[i], 3);
    }
    const double dGrowth = onScreen[nSizes - 1] / onScreen[0];
    Verdict(bComplete && dGrowth <= 25, "expansion and first paint grow %.1f x from 1,000 to 20,000 subfolders "
                                        "(target <= %.0f)", dGrowth, 25);
    Verdict(bComplete && dRefill <= 1.5 * dRefillPopulation,
            "refill of 20,000 subfolders after one vanished is %.2f x their population (target <= %.1f)",
            dRefill / dRefillPopulation, 1.5);
    Verdict(burst.bComplete && burst.dLongestStall <= 100,
            "a burst of 300 new folders stalls the message loop %.1f ms at most (target <= %.0f)",
            burst.dLongestStall, 100);
    const double dPopRatio = median(rounds[0], &CSizeRound::dPopulate) / shell[0];
    Verdict(bComplete && dPopRatio <= 4, "population of 1,000 subfolders is %.2f x the shell enumeration "
                                         "(target <= %.0f)", dPopRatio, 4);
    const double dPopGrowth = median(rounds[nSizes - 1], &CSizeRound::dPopulate) / median(rounds[0], &CSizeRound::dPopulate);
    Verdict(bComplete && dPopGrowth <= 25, "population of 20,000 subfolders is %.2f x the population of 1,000 "
                                           "(target <= %.0f)", dPopGrowth, 25);
    CoUninitialize();
    return 0;
}
