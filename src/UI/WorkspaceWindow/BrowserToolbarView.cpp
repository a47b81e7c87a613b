#include "UI/WorkspaceWindow/BrowserToolbarView.h"

#include "Models/AddressInput.h"
#include "Services/ResourceMonitorService.h"
#include "Services/SessionManager.h"
#include "Support/Translation.h"
#include "UI/Styles.h"
#include "UI/SymbolIcons.h"
#include "UI/WorkspaceWindow/WidgetLabels.h"

#include <gtkmm/root.h>

namespace cohortex {

BrowserToolbarView::BrowserToolbarView(Dependencies dependencies)
    : Gtk::Box(Gtk::Orientation::HORIZONTAL, 4)
    , m_sessions(dependencies.sessions)
    , m_monitor(dependencies.monitor)
    , m_bindings(dependencies.bindings)
    , m_onCommand(std::move(dependencies.onCommand))
    , m_downloads(dependencies.downloads, dependencies.presentation)
{
    installStyles();
    build();
    bind();
    bindMonitor();
}

BrowserToolbarView::~BrowserToolbarView()
{
    m_connections.clear();
}

void BrowserToolbarView::build()
{
    add_css_class("cohortex-bar");
    m_back = makeIconButton(iconNameForSymbol("chevron.left"), _("Back"));
    m_forward = makeIconButton(iconNameForSymbol("chevron.right"), _("Forward"));
    m_reloadOrStop = makeIconButton(iconNameForSymbol("arrow.clockwise"), _("Reload"));
    buildAddressField();
    buildBadge();
    m_newTab
        = makeIconButton(iconNameForSymbol("plus.square.on.square"), toUString(_(ToolbarState::newTabHelp)));
    auto* memoryContent = Gtk::make_managed<Gtk::Box>(Gtk::Orientation::HORIZONTAL, 4);
    auto* memoryIcon = Gtk::make_managed<Gtk::Image>();
    memoryIcon->set_from_icon_name(iconNameForSymbol("memorychip"));
    memoryContent->append(*memoryIcon);
    memoryContent->append(m_memoryLabel);
    m_memoryLabel.add_css_class("numeric");
    m_memory.set_child(*memoryContent);
    m_memory.add_css_class("flat");
    m_settings = makeIconButton(iconNameForSymbol("gearshape"), _("Settings"));
    for (Gtk::Widget* widget : std::initializer_list<Gtk::Widget*>{ m_back, m_forward, m_reloadOrStop,
             &m_addressArea, &m_badge, m_newTab, &m_downloads, &m_memory, m_settings })
        append(*widget);
}

void BrowserToolbarView::buildAddressField()
{
    m_address.set_placeholder_text(toUString(_(ToolbarState::addressPlaceholder)));
    m_address.set_hexpand(true);
    describeWidget(m_address, _("Address"));
    m_address.add_controller(m_addressFocus);
    // The spinner sits inside the field's end, where it does not push the text around.
    m_spinner.set_halign(Gtk::Align::END);
    m_spinner.set_valign(Gtk::Align::CENTER);
    m_spinner.set_margin_end(8);
    m_spinner.set_can_target(false);
    m_addressArea.set_child(m_address);
    m_addressArea.add_overlay(m_spinner);
    m_addressArea.set_hexpand(true);
}

void BrowserToolbarView::buildBadge()
{
    m_badge.add_css_class("cohortex-workspace-badge");
    m_badge.set_valign(Gtk::Align::CENTER);
    m_badgeName.set_single_line_mode(true);
    m_badgeName.set_ellipsize(Pango::EllipsizeMode::END);
    m_badgeName.set_max_width_chars(20);
    m_badge.append(m_badgeDot);
    m_badge.append(m_badgeIcon);
    m_badge.append(m_badgeName);
}

void BrowserToolbarView::bind()
{
    m_back->signal_clicked().connect(
        [this] { m_onCommand(NavigationCommand::of(NavigationCommand::Kind::GoBack)); });
    m_forward->signal_clicked().connect(
        [this] { m_onCommand(NavigationCommand::of(NavigationCommand::Kind::GoForward)); });
    m_reloadOrStop->signal_clicked().connect([this] { m_onCommand(state().reloadCommand()); });
    m_address.signal_activate().connect([this] { submitAddress(); });
    // Commands the whole application shares: the buttons follow them, enabled state included.
    gtk_actionable_set_action_name(GTK_ACTIONABLE(m_newTab->gobj()), "app.new-tab");
    gtk_actionable_set_action_name(GTK_ACTIONABLE(m_settings->gobj()), "app.settings");

    auto showState = [this](const auto&) { showNavigationState(); };
    m_connections.emplace_back(m_bindings.currentURL.changed().connect([this](const auto&) {
        showNavigationState();
        showAddress();
    }));
    m_connections.emplace_back(m_bindings.isLoading.changed().connect(showState));
    m_connections.emplace_back(m_bindings.canGoBack.changed().connect(showState));
    m_connections.emplace_back(m_bindings.canGoForward.changed().connect(showState));
    showNavigationState();
}

void BrowserToolbarView::bindMonitor()
{
    auto show = [this](const auto&) { showMemory(); };
    m_connections.emplace_back(m_monitor.appMB().changed().connect(show));
    m_connections.emplace_back(m_monitor.pagesMB().changed().connect(show));
    m_connections.emplace_back(m_monitor.stats().changed().connect(show));
    m_memory.signal_clicked().connect([this] { m_monitor.refreshMemory(); });
    // The figure is read afresh whenever the indicator comes on screen, not only by the sweep.
    m_memory.signal_map().connect([this] { m_monitor.refreshMemory(); });
    showMemory();
}

ToolbarState BrowserToolbarView::state() const
{
    return { m_bindings.currentURL.get(), m_bindings.isLoading.get(), m_bindings.canGoBack.get(),
        m_bindings.canGoForward.get() };
}

void BrowserToolbarView::showNavigationState()
{
    auto current = state();
    m_back->set_sensitive(current.isBackEnabled());
    m_forward->set_sensitive(current.isForwardEnabled());
    // Pages report their state again and again; setting an icon, even the same one, lays the toolbar out
    // again.
    if (Glib::ustring reloadIcon = iconNameForSymbol(current.reloadSymbol());
        m_reloadOrStop->get_icon_name() != reloadIcon)
        m_reloadOrStop->set_icon_name(reloadIcon);
    describeWidget(*m_reloadOrStop, toUString(_(current.reloadLabel())));
    m_spinner.set_visible(current.showsSpinner());
    m_spinner.set_spinning(current.showsSpinner());
    if (Glib::ustring addressIcon = iconNameForSymbol(current.addressSymbol());
        m_address.get_icon_name(Gtk::Entry::IconPosition::PRIMARY) != addressIcon)
        m_address.set_icon_from_icon_name(addressIcon, Gtk::Entry::IconPosition::PRIMARY);
}

void BrowserToolbarView::showAddress()
{
    if (!m_workspace)
        return;
    if (auto address
        = state().addressTextAfterNavigation(m_workspace->initialURL, m_addressFocus->contains_focus());
        address && m_address.get_text().raw() != *address)
        // Setting the text, even the same one, lays the field out again and tells assistive technologies.
        m_address.set_text(*address);
}

void BrowserToolbarView::showMemory()
{
    m_memoryLabel.set_text(m_monitor.memoryLabel());
    setTooltip(m_memory, m_monitor.memoryDetail());
    // TRANSLATORS: the memory readout as a screen reader reads it; {} is the figure, e.g. "512 MB".
    setAccessibleLabel(m_memory, fillIn(_("Memory {}"), m_monitor.memoryLabel()));
}

void BrowserToolbarView::setWorkspace(const WorkspaceSession& workspace)
{
    // Before the check for a change: unlocking changes nothing of the record.
    m_downloads.setWorkspace(m_sessions.needsUnlock(workspace) ? std::nullopt : std::optional(workspace.id));
    if (m_workspace == workspace)
        return;
    bool isOtherWorkspace = !m_workspace || m_workspace->id != workspace.id;
    m_workspace = workspace;
    m_badgeDot.setColor(workspace.displayColor());
    m_badgeIcon.set_from_icon_name(iconNameForSymbol(workspace.iconSymbol));
    m_badgeName.set_text(workspace.name);
    // TRANSLATORS: the toolbar's workspace badge as a screen reader reads it; {} is the workspace's name.
    setAccessibleLabel(m_badge, fillIn(_("Workspace {}"), workspace.name));
    // Another workspace's toolbar starts from that workspace's page, whatever was typed before.
    if (isOtherWorkspace)
        m_address.set_text(state().addressText(workspace.initialURL));
}

void BrowserToolbarView::submitAddress()
{
    if (auto url = urlFromAddressInput(m_address.get_text().raw()))
        m_onCommand(NavigationCommand::load(std::move(*url)));
    // Leaving the field lets the page's own address show again as the page navigates.
    if (auto* root = get_root())
        root->unset_focus();
}

} // namespace cohortex
