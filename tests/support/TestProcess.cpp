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
    if (text.empty())
        return {};
    int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                nullptr, nullptr);
    std::string out(n, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &out[0], n, nullptr,
                        nullptr);
    return out;
}

std::wstring Widen(const std::string& text, UINT codePage)
{
    if (text.empty())
        return {};
    int n = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(n, L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), &out[0], n);
    return out;
}

namespace {

// "<binary folder>\program" arguments
std::wstring CommandLineFor(const std::wstring& program, const std::wstring& arguments)
{
    return L"\"" + BinaryFolder() + L"\\" + program + L"\" " + arguments;
}

} // namespace

ProcessResult RunProcess(const std::wstring& program, const std::wstring& arguments,
                         const std::function<void(const PROCESS_INFORMATION&)>& whileRunning)
{
    ProcessResult result;
    SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
    CScopedKernelHandle readPipe;
    CScopedKernelHandle writePipe;
    if (!CreatePipe(readPipe.Receive(), writePipe.Receive(), &inherit, 0))
    {
        ADD_FAILURE() << "CreatePipe failed";
        return result;
    }
    SetHandleInformation(readPipe.Get(), HANDLE_FLAG_INHERIT, 0);

    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writePipe.Get();
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION process = {};
    std::wstring line = CommandLineFor(program, arguments);
    BOOL started = CreateProcessW(nullptr, &line[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                                  &startup, &process);
    const DWORD dwError = GetLastError();
    // The child holds the only writing end now, so the reads below end when it does.
    writePipe.Reset();
    if (!started)
    {
        ADD_FAILURE() << "cannot start " << Narrow(line) << " (error " << dwError << ")";
        return result;
    }
    CScopedKernelHandle thread(process.hThread);
    CScopedKernelHandle child(process.hProcess);
    if (whileRunning)
        whileRunning(process);
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(readPipe.Get(), buffer, sizeof(buffer), &read, nullptr) && read > 0)
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
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    std::wstring line = CommandLineFor(program, arguments);
    if (!CreateProcessW(nullptr, &line[0], nullptr, nullptr, FALSE, DEBUG_ONLY_THIS_PROCESS, nullptr,
                        nullptr, &startup, &process))
    {
        ADD_FAILURE() << "cannot start " << Narrow(line) << " under the debugger";
        return run;
    }
    CScopedKernelHandle thread(process.hThread);
    CScopedKernelHandle child(process.hProcess);
    run.mainThreadId = process.dwThreadId;
    bool firstBreakpointSeen = false;
    for (;;)
    {
        DEBUG_EVENT event = {};
        if (!WaitForDebugEvent(&event, 120000))
        {
            ADD_FAILURE() << "the debuggee went silent";
            TerminateProcess(child.Get(), 1);
            break;
        }
        DWORD continueStatus = DBG_CONTINUE;
        switch (event.dwDebugEventCode)
        {
        case CREATE_PROCESS_DEBUG_EVENT: // the image files come open (or null): ours to close
            CloseHandle(event.u.CreateProcessInfo.hFile);
            break;
        case LOAD_DLL_DEBUG_EVENT:
            CloseHandle(event.u.LoadDll.hFile);
            break;
        case EXCEPTION_DEBUG_EVENT:
            if (!firstBreakpointSeen &&
                event.u.Exception.ExceptionRecord.ExceptionCode == EXCEPTION_BREAKPOINT)
                firstBreakpointSeen = true;
            else
                continueStatus = DBG_EXCEPTION_NOT_HANDLED;
            break;
        case OUTPUT_DEBUG_STRING_EVENT:
        {
            const OUTPUT_DEBUG_STRING_INFO& info = event.u.DebugString;
            DebugString received;
            // The length counts characters of the string's own width, its terminator included.
            const size_t unit = info.fUnicode ? sizeof(wchar_t) : 1;
            std::vector<char> bytes(info.nDebugStringLength * unit + sizeof(wchar_t), '\0');
            SIZE_T got = 0;
            ReadProcessMemory(child.Get(), info.lpDebugStringData, bytes.data(),
                              info.nDebugStringLength * unit, &got);
            if (info.fUnicode)
                received.text = reinterpret_cast<const wchar_t*>(bytes.data());
            else
                received.text = Widen(bytes.data(), CP_ACP);
            run.strings.push_back(received);
            if (onString)
                onString(received, context);
            break;
        }
        default:
            break;
        }
        if (event.dwDebugEventCode == EXIT_PROCESS_DEBUG_EVENT)
        {
            run.exitCode = event.u.ExitProcess.dwExitCode;
            ContinueDebugEvent(event.dwProcessId, event.dwThreadId, DBG_CONTINUE);
            break;
        }
        ContinueDebugEvent(event.dwProcessId, event.dwThreadId, continueStatus);
    }
    WaitForSingleObject(child.Get(), INFINITE);
    return run;
}

std::wstring UniqueTag()
{
    GUID guid = {};
    if (FAILED(CoCreateGuid(&guid)))
    {
        ADD_FAILURE() << "CoCreateGuid failed";
        return std::wstring();
    }
    wchar_t text[40] = {};
    StringFromGUID2(guid, text, 40);
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
    CScopedFindHandle find(FindFirstFileW((path + L"\\*").c_str(), &data));
    if (find)
    {
        do
        {
            std::wstring name = data.cFileName;
            if (name == L"." || name == L"..")
                continue;
            std::wstring child = path + L"\\" + name;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(child);
            else
            {
                SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(child.c_str());
            }
        } while (FindNextFileW(find.Get(), &data));
        find.Reset(); // the folder cannot go while it is searched
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
    if (toDos == nullptr || dataHome == nullptr || *dataHome != '/')
        return std::wstring();
    LPWSTR dos = toDos(dataHome);
    if (dos == nullptr)
        return std::wstring();
    std::wstring result = dos;
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
    const std::wstring dataHome = DataHome();
    if (dataHome.empty())
        return;
    // The bin keeps each entry as the file under files\ and its record under
    // info\ (the XDG trash that Wine uses).
    for (const std::wstring& name : m_names)
    {
        DeleteFileW((dataHome + L"\\Trash\\files\\" + name).c_str());
        DeleteFileW((dataHome + L"\\Trash\\info\\" + name + L".trashinfo").c_str());
    }
}

} // namespace testing_support
