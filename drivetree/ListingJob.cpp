// CListingJob: a folder listed on a thread of its own.
#include "drivetree/ListingJob.h"

#include "drivetree/ListingSeam.h"
#include "module/DetachedThread.h"

#include "BrwsIDList.h"

#include <initializer_list>

namespace {

std::atomic<PFN_BRWS_LISTING_BIND> g_pfnBindHook{nullptr};

const size_t kWakeAfter = 256; // folders found before a waiter is woken

// The folder of pidlFull (the desktop for an empty list), bound in the
// calling thread's apartment.
HRESULT BindFolder(LPCITEMIDLIST pidlFull, CShellFolderHolder& folder)
{
    if (PFN_BRWS_LISTING_BIND pfnHook = g_pfnBindHook.load())
    {
        const HRESULT hr = pfnHook(pidlFull, folder.Receive());
        if (hr != S_FALSE)
            return SUCCEEDED(hr) && !folder ? E_FAIL : hr;
    }
    CShellFolderHolder desktop;
    HRESULT hr = ::SHGetDesktopFolder(desktop.Receive());
    if (FAILED(hr))
        return hr;
    if (IsEmptyIDList(pidlFull))
    {
        folder = std::move(desktop);
        return S_OK;
    }
    return desktop->BindToObject(pidlFull, nullptr, IID_IShellFolder, folder.ReceiveVoid());
}

} // namespace

void BrwsSetListingBindHook(PFN_BRWS_LISTING_BIND pfnHook)
{
    g_pfnBindHook = pfnHook;
}

CListingJob::CListingJob(LPCITEMIDLIST pidlFull, const CListingRequest& request, HWND hwndTell, UINT nTellMessage,
                         UINT_PTR nId)
    : m_pidlFull(CopyIDList(pidlFull)), m_request(request), m_hwndTell(hwndTell), m_nTellMessage(nTellMessage),
      m_nId(nId), m_hEnded(::CreateEventW(nullptr, TRUE, FALSE, nullptr)),
      m_hProgress(::CreateEventW(nullptr, FALSE, FALSE, nullptr))
{
}

CListingJob::~CListingJob()
{
    for (HANDLE hEvent : {m_hEnded, m_hProgress})
        if (hEvent)
            ::CloseHandle(hEvent);
}

std::shared_ptr<CListingJob> CListingJob::Start(LPCITEMIDLIST pidlFull, const CListingRequest& request,
                                                HWND hwndTell, UINT nTellMessage, UINT_PTR nId)
{
    std::shared_ptr<CListingJob> job(new CListingJob(pidlFull, request, hwndTell, nTellMessage, nId));
    if (!job->m_hEnded || !job->m_hProgress || !job->m_pidlFull)
        return nullptr;
    // The thread keeps the job alive until it ends, whatever the tree does.
    if (!StartDetachedThread([job] { job->Run(); }))
        return nullptr;
    return job;
}

void CListingJob::Run()
{
    const HRESULT hrInit = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    HRESULT hr = E_ABORT;
    std::vector<uint32_t> ranks;
    {
        CShellFolderHolder folder;
        std::vector<CIDListHolder> mine; // the thread's own copies, to sort by
        if (!m_bCancelled)
            hr = BindFolder(m_pidlFull.Get(), folder);
        if (SUCCEEDED(hr))
            hr = List(folder.Get(), mine);
        if (SUCCEEDED(hr) && !m_bCancelled)
            ranks = RanksInFolderOrder(folder.Get(), mine);
    }
    {
        std::lock_guard<std::mutex> lock(m_lock);
        m_bEnded = true;
        m_hrResult = hr;
        m_ranks = std::move(ranks);
    }
    ::SetEvent(m_hEnded);
    Tell();
    if (SUCCEEDED(hrInit))
        ::CoUninitialize();
}

HRESULT CListingJob::List(IShellFolder* pFolder, std::vector<CIDListHolder>& mine)
{
    return ListFolders(pFolder, m_request, [&](std::vector<CListedFolder>& batch) {
        if (m_bCancelled)
            return false;
        for (const CListedFolder& item : batch)
            mine.emplace_back(CopyIDList(item.pidl.Get()));
        size_t nWaiting = 0;
        {
            std::lock_guard<std::mutex> lock(m_lock);
            for (CListedFolder& item : batch)
                m_found.push_back(std::move(item));
            nWaiting = m_found.size();
        }
        // A waiter wakes for a good handful, not for every few folders.
        if (nWaiting >= kWakeAfter)
            ::SetEvent(m_hProgress);
        Tell();
        return true;
    });
}

void CListingJob::Tell()
{
    if (m_bCancelled)
        return;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        if (m_bTold)
            return;
        m_bTold = true;
    }
    ::PostMessageW(m_hwndTell, m_nTellMessage, m_nId, 0);
}

bool CListingJob::WaitForEnd(DWORD dwMs) const
{
    return ::WaitForSingleObject(m_hEnded, dwMs) == WAIT_OBJECT_0;
}

bool CListingJob::WaitForMore(DWORD dwMs) const
{
    const HANDLE events[2] = {m_hEnded, m_hProgress};
    return ::WaitForMultipleObjects(2, events, FALSE, dwMs) != WAIT_TIMEOUT;
}

bool CListingJob::Take(std::vector<CListedFolder>& found)
{
    std::lock_guard<std::mutex> lock(m_lock);
    for (CListedFolder& item : m_found)
        found.push_back(std::move(item));
    m_found.clear();
    m_bTold = false;
    return m_bEnded;
}
