#pragma once

#include "Models/DownloadItem.h"
#include "Support/ScopedConnection.h"

#include <set>
#include <vector>

namespace cohortex {

class DesktopNotifier;
class DownloadList;
class SessionManager;
class WindowHost;

// A download that finishes while the main window does not have the focus is told in a desktop
// notification: clicking it shows the download in its workspace's list, its buttons open the file or
// show it in its folder. A workspace waiting for its owner gives nothing away: its notice names neither
// the file nor offers it, and clicking it asks for the owner first. A download cleared from the list
// takes its notice off the screen: its buttons would find nothing to act on.
class DownloadNotices {
public:
    DownloadNotices(DownloadList&, SessionManager&, WindowHost&, DesktopNotifier&);
    DownloadNotices(const DownloadNotices&) = delete;
    DownloadNotices& operator=(const DownloadNotices&) = delete;

private:
    void downloadFinished(const DownloadItem&);
    void withdrawCleared(const std::vector<DownloadItem>&);

    SessionManager& m_sessions;
    WindowHost& m_window;
    DesktopNotifier& m_notifier;
    ScopedConnection m_finished;
    ScopedConnection m_listChanged;
    // The downloads whose notice may still be on screen.
    std::set<DownloadId> m_noticed;
};

} // namespace cohortex
