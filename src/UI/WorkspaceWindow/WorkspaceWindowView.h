#pragma once

#include "Engine/WebKitGtk/IsolatedWebView.h"

#include <gtkmm/box.h>
#include <memory>

namespace cohortex {

class Alerts;
class Authenticating;
class Keychain;
class PageActions;
class Presentation;
class ResourceMonitorService;
class SessionManager;
class WebKitManager;
class WorkspaceRuntime;
class ZoomLevels;

// The main window's content: the workspace tab bar, then for the active workspace the browser
// toolbar, the page-tab strip and the stacked pages of its tabs (only the selected tab's page visible and
// taking input), with the lock view over them while the workspace waits for its owner. Pages of every loaded
// workspace stay alive, so switching back to one is immediate and its pages keep their state.
class WorkspaceWindowView : public Gtk::Box {
public:
    struct Dependencies {
        SessionManager& sessions;
        Presentation& presentation;
        WorkspaceRuntime& runtime;
        WebKitManager& stores;
        IsolatedWebView::Services views;
        // What the workspace settings sheet needs: the proxy password and whether the lock can work.
        Keychain& keychain;
        Authenticating& authenticator;
        ResourceMonitorService& resources;
        Alerts& alerts;
        // Find, zoom and print for the page on screen; without them the window offers none.
        PageActions* pageActions{ nullptr };
        ZoomLevels* zoomLevels{ nullptr };
    };

    explicit WorkspaceWindowView(Dependencies);
    ~WorkspaceWindowView() override;

private:
    struct State;
    std::unique_ptr<State> m_state;
};

} // namespace cohortex
