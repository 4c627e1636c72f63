// Following changes on disk: one thread per filled file-system folder with
// subfolders, its messages, and its end when the item goes.
#include "TreeHost.h"

#include <tlhelp32.h>

namespace drivetree_test {
namespace {

const DWORD kQuietMs = 1500; // how long a change that must post nothing is watched

HANDLE DuplicateThreadHandle(CDriveTreeItemData* pData)
{
    HANDLE hCopy = nullptr;
    if (pData && pData->m_pThreadInfo && pData->m_pThreadInfo->m_pThread)
        DuplicateHandle(GetCurrentProcess(), pData->m_pThreadInfo->m_pThread->m_hThread, GetCurrentProcess(),
                        &hCopy, SYNCHRONIZE | THREAD_QUERY_INFORMATION, FALSE, 0);
    return hCopy;
}

// Ended already (no waiting here) with the exit code of a stop.
void ExpectStopped(HANDLE hThread)
{
    ASSERT_NE(nullptr, hThread);
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(hThread, 0));
    DWORD dwExit = 0;
    GetExitCodeThread(hThread, &dwExit);
    EXPECT_EQ(0xFFFFFFFFu, dwExit);
    CloseHandle(hThread);
}

int ProcessThreads()
{
    HANDLE hSnapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 entry = {sizeof(entry)};
    int nThreads = 0;
    for (BOOL b = Thread32First(hSnapshot, &entry); b; b = Thread32Next(hSnapshot, &entry))
        nThreads += entry.th32OwnerProcessID == GetCurrentProcessId() ? 1 : 0;
    CloseHandle(hSnapshot);
    return nThreads;
}

TEST_F(DriveTreeTest, AFolderMadeOnDiskAppearsAtItsPlaceAndOneRemovedStays)
{
    ScratchFolder scratch(L"watch");
    for (const wchar_t* name : {L"b", L"d"})
        MakeFolder(scratch / name);
    CTreeHost host;
    HTREEITEM hFolder = host.Open(scratch.Path());
    host.Tree().Expand(hFolder, TVE_EXPAND);
    ASSERT_NE(nullptr, host.Controller().Data(hFolder)->m_pThreadInfo);

    MakeFolder(scratch / L"c");
    const std::vector<std::wstring> expected = {L"b", L"c", L"d"};
    EXPECT_TRUE(host.PumpUntil([&] { return host.ChildTexts(hFolder) == expected; }));

    const int nMessages = host.m_nChangeMessages;
    ASSERT_TRUE(RemoveDirectoryW((scratch / L"d").c_str()));
    EXPECT_TRUE(host.PumpUntil([&] { return host.m_nChangeMessages > nMessages; }));
    EXPECT_EQ(expected, host.ChildTexts(hFolder));
}

TEST_F(DriveTreeTest, FileRenamesAndChangesDeeperDownPostNothing)
{
    ScratchFolder scratch(L"quiet");
    MakeFolder(scratch / L"sub");
    HANDLE hFile = CreateFileW((scratch / L"file.txt").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, hFile);
    CloseHandle(hFile);
    CTreeHost host;
    HTREEITEM hFolder = host.Open(scratch.Path());
    host.Tree().Expand(hFolder, TVE_EXPAND);

    ASSERT_TRUE(MoveFileW((scratch / L"file.txt").c_str(), (scratch / L"renamed.txt").c_str()));
    MakeFolder(scratch / L"sub\\deeper");
    EXPECT_FALSE(host.PumpUntil([&] { return host.m_nChangeMessages > 0; }, kQuietMs));

    MakeFolder(scratch / L"new");
    EXPECT_TRUE(host.PumpUntil([&] { return host.m_nChangeMessages > 0; }));
}

TEST_F(DriveTreeTest, DeletingAnItemOrDestroyingReturnsOnlyAfterItsThreadEnded)
{
    ScratchFolder scratch(L"stop");
    MakeFolder(scratch / L"one");
    MakeFolder(scratch / L"one\\x");
    MakeFolder(scratch / L"two");
    MakeFolder(scratch / L"two\\y");
    CTreeHost host;
    CTestTree& controller = host.Controller();
    HTREEITEM hOne = host.Open(scratch / L"one");
    HTREEITEM hTwo = host.Open(scratch / L"two");
    host.Tree().Expand(hOne, TVE_EXPAND);
    host.Tree().Expand(hTwo, TVE_EXPAND);
    HANDLE hOneThread = DuplicateThreadHandle(controller.Data(hOne));
    HANDLE hTwoThread = DuplicateThreadHandle(controller.Data(hTwo));

    ASSERT_TRUE(host.Tree().DeleteItem(hOne));
    ExpectStopped(hOneThread);
    controller.Destroy();
    ExpectStopped(hTwoThread);
}

TEST_F(DriveTreeTest, AChangeMessageForADeletedItemIsIgnored)
{
    ScratchFolder scratch(L"stale");
    MakeFolder(scratch / L"a");
    CTreeHost host;
    HTREEITEM hFolder = host.Open(scratch.Path());
    host.Tree().Expand(hFolder, TVE_EXPAND);

    // Let the message arrive but not be handled, then delete its item.
    MakeFolder(scratch / L"b");
    MSG msg = {};
    const DWORD start = GetTickCount();
    while (!PeekMessageW(&msg, host.Window(), WM_USER, WM_USER, PM_NOREMOVE) && GetTickCount() - start < 10000)
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_POSTMESSAGE);
    ASSERT_EQ(static_cast<UINT>(WM_USER), msg.message);
    ASSERT_TRUE(host.Tree().DeleteItem(hFolder));

    const int nPopulations = Populations();
    const UINT nItems = host.Tree().GetCount();
    EXPECT_TRUE(host.PumpUntil([&] { return host.m_nChangeMessages > 0; }));
    EXPECT_EQ(nPopulations, Populations());
    EXPECT_EQ(nItems, host.Tree().GetCount());
    // Nor is one that no thread of this controller posted.
    EXPECT_EQ(1, host.Controller().OnChangeNotification(reinterpret_cast<WPARAM>(&msg),
                                                        reinterpret_cast<LPARAM>(host.Controller().m_hShellRoot)));
    EXPECT_EQ(nPopulations, Populations());
}

TEST_F(DriveTreeTest, DestroyLeavesNoThreadsHandlesOrShellMemory)
{
    ScratchFolder scratch(L"leaks");
    for (const wchar_t* name : {L"a", L"a\\a1", L"b", L"b\\b1"})
        MakeFolder(scratch / name);
    const int nThreads = ProcessThreads();
    DWORD nHandles = 0;
    ASSERT_TRUE(GetProcessHandleCount(GetCurrentProcess(), &nHandles));
    {
        CTreeHost host;
        HTREEITEM hFolder = host.Open(scratch.Path());
        host.Tree().Expand(hFolder, TVE_EXPAND);
        for (HTREEITEM hChild : host.Children(hFolder))
            host.Tree().Expand(hChild, TVE_EXPAND);
        EXPECT_GE(ProcessThreads(), nThreads + 3);
        MakeFolder(scratch / L"c");
        EXPECT_TRUE(host.PumpUntil([&] { return host.ChildNamed(hFolder, L"c") != nullptr; }));
        UpdateWindow(host.Tree().m_hWnd);
        // Destroy empties the controller, which can then start again.
        CTestTree& controller = host.Controller();
        host.Tree().SelectItem(hFolder);
        EXPECT_EQ(controller.GetItemFolder(hFolder), controller.GetCurrentFolder());
        controller.Destroy();
        EXPECT_EQ(0u, host.Tree().GetCount());
        EXPECT_EQ(nullptr, controller.m_hShellRoot);
        EXPECT_EQ(nullptr, controller.GetCurrentFolder());
        controller.Initialize(&host.Tree(), host.Window(), 0);
        EXPECT_NE(nullptr, controller.m_hShellRoot);
    }
    EXPECT_EQ(nThreads, ProcessThreads());
    DWORD nHandlesAfter = 0;
    GetProcessHandleCount(GetCurrentProcess(), &nHandlesAfter);
    EXPECT_EQ(nHandles, nHandlesAfter);
}

} // namespace
} // namespace drivetree_test
