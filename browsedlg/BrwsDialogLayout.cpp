// Resizing of the browse dialogs: controls follow the lower right corner as
// their anchors say, the template's size is the smallest.
#include "browsedlg/BrwsDialogLayout.h"

namespace {

// A drop-down combo box is sized with its list open: its window rectangle
// shows only the closed field, and moving it with that height would leave the
// list no room.
CRect PlacedRect(HWND hDialog, HWND hControl)
{
    CRect rc;
    ::GetWindowRect(hControl, &rc);
    ::MapWindowPoints(nullptr, hDialog, reinterpret_cast<POINT*>(&rc), 2);
    wchar_t szClass[16] = {};
    ::GetClassNameW(hControl, szClass, _countof(szClass));
    const LONG_PTR style = ::GetWindowLongPtrW(hControl, GWL_STYLE);
    if (lstrcmpiW(szClass, L"ComboBox") == 0 && (style & 3) != CBS_SIMPLE)
    {
        CRect rcDropped;
        if (::SendMessageW(hControl, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&rcDropped)))
            rc.bottom = rc.top + rcDropped.Height();
    }
    return rc;
}

} // namespace

void CBrwsDialogLayout::Attach(const CWnd& dialog, const BrwsAnchoredControl* pControls, size_t nCount)
{
    m_hDialog = dialog.GetSafeHwnd();
    m_controls.clear();
    CRect rcClient;
    CRect rcWindow;
    ::GetClientRect(m_hDialog, &rcClient);
    ::GetWindowRect(m_hDialog, &rcWindow);
    m_szClient = rcClient.Size();
    m_szMinWindow = rcWindow.Size();
    for (size_t i = 0; i < nCount; ++i)
    {
        if (HWND hControl = ::GetDlgItem(m_hDialog, pControls[i].nID))
            m_controls.push_back({pControls[i].nID, pControls[i].nAnchor, PlacedRect(m_hDialog, hControl)});
    }
}

void CBrwsDialogLayout::Arrange(int cx, int cy) const
{
    // A minimised window reports an empty client area: nothing to follow.
    if (!m_hDialog || (cx == 0 && cy == 0))
        return;
    const int dx = cx - m_szClient.cx;
    const int dy = cy - m_szClient.cy;
    HDWP hPositions = ::BeginDeferWindowPos(static_cast<int>(m_controls.size()));
    for (const Placed& placed : m_controls)
    {
        CRect rc = placed.rc;
        rc.OffsetRect(placed.nAnchor & eBrwsMoveX ? dx : 0, placed.nAnchor & eBrwsMoveY ? dy : 0);
        if (placed.nAnchor & eBrwsGrowX)
            rc.right += dx;
        if (placed.nAnchor & eBrwsGrowY)
            rc.bottom += dy;
        HWND hControl = ::GetDlgItem(m_hDialog, placed.nID);
        if (hControl && hPositions)
            hPositions = ::DeferWindowPos(hPositions, hControl, nullptr, rc.left, rc.top, rc.Width(), rc.Height(),
                                          SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (hPositions)
        ::EndDeferWindowPos(hPositions);
    // Texts and the grip draw at their new places only on a fresh background.
    ::InvalidateRect(m_hDialog, nullptr, TRUE);
}

void CBrwsDialogLayout::LimitTracking(MINMAXINFO* pInfo) const
{
    if (m_hDialog && pInfo)
    {
        pInfo->ptMinTrackSize.x = m_szMinWindow.cx;
        pInfo->ptMinTrackSize.y = m_szMinWindow.cy;
    }
}

void CBrwsDialogLayout::EnsureMinimum(RECT& rcWindow) const
{
    if (rcWindow.right - rcWindow.left < m_szMinWindow.cx)
        rcWindow.right = rcWindow.left + m_szMinWindow.cx;
    if (rcWindow.bottom - rcWindow.top < m_szMinWindow.cy)
        rcWindow.bottom = rcWindow.top + m_szMinWindow.cy;
}
