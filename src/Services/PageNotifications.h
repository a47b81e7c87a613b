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
// screen, a call coming in. Each notification names its workspace; clicking it runs the command
// openCommand with a text naming the workspace and the tab, which brings the window, that workspace and
// that tab forward and tells the page its notification was clicked. The text is all the click needs, so
// a notification still works after its page has gone to sleep. Main thread only.
class PageNotifications {
public:
    static constexpr std::string_view openCommand = "open-notification";

    struct Notice {
        Uuid workspaceId;
        Uuid tabId;
        // The notification's own title, or the page's when it has none.
        std::string title;
        std::string body;
        // Tells the page that the user clicked its notification.
        std::function<void()> clicked;
    };

    PageNotifications(SessionManager&, WorkspaceRuntime&, DesktopNotifier&);
    PageNotifications(const PageNotifications&) = delete;
    PageNotifications& operator=(const PageNotifications&) = delete;

    // Puts the notification on the desktop and returns the id it is shown under.
    std::string show(Notice);
    // The page took its notification back: it leaves the screen.
    void withdraw(const std::string& id);
    // The page has gone: its notification stays on screen, and a click on it only shows the workspace.
    void release(const std::string& id);
    // What a click on a notification runs. False when the text names no listed workspace.
    bool open(std::string_view commandText);

private:
    SessionManager& m_sessions;
    WorkspaceRuntime& m_runtime;
    DesktopNotifier& m_notifier;
    std::map<std::string, std::function<void()>, std::less<>> m_clickHandlers;
};

} // namespace cohortex
