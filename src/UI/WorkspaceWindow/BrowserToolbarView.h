#pragma once

#include "Engine/Navigation.h"
#include "Models/ToolbarState.h"
#include "Models/WorkspaceSession.h"
#include "Support/ScopedConnection.h"
#include "UI/WorkspaceWindow/ColorDot.h"
#include "UI/WorkspaceWindow/DownloadsButton.h"

#include <functional>
#include <gtkmm/box.h>
#include <gtkmm/button.h>
#include <gtkmm/entry.h>
#include <gtkmm/eventcontrollerfocus.h>
#include <gtkmm/image.h>
#include <gtkmm/label.h>
#include <gtkmm/overlay.h>
#include <gtkmm/spinner.h>
#include <optional>
#include <vector>

namespace cohortex {

class DownloadList;
class Presentation;
class ResourceMonitorService;
class SessionManager;

// The toolbar over the shown workspace's pages: back, forward, reload or stop, the address field, the
// workspace badge, new tab, the workspace's downloads, the memory figure and settings. It reads the window's
// page bindings and the resource monitor, and issues commands; it never touches a page itself.
class BrowserToolbarView : public Gtk::Box {
public:
    struct Dependencies {
        SessionManager& sessions;
        ResourceMonitorService& monitor;
        DownloadList& downloads;
        Presentation& presentation;
        const PageBindings& bindings;
        std::function<void(NavigationCommand)> onCommand;
    };

    explicit BrowserToolbarView(Dependencies);
    ~BrowserToolbarView() override;

    // The workspace the badge names and whose start page the field shows while the page has none.
    void setWorkspace(const WorkspaceSession&);

private:
    void build();
    void buildAddressField();
    void buildBadge();
    void bind();
    void bindMonitor();
    ToolbarState state() const;
    void showNavigationState();
    void showAddress();
    void showMemory();
    void submitAddress();

    SessionManager& m_sessions;
    ResourceMonitorService& m_monitor;
    const PageBindings& m_bindings;
    std::function<void(NavigationCommand)> m_onCommand;
    std::optional<WorkspaceSession> m_workspace;

    Gtk::Button* m_back{ nullptr };
    Gtk::Button* m_forward{ nullptr };
    Gtk::Button* m_reloadOrStop{ nullptr };
    Gtk::Overlay m_addressArea;
    Gtk::Entry m_address;
    Gtk::Spinner m_spinner;
    Glib::RefPtr<Gtk::EventControllerFocus> m_addressFocus{ Gtk::EventControllerFocus::create() };
    Gtk::Box m_badge{ Gtk::Orientation::HORIZONTAL, 6 };
    ColorDot m_badgeDot;
    Gtk::Image m_badgeIcon;
    Gtk::Label m_badgeName;
    Gtk::Button* m_newTab{ nullptr };
    DownloadsButton m_downloads;
    Gtk::Button m_memory;
    Gtk::Label m_memoryLabel;
    Gtk::Button* m_settings{ nullptr };

    std::vector<ScopedConnection> m_connections;
};

} // namespace cohortex
