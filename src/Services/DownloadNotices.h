#pragma once

#include "Support/ScopedConnection.h"

namespace cohortex {

class DesktopNotifier;
class DownloadList;
class SessionManager;
class WindowHost;
struct DownloadItem;

// A download that finishes while the main window does not have the focus is told in a desktop
// notification: clicking it shows the download in its workspace's list, its buttons open the file or
// show it in its folder. A workspace waiting for its owner gives nothing away: its notice names neither
// the file nor offers it, and clicking it asks for the owner first.
class DownloadNotices {
public:
    DownloadNotices(DownloadList&, SessionManager&, WindowHost&, DesktopNotifier&);
    DownloadNotices(const DownloadNotices&) = delete;
    DownloadNotices& operator=(const DownloadNotices&) = delete;

private:
    void downloadFinished(const DownloadItem&);

    SessionManager& m_sessions;
    WindowHost& m_window;
    DesktopNotifier& m_notifier;
    ScopedConnection m_finished;
};

} // namespace cohortex
