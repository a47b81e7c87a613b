#pragma once

#include "Support/Uuid.h"

#include <functional>
#include <map>
#include <string>
#include <string_view>

namespace cohortex {

class DesktopNotifier;
class SessionManager;
class WorkspaceRuntime;

// What pages tell the user through the desktop's notifications: a chat in a workspace that is not on
// screen, a call coming in. Each notification is titled with its page and its workspace and carries a
// number; clicking it runs the command openCommand with that number, which brings the window, that
// workspace and that tab forward and tells the page its notification was clicked. The number is all the
// click needs, so a notification still works after its page has gone to sleep. Main thread only.
class PageNotifications {
public:
    static constexpr std::string_view openCommand = "open-notification";

    struct Notice {
        Uuid workspaceId;
        Uuid tabId;
        std::string pageTitle;
        // What the page said: its notification's title and body.
        std::string title;
        std::string body;
        // Tells the page that the user clicked its notification.
        std::function<void()> clicked;
    };

    PageNotifications(SessionManager&, WorkspaceRuntime&, DesktopNotifier&);
    PageNotifications(const PageNotifications&) = delete;
    PageNotifications& operator=(const PageNotifications&) = delete;

    // Puts the notification on the desktop and returns its number.
    int show(Notice);
    // The page took its notification back: it leaves the screen.
    void withdraw(int number);
    // The page has gone: its notification stays on screen, and a click on it only shows the tab.
    void release(int number);
    // What a click on a notification runs. False when the number names no notification of this run or
    // its workspace is no longer listed.
    bool open(int number);

private:
    struct Shown {
        Uuid workspaceId;
        Uuid tabId;
        std::function<void()> clicked;
    };

    std::string idOf(int number) const;

    SessionManager& m_sessions;
    WorkspaceRuntime& m_runtime;
    DesktopNotifier& m_notifier;
    // Notifications of an earlier run may still be on screen, with numbers of their own: each run counts
    // from a random start, so a click on an old one is very unlikely to open a page of this run.
    int m_nextNumber;
    std::map<int, Shown> m_shown;
};

} // namespace cohortex
