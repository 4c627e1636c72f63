// Shared set-up of the browse-for-folder dialog tests: an application object
// whose profile lives in the registry, the language module linked in, and
// helpers that look at the dialog the way a person sees it.
#pragma once

#include <gtest/gtest.h>
#include <afxwin.h>

#include "BrwsForFolderDlg.h"
#include "BrwsResourceIds.h"
#include "DialogDriver.h"
#include "TestProcess.h"

#include <string>
#include <vector>

namespace browsedlg_test {

// HKEY_CURRENT_USER key under which the test application's profile lives.
extern const wchar_t* const kProfileKey;

// The profile string value, or "<missing>".
std::wstring ProfileString(const std::wstring& section, const std::wstring& entry);
// Writes a profile string value directly into the registry.
void SetProfileString(const std::wstring& section, const std::wstring& entry, const std::wstring& value);
// The profile binary value's bytes (empty when missing).
std::vector<BYTE> ProfileBinary(const std::wstring& section, const std::wstring& entry);
void SetProfileBinary(const std::wstring& section, const std::wstring& entry, const void* data, DWORD size);

// The dialog's folder tree, the folder field's text, whether a control is enabled.
HWND Tree(HWND hDlg);
std::wstring Field(HWND hDlg);
bool Enabled(HWND hDlg, int id);

// Text of a tree item, and the tree's selected item.
std::wstring TreeItemText(HWND hTree, HTREEITEM hItem);
HTREEITEM TreeSelection(HWND hTree);
// The path of the folder behind a tree item.
std::wstring TreeItemPath(HWND hTree, HTREEITEM hItem);
// Entries of a combo box's list.
std::vector<std::wstring> ComboEntries(HWND hCombo);

// The open popup menu of this thread, or null.
HMENU OpenPopupMenu();
// (command, text, greyed) of each item of a menu; separators have command 0
// and popups command -1.
struct MenuItem
{
    UINT command;
    std::wstring text;
    bool greyed;
};
std::vector<MenuItem> MenuItems(HMENU hMenu);
// Chooses a command of the open popup menu with the arrow keys and Enter.
void ChooseMenuCommand(UINT command);

// Case-insensitive comparison of paths, ignoring one trailing backslash.
bool SamePath(std::wstring a, std::wstring b);

// A folder tree on disk: creates every folder of the relative path.
std::wstring MakeFolders(const testing_support::ScratchFolder& root, const std::wstring& relative);
bool FolderExists(const std::wstring& path);

// Empties the test application's profile.
void ClearProfile();

} // namespace browsedlg_test
