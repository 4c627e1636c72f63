// Shared set-up of the browse-for-folder dialog tests: an application object
// whose profile lives in the registry, the language module linked in, and
// helpers that run the dialog and look at it the way a person sees it.
#pragma once

#include <gtest/gtest.h>
#include <afxwin.h>
#include <commctrl.h>
#include <shlobj.h>

#include "BrwsForFolderDlg.h"
#include "BrwsResourceIds.h"
#include "DialogDriver.h"
#include "TestProcess.h"

#include <functional>
#include <string>
#include <vector>

namespace browsedlg_test {

using testing_support::DialogDriver;
using testing_support::ScratchFolder;

// The profile string value, or "<missing>"; writing one directly.
inline std::wstring ProfileString(const wchar_t* section, const wchar_t* entry)
{
    return static_cast<LPCWSTR>(AfxGetApp()->GetProfileString(section, entry, L"<missing>"));
}
inline void SetProfileString(const wchar_t* section, const wchar_t* entry, const std::wstring& value)
{
    ASSERT_TRUE(AfxGetApp()->WriteProfileString(section, entry, value.c_str()));
}
// Empties the test application's profile.
void ClearProfile();

// Runs the dialog with the driver's script (or a single step); checks that
// every step ran and answers what DoModal answered.
INT_PTR RunDialog(CDialog& dlg, DialogDriver& driver);
INT_PTR RunDialog(CDialog& dlg, std::function<void(HWND)> step);
// The folder the dialog reported, as GetPathName(FALSE) gives it.
inline std::wstring Result(CBrwsForFolderDlg& dlg) { return static_cast<LPCWSTR>(dlg.GetPathName(FALSE)); }

// The dialog's folder tree, the folder field's text, whether a control is enabled.
inline HWND Tree(HWND hDlg) { return GetDlgItem(hDlg, IDC_BRWS_FOLDER_TREE); }
inline std::wstring Field(HWND hDlg) { return DialogDriver::ItemText(hDlg, IDC_BRWS_FOLDER_FIELD); }
inline bool Enabled(HWND hDlg, int id) { return IsWindowEnabled(GetDlgItem(hDlg, id)) != FALSE; }
// Text of a tree item, and the texts of its children.
std::wstring TreeItemText(HWND hTree, HTREEITEM hItem);
std::vector<std::wstring> ChildTexts(HWND hTree, HTREEITEM hItem);
// The path of the folder behind a tree item, and behind the dialog's selection.
std::wstring TreeItemPath(HWND hTree, HTREEITEM hItem);
inline std::wstring SelectedPath(HWND hDlg) { return TreeItemPath(Tree(hDlg), TreeView_GetSelection(Tree(hDlg))); }
// Entries of a combo box's list.
std::vector<std::wstring> ComboEntries(HWND hCombo);

// How a control moves and grows when its dialog grows by (dx, dy): the
// factors of dx and dy for its left, top, right and bottom edges.
struct Follow
{
    int id;
    int left, top, right, bottom;
};
// Grows the dialog by (dx, dy) and checks that every control followed; then
// tries to make it smaller than it started and checks that it cannot.
void CheckResizing(HWND hDlg, const std::vector<Follow>& follows, int dx, int dy);
// A window's rectangle on the screen, a control's in its dialog, as edges
// (left, top, right, bottom).
std::vector<LONG> WindowRect(HWND hWnd);
std::vector<LONG> ControlRect(HWND hDlg, int id);

// Case-insensitive comparison of paths, ignoring one trailing backslash.
bool SamePath(std::wstring a, std::wstring b);
// A folder tree on disk: creates every folder of the relative path.
inline std::wstring MakeFolders(const ScratchFolder& root, const std::wstring& relative)
{
    SHCreateDirectoryExW(nullptr, (root / relative).c_str(), nullptr);
    return root / relative;
}
inline bool FolderExists(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Every test starts and ends with an empty profile and has a scratch folder.
class BrowseDialogTest : public ::testing::Test
{
protected:
    void SetUp() override { ClearProfile(); }
    void TearDown() override { ClearProfile(); }
    ScratchFolder m_root{L"bff"};
};

} // namespace browsedlg_test
