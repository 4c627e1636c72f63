// Measures, in one run, what a user of the drive tree waits for, beside what
// the listing itself costs (FindFirstFileW, and the shell's enumeration with
// attributes):
//  - opening a folder of 1,000, 5,000 and 20,000 empty subfolders: the
//    expansion and the first paint, until every child is on screen; beside
//    it the tree control alone with as many rows (the floor under it);
//  - the controller's own filling of such a folder, and its refill of the
//    20,000 folder after one subfolder vanished (what a change on disk costs);
//  - a burst of 300 folders made in a folder of 300 while the tree watches
//    it: the fillings it causes and the longest stall of the message loop;
//  - opening a folder of 100,000 subfolders, whose listing goes on in the
//    background: the longest stall of the message loop, and the time until
//    every child is on screen beside the same expansion done synchronously;
//  - opening a folder whose listing never ends (held by the listing seam):
//    how long the expansion takes to return.
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
#include "drivetree/ListingSeam.h"
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

    // A first expansion until every child is painted: the listing may go on
    // in the background, with a placeholder first among the children until
    // it ends. False when that did not happen within a minute.
    bool ExpandUntilShown(HTREEITEM hItem, int nChildren)
    {
        const UINT nBefore = tree.GetCount();
        tree.Expand(hItem, TVE_EXPAND);
        const bool bShown = PumpUntil(
            [&] {
                HTREEITEM hFirst = tree.GetChildItem(hItem);
                return tree.GetCount() == nBefore + nChildren && hFirst && tree.GetItemData(hFirst);
            },
            60000);
        // What is still to paint of it (the loop has painted the rest).
        RedrawWindow(tree.m_hWnd, nullptr, nullptr, RDW_UPDATENOW);
        return bShown;
    }

    int CountChildren(HTREEITEM hItem)
    {
        int nItems = 0;
        for (HTREEITEM h = tree.GetChildItem(hItem); h; h = tree.GetNextSiblingItem(h))
            ++nItems;
        return nItems;
    }
};

// What the tree control alone costs for rows of folders: the rows inserted
// under a collapsed item (texts and the plain folder's icons as the drive
// tree gives them), then expanded and painted, with no shell work at all.
// The floor under any expansion of the drive tree on this system.
double BareTreeOnScreen(int nRows)
{
    HWND hwnd = CreateWindowExW(0, kHostClass, L"bare tree", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20, 420, 640,
                                nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    HWND hTree = CreateWindowExW(WS_EX_CLIENTEDGE, WC_TREEVIEWW, L"",
                                 WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT, 0, 0, 400,
                                 600, hwnd, nullptr, GetModuleHandleW(nullptr), nullptr);
    SHFILEINFOW info = {};
    const HIMAGELIST hImages = reinterpret_cast<HIMAGELIST>(SHGetFileInfoW(
        L"folder", FILE_ATTRIBUTE_DIRECTORY, &info, sizeof(info),
        SHGFI_USEFILEATTRIBUTES | SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
    TreeView_SetImageList(hTree, hImages, TVSIL_NORMAL);
    TVINSERTSTRUCTW insert = {};
    insert.hParent = TVI_ROOT;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_CHILDREN | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    insert.item.iImage = insert.item.iSelectedImage = info.iIcon;
    insert.item.cChildren = 1;
    std::wstring text = L"folder";
    insert.item.pszText = &text[0];
    HTREEITEM hParent = TreeView_InsertItem(hTree, &insert);
    UpdateWindow(hTree);
    const double dOnScreen = TimeOf([&] {
        insert.hParent = hParent;
        for (int i = 1; i <= nRows; ++i)
        {
            text = SubName(i);
            insert.item.pszText = &text[0];
            TreeView_InsertItem(hTree, &insert);
        }
        TreeView_Expand(hTree, hParent, TVE_EXPAND);
        RedrawWindow(hTree, nullptr, nullptr, RDW_UPDATENOW);
    });
    DestroyWindow(hwnd);
    return dOnScreen;
}

struct CSizeRound
{
    double dRaw = 0;
    double dShell = 0;
    double dPopulate = 0;  // the controller's filling of an unopened folder item
    double dOnScreen = 0;  // a first expansion until every child is painted
    double dBareTree = 0;  // the tree control alone with as many rows
    bool bComplete = true; // every subfolder became an item
};

CSizeRound MeasureSize(const std::wstring& path, int nFolders)
{
    CSizeRound round;
    round.dRaw = TimeOf([&] { RawListing(path); });
    round.dShell = TimeOf([&] { ShellEnumeration(path); });
    {
        CHost host;
        host.controller.SetListingBudget(INFINITE);
        HTREEITEM hItem = host.Open(path);
        round.dPopulate = TimeOf([&] { host.controller.Populate(hItem, 0); });
        round.bComplete = hItem && host.CountChildren(hItem) == nFolders;
    }
    CHost host;
    HTREEITEM hItem = host.Open(path);
    round.dOnScreen = TimeOf([&] { round.bComplete = round.bComplete && host.ExpandUntilShown(hItem, nFolders); });
    round.dBareTree = BareTreeOnScreen(nFolders);
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
        host.controller.SetListingBudget(INFINITE);
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

// A folder of 100,000 subfolders opened with the listing in the background,
// and the same opened synchronously (budget INFINITE), in one run.
struct CBigFolder
{
    double dSynchronous = 0;
    double dBackground = 0;
    double dLongestStall = 0;
    bool bComplete = true;
};

CBigFolder MeasureBigFolder(const std::wstring& path, int nFolders, int nRounds)
{
    std::vector<double> synchronous, background, stalls;
    CBigFolder big;
    for (int nRound = 0; nRound < nRounds; ++nRound)
    {
        {
            CHost host;
            host.controller.SetListingBudget(INFINITE);
            HTREEITEM hItem = host.Open(path);
            synchronous.push_back(TimeOf([&] { big.bComplete = host.ExpandUntilShown(hItem, nFolders) && big.bComplete; }));
        }
        CHost host;
        HTREEITEM hItem = host.Open(path);
        CStallMeter meter;
        background.push_back(TimeOf([&] { big.bComplete = host.ExpandUntilShown(hItem, nFolders) && big.bComplete; }));
        stalls.push_back(meter.dLongest);
    }
    big.dSynchronous = Median(synchronous);
    big.dBackground = Median(background);
    big.dLongestStall = *std::max_element(stalls.begin(), stalls.end());
    return big;
}

// A listing that does not end until let go: the seam holds it before it binds.
HANDLE g_hLetGo = nullptr;

HRESULT CALLBACK HoldListing(LPCITEMIDLIST, IShellFolder**)
{
    WaitForSingleObject(g_hLetGo, INFINITE);
    return S_FALSE;
}

struct CBlocked
{
    double dExpand = 0;
    bool bPlaceholder = false;
};

CBlocked MeasureBlockedFolder(const std::wstring& path)
{
    CBlocked blocked;
    g_hLetGo = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    {
        CHost host;
        HTREEITEM hItem = host.Open(path);
        BrwsSetListingBindHook(&HoldListing);
        blocked.dExpand = TimeOf([&] { host.tree.Expand(hItem, TVE_EXPAND); });
        HTREEITEM hFirst = host.tree.GetChildItem(hItem);
        blocked.bPlaceholder = hFirst && !host.tree.GetItemData(hFirst) && !host.tree.GetNextSiblingItem(hFirst);
        BrwsSetListingBindHook(nullptr);
    }
    SetEvent(g_hLetGo); // the listing ends on its own, its tree long gone
    CloseHandle(g_hLetGo);
    g_hLetGo = nullptr;
    return blocked;
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


const int kSizes[] = {1000, 5000, 20000};
const size_t kSizeCount = sizeof(kSizes) / sizeof(kSizes[0]);
const int kBigFolder = 100000;
const int kBigRounds = 3;

std::wstring PathOf(const std::wstring& root, int nFolders)
{
    return root + L"\\n" + std::to_wstring(nFolders);
}

double MedianOf(const std::vector<CSizeRound>& rounds, double CSizeRound::*field)
{
    std::vector<double> values;
    for (const CSizeRound& round : rounds)
        values.push_back(round.*field);
    return Median(values);
}

// Opening folders of 1,000 to 20,000 subfolders, refilling the biggest, a
// burst of new folders, and the system's own dialog beside them.
void ReportSizes(const std::wstring& root)
{
    std::vector<std::vector<CSizeRound>> rounds(kSizeCount);
    std::vector<double> populations, refills;
    bool bComplete = true;
    for (int nRound = 0; nRound <= kRounds; ++nRound)
    {
        for (size_t i = 0; i < kSizeCount; ++i)
        {
            const CSizeRound round = MeasureSize(PathOf(root, kSizes[i]), kSizes[i]);
            bComplete = bComplete && round.bComplete;
            if (nRound > 0)
                rounds[i].push_back(round);
        }
        const CRefill refill = MeasureRefill(PathOf(root, kSizes[kSizeCount - 1]), kSizes[kSizeCount - 1]);
        bComplete = bComplete && refill.bComplete;
        if (nRound > 0)
        {
            populations.push_back(refill.dPopulate);
            refills.push_back(refill.dRefill);
        }
    }

    std::printf("\nMedians of %d rounds, in ms. population: the controller fills an unopened folder;\n"
                "on screen: a first expansion until every child is painted (what the user waits for);\n"
                "bare tree: the tree control alone, as many rows inserted, expanded and painted;\n"
                "floor: the shell enumeration and the bare tree, the least any expansion can take.\n\n",
                kRounds);
    std::printf("%7s %8s %8s %10s %9s %10s %9s %10s %10s %11s\n", "folders", "listing", "shell", "population",
                "pop/shell", "on screen", "scr/shell", "bare tree", "bare/shell", "floor/shell");
    std::vector<double> onScreen(kSizeCount), shell(kSizeCount), populate(kSizeCount);
    for (size_t i = 0; i < kSizeCount; ++i)
    {
        shell[i] = MedianOf(rounds[i], &CSizeRound::dShell);
        onScreen[i] = MedianOf(rounds[i], &CSizeRound::dOnScreen);
        populate[i] = MedianOf(rounds[i], &CSizeRound::dPopulate);
        const double dBare = MedianOf(rounds[i], &CSizeRound::dBareTree);
        std::printf("%7d %8.1f %8.1f %10.1f %9.2f %10.1f %9.2f %10.1f %10.2f %11.2f\n", kSizes[i],
                    MedianOf(rounds[i], &CSizeRound::dRaw), shell[i], populate[i], populate[i] / shell[i],
                    onScreen[i], onScreen[i] / shell[i], dBare, dBare / shell[i], 1 + dBare / shell[i]);
    }
    const double dRefillPopulation = Median(populations);
    const double dRefill = Median(refills);
    std::printf("\nrefill of %d after one vanished: %.1f ms, its population %.1f ms\n", kSizes[kSizeCount - 1],
                dRefill, dRefillPopulation);
    const CBurst burst = MeasureBurst(root + L"\\burst");
    std::printf("burst of 300 new folders in a watched folder of 300: %d filling(s), longest stall %.1f ms%s\n",
                burst.nFillings, burst.dLongestStall, burst.bComplete ? "" : " (not every folder appeared!)");
    const double dSystem = SystemBrowse(PathOf(root, kSizes[0]));
    if (dSystem >= 0)
        std::printf("SHBrowseForFolderW on the 1,000 folder: %.1f ms (x%.0f our time on screen)\n", dSystem,
                    dSystem / onScreen[0]);
    if (!bComplete)
        std::printf("\nsome folder was not filled completely: every verdict fails\n");

    std::printf("\n");
    for (size_t i = 0; i < kSizeCount; ++i)
    {
        char szFormat[128];
        std::snprintf(szFormat, sizeof(szFormat),
                      "expansion and first paint of %d subfolders is %%.2f x the shell enumeration (target <= %%.0f)",
                      kSizes[i]);
        Verdict(bComplete && onScreen[i] <= 3 * shell[i], szFormat, onScreen[i] / shell[i], 3);
    }
    const double dGrowth = onScreen[kSizeCount - 1] / onScreen[0];
    Verdict(bComplete && dGrowth <= 25, "expansion and first paint grow %.1f x from 1,000 to 20,000 subfolders "
                                        "(target <= %.0f)", dGrowth, 25);
    Verdict(bComplete && dRefill <= 1.5 * dRefillPopulation,
            "refill of 20,000 subfolders after one vanished is %.2f x their population (target <= %.1f)",
            dRefill / dRefillPopulation, 1.5);
    Verdict(burst.bComplete && burst.dLongestStall <= 100,
            "a burst of 300 new folders stalls the message loop %.1f ms at most (target <= %.0f)",
            burst.dLongestStall, 100);
    Verdict(bComplete && populate[0] <= 4 * shell[0],
            "population of 1,000 subfolders is %.2f x the shell enumeration (target <= %.0f)",
            populate[0] / shell[0], 4);
    Verdict(bComplete && populate[kSizeCount - 1] <= 25 * populate[0],
            "population of 20,000 subfolders is %.2f x the population of 1,000 (target <= %.0f)",
            populate[kSizeCount - 1] / populate[0], 25);
}

// Listings in the background: a folder of 100,000 subfolders, and one whose
// listing never ends.
void ReportBackground(const std::wstring& root)
{
    std::printf("\n");
    CBigFolder big;
    const bool bBig = HasFolder(PathOf(root, kBigFolder) + L"\\" + SubName(kBigFolder));
    if (bBig)
    {
        big = MeasureBigFolder(PathOf(root, kBigFolder), kBigFolder, kBigRounds);
        std::printf("100,000 subfolders, medians of %d: synchronous expansion %.0f ms; in the background %.0f ms "
                    "until all shown, longest stall %.1f ms%s\n",
                    kBigRounds, big.dSynchronous, big.dBackground, big.dLongestStall,
                    big.bComplete ? "" : " (not every folder appeared!)");
    }
    else
        std::printf("no folder of 100,000 subfolders under %ls (./run bench makes one)\n", root.c_str());
    const CBlocked blocked = MeasureBlockedFolder(PathOf(root, kSizes[0]));
    std::printf("a folder whose listing never ends: the expansion returns in %.1f ms%s\n\n", blocked.dExpand,
                blocked.bPlaceholder ? ", showing the placeholder" : ", without the placeholder!");
    if (bBig)
    {
        Verdict(big.bComplete && big.dLongestStall <= 100,
                "opening 100,000 subfolders stalls the message loop %.1f ms at most (target <= %.0f)",
                big.dLongestStall, 100);
        Verdict(big.bComplete && big.dBackground <= 1.5 * big.dSynchronous,
                "opening 100,000 subfolders in the background takes %.2f x the synchronous expansion "
                "(target <= %.1f)", big.dBackground / big.dSynchronous, 1.5);
    }
    Verdict(blocked.bPlaceholder && blocked.dExpand <= 150,
            "the expansion of a folder whose listing never ends returns in %.1f ms with the placeholder "
            "(target <= %.0f)", blocked.dExpand, 150);
}

} // namespace

// tree_bench ROOT [--background]: with --background, only the listings in the background.
int wmain(int argc, wchar_t** argv)
{
    CoInitialize(nullptr);
    RegisterHostClass();
    const std::wstring root = FixtureRoot(argc, argv);
    CreateDirectoryW(root.c_str(), nullptr);
    std::printf("Folders under %ls\n", root.c_str());
    for (int nFolders : kSizes)
        MakeFolder(PathOf(root, nFolders), nFolders);
    if (argc <= 2 || std::wstring(argv[2]) != L"--background")
        ReportSizes(root);
    ReportBackground(root);
    CoUninitialize();
    return 0;
}
