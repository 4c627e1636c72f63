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
const std::wstring kInfo = L"[TVMx64]\t[INFO]\t\t";

// Whether some process holds the named event open now.
bool EventExists(const wchar_t* pszName)
{
    return CScopedKernelHandle(OpenEventW(SYNCHRONIZE, FALSE, pszName)).IsValid();
}

// The debug strings of the run, start-up lines (and only those) kept when bStartUp.
std::wstring Written(const DebugRun& run, bool bStartUp)
{
    std::wstring written;
    for (const DebugString& s : run.strings)
        if ((s.text.find(L"ZBRWSUTIL.DLL") != std::wstring::npos) == bStartUp)
            written += s.text;
    return written;
}

std::wstring StartUpLines(DWORD threadId)
{
    const std::wstring head = L"[" + std::to_wstring(threadId) + L"]" + kInfo + L"[DllMain]\t:\tZBRWSUTIL.DLL ";
    return head + L"Initializing \n" + head + L"Terminating \n";
}

struct EventObservation
{
    bool sawEvent = false, eventSignalled = false, sawCheckpoint = false;
};

} // namespace

// A signalled enable event switches tracing on and an unsignalled one off,
// whatever the registry says; without one the registry value decides. The
// events live only as long as the module that made them; an existing
// checkpoint is left to its owner.
TEST(TraceSwitch, RegistryValueAndEnableEventDecide)
{
    // No module of ours may be alive in this session, or its events decide.
    ASSERT_FALSE(EventExists(kEnableEvent)) << "an enable event already exists";
    const struct { int value, event; bool bCheckpoint, traced; } rows[] = { // -1: none; event: its state
        {1, -1, false, true}, {0, -1, false, false}, {-1, -1, false, false}, {0, TRUE, false, true},
        {1, FALSE, false, false}, {1, -1, true, true}};
    for (const auto& r : rows)
    {
        SCOPED_TRACE(testing::Message() << "row " << (&r - rows));
        // The per-user switch value for the row, or none.
        testing_support::ScopedRegistryValue setting(L"Software\\Norvale\\Tavimo\\X15\\Debug", L"Enable");
        if (r.value < 0)
            setting.Remove();
        else
            ASSERT_TRUE(setting.SetDword(static_cast<DWORD>(r.value)));
        CScopedKernelHandle enable(r.event < 0 ? nullptr : CreateEventW(nullptr, TRUE, r.event, kEnableEvent));
        CScopedKernelHandle checkpoint(r.bCheckpoint ? CreateEventW(nullptr, TRUE, FALSE, kCheckpointEvent) : nullptr);
        ASSERT_TRUE((r.event < 0 || enable) && (!r.bCheckpoint || checkpoint));
        EventObservation seen;
        // Called while the debuggee is stopped at each debug string; the first counts.
        DebugRun run = RunUnderDebugger(L"module_probe.exe", L"attach", [](const DebugString&, void* context) {
            auto* pSeen = static_cast<EventObservation*>(context);
            CScopedKernelHandle enable(pSeen->sawEvent ? nullptr : OpenEventW(SYNCHRONIZE, FALSE, kEnableEvent));
            if (enable)
                *pSeen = {true, WaitForSingleObject(enable.Get(), 0) == WAIT_OBJECT_0, EventExists(kCheckpointEvent)};
        }, &seen);
        EXPECT_EQ(0u, run.exitCode);
        EXPECT_EQ(r.traced ? StartUpLines(run.mainThreadId) : L"", Written(run, true));
        // The module must not have signalled someone else's event.
        EXPECT_TRUE(!enable || (r.event == TRUE) == (WaitForSingleObject(enable.Get(), 0) == WAIT_OBJECT_0));
        // A module started later sees tracing on without reading the registry.
        EXPECT_TRUE(enable || !r.traced || (seen.sawEvent && seen.eventSignalled && seen.sawCheckpoint));
        enable.Reset();
        checkpoint.Reset();
        EXPECT_FALSE(EventExists(kEnableEvent));
        EXPECT_FALSE(EventExists(kCheckpointEvent));
    }
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
        EXPECT_EQ(r.tail ? L"[" + std::to_wstring(run.mainThreadId) + L"]" + kInfo + r.tail : L"", Written(run, false));
    }
}
