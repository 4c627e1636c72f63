// Folder picking for the sample host: the library's browse-for-folder dialog,
// with its history, favourites and window rectangle kept in the host's profile.
#pragma once

#include <afxwin.h>

// The profile section that holds the dialog's history, favourites and place.
#define HOST_PICKER_SECTION L"Browse for folder"

// Shows the dialog over pParent (may be null), opened at strInitial (empty:
// where the history says), titled strTitle (empty: the dialog's own title).
// true with the chosen folder's path in strChosen when the user pressed OK.
bool PickFolder(CWnd* pParent, const CString& strInitial, const CString& strTitle, CString& strChosen);
