#pragma once

#include "Models/WorkspaceSession.h"
#include "Support/ScopedConnection.h"
#include "Support/Task.h"
#include "UI/WorkspaceWindow/KeyedWidgetRow.h"
#include "UI/WorkspaceWindow/WorkspaceTabItem.h"

#include <gtkmm/box.h>
#include <gtkmm/button.h>
#include <gtkmm/scrolledwindow.h>
#include <memory>
#include <optional>
#include <vector>

namespace cohortex {

class Alerts;
class MainQueue;
class Presentation;
class SessionManager;
class WorkspaceRuntime;

// The workspace tab bar: one item per workspace in list order, then a button for a new workspace. It
// re-renders itself whenever the list, the active workspace or the runtime's tables change, and keeps
// only the workspace whose removal awaits the user's answer.
class TabBarView : public Gtk::Box {
public:
    struct Dependencies {
        SessionManager& sessions;
        WorkspaceRuntime& runtime;
        Presentation& presentation;
        Alerts& alerts;
        MainQueue& queue;
    };

    explicit TabBarView(Dependencies);
    ~TabBarView() override;

    const std::optional<WorkspaceSession>& pendingRemoval() const { return m_pendingRemoval; }

private:
    void build();
    void bind();
    void render();
    WorkspaceTabItem* makeItem(const Uuid& workspaceId);
    void select(const Uuid& workspaceId);
    void perform(const Uuid& workspaceId, WorkspaceMenuEntry::Action);
    // Not from inside the item's own click: removing the workspace destroys the item.
    void requestRemoval(const Uuid& workspaceId);
    static Task<void> confirmRemoval(std::weak_ptr<bool> alive, TabBarView*, WorkspaceSession);

    SessionManager& m_sessions;
    WorkspaceRuntime& m_runtime;
    Presentation& m_presentation;
    Alerts& m_alerts;
    MainQueue& m_queue;
    std::optional<WorkspaceSession> m_pendingRemoval;

    Gtk::ScrolledWindow m_scroller;
    Gtk::Box m_items{ Gtk::Orientation::HORIZONTAL, 2 };
    Gtk::Button* m_newWorkspace{ nullptr };
    KeyedWidgetRow<WorkspaceTabItem> m_row{ m_items };

    std::vector<ScopedConnection> m_connections;
    std::shared_ptr<bool> m_alive{ std::make_shared<bool>(true) };
};

} // namespace cohortex
