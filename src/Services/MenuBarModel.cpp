#include "Services/MenuBarModel.h"

#include "Services/ResourceMonitorService.h"
#include "Services/SessionManager.h"
#include "Services/WorkspaceRuntime.h"

namespace cohortex {

MenuBarModel::MenuBarModel(
    SessionManager& sessions, WorkspaceRuntime& runtime, ResourceMonitorService& resources)
    : m_sessions(sessions)
    , m_runtime(runtime)
    , m_resources(resources)
{
    refresh();
    auto follow = [this](const auto& observable) {
        m_connections.emplace_back(observable.changed().connect([this](const auto&) { refresh(); }));
    };
    follow(sessions.workspaces());
    follow(sessions.activeWorkspaceId());
    // Unread counts come from page titles, which reach the runtime as changes of its tab table.
    follow(runtime.tabs());
    follow(runtime.sleeping());
    follow(runtime.unlocked());
    follow(resources.appMB());
    follow(resources.pagesMB());
    follow(resources.stats());
}

void MenuBarModel::refresh()
{
    MenuBarLabel label{ m_runtime.totalUnread() };
    if (label != m_label.get())
        m_label.set(label);
    auto menu = MenuBarMenu::build({ .workspaces = m_sessions.workspaces().get(),
        .activeWorkspaceId = m_sessions.activeWorkspaceId().get(),
        .unreadCount = [this](const Uuid& id) { return m_runtime.unreadCount(id); },
        .sleeping = m_runtime.sleeping().get(),
        .unlocked = m_runtime.unlocked().get(),
        .appMB = m_resources.appMB().get(),
        .pagesMB = m_resources.pagesMB().get(),
        .stats = m_resources.stats().get(),
        .lastShortcutIndex = SessionManager::maximumShortcutIndex });
    if (menu != m_menu.get())
        m_menu.set(std::move(menu));
}

} // namespace cohortex
