#include "UI/WorkspaceWindow/TabBarView.h"

#include "Services/Alerts.h"
#include "Services/Presentation.h"
#include "Services/SessionManager.h"
#include "Services/WorkspaceRuntime.h"
#include "Support/MainQueue.h"
#include "Support/Translation.h"
#include "UI/Styles.h"
#include "UI/SymbolIcons.h"
#include "UI/WorkspaceWindow/WidgetLabels.h"

namespace cohortex {

TabBarView::TabBarView(Dependencies dependencies)
    : Gtk::Box(Gtk::Orientation::HORIZONTAL, 4)
    , m_sessions(dependencies.sessions)
    , m_runtime(dependencies.runtime)
    , m_presentation(dependencies.presentation)
    , m_alerts(dependencies.alerts)
    , m_queue(dependencies.queue)
{
    installStyles();
    build();
    bind();
    render();
}

TabBarView::~TabBarView()
{
    m_connections.clear();
}

void TabBarView::build()
{
    add_css_class("cohortex-bar");
    // Scrolls with the wheel or touchpad but shows no scroll bar, which would cover the items.
    m_scroller.set_policy(Gtk::PolicyType::EXTERNAL, Gtk::PolicyType::NEVER);
    m_scroller.set_propagate_natural_width(true);
    m_scroller.set_child(m_items);
    m_scroller.set_hexpand(false);
    m_newWorkspace = makeIconButton(iconNameForSymbol("plus"), _(TabBarItems::newWorkspaceHelp));
    m_newWorkspace->set_valign(Gtk::Align::CENTER);
    append(m_scroller);
    append(*m_newWorkspace);
}

void TabBarView::bind()
{
    auto rerender = [this](const auto&) { render(); };
    m_connections.emplace_back(m_sessions.workspaces().changed().connect(rerender));
    m_connections.emplace_back(m_sessions.activeWorkspaceId().changed().connect(rerender));
    m_connections.emplace_back(m_runtime.tabs().changed().connect(rerender));
    m_connections.emplace_back(m_runtime.sleeping().changed().connect(rerender));
    m_connections.emplace_back(m_runtime.unlocked().changed().connect(rerender));
    gtk_actionable_set_action_name(GTK_ACTIONABLE(m_newWorkspace->gobj()), "app.new-workspace");
}

void TabBarView::render()
{
    auto active = m_sessions.activeWorkspace();
    const auto& workspaces = m_sessions.workspaces().get();
    auto items = TabBarItems::workspaceItems({ workspaces, active ? std::optional(active->id) : std::nullopt,
        m_runtime.tabs().get(), m_runtime.sleeping().get(), m_runtime.unlocked().get(),
        [this](const Uuid& id) { return m_runtime.unreadCount(id); } });
    m_row.apply(
        std::span<const WorkspaceTabItemState>(items),
        [](const WorkspaceTabItemState& item) { return item.workspace.id; },
        [this](const WorkspaceTabItemState& item) { return makeItem(item.workspace.id); });
}

WorkspaceTabItem* TabBarView::makeItem(const Uuid& workspaceId)
{
    return Gtk::make_managed<WorkspaceTabItem>(WorkspaceTabItem::Actions{
        .onSelect = [this, workspaceId] { select(workspaceId); },
        .onClose = [this, workspaceId] { requestRemoval(workspaceId); },
        .onMenu = [this, workspaceId](WorkspaceMenuEntry::Action action) { perform(workspaceId, action); } });
}

void TabBarView::select(const Uuid& workspaceId)
{
    if (auto workspace = m_sessions.workspace(workspaceId))
        m_sessions.openWorkspace(*workspace);
}

void TabBarView::perform(const Uuid& workspaceId, WorkspaceMenuEntry::Action action)
{
    auto workspace = m_sessions.workspace(workspaceId);
    if (!workspace)
        return;
    using Action = WorkspaceMenuEntry::Action;
    switch (action) {
    case Action::Settings:
        m_presentation.showWorkspaceSettings(workspace->id);
        break;
    case Action::SleepNow:
        m_sessions.sleepNow(*workspace);
        break;
    case Action::LockNow:
        m_sessions.lockNow(*workspace);
        break;
    case Action::Remove:
        requestRemoval(workspaceId);
        break;
    }
}

void TabBarView::requestRemoval(const Uuid& workspaceId)
{
    m_queue.post([this, workspaceId, alive = std::weak_ptr<bool>(m_alive)] {
        auto workspace = m_sessions.workspace(workspaceId);
        // One question at a time; the list may also have changed before the question could be asked.
        if (alive.expired() || m_pendingRemoval || !workspace)
            return;
        m_pendingRemoval = *workspace;
        confirmRemoval(m_alive, this, *workspace);
    });
}

Task<void> TabBarView::confirmRemoval(std::weak_ptr<bool> alive, TabBarView* view, WorkspaceSession workspace)
{
    bool confirmed = co_await view->m_alerts.confirmDestructive(TabBarItems::removalTitle(workspace),
        _(TabBarItems::removalMessage), _(TabBarItems::removeButton), _(TabBarItems::cancelButton));
    if (alive.expired())
        co_return;
    // Whatever the answer, the question is over; the workspace named in it is the one removed.
    view->m_pendingRemoval.reset();
    if (confirmed && !view->m_sessions.removeWorkspace(workspace.id))
        co_await view->m_alerts.inform(_(changeNotSavedMessage), _(settingsNotWritableDetails));
}

} // namespace cohortex
