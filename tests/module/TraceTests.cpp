// The trace switch and line format, checked on what reaches a debugger: each
// case runs module_probe as a debuggee in a fresh process, with the named event
// and the registry value prepared as the case needs.
#include <gtest/gtest.h>

#include "TestProcess.h"

#include <windows.h>

#include <string>

using testing_support::DebugRun;
using testing_support::DebugString;
using testing_support::RunUnderDebugger;

namespace {

const wchar_t kEnableEvent[] = L"TVM_OUTPUT_DEBUG_ENABLE";
const wchar_t kCheckpointEvent[] = L"HOTKEY_TVM2023_CHECKPOINT";
const wchar_t kDebugKey[] = L"Software\\Norvale\\Tavimo\\X15\\Debug";
const std::wstring kInfo = L"[TVMx64]\t[INFO]\t\t";

// Sets or removes the per-user switch value for the scope of a test.
class RegistrySwitch
{
public:
    explicit RegistrySwitch(const DWORD* value, DWORD type = REG_DWORD)
    {
        RegDeleteKeyW(HKEY_CURRENT_USER, kDebugKey);
        if (value == nullptr)
            return;
        HKEY key = nullptr;
        EXPECT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, kDebugKey, 0, nullptr, 0,
                                                 KEY_SET_VALUE, nullptr, &key, nullptr));
        EXPECT_EQ(ERROR_SUCCESS, RegSetValueExW(key, L"Enable", 0, type,
                                                reinterpret_cast<const BYTE*>(value), sizeof(*value)));
        RegCloseKey(key);
    }
    ~RegistrySwitch() { RegDeleteKeyW(HKEY_CURRENT_USER, kDebugKey); }
};

bool Contains(const DebugRun& run, const std::wstring& text)
{
    for (const DebugString& s : run.strings)
        if (s.text == text)
            return true;
    return false;
}

std::wstring AttachLine(DWORD threadId)
{
    return L"[" + std::to_wstring(threadId) + L"]" + kInfo + L"[DllMain]\t:\tZBRWSUTIL.DLL Initializing \n";
}

std::wstring DetachLine(DWORD threadId)
{
    return L"[" + std::to_wstring(threadId) + L"]" + kInfo + L"[DllMain]\t:\tZBRWSUTIL.DLL Terminating \n";
}

class TraceSwitchTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // No module of ours may be alive in this session, or its events decide.
        HANDLE stale = OpenEventW(SYNCHRONIZE, FALSE, kEnableEvent);
        ASSERT_EQ(nullptr, stale) << "an enable event already exists";
    }
};

struct EventObservation
{
    bool sawEvent = false;
    bool eventSignalled = false;
    bool sawCheckpoint = false;
};

// Called while the debuggee is stopped at its first debug string.
void ObserveEvents(const DebugString&, void* context)
{
    auto* seen = static_cast<EventObservation*>(context);
    if (seen->sawEvent)
        return;
    HANDLE enable = OpenEventW(SYNCHRONIZE, FALSE, kEnableEvent);
    seen->sawEvent = enable != nullptr;
    if (enable)
    {
        seen->eventSignalled = WaitForSingleObject(enable, 0) == WAIT_OBJECT_0;
        CloseHandle(enable);
    }
    HANDLE checkpoint = OpenEventW(SYNCHRONIZE, FALSE, kCheckpointEvent);
    seen->sawCheckpoint = checkpoint != nullptr;
    if (checkpoint)
        CloseHandle(checkpoint);
}

} // namespace

TEST_F(TraceSwitchTest, RegistryValueSwitchesOnAndPublishesTheEvent)
{
    DWORD on = 1;
    RegistrySwitch value(&on);
    EventObservation seen;
    DebugRun run = RunUnderDebugger(L"module_probe.exe", L"attach", ObserveEvents, &seen);
    EXPECT_EQ(0u, run.exitCode);
    EXPECT_TRUE(Contains(run, AttachLine(run.mainThreadId)));
    EXPECT_TRUE(Contains(run, DetachLine(run.mainThreadId)));
    // A module started later sees tracing on without reading the registry.
    EXPECT_TRUE(seen.sawEvent);
    EXPECT_TRUE(seen.eventSignalled);
    EXPECT_TRUE(seen.sawCheckpoint);
    // The events lived only as long as the module that created them.
    EXPECT_EQ(nullptr, OpenEventW(SYNCHRONIZE, FALSE, kEnableEvent));
    EXPECT_EQ(nullptr, OpenEventW(SYNCHRONIZE, FALSE, kCheckpointEvent));
}

TEST_F(TraceSwitchTest, RegistryValueZeroOrMissingLeavesTracingOff)
{
    DWORD off = 0;
    for (const DWORD* value : {static_cast<const DWORD*>(&off), static_cast<const DWORD*>(nullptr)})
    {
        RegistrySwitch setting(value);
        DebugRun run = RunUnderDebugger(L"module_probe.exe", L"attach");
        EXPECT_EQ(0u, run.exitCode);
        EXPECT_FALSE(Contains(run, AttachLine(run.mainThreadId)));
    }
}

TEST_F(TraceSwitchTest, SignalledEventSwitchesOnWhateverTheRegistrySays)
{
    DWORD off = 0;
    RegistrySwitch value(&off);
    HANDLE enable = CreateEventW(nullptr, TRUE, TRUE, kEnableEvent);
    ASSERT_NE(nullptr, enable);
    DebugRun run = RunUnderDebugger(L"module_probe.exe", L"attach");
    CloseHandle(enable);
    EXPECT_TRUE(Contains(run, AttachLine(run.mainThreadId)));
}

TEST_F(TraceSwitchTest, UnsignalledEventSwitchesOffWhateverTheRegistrySays)
{
    DWORD on = 1;
    RegistrySwitch value(&on);
    HANDLE enable = CreateEventW(nullptr, TRUE, FALSE, kEnableEvent);
    ASSERT_NE(nullptr, enable);
    DebugRun run = RunUnderDebugger(L"module_probe.exe", L"attach");
    // The module must not have signalled someone else's event either.
    EXPECT_NE(WAIT_OBJECT_0, WaitForSingleObject(enable, 0));
    CloseHandle(enable);
    EXPECT_EQ(0u, run.exitCode);
    EXPECT_FALSE(Contains(run, AttachLine(run.mainThreadId)));
}

TEST_F(TraceSwitchTest, ExistingCheckpointMeansKeysAreNotRecordedAgain)
{
    DWORD on = 1;
    RegistrySwitch value(&on);
    HANDLE checkpoint = CreateEventW(nullptr, TRUE, FALSE, kCheckpointEvent);
    ASSERT_NE(nullptr, checkpoint);
    DebugRun run = RunUnderDebugger(L"module_probe.exe", L"attach");
    EXPECT_TRUE(Contains(run, AttachLine(run.mainThreadId)));
    // Ours was the only handle: the module closed the one it opened.
    CloseHandle(checkpoint);
    EXPECT_EQ(nullptr, OpenEventW(SYNCHRONIZE, FALSE, kCheckpointEvent));
}

class TraceLineTest : public ::testing::Test
{
protected:
    void SetUp() override { m_enable = CreateEventW(nullptr, TRUE, TRUE, kEnableEvent); }
    void TearDown() override { CloseHandle(m_enable); }

    // The lines one trace call of the probe produced (start-up lines excluded).
    std::wstring TraceOnce(const std::wstring& arguments, DWORD* threadId)
    {
        DebugRun run = RunUnderDebugger(L"module_probe.exe", L"trace " + arguments);
        EXPECT_EQ(0u, run.exitCode);
        *threadId = run.mainThreadId;
        std::wstring written;
        for (const DebugString& s : run.strings)
            if (s.text.find(L"ZBRWSUTIL.DLL") == std::wstring::npos)
                written += s.text;
        return written;
    }

    HANDLE m_enable = nullptr;
};

TEST_F(TraceLineTest, InfoLineWithCategoryAndNoFile)
{
    DWORD thread = 0;
    std::wstring line = TraceOnce(L"info X - 0 a\\n", &thread);
    EXPECT_EQ(L"[" + std::to_wstring(thread) + L"]" + kInfo + L"[X]\t:\ta\n", line);
}

TEST_F(TraceLineTest, InfoLineWithFileAndLineButNoCategory)
{
    DWORD thread = 0;
    std::wstring line = TraceOnce(L"info - browse.cpp 42 \"two words\\n\"", &thread);
    EXPECT_EQ(L"[" + std::to_wstring(thread) + L"]" + kInfo + L"[browse.cpp(42)]:\ttwo words\n", line);
}

TEST_F(TraceLineTest, DebugLevelAndMissingLevelWriteNothing)
{
    DWORD thread = 0;
    EXPECT_EQ(L"", TraceOnce(L"debug X - 0 hidden\\n", &thread));
    EXPECT_EQ(L"", TraceOnce(L"none X - 0 hidden\\n", &thread));
}
