#include "UI/MenuBar/MenuBarItem.h"

#include "Services/CommandTable.h"
#include "Services/MenuBarModel.h"
#include "Services/SessionManager.h"
#include "Support/Translation.h"
#include "UI/ApplicationWindows.h"
#include "UI/MenuBar/MenuBarPanel.h"
#include "UI/SymbolIcons.h"

#include <gtkmm/application.h>

namespace cohortex {

namespace {

StatusNotifierItem::Properties itemProperties()
{
    return { .category = "ApplicationStatus",
        .id = "cohortex",
        .title = "Cohortex",
        .status = "Active",
        .iconName = MenuBarItem::iconName,
        .attentionIconName = MenuBarItem::attentionIconName,
        .toolTipTitle = std::string(MenuBarLabel::toolTipTitle),
        .toolTipText = _(MenuBarLabel::nothingUnread),
        .menuPath = MenuBarItem::menuPath };
}

} // namespace

MenuBarItem::MenuBarItem(Dependencies dependencies)
    : m_model(dependencies.model)
    , m_sessions(dependencies.sessions)
    , m_commands(dependencies.commands)
    , m_application(std::move(dependencies.application))
    , m_item(itemProperties(),
          { .activate = [this](int x, int y) { togglePanel(x, y); },
              // The middle button: the window, without the panel in between.
              .secondaryActivate = [this](int, int) { runCommand("toggle-window"); },
              // Asked by a panel that leaves menus to the item: the panel holds the same commands.
              .contextMenu = [this](int x, int y) { togglePanel(x, y); } })
    , m_notifications(dependencies.notifier)
{
    showLabel(m_model.label().get());
    m_menuRows = m_model.menu()->rows;
    buildMenu();
    m_connections.emplace_back(
        m_model.label().changed().connect([this](const MenuBarLabel& label) { showLabel(label); }));
    m_connections.emplace_back(
        m_model.menu().changed().connect([this](const MenuBarMenu& menu) { showMenu(menu); }));
    // The menu greys out a command while it is disabled, as the panel's buttons do through their actions.
    for (const auto& command : MenuBarMenu::commands()) {
        if (const auto* found = command.commandName ? m_commands.find(*command.commandName) : nullptr) {
            m_connections.emplace_back(found->isEnabled.changed().connect([this](bool) { buildMenu(); }));
        }
    }
}

MenuBarItem::~MenuBarItem() = default;

void MenuBarItem::showLabel(const MenuBarLabel& label)
{
    m_item.setStatus(label.needsAttention() ? "NeedsAttention" : "Active");
    m_item.setToolTip(std::string(MenuBarLabel::toolTipTitle), label.toolTipText());
    m_launcher.setCount(label.launcherCount(), label.showsLauncherCount());
}

void MenuBarItem::showMenu(const MenuBarMenu& menu)
{
    if (menu.rows == m_menuRows)
        return;
    m_menuRows = menu.rows;
    buildMenu();
}

void MenuBarItem::buildMenu()
{
    std::vector<DBusMenuServer::Item> items;
    for (const auto& row : m_menuRows) {
        items.push_back({ .label = row.description(),
            .iconName = iconNameForSymbol(row.iconSymbol),
            .radioState = row.isActive,
            .activate = [this, id = row.workspaceId] { openWorkspace(id); } });
    }
    items.push_back({ .isSeparator = true });
    for (const auto& command : MenuBarMenu::commands()) {
        if (command.followsDivider)
            items.push_back({ .isSeparator = true });
        const auto* found = command.commandName ? m_commands.find(*command.commandName) : nullptr;
        DBusMenuServer::Item item{ .label = _(command.label),
            .iconName = iconNameForSymbol(command.symbol),
            .isEnabled = found && found->isEnabled.get() };
        if (found)
            item.activate = [this, name = found->name] { runCommand(name); };
        items.push_back(std::move(item));
    }
    m_menu.setItems(items);
}

void MenuBarItem::openWorkspace(const Uuid& workspaceId)
{
    // The workspace may have been removed since the menu was shown.
    auto workspace = m_sessions.workspace(workspaceId);
    if (!workspace)
        return;
    m_sessions.openWorkspace(*workspace);
    m_sessions.showMainWindow();
}

void MenuBarItem::runCommand(std::string_view name)
{
    m_commands.run(name);
}

void MenuBarItem::togglePanel(int x, int y)
{
    if (!m_panel) {
        m_panel = std::make_unique<MenuBarPanel>(
            MenuBarPanel::Dependencies{ m_model, [this](const Uuid& id) { openWorkspace(id); } });
        // A window of the application: its buttons reach the commands as the application's actions.
        keepInApplication(*m_panel, m_application);
    }
    m_panel->toggleAt({ x, y });
}

void MenuBarItem::mainWindowClosed()
{
    if (m_stillRunning.windowClosed(isInTray()))
        m_notifications.send(StillRunningNotice::notice());
}

} // namespace cohortex
