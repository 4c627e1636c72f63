// Folder change monitoring: one idle-priority thread per filled file-system
// folder item, watching it as CFolderWatch says. The thread only waits and posts; the tree is touched on its
// own thread alone, in OnChangeNotification, which reads the folder again and
// mirrors what it finds: new folders appear, vanished ones go, renamed ones
// move to their new name's place.
//
// Coalescing: a thread reports a burst of changes once it has settled, and
// posts only while no message of its item waits; the handler clears that mark
// before it reads the folder. Changes that come while a message waits or a
// filling runs cost one filling more, not one each.
//
// Lifetime: the thread reads its item's data (the folder's path and the
// record). The UI thread frees them strictly after StopThread's wait has
// returned, and the thread object is kept (not auto-deleting) until then, so
// the wait has a handle even when the thread ended on its own.
#include "drivetree/FolderWatch.h"
#include "drivetree/Populations.h"

#include "BrwsTrace.h"

namespace {

const UINT kChangeMessage = WM_USER;
const UINT kExitNoData = 1;
const UINT kExitNoNotification = 2;
const UINT kExitStopped = 0xFFFFFFFF;

void PostChange(CDriveTreeItemData* pData, CDriveTreeThreadInfo* pInfo, volatile LONG* plPosted)
{
    if (::InterlockedExchange(plPosted, 1) == 0 &&
        !::PostMessageW(pInfo->m_hNotifyWnd, kChangeMessage, reinterpret_cast<WPARAM>(pData),
                        reinterpret_cast<LPARAM>(pInfo->m_hItem)))
        ::InterlockedExchange(plPosted, 0);
}

bool FolderExists(const CString& strPath)
{
    const DWORD dwAttributes = ::GetFileAttributesW(strPath.GetString());
    return dwAttributes != INVALID_FILE_ATTRIBUTES && (dwAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

} // namespace

// ---- CDriveTreeThreadInfo ----------------------------------------------------------

CDriveTreeThreadInfo::CDriveTreeThreadInfo()
    : m_hItem(nullptr), m_evStop(FALSE, TRUE), m_hNotifyWnd(nullptr), m_pThread(nullptr),
      m_hArmedChange(INVALID_HANDLE_VALUE), m_lChangePosted(0)
{
}

CDriveTreeThreadInfo::~CDriveTreeThreadInfo()
{
    StopThread();
    CChangeNotificationHandle armed(m_hArmedChange); // a thread that never ran did not take it
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
    StartMonitoring(hItem, CChangeNotificationHandle());
}

void CDriveTreeUtil::StartMonitoring(HTREEITEM hItem, CChangeNotificationHandle&& armed)
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
    pInfo->m_hArmedChange = armed.Detach();
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
    // The thread takes over the notification armed for it, if any.
    CChangeNotificationHandle armed(::InterlockedExchangePointer(&pInfo->m_hArmedChange, INVALID_HANDLE_VALUE));
    CFolderWatch watch(pData->m_pFolder->m_strPath, std::move(armed), pInfo->m_evStop.m_hObject,
                       [pData, pInfo] { PostChange(pData, pInfo, &pInfo->m_lChangePosted); });
    return watch.Run() ? kExitStopped : kExitNoNotification;
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
    CDriveTreeThreadInfo* pInfo = pData->m_pThreadInfo;
    if (!pInfo || pInfo->m_hItem != hItem || !pData->m_pFolder)
        return 1;
    ::InterlockedExchange(&pInfo->m_lChangePosted, 0);

    RTRACE()(L"Got change notification for folder '%s'\n", pData->m_pFolder->m_strPath.GetString());
    if (pData->m_pFolder->m_nKind != eBKindShell)
        return 1;
    // A watched folder that is deleted wakes its own thread (where the system
    // keeps it "delete pending" until its last handle closes): it goes now.
    if (!FolderExists(pData->m_pFolder->m_strPath))
        DropVanishedItem(hItem);
    else
        PopulateShellFolder(hItem, 1);
    return 1;
}

void CDriveTreeUtil::RefreshItem(HTREEITEM hItem)
{
    CDriveTreeItemData* pData = ItemData(hItem);
    if (pData && pData->m_pFolder && pData->m_pFolder->m_nKind == eBKindShell)
        PopulateShellFolder(hItem, 1);
}

void CDriveTreeUtil::DropVanishedItem(HTREEITEM hItem)
{
    CTreeItemNode* pNode = ItemNode(hItem);
    CTreeItemNode* pParent = pNode ? pNode->m_pParentNode : nullptr;
    if (!pNode || !pParent)
        return;
    CTreeItemNode* pSelected = ItemNode(m_pTreeCtrl->GetSelectedItem());
    if (pSelected && pSelected->IsWithin(pNode))
        m_pTreeCtrl->SelectItem(pParent->m_hItem);
    m_pTreeCtrl->DeleteItem(hItem);
    if (pParent->Children().empty())
        SetChildrenIndicator(pParent->m_hItem, false);
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
    CTreeItemNode* pNode = CTreeItemNode::Of(pData);
    m_pState->populations->OnNodeDeleted(*pNode);
    pNode->Unlink();
    delete pNode;
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
    m_pState->populations->StopAll();
    m_pState->monitored.clear();
    m_pState->bLazyIcons = false;
    m_pState->bDispInfoSeen = false;
    m_bShowAllFolders = 1;
    m_pTreeCtrl = nullptr;
    m_hShellRoot = nullptr;
    m_hLinkRoot = nullptr;
    m_hNotifyWnd = nullptr;
}
