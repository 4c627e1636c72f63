// StartDetachedThread: a thread that outlives its starter, and the module.
#include "module/DetachedThread.h"

#include <memory>

namespace {

struct CDetachedWork
{
    std::function<void()> work;
    HMODULE hModule;
};

DWORD WINAPI RunDetached(void* pParam)
{
    HMODULE hModule = nullptr;
    {
        std::unique_ptr<CDetachedWork> work(static_cast<CDetachedWork*>(pParam));
        hModule = work->hModule;
        work->work();
    } // what work held goes here, while the module is still there
    if (hModule)
        ::FreeLibraryAndExitThread(hModule, 0);
    return 0;
}

} // namespace

bool StartDetachedThread(std::function<void()> work)
{
    std::unique_ptr<CDetachedWork> detached(new CDetachedWork{std::move(work), nullptr});
    ::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, reinterpret_cast<LPCWSTR>(&RunDetached),
                         &detached->hModule);
    HMODULE hModule = detached->hModule;
    HANDLE hThread = ::CreateThread(nullptr, 0, &RunDetached, detached.get(), 0, nullptr);
    if (!hThread)
    {
        if (hModule)
            ::FreeLibrary(hModule);
        return false;
    }
    detached.release(); // the thread's now
    ::CloseHandle(hThread);
    return true;
}
