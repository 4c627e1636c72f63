// What the browse-for-folder dialog's sources share and its tests check.
#pragma once

#include <windows.h>

#include <afxwin.h>

// Most history entries ever written.
constexpr int kBrwsHistoryLimit = 50;

// Posted to the dialog after a label edit renamed a directory: the tree's
// item may not be deleted while the tree is still inside its end-of-edit
// notification. wParam is the edited item.
constexpr UINT kBrwsMsgRenamed = WM_APP + 0x2B1;

// The resolution the button icons are drawn for: the screen's logical pixels
// per inch, unless "u32comm.ini" beside the executable gives a ratio (1 or
// more), which stands for that many times 96.
int BrwsButtonDpi();
// The largest of the icons' sizes (16, 24, 32, 48) that fits 16 pixels scaled
// to nDpi; 16 below 144.
int BrwsButtonIconSize(int nDpi);

// Moves rc, keeping its size, so that it is centred on rcMonitor.
void BrwsCentreOnMonitor(RECT& rc, const RECT& rcMonitor);

// Makes a directory under pszParent named after string 25172, or 25173 with
// 2 ... 249; TRUE with the name made in strName, else FALSE (strName kept).
// A name that is not a plain file name is never made, and a malformed 25173
// (not exactly one "%d", or any other '%' sequence) is never formatted.
int CreateUniqueFolder(const wchar_t* pszParent, CString& strName);
