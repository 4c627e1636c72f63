// Shared set-up of the window-layer tests: one application object, and the
// test resource module joined to the extension chain before any test runs.
#pragma once

#include <afxwin.h>
#include <afxcmn.h>

#include "AfxWndTestIds.h"
#include "DialogDriver.h"

#include <gtest/gtest.h>

#include <string>

using testing_support::DialogDriver;

// The resource-only module of the tests (in the chain, not current).
HINSTANCE TestResources();

// Dispatches what is queued now (through AfxPumpMessage) without waiting.
void PumpPending();

// Makes pWnd the application's main window for a scope, so that owners and
// message boxes find it; the main window is cleared again at the end (before
// it is destroyed, so that destroying it does not quit the thread's loop).
class CMainWndScope
{
public:
    explicit CMainWndScope(CWnd* pWnd);
    ~CMainWndScope();
    CMainWndScope(const CMainWndScope&) = delete;
    CMainWndScope& operator=(const CMainWndScope&) = delete;

private:
    CWnd* m_pOld;
};

// A plain top-level window of the framework's default class. Hidden unless
// asked: under Xvfb without a window manager Wine waits two seconds for every
// shown top-level window to be withdrawn again.
BOOL CreateFrame(CWnd& wnd, LPCWSTR lpszTitle = L"frame", bool bVisible = false);

// Inserts an item with a label and item data into a tree control.
HTREEITEM InsertTreeItem(CTreeCtrl& tree, LPCWSTR pszText, HTREEITEM hParent = TVI_ROOT, LPARAM lParam = 0,
                         HTREEITEM hInsertAfter = TVI_LAST);

inline std::wstring Str(const CString& s)
{
    return std::wstring(s.GetString(), static_cast<size_t>(s.GetLength()));
}
