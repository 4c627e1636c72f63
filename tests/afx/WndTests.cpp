// What the drive tree relies on from the window layer without its tests
// seeing it: an image list it only borrows (the shell's) is never destroyed by
// a wrapper, and its change monitor's thread starts suspended, at the asked
// priority, and gives its handle back with its object.
#include <afxwin.h>
#include <afxcmn.h>

#include <gtest/gtest.h>

#include <utility>

namespace {

bool IsImageList(HIMAGELIST hList)
{
    int cx = 0, cy = 0;
    return ImageList_GetIconSize(hList, &cx, &cy) != FALSE;
}

} // namespace

TEST(ImageListTest, OnlyAnAttachedListIsDestroyedNeitherADetachedNorATemporaryOne)
{
    HIMAGELIST hOwned = ImageList_Create(16, 16, ILC_COLOR32, 1, 1);
    HIMAGELIST hBorrowed = ImageList_Create(16, 16, ILC_COLOR32, 1, 1);
    {
        CImageList owner;
        ASSERT_TRUE(owner.Attach(hOwned));
        CImageList borrower;
        ASSERT_TRUE(borrower.Attach(hBorrowed));
        EXPECT_EQ(hBorrowed, borrower.Detach());
    }
    EXPECT_FALSE(IsImageList(hOwned)) << "the destructor destroyed the attached list";
    ASSERT_TRUE(IsImageList(hBorrowed));

    // Temporary wrappers (as CTreeCtrl::SetImageList returns) die when idle.
    CImageList* pTemp = CImageList::FromHandle(hBorrowed);
    ASSERT_NE(nullptr, pTemp);
    EXPECT_EQ(pTemp, CImageList::FromHandle(hBorrowed));
    AfxLockTempMaps();
    AfxUnlockTempMaps(TRUE);
    EXPECT_TRUE(IsImageList(hBorrowed));
    ImageList_Destroy(hBorrowed);
}

TEST(ThreadTest, SuspendedWorkerRunsAtItsPriorityAndItsObjectClosesItsHandle)
{
    using Seen = std::pair<CWinThread*, int>; // the worker's own AfxGetThread and priority
    Seen seen;
    auto worker = [](LPVOID p) -> UINT {
        *static_cast<Seen*>(p) = {AfxGetThread(), GetThreadPriority(GetCurrentThread())};
        return 0;
    };
    CWinThread* pThread = AfxBeginThread(worker, &seen, THREAD_PRIORITY_IDLE, 0, CREATE_SUSPENDED);
    ASSERT_NE(nullptr, pThread);
    pThread->m_bAutoDelete = FALSE;
    EXPECT_EQ(1u, pThread->ResumeThread()) << "it was suspended until now";
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(pThread->m_hThread, 10000));
    EXPECT_EQ(Seen(pThread, THREAD_PRIORITY_IDLE), seen);

    HANDLE hThread = pThread->m_hThread;
    delete pThread;
    DWORD dwFlags = 0;
    EXPECT_FALSE(GetHandleInformation(hThread, &dwFlags)) << "the object closed its handle";
}

