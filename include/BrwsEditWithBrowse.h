// The edit field with a "..." browse button and a local modal edit loop
// (CEditWithBrowse), and the edit control that reports Enter and Escape to its
// parent (CSignaledEdit). User-interface thread only.
#pragma once

#include <afxwin.h>

#include "BrwsUtilExport.h"

// An edit control that turns Enter and Escape into EN_UPDATE to its parent
// (with its own ID and handle, as the control's own notification), so that
// the parent learns of the keys through the one notification it watches
// anyway. The keys go no further; every other key is the edit control's.
class BRWSUTIL_API CSignaledEdit : public CEdit
{
public:
    CSignaledEdit();
    ~CSignaledEdit() override;

    // Set by the keys and left set; an owner that needs to tell one run from
    // the next clears them itself.
    bool m_bEnterPressed;
    bool m_bEscapePressed;

protected:
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);

    DECLARE_MESSAGE_MAP()
};

// A child window made of an edit field and a 35-pixel "..." button at its
// right edge. DoModalEdit runs a message loop on the caller's thread until
// the user commits (Enter, or the focus moving to another window of the
// thread) or cancels (Escape); the button calls the host's browse callback,
// which may replace the text.
class BRWSUTIL_API CEditWithBrowse : public CWnd
{
public:
    // Gets the field's current text, which it may change, and the control;
    // answers true when the control is to show the changed text.
    typedef bool (*PFNBROWSE)(CString& strText, CEditWithBrowse& control);

    static constexpr UINT ID_BROWSE = 1;  // control ID of the button
    static constexpr UINT ID_EDIT = 2;    // control ID of the edit field

    // bAutoDestroy: the destructor destroys the windows; without it the
    // owner destroys them (as a parent window's destruction does).
    explicit CEditWithBrowse(bool bAutoDestroy = true);
    ~CEditWithBrowse() override;

    // rect: in pParent's client coordinates; a rectangle less than 19 pixels
    // high grows by half the shortfall above and below, and is moved down
    // when that takes its top above 0. dwStyle is the container's and
    // dwEditStyle the field's (both get WS_CHILD; WS_VISIBLE is the caller's
    // choice). Both children take pParent's font. false when a window cannot
    // be created; the container may then exist already, and goes with the
    // object or with the parent.
    bool Create(CWnd* pParent, const CRect& rect, DWORD dwStyle, DWORD dwEditStyle, UINT nID);

    // Focuses the field with the caret after its text and runs the loop:
    // true when the edit was committed, false when cancelled. Also false at
    // once without a field window, and false when the field is destroyed or
    // WM_QUIT arrives during the loop (the quit is posted again for the
    // caller's own loop).
    bool DoModalEdit();

    CEdit& GetEdit();
    CString GetEditText() const;
    void SetEditText(const CString& strText);
    // null removes the callback; the button then only gives the focus back.
    void SetBrowseCallback(PFNBROWSE pfn);
    // Ends a running DoModalEdit after the current message, as committed
    // unless Escape ended it; does nothing when no edit runs.
    void SetEndModalEditFlag();

protected:
    // Each acts only while DoModalEdit runs.
    afx_msg void OnButtonClicked();
    afx_msg void OnEditKillFocus();
    afx_msg void OnEditUpdate();

    DECLARE_MESSAGE_MAP()

    // The field order is part of the interface: hosts embed the object.
    PFNBROWSE m_pfnBrowse;
    CSignaledEdit* m_pEdit;  // owned; exists for the object's whole life
    bool m_bAutoDestroy;
    bool m_bBrowsing;        // the callback runs: focus changes are its own
    bool m_bInModalEdit;
    bool m_bContinueModal;
    CButton m_btnBrowse;

    // The container's window class, registered by the first Create.
    static CString sm_strClassName;
};
