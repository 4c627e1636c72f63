// "TarkBrowseHost path [TEXT]": a path field with a browse button in a small
// window, as a host's own forms use it. Enter or leaving the field commits and
// prints the path; Escape cancels and prints nothing.
#include "host/PathField.h"

#include <BrwsEditWithBrowse.h>
#include <shlobj.h>

#include <stdio.h>

namespace {

// Until the host picks folders with the library's own dialog, the system's does.
bool BrowseForFolder(CString& strText, CEditWithBrowse& control)
{
    BROWSEINFOW info = {};
    info.hwndOwner = control.GetSafeHwnd();
    info.lpszTitle = L"Choose a folder";
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
    LPITEMIDLIST chosen = SHBrowseForFolderW(&info);
    if (chosen == nullptr)
        return false;
    wchar_t path[MAX_PATH] = {};
    BOOL isPath = SHGetPathFromIDListW(chosen, path);
    CoTaskMemFree(chosen);
    if (!isPath)
        return false;
    strText = path;
    return true;
}

} // namespace

int RunPathField(LPCWSTR pszInitialText)
{
    CWnd frame;
    if (!frame.CreateEx(0, AfxRegisterWndClass(0, LoadCursorW(nullptr, IDC_ARROW),
                                               reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)),
                        L"Path", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(100, 100, 520, 160),
                        nullptr, 0))
        return 1;
    CEditWithBrowse field;
    if (!field.Create(&frame, CRect(10, 10, 400, 32), WS_VISIBLE, WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, 100))
        return 1;
    field.SetEditText(CString(pszInitialText ? pszInitialText : L""));
    field.SetBrowseCallback(BrowseForFolder);
    bool committed = field.DoModalEdit();
    if (committed)
        wprintf(L"%ls\n", static_cast<LPCWSTR>(field.GetEditText()));
    frame.DestroyWindow();
    return committed ? 0 : 1;
}
