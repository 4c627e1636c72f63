// Listing a folder on a thread of its own, for the drive tree.
#pragma once

#include "drivetree/FolderListing.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

// What a listing thread and the tree's thread share: the request, the
// folders found so far, and how it ended. Only identifier lists and plain
// data cross; the thread binds the folder in an apartment of its own.
//
// The thread keeps the job alive until it ends on its own, whatever the tree
// does meanwhile (StartDetachedThread): cancelling never waits for it.
class CListingJob
{
public:
    // Starts listing pidlFull; the thread posts nTellMessage (wParam nId) to
    // hwndTell when it has found more or has ended, once until Take. Null
    // when no thread could start.
    static std::shared_ptr<CListingJob> Start(LPCITEMIDLIST pidlFull, const CListingRequest& request,
                                              HWND hwndTell, UINT nTellMessage, UINT_PTR nId);
    ~CListingJob();
    CListingJob(const CListingJob&) = delete;
    CListingJob& operator=(const CListingJob&) = delete;

    // Waits up to dwMs for the listing to end; true when it has.
    bool WaitForEnd(DWORD dwMs) const;
    // Waits up to dwMs for the listing to find more or to end; false when
    // neither happened.
    bool WaitForMore(DWORD dwMs) const;
    // Moves what was found since the last call to the end of found, in the
    // order found; true when the listing has ended, so nothing more comes.
    bool Take(std::vector<CListedFolder>& found);
    // Once Take said the listing ended: how, and the rank of each folder
    // found (its place in the folder's own order), in the order found.
    HRESULT Result() const { return m_hrResult; }
    const std::vector<uint32_t>& Ranks() const { return m_ranks; }
    // Nothing of it reaches the tree any more; the thread stops soon.
    void Cancel() { m_bCancelled = true; }
    UINT_PTR Id() const { return m_nId; }

private:
    CListingJob(LPCITEMIDLIST pidlFull, const CListingRequest& request, HWND hwndTell, UINT nTellMessage,
                UINT_PTR nId);
    void Run();
    HRESULT List(IShellFolder* pFolder, std::vector<CIDListHolder>& mine);
    void Tell();

    CIDListHolder m_pidlFull;
    const CListingRequest m_request;
    const HWND m_hwndTell;
    const UINT m_nTellMessage;
    const UINT_PTR m_nId;
    std::atomic<bool> m_bCancelled{false};
    HANDLE m_hEnded;    // manual reset
    HANDLE m_hProgress; // auto reset: set as the listing finds more

    std::mutex m_lock; // guards what follows, until the end
    std::vector<CListedFolder> m_found;
    bool m_bTold = false;
    bool m_bEnded = false;
    HRESULT m_hrResult = S_OK;
    std::vector<uint32_t> m_ranks;
};
