// Resizing of the browse dialogs: each control follows the window's lower
// right corner as a table says (moves with it, or grows with it), and the
// window never gets smaller than its template made it.
#pragma once

#include <afxwin.h>

#include <vector>

// How a control follows the lower right corner; combine as needed.
enum EBrwsAnchor : unsigned
{
    eBrwsMoveX = 1u,
    eBrwsMoveY = 2u,
    eBrwsGrowX = 4u,
    eBrwsGrowY = 8u,
};

struct BrwsAnchoredControl
{
    int nID;
    unsigned nAnchor;
};

class CBrwsDialogLayout
{
public:
    // Records where the controls stand now and the window's size as its
    // smallest. Controls missing from the dialog are left out.
    template <size_t N>
    void Attach(const CWnd& dialog, const BrwsAnchoredControl (&controls)[N])
    {
        Attach(dialog, controls, N);
    }
    void Attach(const CWnd& dialog, const BrwsAnchoredControl* pControls, size_t nCount);

    // WM_SIZE: places every control for a client area of cx by cy; nothing
    // for the empty area of a minimised window.
    void Arrange(int cx, int cy) const;
    // WM_GETMINMAXINFO: the recorded size is the smallest to track to.
    void LimitTracking(MINMAXINFO* pInfo) const;
    // The rectangle grown, keeping its upper left corner, to the smallest size.
    void EnsureMinimum(RECT& rcWindow) const;

private:
    struct Placed
    {
        int nID;
        unsigned nAnchor;
        CRect rc; // in the client area as the template laid it out
    };

    HWND m_hDialog = nullptr;
    std::vector<Placed> m_controls;
    CSize m_szClient;
    CSize m_szMinWindow;
};
