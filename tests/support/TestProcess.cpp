#include "TestProcess.h"

#include "module/Holders.h"

#include <gtest/gtest.h>

#include <vector>

namespace testing_support {

std::wstring BinaryFolder()
{
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path);
    return folder.substr(0, folder.find_last_of(L'\\'));
}

std::string Narrow(const std::wstring& text)
{
    const int size = static_cast<int>(text.size());
    std::string out(WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), size, &out[0], static_cast<int>(out.size()), nullptr, nullptr);
    return out;
}

namespace {

// Starts "<binary folder>\program" arguments; false (and the test fails) when it cannot.
bool Start(const std::wstring& program, const std::wstring& arguments, STARTUPINFOW& startup, DWORD flags,
           PROCESS_INFORMATION& process)
{
    std::wstring line = L"\"" + BinaryFolder() + L"\\" + program + L"\" " + arguments;
    startup.cb = sizeof(startup);
    const bool bInherit = (startup.dwFlags & STARTF_USESTDHANDLES) != 0;
    if (CreateProcessW(nullptr, &line[0], nullptr, nullptr, bInherit, flags, nullptr, nullptr, &startup, &process))
        return true;
    const DWORD dwError = GetLastError();
    ADD_FAILURE() << "cannot start " << Narrow(line) << " (error " << dwError << ")";
    return false;
}

} // namespace

ProcessResult RunProcess(const std::wstring& program, const std::wstring& arguments,
                         const std::function<void(const PROCESS_INFORMATION&)>& whileRunning)
{
    ProcessResult result;
    SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
    CScopedKernelHandle readPipe, writePipe;
    if (!CreatePipe(readPipe.Receive(), writePipe.Receive(), &inherit, 0))
    {
        ADD_FAILURE() << "CreatePipe failed";
        return result;
    }
    SetHandleInformation(readPipe.Get(), HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup = {};
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writePipe.Get();
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION process = {};
    const bool bStarted = Start(program, arguments, startup, 0, process);
    // The child holds the only writing end now, so the reads below end when it does.
    writePipe.Reset();
    if (!bStarted)
        return result;
    CScopedKernelHandle thread(process.hThread), child(process.hProcess);
    if (whileRunning)
        whileRunning(process);
    char buffer[4096];
    for (DWORD read = 0; ReadFile(readPipe.Get(), buffer, sizeof(buffer), &read, nullptr) && read > 0;)
        result.output.append(buffer, read);
    WaitForSingleObject(child.Get(), INFINITE);
    GetExitCodeProcess(child.Get(), &result.exitCode);
    return result;
}

DebugRun RunUnderDebugger(const std::wstring& program, const std::wstring& arguments,
                          void (*onString)(const DebugString&, void*), void* context)
{
    DebugRun run;
    STARTUPINFOW startup = {};
    PROCESS_INFORMATION process = {};
    if (!Start(program, arguments, startup, DEBUG_ONLY_THIS_PROCESS, process))
        return run;
    CScopedKernelHandle thread(process.hThread), child(process.hProcess);
    run.mainThreadId = process.dwThreadId;
    for (bool bBreakSeen = false;;)
    {
        DEBUG_EVENT event = {};
        if (!WaitForDebugEvent(&event, 120000))
        {
            ADD_FAILURE() << "the debuggee went silent";
            TerminateProcess(child.Get(), 1);
            break;
        }
        DWORD status = DBG_CONTINUE;
        switch (event.dwDebugEventCode)
        {
        case CREATE_PROCESS_DEBUG_EVENT: // the image files come open (or null): ours to close
            CloseHandle(event.u.CreateProcessInfo.hFile);
            break;
        case LOAD_DLL_DEBUG_EVENT:
            CloseHandle(event.u.LoadDll.hFile);
            break;
        case EXCEPTION_DEBUG_EVENT: // the loader's first breakpoint is the debugger's, the rest the child's
            if (bBreakSeen || event.u.Exception.ExceptionRecord.ExceptionCode != EXCEPTION_BREAKPOINT)
                status = DBG_EXCEPTION_NOT_HANDLED;
            bBreakSeen = true;
            break;
        case OUTPUT_DEBUG_STRING_EVENT:
        {
            const OUTPUT_DEBUG_STRING_INFO& info = event.u.DebugString;
            // The length counts characters of the string's own width, its terminator included.
            const size_t size = info.nDebugStringLength * (info.fUnicode ? sizeof(wchar_t) : 1);
            std::vector<char> bytes(size + sizeof(wchar_t), '\0');
            ReadProcessMemory(child.Get(), info.lpDebugStringData, bytes.data(), size, nullptr);
            std::wstring text(size + 1, L'\0'); // an ANSI string has no more characters than bytes
            if (info.fUnicode)
                text = reinterpret_cast<const wchar_t*>(bytes.data());
            else
                text.resize(MultiByteToWideChar(CP_ACP, 0, bytes.data(), -1, &text[0], static_cast<int>(size + 1)) - 1);
            run.strings.push_back({text});
            if (onString)
                onString(run.strings.back(), context);
            break;
        }
        case EXIT_PROCESS_DEBUG_EVENT:
            run.exitCode = event.u.ExitProcess.dwExitCode;
            break;
        }
        ContinueDebugEvent(event.dwProcessId, event.dwThreadId, status);
        if (event.dwDebugEventCode == EXIT_PROCESS_DEBUG_EVENT)
            break;
    }
    WaitForSingleObject(child.Get(), INFINITE);
    return run;
}

std::wstring UniqueTag()
{
    GUID guid = {};
    wchar_t text[40] = {};
    if (FAILED(CoCreateGuid(&guid)) || !StringFromGUID2(guid, text, 40))
        ADD_FAILURE() << "no new GUID";
    return std::wstring(text + 1, 36); // without the braces
}

ScratchFolder::ScratchFolder(const wchar_t* prefix, std::initializer_list<const wchar_t*> subfolders,
                             const wchar_t* parent)
{
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    const std::wstring candidate = std::wstring(parent ? parent : temp) + prefix + L"-" + UniqueTag();
    if (CreateDirectoryW(candidate.c_str(), nullptr))
        m_path = candidate;
    else
        ADD_FAILURE() << "cannot create the scratch folder " << Narrow(candidate);
    for (const wchar_t* subfolder : subfolders)
        if (!CreateDirectoryW((*this / subfolder).c_str(), nullptr))
            ADD_FAILURE() << "cannot create " << Narrow(*this / subfolder);
}

ScratchFolder::~ScratchFolder()
{
    if (!m_path.empty())
        RemoveTree(m_path);
}

void RemoveTree(const std::wstring& path)
{
    WIN32_FIND_DATAW data;
    { // the folder cannot go while it is searched
        CScopedFindHandle find(FindFirstFileW((path + L"\\*").c_str(), &data));
        for (bool bMore = find.IsValid(); bMore; bMore = FindNextFileW(find.Get(), &data))
        {
            const std::wstring name = data.cFileName, child = path + L"\\" + name;
            if (name == L"." || name == L"..")
                continue;
            SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(child);
            else
                DeleteFileW(child.c_str());
        }
    }
    RemoveDirectoryW(path.c_str());
}

std::wstring DataHome()
{
    // Wine turns the Unix path into a Windows one itself.
    const char* dataHome = getenv("XDG_DATA_HOME");
    typedef LPWSTR(CDECL * DosNameFn)(LPCSTR);
    auto toDos = reinterpret_cast<DosNameFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_dos_file_name")));
    LPWSTR dos = toDos && dataHome && *dataHome == '/' ? toDos(dataHome) : nullptr;
    const std::wstring result = dos ? dos : L"";
    HeapFree(GetProcessHeap(), 0, dos);
    return result;
}

std::wstring TrashFiles()
{
    std::wstring dataHome = DataHome();
    return dataHome.empty() ? dataHome : dataHome + L"\\Trash\\files";
}

TrashEntries::~TrashEntries()
{
    // The bin keeps each entry as the file under files\ and its record under
    // info\ (the XDG trash that Wine uses).
    const std::wstring dataHome = DataHome();
    for (const std::wstring& name : m_names)
    {
        if (dataHome.empty())
            break;
        DeleteFileW((dataHome + L"\\Trash\\files\\" + name).c_str());
        DeleteFileW((dataHome + L"\\Trash\\info\\" + name + L".trashinfo").c_str());
    }
}

} // namespace testing_support
