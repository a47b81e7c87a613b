#pragma once

#include "Support/ScopedConnection.h"
#include "Support/Uuid.h"
#include "UI/WorkspaceWindow/KeyedWidgetRow.h"
#include "UI/WorkspaceWindow/TabStripItem.h"

#include <gtkmm/box.h>
#include <gtkmm/button.h>
#include <gtkmm/scrolledwindow.h>
#include <memory>
#include <optional>
#include <vector>

namespace cohortex {

class MainQueue;
class SessionManager;
class WorkspaceRuntime;

// The page-tab strip of the shown workspace: one item per tab in the runtime's order, then a button
// for a new tab. It re-renders itself when the runtime's tabs or active tabs change.
class TabStripView : public Gtk::Box {
public:
    struct Dependencies {
        SessionManager& sessions;
        WorkspaceRuntime& runtime;
        MainQueue& queue;
    };

    explicit TabStripView(Dependencies);
    ~TabStripView() override;

    void setWorkspace(std::optional<Uuid> workspaceId);

private:
    void bind();
    void render();
    TabStripItem* makeItem(const Uuid& tabId);
    // Not from inside the item's own click: closing the tab destroys the item.
    void closeSoon(const Uuid& tabId);

    SessionManager& m_sessions;
    WorkspaceRuntime& m_runtime;
    MainQueue& m_queue;
    std::optional<Uuid> m_workspaceId;

    Gtk::ScrolledWindow m_scroller;
    Gtk::Box m_items{ Gtk::Orientation::HORIZONTAL, 2 };
    Gtk::Button* m_newTab{ nullptr };
    KeyedWidgetRow<TabStripItem> m_row{ m_items };

    std::vector<ScopedConnection> m_connections;
    std::shared_ptr<bool> m_alive{ std::make_shared<bool>(true) };
};

} // namespace cohortex
