// Shared pieces of the file-operation tests: the application object and the
// language module linked before any test runs, real files in scratch
// folders, and the views of a prompt that a person would read.
#pragma once

#include <afxwin.h>

#include "BrwsFileOpDlg.h"
#include "BrwsFileOps.h"
#include "BrwsFolderFactory.h"
#include "BrwsResourceIds.h"
#include "DialogDriver.h"
#include "TestProcess.h"
#include "module/Holders.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace fileops_test {

using testing_support::DialogDriver;
using testing_support::ScratchFolder;
using Strings = std::vector<std::wstring>;
using FolderPtr = std::unique_ptr<CBFolder>;

// The result's code (0 for success).
inline int Code(const CErrorAutoThrow& result)
{
    return static_cast<int>(static_cast<ZarnErrorCode>(result));
}

inline std::wstring Str(const CString& text)
{
    return std::wstring(text.GetString(), static_cast<size_t>(text.GetLength()));
}

inline void WriteFile(const std::wstring& path, const std::string& content)
{
    std::ofstream out(path.c_str(), std::ios::binary);
    out << content;
    ASSERT_TRUE(out.good()) << testing_support::Narrow(path);
}

// The file's content; "<missing>" when it cannot be opened.
inline std::string ReadFile(const std::wstring& path)
{
    std::ifstream in(path.c_str(), std::ios::binary);
    return in ? std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()) : "<missing>";
}

// The names in a folder, sorted, without "." and "..".
inline Strings Listing(const std::wstring& folder)
{
    Strings names;
    WIN32_FIND_DATAW data;
    CScopedFindHandle find(FindFirstFileW((folder + L"\\*").c_str(), &data));
    for (bool bMore = find.IsValid(); bMore; bMore = FindNextFileW(find.Get(), &data))
        if (wcscmp(data.cFileName, L".") != 0 && wcscmp(data.cFileName, L"..") != 0)
            names.push_back(data.cFileName);
    std::sort(names.begin(), names.end());
    return names;
}

inline std::wstring Leaf(const std::wstring& path)
{
    return path.substr(path.rfind(L'\\') + 1);
}

// A folder object that carries only a path.
inline FolderPtr PathFolder(const std::wstring& path, int nKind = eBKindShell)
{
    FolderPtr folder(new CBFolder);
    folder->m_nKind = nKind;
    folder->m_strPath = path.c_str();
    return folder;
}

// File objects of the names given (each name its own path), and any an
// operation adds; all deleted at scope end.
struct TestFiles : CBFileList
{
    explicit TestFiles(const Strings& names = {})
    {
        for (const std::wstring& name : names)
            AddTail(CreateShellFile(name.c_str(), name.c_str(), nullptr, nullptr, 0, 0));
    }
    ~TestFiles() override { FreeBFileList(this); }
    CBFile* operator[](int index) const { return GetAt(FindIndex(index)); }
};

// The list's objects in list order, each as view(object) gives it.
template <class View> auto Each(const CBFileList& list, View view) -> std::vector<decltype(view(nullptr))>
{
    std::vector<decltype(view(nullptr))> out;
    for (POSITION pos = list.GetHeadPosition(); pos != nullptr;)
        out.push_back(view(list.GetNext(pos)));
    return out;
}

inline Strings Names(const CBFileList& list, bool bPaths = false)
{
    return Each(list, [=](const CBFile* p) { return Str(bPaths ? p->m_strPath : p->m_strName); });
}

inline std::vector<const CBFile*> Pointers(const CBFileList& list)
{
    return Each(list, [](const CBFile* p) { return p; });
}

// The text of string resource nID of the language module.
inline std::wstring ResourceText(UINT nID)
{
    CString text;
    text.LoadStringW(nID);
    return Str(text);
}

// What a person sees in a file-operation prompt besides its icon and title.
struct PromptView
{
    std::wstring message;
    Strings fileLines;
    std::vector<int> buttons; // those shown of OK, Yes and No, in that order
};

// An answer that clicks button nID.
inline std::function<void(HWND)> Clicking(int nID)
{
    return [nID](HWND hDlg) { DialogDriver::Click(hDlg, nID); };
}

// Runs operation while a dialog script answers the first dialog: with pView
// it must be the prompt (with the stop icon and the application's name as
// its title), read into *pView first, without it the shell's own
// confirmation. With bConfirmInShell the shell's confirmation that follows
// the prompt gets Yes. Returns what operation returns.
inline int WithPromptAnswered(const std::function<void(HWND)>& answer, PromptView* pView,
                              const std::function<int()>& operation, bool bConfirmInShell = false)
{
    DialogDriver driver;
    driver.Then([&](HWND hDlg) {
        std::wistringstream files(DialogDriver::ItemText(hDlg, IDC_BRWS_FILEOP_FILES));
        const bool bPrompt = GetDlgItem(hDlg, IDC_BRWS_FILEOP_MESSAGE) && GetDlgItem(hDlg, IDC_BRWS_FILEOP_FILES);
        EXPECT_EQ(pView != nullptr, bPrompt) << "expected the prompt (true) or the shell's dialog (false)";
        if (pView)
        {
            *pView = {DialogDriver::ItemText(hDlg, IDC_BRWS_FILEOP_MESSAGE)};
            EXPECT_EQ(std::wstring(AfxGetAppName()), DialogDriver::Text(hDlg));
            EXPECT_NE(0, SendDlgItemMessageW(hDlg, IDC_BRWS_FILEOP_ICON, STM_GETICON, 0, 0)) << "no icon";
            for (std::wstring line; std::getline(files, line);)
                pView->fileLines.push_back(line.substr(0, line.find(L'\r')));
            for (int nID : {IDOK, IDYES, IDNO})
                if (IsWindowVisible(GetDlgItem(hDlg, nID)))
                    pView->buttons.push_back(nID);
        }
        answer(hDlg);
    });
    if (bConfirmInShell)
        driver.Then(Clicking(IDYES));
    driver.Start();
    const int nResult = operation();
    EXPECT_TRUE(driver.Finished());
    return nResult;
}

inline int WithShellAnswer(int nID, const std::function<int()>& operation)
{
    return WithPromptAnswered(Clicking(nID), nullptr, operation);
}

// Fails the test when any dialog shows up on this thread while it lives, and
// cancels that dialog, so that an operation expected to ask nothing cannot
// hang the run.
struct NoDialogExpected
{
    NoDialogExpected();
    ~NoDialogExpected() { KillTimer(nullptr, m_timer); }
    const UINT_PTR m_timer;
};

// Two scratch folders with folder objects made by the library's factory, and
// the list an operation hands its new objects to.
class FileOpTest : public ::testing::Test
{
protected:
    // Writes each file into src with its name as content.
    void Make(const Strings& names)
    {
        for (const std::wstring& name : names)
            WriteFile(src / name, testing_support::Narrow(name));
    }
    // CopyBFiles of the named files from src, the new objects into made.
    int Copy(int bCopy, const Strings& names, const CBFolder* pTo, CBFileList* pNotFound = nullptr)
    {
        return Code(CopyBFiles(bCopy, nullptr, from.get(), TestFiles(names), pTo, pNotFound, &made));
    }
    // DeleteBFiles of the named files in src, the shell's confirmation answered by nShellAnswer.
    int Delete(const Strings& names, bool bToRecycleBin, int nShellAnswer = IDYES, CBFileList* pNotFound = nullptr)
    {
        TestFiles files(names);
        return WithShellAnswer(nShellAnswer, [&] {
            return Code(DeleteBFiles(nullptr, from.get(), files, pNotFound, bToRecycleBin));
        });
    }

    ScratchFolder src{L"src"};
    ScratchFolder dst{L"dst"};
    FolderPtr from{CreateShellFolder(nullptr, src.Path().c_str())};
    FolderPtr to{CreateShellFolder(nullptr, dst.Path().c_str())};
    TestFiles made;
};

} // namespace fileops_test
