// CFolderWatch: a change notification while the folder has subfolders, a
// look now and then while it has none.
#include "drivetree/FolderWatch.h"

#include "fileutil/PathInternal.h"
#include "module/Holders.h"

#include <string>

CFolderWatch::CFolderWatch(const CString& strPath, CChangeNotificationHandle armed, HANDLE hStop,
                           std::function<void()> notify)
    : m_strPath(strPath), m_watch(std::move(armed)), m_hStop(hStop), m_notify(std::move(notify))
{
}

bool CFolderWatch::Run()
{
    if (!Start())
        return false;
    for (;;)
    {
        const EStep step = m_mode == EMode::Watching ? WatchOnce() : LookOnce();
        if (step != EStep::GoOn)
            return step == EStep::Stopped;
    }
}

// Every decision below reads the folder's time before it looks for
// subfolders, and tells the tree only after it: a change made meanwhile is
// then either seen by the watch or shows as a newer time.
bool CFolderWatch::Start()
{
    // A change between the listing and now: the tree reads the folder again.
    const bool bChanged = m_watch.IsValid() && ::WaitForSingleObject(m_watch.Get(), 0) == WAIT_OBJECT_0 &&
                          ::FindNextChangeNotification(m_watch.Get());
    const ULONGLONG nWriteTime = LastWriteTime();
    if (!HasSubfolder() || !SwitchToWatching())
        SwitchToLooking(nWriteTime);
    if (bChanged)
        m_notify();
    return m_mode == EMode::Watching || Exists();
}

CFolderWatch::EStep CFolderWatch::WatchOnce()
{
    const HANDLE handles[2] = {m_watch.Get(), m_hStop};
    // A failed wait ends the watch as a stop does: retrying could spin.
    if (::WaitForMultipleObjects(2, handles, FALSE, INFINITE) != WAIT_OBJECT_0)
        return EStep::Stopped;
    bool bArmed = true;
    if (!Settle(bArmed))
        return EStep::Stopped;
    // Without subfolders the folder may be deleted next: let go of it before
    // the tree hears of the change. A notification that cannot be re-armed
    // (the folder went) is given up likewise.
    const ULONGLONG nWriteTime = LastWriteTime();
    if (!bArmed || !HasSubfolder())
        SwitchToLooking(nWriteTime);
    m_notify();
    return EStep::GoOn;
}

// Lets a burst of changes (an unzip, a recursive delete) run its course: the
// tree hears of it once the folder has been quiet for kSettleMs, or after
// kSettleMaxMs of steady change. Reading the folder in the middle of a
// recursive delete would also hold it open at the moment its deleter removes
// it, which then fails. False when stopped; bArmed false when the
// notification could not be re-armed.
bool CFolderWatch::Settle(bool& bArmed)
{
    const DWORD dwStart = ::GetTickCount();
    const HANDLE handles[2] = {m_watch.Get(), m_hStop};
    for (;;)
    {
        if (!::FindNextChangeNotification(m_watch.Get()))
        {
            bArmed = false;
            return true;
        }
        const DWORD dwWait = ::WaitForMultipleObjects(2, handles, FALSE, kSettleMs);
        if (dwWait == WAIT_TIMEOUT)
            return true;
        if (dwWait != WAIT_OBJECT_0)
            return false;
        if (::GetTickCount() - dwStart >= kSettleMaxMs)
        {
            bArmed = ::FindNextChangeNotification(m_watch.Get()) != FALSE;
            return true;
        }
    }
}

CFolderWatch::EStep CFolderWatch::LookOnce()
{
    if (::WaitForSingleObject(m_hStop, kPollMs) != WAIT_TIMEOUT)
        return EStep::Stopped;
    if (!Exists())
    {
        m_notify();
        return EStep::Gone;
    }
    const ULONGLONG nWriteTime = LastWriteTime();
    if (nWriteTime == m_nSeenWriteTime && ++m_nQuietLooks < kPollsPerFullLook)
        return EStep::GoOn;
    m_nSeenWriteTime = nWriteTime;
    m_nQuietLooks = 0;
    if (HasSubfolder() && SwitchToWatching())
        m_notify();
    return EStep::GoOn;
}

bool CFolderWatch::SwitchToWatching()
{
    if (!m_watch.IsValid())
        m_watch = OpenFolderChangeNotification(m_strPath);
    if (!m_watch.IsValid())
        return false;
    m_mode = EMode::Watching;
    return true;
}

void CFolderWatch::SwitchToLooking(ULONGLONG nSeenWriteTime)
{
    m_watch.Reset();
    m_mode = EMode::Looking;
    m_nSeenWriteTime = nSeenWriteTime;
    m_nQuietLooks = 0;
}

// Read through a handle that lets others delete the folder meanwhile: a find
// handle would make a deleter that comes at that moment fail (a folder open
// for listing without that sharing cannot be deleted).
bool CFolderWatch::HasSubfolder() const
{
    CScopedFileHandle folder(::CreateFileW(ExtendedLengthPath(m_strPath).GetString(), FILE_LIST_DIRECTORY,
                                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                           OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!folder.IsValid())
        return false;
    alignas(8) BYTE buffer[16384];
    for (FILE_INFO_BY_HANDLE_CLASS nClass = FileIdBothDirectoryRestartInfo;
         ::GetFileInformationByHandleEx(folder.Get(), nClass, buffer, sizeof(buffer));
         nClass = FileIdBothDirectoryInfo)
    {
        for (const BYTE* pEntry = buffer;;)
        {
            const FILE_ID_BOTH_DIR_INFO& info = *reinterpret_cast<const FILE_ID_BOTH_DIR_INFO*>(pEntry);
            const std::wstring name(info.FileName, info.FileNameLength / sizeof(wchar_t));
            if ((info.FileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name != L"." && name != L"..")
                return true;
            if (!info.NextEntryOffset)
                break;
            pEntry += info.NextEntryOffset;
        }
    }
    return false;
}

bool CFolderWatch::Exists() const
{
    const DWORD dwAttributes = ::GetFileAttributesW(ExtendedLengthPath(m_strPath).GetString());
    return dwAttributes != INVALID_FILE_ATTRIBUTES && (dwAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

ULONGLONG CFolderWatch::LastWriteTime() const
{
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (!::GetFileAttributesExW(ExtendedLengthPath(m_strPath).GetString(), GetFileExInfoStandard, &data))
        return 0;
    return (static_cast<ULONGLONG>(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime;
}

