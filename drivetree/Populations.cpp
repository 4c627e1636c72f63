// CPopulations: fillings that outlast their budget, and the message-only
// window through which their listing threads tell the tree's thread.
#include "drivetree/Populations.h"

namespace {

const wchar_t kSinkClass[] = L"TarkBrowserUtil.DriveTreeListings";

// Two timers a population: its time limit, and the next slice of what its
// listing found. A slice waits for a timer, the lowest of the messages: the
// user's input and the paint of what the last slice showed go first. The
// slice timer keeps running while found folders wait, so that the next slice
// is due as soon as those have gone, not a timer period later. Other timers
// due then (the host's own: an animation, a progress bar) get their turn
// first, once: a system may hand the same timer's message out twice in a row.
UINT_PTR LimitTimer(UINT_PTR nId)
{
    return nId * 2;
}

UINT_PTR SliceTimer(UINT_PTR nId)
{
    return nId * 2 + 1;
}

const UINT kSliceGapMs = USER_TIMER_MINIMUM;

HINSTANCE ThisModule()
{
    HMODULE hModule = nullptr;
    ::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                         reinterpret_cast<LPCWSTR>(&ThisModule), &hModule);
    return hModule;
}

} // namespace

CPopulations::~CPopulations()
{
    StopAll();
}

void CPopulations::Populate(CTreeItemNode& node, bool bRefresh)
{
    if (std::shared_ptr<CFolderPopulation> running = Of(node))
    {
        if (bRefresh)
            running->RefreshAgainWhenDone();
        return;
    }
    CWaitCursor waitCursor;
    HWND hwndSink = Sink();
    auto population = std::make_shared<CFolderPopulation>(m_controller, node, bRefresh, !node.m_bFilled && !bRefresh,
                                                          hwndSink, ++m_nLastId);
    // Without a window to tell, nothing could finish a listing later.
    if (population->Start(hwndSink ? m_dwBudgetMs : 0))
        Ended(population);
    else if (hwndSink)
        Keep(population);
    else if (population->RunToEnd(m_dwTimeLimitMs))
        Ended(population);
}

void CPopulations::FinishNow(CTreeItemNode& node)
{
    std::shared_ptr<CFolderPopulation> population = Of(node);
    if (!population)
        return;
    CWaitCursor waitCursor;
    Forget(*population);
    if (population->RunToEnd(m_dwTimeLimitMs))
        Ended(population);
}

bool CPopulations::StopSearching(CTreeItemNode& node)
{
    std::shared_ptr<CFolderPopulation> population = Of(node);
    if (!population || !population->ShowsSearching())
        return false;
    Forget(*population);
    population->StopAndReset();
    return true;
}

void CPopulations::OnNodeDeleted(CTreeItemNode& node)
{
    if (std::shared_ptr<CFolderPopulation> population = Of(node))
    {
        Forget(*population);
        population->Stop();
    }
    if (node.m_pParentNode)
        if (std::shared_ptr<CFolderPopulation> parent = Of(*node.m_pParentNode))
            parent->ForgetChild(&node);
}

void CPopulations::OnChildAdded(CTreeItemNode& parent, CTreeItemNode& child)
{
    if (std::shared_ptr<CFolderPopulation> population = Of(parent))
        population->AdoptChild(&child);
}

void CPopulations::StopAll()
{
    for (auto& entry : m_byId)
        entry.second->Stop();
    m_byId.clear();
    m_byNode.clear();
    m_slicing.clear();
    if (m_hwndSink)
        ::DestroyWindow(m_hwndSink); // its timers go with it
    m_hwndSink = nullptr;
}

HWND CPopulations::Sink()
{
    if (m_hwndSink)
        return m_hwndSink;
    static const bool bRegistered = [] {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = &CPopulations::SinkProc;
        wc.hInstance = ThisModule();
        wc.lpszClassName = kSinkClass;
        return ::RegisterClassW(&wc) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    }();
    if (!bRegistered)
        return nullptr;
    m_hwndSink = ::CreateWindowExW(0, kSinkClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, ThisModule(), nullptr);
    if (m_hwndSink)
        ::SetWindowLongPtrW(m_hwndSink, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    return m_hwndSink;
}

std::shared_ptr<CFolderPopulation> CPopulations::Of(const CTreeItemNode& node) const
{
    auto it = m_byNode.find(&node);
    return it == m_byNode.end() ? nullptr : it->second;
}

void CPopulations::Keep(const std::shared_ptr<CFolderPopulation>& population)
{
    m_byNode[&population->Node()] = population;
    m_byId[population->Id()] = population;
    ::SetTimer(m_hwndSink, LimitTimer(population->Id()), m_dwTimeLimitMs, nullptr);
}

void CPopulations::Forget(const CFolderPopulation& population)
{
    if (!m_byId.erase(population.Id()))
        return;
    m_byNode.erase(&population.Node());
    ::KillTimer(m_hwndSink, LimitTimer(population.Id()));
    StopSlicing(population.Id());
}

// A refresh asked for while this one ran reads the folder once more.
void CPopulations::Ended(const std::shared_ptr<CFolderPopulation>& population)
{
    Forget(*population);
    if (population->WantsAgain())
        Populate(population->Node(), true);
}

// The listing found more, or ended: a slice is due, unless the slice timer
// runs already (setting it again would put its next tick off).
void CPopulations::OnProgress(UINT_PTR nId)
{
    if (m_byId.count(nId) && m_slicing.insert(nId).second)
        ::SetTimer(m_hwndSink, SliceTimer(nId), kSliceGapMs, nullptr);
}

void CPopulations::OnSliceDue(UINT_PTR nId)
{
    auto it = m_byId.find(nId);
    if (it == m_byId.end())
    {
        ::KillTimer(m_hwndSink, SliceTimer(nId)); // stopped since
        return;
    }
    const bool bOthersDue = (HIWORD(::GetQueueStatus(QS_TIMER)) & QS_TIMER) != 0;
    if (bOthersDue && !m_bYielded)
    {
        m_bYielded = true;
        return;
    }
    m_bYielded = false;
    std::shared_ptr<CFolderPopulation> population = it->second;
    if (population->Continue())
        Ended(population);
    else if (!population->HasWaiting())
        StopSlicing(nId); // until the listing tells again
}

void CPopulations::StopSlicing(UINT_PTR nId)
{
    ::KillTimer(m_hwndSink, SliceTimer(nId));
    m_slicing.erase(nId);
}

void CPopulations::OnTimeOut(UINT_PTR nId)
{
    auto it = m_byId.find(nId);
    if (it == m_byId.end())
        return;
    std::shared_ptr<CFolderPopulation> population = it->second;
    Forget(*population);
    population->GiveUp();
}

LRESULT CALLBACK CPopulations::SinkProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    CPopulations* pThis = reinterpret_cast<CPopulations*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (pThis && msg == CDriveTreeUtil::kListingMessage)
    {
        pThis->OnProgress(wParam);
        return 0;
    }
    if (pThis && msg == WM_TIMER)
    {
        if (wParam % 2)
            pThis->OnSliceDue(wParam / 2);
        else
            pThis->OnTimeOut(wParam / 2);
        return 0;
    }
    return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}
