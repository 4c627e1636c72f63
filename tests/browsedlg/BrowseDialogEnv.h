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

// The dialog's folder tree, the folder field's text, whether a control is enabled.
inline HWND Tree(HWND hDlg) { return GetDlgItem(hDlg, IDC_BRWS_FOLDER_TREE); }
inline std::wstring Field(HWND hDlg) { return DialogDriver::ItemText(hDlg, IDC_BRWS_FOLDER_FIELD); }
inline bool Enabled(HWND hDlg, int id) { return IsWindowEnabled(GetDlgItem(hDlg, id)) != FALSE; }

// A folder tree on disk: creates every folder of the relative path.
inline std::wstring MakeFolders(const ScratchFolder& root, const std::wstring& relative)
{
    SHCreateDirectoryExW(nullptr, (root / relative).c_str(), nullptr);
    return root / relative;
}

// The language module linked in; every test starts and ends with an empty
// profile and has a scratch folder.
class BrowseDialogTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite();
    static void TearDownTestSuite();
    void SetUp() override { ClearProfile(); }
    void TearDown() override { ClearProfile(); }
    ScratchFolder m_root{L"bff"};
};

} // namespace browsedlg_test
