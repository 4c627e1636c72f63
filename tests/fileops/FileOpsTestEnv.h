// Shared pieces of the file-operation tests: the application object and the
// language module linked before any test runs, real files in scratch
// folders, the views of a prompt that a person would read, and the Escape
// key held down through the system's input queue.
#pragma once

#include <afxwin.h>

#include "BrwsFileObjects.h"
#include "BrwsFileOpDlg.h"
#include "BrwsFileOps.h"
#include "BrwsResourceIds.h"
#include "DialogDriver.h"
#include "TestProcess.h"
#include "module/Holders.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace fileops_test {

using testing_support::DialogDriver;
using testing_support::ScratchFolder;

// The result's code (0 for success).
inline int Code(const CErrorAutoThrow& result)
{
    return static_cast<int>(static_cast<ZarnErrorCode>(result));
}

inline std::wstring Str(const CString& text)
{
    return std::wstring(text.GetString(), static_cast<size_t>(text.GetLength()));
}

// ---- files on disk -------------------------------------------------------------

void WriteFile(const std::wstring& path, const std::string& content);
// The file's content; "<missing>" when it cannot be opened.
std::string ReadFile(const std::wstring& path);
// The names in a folder, sorted, without "." and "..".
std::vector<std::wstring> Listing(const std::wstring& folder);

// A shell folder for a path, made by the library's own factory.
std::unique_ptr<CBFolder> ShellFolder(const std::wstring& path);
// A folder object that carries only a path (kind 1 unless told).
std::unique_ptr<CBFolder> PathFolder(const std::wstring& path, int nKind = eBKindShell);

// The file objects a test hands to an operation; all deleted at scope end.
class TestFiles
{
public:
    TestFiles() = default;
    TestFiles(std::initializer_list<const wchar_t*> names);
    ~TestFiles() { FreeBFileList(&m_list); }
    TestFiles(const TestFiles&) = delete;
    TestFiles& operator=(const TestFiles&) = delete;

    CBFile* Add(const wchar_t* name);
    CBFile* operator[](int index) const;
    const CBFileList& List() const { return m_list; }
    // For an operation to add its new file objects to.
    CBFileList* Out() { return &m_list; }

private:
    CBFileList m_list;
};

std::vector<std::wstring> Names(const CBFileList& list);
std::vector<std::wstring> Paths(const CBFileList& list);
std::vector<const CBFile*> Pointers(const CBFileList& list);

using testing_support::TrashFiles;

// ---- the prompt ---------------------------------------------------------------

// What a person sees in a file-operation prompt.
struct PromptView
{
    std::wstring title;
    std::wstring message;
    std::vector<std::wstring> fileLines;
    bool okShown = false;
    bool yesShown = false;
    bool noShown = false;
    bool iconShown = false;
    UINT defaultButton = 0;
};

bool IsFileOpPrompt(HWND hDlg);
PromptView ReadPrompt(HWND hDlg);
// The text of string resource nID of the language module.
std::wstring ResourceText(UINT nID);

// Runs operation while a dialog script reads the first dialog, which must be
// the prompt, into *pView and then answers it (with answer, or by clicking
// nButton); with bConfirmInShell the shell's confirmation that follows gets
// Yes. Returns what operation returns.
int WithPromptAnswered(const std::function<void(HWND)>& answer, PromptView* pView,
                       const std::function<int()>& operation, bool bConfirmInShell = false);
int WithPromptAnswered(int nButton, PromptView* pView, const std::function<int()>& operation,
                       bool bConfirmInShell = false);

// Clicks the close box of the window, as the mouse would.
void ClickCloseBox(HWND hWnd);

// The shell's own confirmation dialog (any dialog that is not the prompt):
// answers it with button nID.
void AnswerShellDialog(HWND hDlg, int nID);

// Fails the test when any dialog shows up on this thread while it lives, and
// cancels that dialog, so that an operation expected to ask nothing cannot
// hang the run.
class NoDialogExpected
{
public:
    NoDialogExpected();
    ~NoDialogExpected();
    NoDialogExpected(const NoDialogExpected&) = delete;
    NoDialogExpected& operator=(const NoDialogExpected&) = delete;

private:
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD);
    UINT_PTR m_timer;
};

// ---- the keyboard ----------------------------------------------------------------

// Holds the Escape key down for the scope: pressed in the X server itself
// (through XTEST, by xtest_key.py beside the tests), with a window of the
// test focused, as a person would press it. Pressing it only in Wine would
// not last: Wine aligns its key state with the X server's whenever one of
// its windows gets focus or the pointer. The constructor returns once the
// key message has arrived, so the key state is current; the destructor
// releases the key the same way.
class EscapeHeld
{
public:
    EscapeHeld();
    ~EscapeHeld();
    EscapeHeld(const EscapeHeld&) = delete;
    EscapeHeld& operator=(const EscapeHeld&) = delete;

private:
    static bool PressInXServer(bool bDown);
    // Reads key messages until nMessage for Escape arrives; false after 5 s.
    static bool WaitForKeyMessage(UINT nMessage);

    HWND m_hWnd;
};

} // namespace fileops_test
