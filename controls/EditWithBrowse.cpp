// The edit-with-browse control. m_pEdit exists from construction to
// destruction; its window, like the button's, lives between Create and the
// destruction of the container. The key flags of the field say how the
// current modal edit ends, so DoModalEdit clears them before each run.
#include "BrwsEditWithBrowse.h"

namespace {

// Shorter controls cut off the text of the default fonts.
const int kMinControlHeight = 19;
const int kBrowseButtonWidth = 35;

} // namespace

// --- CSignaledEdit -------------------------------------------------------------

BEGIN_MESSAGE_MAP(CSignaledEdit, CEdit)
    ON_WM_KEYDOWN()
END_MESSAGE_MAP()

CSignaledEdit::CSignaledEdit() : m_bEnterPressed(false), m_bEscapePressed(false)
{
}

CSignaledEdit::~CSignaledEdit() = default;

void CSignaledEdit::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (nChar != VK_RETURN && nChar != VK_ESCAPE)
    {
        CEdit::OnKeyDown(nChar, nRepCnt, nFlags);
        return;
    }
    if (nChar == VK_RETURN)
        m_bEnterPressed = true;
    else
        m_bEscapePressed = true;
    ::SendMessageW(::GetParent(m_hWnd), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), EN_UPDATE),
                   reinterpret_cast<LPARAM>(m_hWnd));
}

// --- CEditWithBrowse -----------------------------------------------------------

CString CEditWithBrowse::sm_strClassName;

BEGIN_MESSAGE_MAP(CEditWithBrowse, CWnd)
    ON_BN_CLICKED(ID_BROWSE, &CEditWithBrowse::OnButtonClicked)
    ON_EN_KILLFOCUS(ID_EDIT, &CEditWithBrowse::OnEditKillFocus)
    ON_EN_UPDATE(ID_EDIT, &CEditWithBrowse::OnEditUpdate)
END_MESSAGE_MAP()

CEditWithBrowse::CEditWithBrowse(bool bAutoDestroy)
    : m_pfnBrowse(nullptr),
      m_pEdit(new CSignaledEdit),
      m_bAutoDestroy(bAutoDestroy),
      m_bBrowsing(false),
      m_bInModalEdit(false),
      m_bContinueModal(false)
{
}

CEditWithBrowse::~CEditWithBrowse()
{
    if (m_bAutoDestroy)
        DestroyWindow();
    delete m_pEdit;
}

bool CEditWithBrowse::Create(CWnd* pParent, const CRect& rect, DWORD dwStyle, DWORD dwEditStyle, UINT nID)
{
    if (sm_strClassName.IsEmpty())
    {
        try
        {
            sm_strClassName = AfxRegisterWndClass(CS_DBLCLKS);
        }
        catch (CException* e)
        {
            e->Delete();
            return false;
        }
    }

    CRect rcControl(rect);
    if (rcControl.Height() < kMinControlHeight)
        rcControl.InflateRect(0, (kMinControlHeight - rcControl.Height()) / 2);
    if (rcControl.top < 0)
        rcControl.OffsetRect(0, -rcControl.top);

    if (!CWnd::Create(sm_strClassName, L"", dwStyle, rcControl, pParent, nID))
        return false;

    // Through the screen, so that a border or caption in dwStyle moves the
    // children with the client area.
    CRect rcInside(rcControl);
    pParent->ClientToScreen(&rcInside);
    ScreenToClient(&rcInside);

    CRect rcButton(rcInside);
    rcButton.left = rcInside.right - kBrowseButtonWidth;
    if (!m_btnBrowse.Create(L"...", WS_VISIBLE | WS_BORDER, rcButton, this, ID_BROWSE))
        return false;

    CRect rcEdit(rcInside);
    rcEdit.right = rcButton.left;
    if (!m_pEdit->Create(dwEditStyle, rcEdit, this, ID_EDIT))
        return false;

    // The parent's font as a handle: WM_SETFONT passes it on without a CFont.
    const WPARAM font = static_cast<WPARAM>(pParent->SendMessage(WM_GETFONT));
    m_btnBrowse.SendMessage(WM_SETFONT, font, TRUE);
    m_pEdit->SendMessage(WM_SETFONT, font, TRUE);
    return true;
}

bool CEditWithBrowse::DoModalEdit()
{
    // Without a field there is nothing to edit, and focusing a null window
    // would take the focus from the host.
    const HWND hEdit = m_pEdit->GetSafeHwnd();
    if (!::IsWindow(hEdit))
        return false;

    m_pEdit->m_bEnterPressed = false;
    m_pEdit->m_bEscapePressed = false;
    m_bInModalEdit = true;
    ::SetFocus(hEdit);
    const int nLength = ::GetWindowTextLengthW(hEdit);
    ::SendMessageW(hEdit, EM_SETSEL, static_cast<WPARAM>(nLength), nLength);
    ::SendMessageW(hEdit, EM_SCROLLCARET, 0, 0);

    bool bCancelled = false;
    m_bContinueModal = true;
    while (m_bContinueModal)
    {
        MSG msg;
        const BOOL nGot = ::GetMessageW(&msg, nullptr, 0, 0);
        if (nGot <= 0)
        {
            // The host's own loop must still see the quit to end the thread.
            if (nGot == 0)
                ::PostQuitMessage(static_cast<int>(msg.wParam));
            bCancelled = true;
            break;
        }
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
        // The host destroyed the control: there is no text left to commit,
        // and with the focus gone to no window nothing else would end the loop.
        if (!::IsWindow(hEdit))
        {
            bCancelled = true;
            break;
        }
    }
    m_bContinueModal = false;
    m_bInModalEdit = false;
    return !bCancelled && !m_pEdit->m_bEscapePressed;
}

CEdit& CEditWithBrowse::GetEdit()
{
    return *m_pEdit;
}

CString CEditWithBrowse::GetEditText() const
{
    CString strText;
    m_pEdit->GetWindowText(strText);
    return strText;
}

void CEditWithBrowse::SetEditText(const CString& strText)
{
    m_pEdit->SetWindowText(strText);
}

void CEditWithBrowse::SetBrowseCallback(PFNBROWSE pfn)
{
    m_pfnBrowse = pfn;
}

void CEditWithBrowse::SetEndModalEditFlag()
{
    if (m_bInModalEdit)
        m_bContinueModal = false;
}

void CEditWithBrowse::OnButtonClicked()
{
    if (!m_bInModalEdit)
        return;
    m_bBrowsing = true;
    if (m_pfnBrowse != nullptr)
    {
        CString strText = GetEditText();
        if (m_pfnBrowse(strText, *this))
            SetEditText(strText);
    }
    ::SetFocus(m_pEdit->GetSafeHwnd());
    m_bBrowsing = false;
}

void CEditWithBrowse::OnEditKillFocus()
{
    if (!m_bInModalEdit || m_bBrowsing)
        return;
    // The focus has moved already when the field reports losing it. No focus
    // at all means another application took it; the user comes back to the
    // field.
    const HWND hFocus = ::GetFocus();
    if (hFocus != nullptr && hFocus != m_btnBrowse.GetSafeHwnd())
        m_bContinueModal = false;
}

void CEditWithBrowse::OnEditUpdate()
{
    if (m_bInModalEdit && (m_pEdit->m_bEnterPressed || m_pEdit->m_bEscapePressed))
        m_bContinueModal = false;
}
