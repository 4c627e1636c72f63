// What a monitoring thread does: watch one folder and say when its
// subfolders may have changed.
#pragma once

#include "drivetree/DriveTreePrivate.h"

#include <functional>

// Watches one folder for subfolders that appear, vanish or get new names,
// without ever standing in the way of the folder's own deletion.
//
// A directory change notification is a handle on the folder, and a folder
// with an open handle that is deleted stays "delete pending" (and in its
// parent's listing) until the handle closes; some systems do not even wake
// the watcher for it. So the handle is held only while the folder has
// subfolders, when it cannot be deleted anyway. A folder without subfolders
// is looked at every kPollMs instead: its last-write time, and whether it
// has gained a subfolder when that time moved (and now and then regardless,
// for file systems that do not keep a folder's time). A change is reported
// once the folder has settled (see Settle).
class CFolderWatch
{
public:
    static const DWORD kPollMs = 500;
    static const int kPollsPerFullLook = 8;
    static const DWORD kSettleMs = 100;
    static const DWORD kSettleMaxMs = 1000;

    // strPath's folder; armed is a notification opened before the folder was
    // listed (or none); notify() tells the tree. hStop ends Run.
    CFolderWatch(const CString& strPath, CChangeNotificationHandle armed, HANDLE hStop,
                 std::function<void()> notify);

    // Until hStop is signalled (true) or the folder is gone (false, after a
    // last notify()).
    bool Run();

private:
    enum class EMode { Watching, Looking };
    enum class EStep { GoOn, Stopped, Gone };

    bool Start();
    EStep WatchOnce();
    bool Settle(bool& bArmed);
    EStep LookOnce();
    bool SwitchToWatching();
    // nSeenWriteTime: the folder's time read before it was found to have no
    // subfolders.
    void SwitchToLooking(ULONGLONG nSeenWriteTime);
    bool HasSubfolder() const;
    bool Exists() const;
    ULONGLONG LastWriteTime() const;

    CString m_strPath;
    CChangeNotificationHandle m_watch;
    HANDLE m_hStop;
    std::function<void()> m_notify;
    EMode m_mode = EMode::Looking;
    ULONGLONG m_nSeenWriteTime = 0;
    int m_nQuietLooks = 0;
};
