// Folder change monitoring: one idle-priority thread per filled file-system
// folder item with subfolders. The thread only waits and posts; the tree is
// touched on its own thread alone, in OnChangeNotification.
//
// Lifetime: the thread reads its item's data (the folder's path and the
// record). The UI thread frees them strictly after StopThread's wait has
// returned, and the thread object is kept (not auto-deleting) until then, so
// the wait has a handle even when the thread ended on its own.
#include "drivetree/DriveTreePrivate.h"

#include "BrwsTrace.h"

namespace {

const UINT kChangeMessage = WM_USER;
const UINT kExitNoData = 1;
const UINT kExitNoNotification = 2;
const UINT kExitStopped = 0xFFFFFFFF;

} // namespace

// ---- CDriveTreeThreadInfo ----------------------------------------------------------

CDriveTreeThreadInfo::CDriveTreeThreadInfo()
    : m_hItem(nullptr), m_evStop(FALSE, TRUE), m_hNotifyWnd(nullptr), m_pThread(nullptr),
      m_hArmedChange(INVALID_HANDLE_VALUE)
{
}

CDriveTreeThreadInfo::~CDriveTreeThreadInfo()
{
    StopThread();
    CChangeNotificationHandle armed(m_hArmedChange); // the thread only borrowed it
}

void CDriveTreeThreadInfo::StopThread()
{
    if (!m_pThread)
        return;
    m_evStop.SetEvent();
    ::WaitForSingleObject(m_pThread->m_hThread, INFINITE);
    delete m_pThread; // closes the thread's handle
    m_pThread = nullptr;
}

// ---- Threads -----------------------------------------------------------------------

void CDriveTreeUtil::CreateShellMonitoringThread(HTREEITEM hItem)
{
    CDriveTreeItemData* pData = ItemData(hItem);
    if (!pData || pData->m_pThreadInfo)
        return;
    CDriveTreeThreadInfo* pInfo = nullptr;
    try
    {
        pInfo = new CDriveTreeThreadInfo;
    }
    catch (CException* e)
    {
        // No event to stop a thread with: the item is simply not watched.
        e->Delete();
        return;
    }
    pInfo->m_hItem = hItem;
    pInfo->m_hNotifyWnd = m_hNotifyWnd;
    if (m_pState->hArmedItem == hItem)
    {
        pInfo->m_hArmedChange = m_pState->hArmedChange;
        m_pState->hArmedChange = INVALID_HANDLE_VALUE;
    }
    pData->m_pThreadInfo = pInfo;
    m_pState->monitored.insert(pData);

    // Started suspended so that it is not auto-deleting before it can end.
    CWinThread* pThread = AfxBeginThread(&CDriveTreeUtil::ThreadProc, pData, THREAD_PRIORITY_IDLE, 0,
                                         CREATE_SUSPENDED, nullptr);
    if (!pThread)
        return;
    pThread->m_bAutoDelete = FALSE;
    pInfo->m_pThread = pThread;
    pThread->ResumeThread();
}

UINT AFX_CDECL CDriveTreeUtil::ThreadProc(void* pParam)
{
    CDriveTreeItemData* pData = static_cast<CDriveTreeItemData*>(pParam);
    CDriveTreeThreadInfo* pInfo = pData ? pData->m_pThreadInfo : nullptr;
    if (!pInfo || !pData->m_pFolder)
        return kExitNoData;

    // The record keeps a notification opened for it; else the thread opens its own.
    CChangeNotificationHandle own;
    HANDLE hChange = pInfo->m_hArmedChange;
    if (hChange == INVALID_HANDLE_VALUE)
    {
        own.Reset(OpenFolderChangeNotification(pData->m_pFolder->m_strPath));
        hChange = own.Get();
    }
    if (hChange == INVALID_HANDLE_VALUE)
        return kExitNoNotification;

    const HANDLE handles[2] = {hChange, pInfo->m_evStop.m_hObject};
    for (;;)
    {
        // A failed wait ends the thread as a stop does: retrying could spin.
        if (::WaitForMultipleObjects(2, handles, FALSE, INFINITE) != WAIT_OBJECT_0)
            break;
        ::PostMessageW(pInfo->m_hNotifyWnd, kChangeMessage, reinterpret_cast<WPARAM>(pData),
                       reinterpret_cast<LPARAM>(pInfo->m_hItem));
        // A notification that cannot be re-armed would stay signalled and
        // post without end.
        if (!::FindNextChangeNotification(hChange))
            break;
    }
    return kExitStopped;
}

void CDriveTreeUtil::KillMonitoringThread(CDriveTreeThreadInfo* pInfo)
{
    if (pInfo)
        pInfo->StopThread();
}

// ---- Handlers ------------------------------------------------------------------------

LRESULT CDriveTreeUtil::OnChangeNotification(WPARAM wParam, LPARAM lParam)
{
    const CDriveTreeItemData* pPosted = reinterpret_cast<const CDriveTreeItemData*>(wParam);
    HTREEITEM hItem = reinterpret_cast<HTREEITEM>(lParam);
    // Only the data of a live item can be looked at: the item of a message
    // may have gone while the message waited.
    if (!hItem || !m_pTreeCtrl || m_pState->monitored.find(pPosted) == m_pState->monitored.end())
        return 1;
    CDriveTreeItemData* pData = const_cast<CDriveTreeItemData*>(pPosted);
    if (!pData->m_pThreadInfo || pData->m_pThreadInfo->m_hItem != hItem || !pData->m_pFolder)
        return 1;

    RTRACE()(L"Got change notification for folder '%s'\n", pData->m_pFolder->m_strPath.GetString());
    if (pData->m_pFolder->m_nKind == eBKindShell)
        PopulateShellFolder(hItem, 0);
    return 1;
}

void CDriveTreeUtil::RefreshItem(HTREEITEM hItem)
{
    CDriveTreeItemData* pData = ItemData(hItem);
    if (pData && pData->m_pFolder && pData->m_pFolder->m_nKind == eBKindShell)
        PopulateShellFolder(hItem, 1);
}

LRESULT CDriveTreeUtil::OnDeleteItem(NMTREEVIEWW* pNMTreeView)
{
    if (!pNMTreeView)
        return 0;
    CDriveTreeItemData* pData = reinterpret_cast<CDriveTreeItemData*>(pNMTreeView->itemOld.lParam);
    if (!pData)
        return 0;
    m_pState->monitored.erase(pData);
    KillMonitoringThread(pData->m_pThreadInfo);
    delete pData;
    return 0;
}

void CDriveTreeUtil::DeleteItemChildren(HTREEITEM hItem)
{
    if (!m_pTreeCtrl || !hItem || !m_pTreeCtrl->ItemHasChildren(hItem))
        return;
    while (HTREEITEM hChild = m_pTreeCtrl->GetChildItem(hItem))
    {
        if (!m_pTreeCtrl->DeleteItem(hChild))
            break;
    }
}

void CDriveTreeUtil::Destroy()
{
    if (m_pTreeCtrl && ::IsWindow(m_pTreeCtrl->GetSafeHwnd()))
        m_pTreeCtrl->DeleteAllItems();
    m_pState->monitored.clear();
    m_pState->bLazyIcons = false;
    m_pState->bDispInfoSeen = false;
    m_bShowAllFolders = 1;
    m_pTreeCtrl = nullptr;
    m_hShellRoot = nullptr;
    m_hLinkRoot = nullptr;
    m_hNotifyWnd = nullptr;
}
