#include "UI/WorkspaceWindow/TabStripView.h"

#include "Models/TabBarItems.h"
#include "Services/SessionManager.h"
#include "Services/WorkspaceRuntime.h"
#include "Support/MainQueue.h"
#include "Support/Translation.h"
#include "UI/Styles.h"
#include "UI/SymbolIcons.h"
#include "UI/WorkspaceWindow/WidgetLabels.h"

namespace cohortex {

TabStripView::TabStripView(Dependencies dependencies)
    : Gtk::Box(Gtk::Orientation::HORIZONTAL, 4)
    , m_sessions(dependencies.sessions)
    , m_runtime(dependencies.runtime)
    , m_queue(dependencies.queue)
{
    installStyles();
    add_css_class("cohortex-bar");
    m_scroller.set_policy(Gtk::PolicyType::EXTERNAL, Gtk::PolicyType::NEVER);
    m_scroller.set_propagate_natural_width(true);
    m_scroller.set_child(m_items);
    m_newTab = makeIconButton(iconNameForSymbol("plus"), _(TabBarItems::newTabHelp));
    m_newTab->set_valign(Gtk::Align::CENTER);
    append(m_scroller);
    append(*m_newTab);
    bind();
}

TabStripView::~TabStripView()
{
    m_connections.clear();
}

void TabStripView::bind()
{
    auto rerender = [this](const auto&) { render(); };
    m_connections.emplace_back(m_runtime.tabs().changed().connect(rerender));
    m_connections.emplace_back(m_runtime.activeTabID().changed().connect(rerender));
    m_newTab->signal_clicked().connect([this] { m_sessions.newTabInActiveWorkspace(); });
}

void TabStripView::setWorkspace(std::optional<Uuid> workspaceId)
{
    if (workspaceId == m_workspaceId)
        return;
    m_workspaceId = workspaceId;
    render();
}

void TabStripView::render()
{
    std::vector<PageTabItemState> items;
    if (m_workspaceId) {
        auto active = m_runtime.activeTab(*m_workspaceId);
        items = TabBarItems::pageItems(
            m_runtime.tabs(*m_workspaceId), active ? std::optional(active->id) : std::nullopt);
    }
    m_row.apply(
        std::span<const PageTabItemState>(items), [](const PageTabItemState& item) { return item.tabId; },
        [this](const PageTabItemState& item) { return makeItem(item.tabId); });
}

TabStripItem* TabStripView::makeItem(const Uuid& tabId)
{
    return Gtk::make_managed<TabStripItem>(TabStripItem::Actions{ .onSelect =
                                                                      [this, tabId] {
                                                                          if (m_workspaceId)
                                                                              m_runtime.selectTab(
                                                                                  tabId, *m_workspaceId);
                                                                      },
        .onClose = [this, tabId] { closeSoon(tabId); } });
}

void TabStripView::closeSoon(const Uuid& tabId)
{
    m_queue.post([this, tabId, alive = std::weak_ptr<bool>(m_alive)] {
        if (!alive.expired() && m_workspaceId)
            m_runtime.closeTab(tabId, *m_workspaceId);
    });
}

} // namespace cohortex
