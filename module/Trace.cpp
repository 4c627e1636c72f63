// The trace switch and the writing of trace lines.
#include "BrwsTrace.h"
#include "module/Holders.h"

#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <wchar.h>

#include <utility>

namespace {

const wchar_t kEnableEventName[] = L"TVM_OUTPUT_DEBUG_ENABLE";
const wchar_t kCheckpointEventName[] = L"HOTKEY_TVM2023_CHECKPOINT";
const wchar_t kCtrlAltEventName[] = L"HOTKEY_TVM2023_CTRL_ALT";
const wchar_t kCtrlShiftEventName[] = L"HOTKEY_TVM2023_CTRL_SHIFT";
const wchar_t kShiftEventName[] = L"HOTKEY_TVM2023_SHIFT";
const wchar_t kDebugKey[] = L"Software\\Norvale\\Tavimo\\X15\\Debug";
const wchar_t kEnableValue[] = L"Enable";

bool IsKeyDown(int vk)
{
    return GetKeyState(vk) < 0;
}

HANDLE OpenNamedEvent(const wchar_t* pszName)
{
    return OpenEventW(SYNCHRONIZE, TRUE, pszName);
}

HANDLE CreateNamedEvent(const wchar_t* pszName)
{
    return CreateEventW(nullptr, TRUE, FALSE, pszName);
}

// Process-wide switch state, set up by the first trace call and released when
// the module unloads. The events this module created stay alive until then, so
// modules loaded later see the same decision.
class TraceSwitch
{
public:
    TraceSwitch()
    {
        RecordStartupKeys();
        ReadEnableFlag();
    }

    TraceSwitch(const TraceSwitch&) = delete;
    TraceSwitch& operator=(const TraceSwitch&) = delete;

    bool IsEnabled() const { return m_bEnabled; }

private:
    void RecordStartupKeys()
    {
        CScopedKernelHandle recorded(OpenNamedEvent(kCheckpointEventName));
        if (recorded)
            return; // another module already recorded the keys of this session
        bool ctrl = IsKeyDown(VK_CONTROL);
        bool alt = IsKeyDown(VK_MENU);
        bool shift = IsKeyDown(VK_SHIFT);
        if (ctrl && alt)
            m_hotKeyEvent.Reset(CreateNamedEvent(kCtrlAltEventName));
        else if (shift && ctrl)
            m_hotKeyEvent.Reset(CreateNamedEvent(kCtrlShiftEventName));
        else if (shift)
            m_hotKeyEvent.Reset(CreateNamedEvent(kShiftEventName));

        CScopedKernelHandle checkpoint(CreateNamedEvent(kCheckpointEventName));
        if (checkpoint && GetLastError() != ERROR_ALREADY_EXISTS)
            m_checkpointEvent = std::move(checkpoint);
    }

    void ReadEnableFlag()
    {
        CScopedKernelHandle existing(OpenNamedEvent(kEnableEventName));
        if (existing)
        {
            m_bEnabled = WaitForSingleObject(existing.Get(), 0) == WAIT_OBJECT_0;
            return;
        }
        CScopedKernelHandle created(CreateNamedEvent(kEnableEventName));
        if (!created)
            return;
        // Else another process raced us to it; its decision stands unread.
        if (GetLastError() != ERROR_ALREADY_EXISTS)
            m_enableEvent = std::move(created);

        CScopedRegKey key;
        DWORD value = 0;
        DWORD size = sizeof(value);
        if (RegOpenKeyExW(HKEY_CURRENT_USER, kDebugKey, 0, KEY_QUERY_VALUE, key.Receive()) == ERROR_SUCCESS &&
            RegQueryValueExW(key.Get(), kEnableValue, nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size) ==
                ERROR_SUCCESS &&
            size > 0)
        {
            m_bEnabled = value != 0;
        }
        if (m_bEnabled && m_enableEvent)
            SetEvent(m_enableEvent.Get());
    }

    bool m_bEnabled = false;
    CScopedKernelHandle m_enableEvent;
    CScopedKernelHandle m_hotKeyEvent;
    CScopedKernelHandle m_checkpointEvent;
};

TraceSwitch& GetTraceSwitch()
{
    // Initialised once, safely against concurrent first calls.
    static TraceSwitch traceSwitch;
    return traceSwitch;
}

bool IsEmptyText(const wchar_t* psz)
{
    return psz == nullptr || *psz == L'\0';
}

// Number of characters a format needs, or -1.
int MeasureFormat(const wchar_t* pszFormat, ...)
{
    va_list args;
    va_start(args, pszFormat);
    int n = _vscwprintf(pszFormat, args);
    va_end(args);
    return n;
}

} // namespace

RTRACE::~RTRACE() = default;

void RTRACE::operator()(const wchar_t* pszFormat, ...) const
{
    if (!GetTraceSwitch().IsEnabled() || m_pszLevel == nullptr ||
        _wcsicmp(m_pszLevel, RTRACE_LEVEL_DEBUG) == 0 || pszFormat == nullptr)
        return;

    DWORD threadId = GetCurrentThreadId();
    bool hasCategory = !IsEmptyText(m_pszCategory);
    bool hasFile = !IsEmptyText(m_pszFile);

    va_list args;
    va_start(args, pszFormat);
    va_list measureArgs;
    va_copy(measureArgs, args);
    int messageLength = _vscwprintf(pszFormat, measureArgs);
    va_end(measureArgs);

    int threadLength = MeasureFormat(L"[%d]", static_cast<int>(threadId));
    int levelLength = static_cast<int>(wcslen(m_pszLevel));
    int categoryLength = hasCategory ? MeasureFormat(L"[%s]\t", m_pszCategory) : 0;
    int placeLength = hasFile ? MeasureFormat(L"[%s(%d)]:\t", m_pszFile, m_nLine) : 2;
    if (messageLength < 0 || threadLength < 0 || categoryLength < 0 || placeLength < 0)
    {
        va_end(args);
        return;
    }

    size_t total = static_cast<size_t>(threadLength) + levelLength + categoryLength + placeLength +
                   messageLength + 1;
    wchar_t* line = static_cast<wchar_t*>(malloc(total * sizeof(wchar_t)));
    if (line == nullptr)
    {
        va_end(args);
        return;
    }

    wchar_t* out = line;
    size_t left = total;
    auto advance = [&](int written) {
        out += written;
        left -= written;
    };
    advance(_snwprintf(out, left, L"[%d]", static_cast<int>(threadId)));
    wmemcpy(out, m_pszLevel, levelLength);
    advance(levelLength);
    if (hasCategory)
        advance(_snwprintf(out, left, L"[%s]\t", m_pszCategory));
    if (hasFile)
        advance(_snwprintf(out, left, L"[%s(%d)]:\t", m_pszFile, m_nLine));
    else
        advance(_snwprintf(out, left, L":\t"));
    _vsnwprintf(out, left, pszFormat, args);
    line[total - 1] = L'\0';
    va_end(args);

    OutputDebugStringW(line);
    free(line);
}
