// Running helper programs from tests: plain runs with captured output, and runs
// under a small debugger that collects what the child writes to the debugger output.
#pragma once

#include <windows.h>

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

namespace testing_support {

// Folder of the running test executable (where every built binary lives).
std::wstring BinaryFolder();

struct ProcessResult
{
    DWORD exitCode = 0xFFFFFFFF;
    std::string output; // the child's standard output
};

// Runs a program of BinaryFolder() with the given arguments and waits for it;
// fails the current test when it cannot be started. whileRunning (when given)
// runs once the child has started, before its output is read: a child that
// waits for the test (a dialog to answer) gets its answer there.
ProcessResult RunProcess(const std::wstring& program, const std::wstring& arguments,
                         const std::function<void(const PROCESS_INFORMATION&)>& whileRunning = nullptr);

// One OUTPUT_DEBUG_STRING_EVENT as the debugger received it.
struct DebugString
{
    std::wstring text;
};

// Runs a program of BinaryFolder() as a debuggee; onString is called while the child is stopped
// at each debug string (it may inspect shared objects at that moment).
struct DebugRun
{
    DWORD exitCode = 0xFFFFFFFF;
    DWORD mainThreadId = 0;
    std::vector<DebugString> strings;
};
DebugRun RunUnderDebugger(const std::wstring& program, const std::wstring& arguments,
                          void (*onString)(const DebugString&, void*) = nullptr,
                          void* context = nullptr);

// A text that no other run, earlier or at the same time, can have made (a new
// GUID, without braces): for names of files, folders and keys
// that may outlive a run that was killed. Process ids will not do: Wine hands
// the same small ids out again.
std::wstring UniqueTag();

// A fresh empty folder under the parent folder (by default the temp folder),
// named prefix-UniqueTag(), removed with its content at scope end.
class ScratchFolder
{
public:
    // Made with the given subfolders (relative paths, parents first).
    explicit ScratchFolder(const wchar_t* prefix = L"tbu", std::initializer_list<const wchar_t*> subfolders = {},
                           const wchar_t* parent = nullptr);
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::wstring& Path() const { return m_path; }
    // Path() + "\\" + relative
    std::wstring operator/(const std::wstring& relative) const { return m_path + L"\\" + relative; }

private:
    std::wstring m_path;
};

// Removes a folder tree from disk (for scratch folders).
void RemoveTree(const std::wstring& path);

// The Windows path of the test's XDG data folder, where Wine keeps the
// recycle bin; empty when XDG_DATA_HOME is not set to a Unix path. Wine has a
// recycle bin only when the folder exists at the process's first delete.
std::wstring DataHome();
// DataHome() + "\\Trash\\files": where deleted files go; empty as above.
std::wstring TrashFiles();

// The recycle bin's entries of the given names (file names as they were
// before the delete), removed at scope end whether the test passed or not:
// the bin outlives the run.
class TrashEntries
{
public:
    explicit TrashEntries(std::vector<std::wstring> names) : m_names(std::move(names)) {}
    ~TrashEntries();
    TrashEntries(const TrashEntries&) = delete;
    TrashEntries& operator=(const TrashEntries&) = delete;

private:
    std::vector<std::wstring> m_names;
};

// To UTF-8.
std::string Narrow(const std::wstring& text);

} // namespace testing_support
