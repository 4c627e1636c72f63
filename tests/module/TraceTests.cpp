// The trace switch and line format, checked on what reaches a debugger: each
// case runs module_probe as a debuggee in a fresh process, with the named event
// and the registry value prepared as the case needs.
#include <gtest/gtest.h>

#include "RegistryScope.h"
#include "TestProcess.h"
#include "module/Holders.h"

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

// Sets the per-user switch value for the scope of a test, or removes it when value is null.
struct RegistrySwitch : testing_support::ScopedRegistryValue
{
    explicit RegistrySwitch(const DWORD* value) : ScopedRegistryValue(kDebugKey, L"Enable")
    {
        if (value == nullptr)
            Remove();
        else
            EXPECT_TRUE(SetDword(*value));
    }
};

bool Contains(const DebugRun& run, const std::wstring& text)
{
    for (const DebugString& s : run.strings)
        if (s.text == text)
            return true;
    return false;
}

// Whether some process holds the named event open now.
bool EventExists(const wchar_t* pszName)
{
    return CScopedKernelHandle(OpenEventW(SYNCHRONIZE, FALSE, pszName)).IsValid();
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
        ASSERT_FALSE(EventExists(kEnableEvent)) << "an enable event already exists";
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
    CScopedKernelHandle enable(OpenEventW(SYNCHRONIZE, FALSE, kEnableEvent));
    seen->sawEvent = enable.IsValid();
    seen->eventSignalled = enable && WaitForSingleObject(enable.Get(), 0) == WAIT_OBJECT_0;
    seen->sawCheckpoint = EventExists(kCheckpointEvent);
}

} // namespace

// A signalled enable event switches tracing on and an unsignalled one off,
// whatever the registry says; without one the registry value decides.
TEST_F(TraceSwitchTest, RegistryValueAndEnableEventDecide)
{
    const DWORD on = 1;
    const DWORD off = 0;
    const struct { const DWORD* value; int event; bool traced; } rows[] = { // event: -1 none, else its state
        {&on, -1, true}, {&off, -1, false}, {nullptr, -1, false}, {&off, TRUE, true}, {&on, FALSE, false}};
    for (const auto& r : rows)
    {
        SCOPED_TRACE(testing::Message() << "value " << (r.value ? int(*r.value) : -1) << ", event " << r.event);
        RegistrySwitch setting(r.value);
        CScopedKernelHandle enable(r.event < 0 ? nullptr : CreateEventW(nullptr, TRUE, r.event, kEnableEvent));
        ASSERT_TRUE(r.event < 0 || enable);
        EventObservation seen;
        DebugRun run = RunUnderDebugger(L"module_probe.exe", L"attach", ObserveEvents, &seen);
        EXPECT_EQ(0u, run.exitCode);
        EXPECT_EQ(r.traced, Contains(run, AttachLine(run.mainThreadId)));
        if (enable)
        {
            // The module must not have signalled someone else's event.
            EXPECT_EQ(r.event == TRUE, WaitForSingleObject(enable.Get(), 0) == WAIT_OBJECT_0);
            enable.Reset();
        }
        else if (r.traced)
        {
            EXPECT_TRUE(Contains(run, DetachLine(run.mainThreadId)));
            // A module started later sees tracing on without reading the registry.
            EXPECT_TRUE(seen.sawEvent && seen.eventSignalled && seen.sawCheckpoint);
        }
        // The events lived only as long as the module that created them.
        EXPECT_FALSE(EventExists(kEnableEvent));
        EXPECT_FALSE(EventExists(kCheckpointEvent));
    }
}

TEST_F(TraceSwitchTest, ExistingCheckpointMeansKeysAreNotRecordedAgain)
{
    DWORD on = 1;
    RegistrySwitch value(&on);
    CScopedKernelHandle checkpoint(CreateEventW(nullptr, TRUE, FALSE, kCheckpointEvent));
    ASSERT_TRUE(checkpoint.IsValid());
    DebugRun run = RunUnderDebugger(L"module_probe.exe", L"attach");
    EXPECT_TRUE(Contains(run, AttachLine(run.mainThreadId)));
    // Ours was the only handle: the module closed the one it opened.
    checkpoint.Reset();
    EXPECT_FALSE(EventExists(kCheckpointEvent));
}

// One trace call of the probe with tracing on: the line it writes (start-up
// lines left out), or nothing below the info level.
TEST(TraceLine, FormatAndLevel)
{
    CScopedKernelHandle enable(CreateEventW(nullptr, TRUE, TRUE, kEnableEvent));
    const struct { const wchar_t *arguments, *tail; } rows[] = {
        {L"info X - 0 a\\n", L"[X]\t:\ta\n"},
        {L"info - browse.cpp 42 \"two words\\n\"", L"[browse.cpp(42)]:\ttwo words\n"},
        {L"debug X - 0 hidden\\n", nullptr},
        {L"none X - 0 hidden\\n", nullptr}};
    for (const auto& r : rows)
    {
        SCOPED_TRACE(testing_support::Narrow(r.arguments));
        DebugRun run = RunUnderDebugger(L"module_probe.exe", std::wstring(L"trace ") + r.arguments);
        EXPECT_EQ(0u, run.exitCode);
        std::wstring written;
        for (const DebugString& s : run.strings)
            if (s.text.find(L"ZBRWSUTIL.DLL") == std::wstring::npos)
                written += s.text;
        EXPECT_EQ(r.tail ? L"[" + std::to_wstring(run.mainThreadId) + L"]" + kInfo + r.tail : L"", written);
    }
}
