// The scope holders of module/Holders.h, each kind watched on the system's own
// count of what it holds: a COM object's references, the task allocator's
// outstanding blocks, the process's kernel handles.
#include <gtest/gtest.h>

#include "MallocSpy.h"
#include "TestProcess.h"
#include "module/Holders.h"

#include <winternl.h>

#include <functional>
#include <utility>
#include <vector>

namespace {

// The kernel handles the process holds, from the system's handle table (the
// process's own handle count is a stub in some implementations, Wine's among them).
long ProcessHandles()
{
    using QueryFn = NTSTATUS(WINAPI*)(SYSTEM_INFORMATION_CLASS, PVOID, ULONG, PULONG);
    static const auto query = reinterpret_cast<QueryFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQuerySystemInformation")));
    std::vector<BYTE> buffer(1 << 16);
    ULONG cb = 0;
    NTSTATUS status;
    while ((status = query(SystemHandleInformation, buffer.data(), static_cast<ULONG>(buffer.size()), &cb)) ==
           static_cast<NTSTATUS>(0xC0000004L)) // STATUS_INFO_LENGTH_MISMATCH
        buffer.resize(buffer.size() * 2);
    if (status != 0)
        return -1;
    const auto* pInfo = reinterpret_cast<const SYSTEM_HANDLE_INFORMATION*>(buffer.data());
    long nHandles = 0;
    for (ULONG i = 0; i < pInfo->Count; ++i)
        nHandles += pInfo->Handle[i].OwnerPid == GetCurrentProcessId() ? 1 : 0;
    return nHandles;
}

// Takes objects with make, each of which count() shows while it is held, through
// every way a holder gives one back or keeps it.
template <class Holder>
void ExpectHolderGivesBack(const char* pszKind, const std::function<typename Holder::Type()>& make,
                           const std::function<long()>& count)
{
    SCOPED_TRACE(pszKind);
    Holder(make()).Reset(); // a first call may keep something of its own (a registry root)
    const long before = count();
    {
        Holder held(make());
        ASSERT_TRUE(held.IsValid());
        EXPECT_EQ(before + 1, count());
    }
    EXPECT_EQ(before, count()) << "given back at scope exit";
    Holder held(make());
    held.Reset();
    EXPECT_EQ(before, count()) << "given back by Reset";
    held.Reset(make());
    held.Receive();
    EXPECT_EQ(before, count()) << "given back by Receive, before the slot is filled";
    held.Reset(make());
    Holder moved(std::move(held)), other(make());
    other = std::move(moved);
    EXPECT_TRUE(other && !moved && !held);
    EXPECT_EQ(before + 1, count()) << "a move hands over and gives back what the target held";
    Holder kept(other.Detach());
    EXPECT_FALSE(other);
    EXPECT_EQ(before + 1, count()) << "kept after Detach";
}

TEST(Holders, EachKindGivesBackOnEveryPathButDetach)
{
    testing_support::ScratchFolder scratch(L"holders");
    const std::wstring folder = scratch.Path(), file = scratch / L"file";
    CComHolder<IStream> stream;
    ASSERT_HRESULT_SUCCEEDED(CreateStreamOnHGlobal(nullptr, TRUE, stream.Receive()));
    testing_support::TaskMemSpy& spy = testing_support::TaskMemSpy::Instance();
    ASSERT_TRUE(spy.IsRegistered());
    const unsigned long long mark = spy.Mark();
    WIN32_FIND_DATAW data;

    ExpectHolderGivesBack<CComHolder<IStream>>(
        "COM reference", [&] { return CComHolder<IStream>::Share(stream.Get()).Detach(); },
        [&] { return static_cast<long>((stream->AddRef(), stream->Release())); });
    ExpectHolderGivesBack<CTaskMemHolder<BYTE>>(
        "task allocator block", [] { return static_cast<BYTE*>(CoTaskMemAlloc(16)); },
        [&] { return static_cast<long>(spy.OutstandingSince(mark)); });
    ExpectHolderGivesBack<CScopedKernelHandle>(
        "event", [] { return CreateEventW(nullptr, TRUE, FALSE, nullptr); }, ProcessHandles);
    ExpectHolderGivesBack<CScopedFileHandle>(
        "file",
        [&] { return CreateFileW(file.c_str(), GENERIC_WRITE, FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS, 0, nullptr); },
        ProcessHandles);
    ExpectHolderGivesBack<CScopedFindHandle>(
        "search", [&] { return FindFirstFileW((folder + L"\\*").c_str(), &data); }, ProcessHandles);
    ExpectHolderGivesBack<CChangeNotificationHandle>(
        "change notification",
        [&] { return FindFirstChangeNotificationW(folder.c_str(), FALSE, FILE_NOTIFY_CHANGE_DIR_NAME); },
        ProcessHandles);
    ExpectHolderGivesBack<CScopedRegKey>(
        "registry key",
        [] { HKEY h = nullptr; return RegOpenKeyExW(HKEY_CURRENT_USER, L"Software", 0, KEY_READ, &h) ? nullptr : h; },
        ProcessHandles);
}

} // namespace
