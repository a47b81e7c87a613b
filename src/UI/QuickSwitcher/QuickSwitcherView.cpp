#include "UI/QuickSwitcher/QuickSwitcherView.h"

#include "Services/Presentation.h"
#include "Services/SessionManager.h"
#include "Services/SwitcherChoices.h"
#include "Services/WorkspaceRuntime.h"
#include "Support/Translation.h"
#include "UI/Styles.h"
#include "UI/SymbolIcons.h"
#include "UI/WorkspaceWindow/WidgetLabels.h"

#include <gdk/gdkkeysyms.h>
#include <gtkmm/gestureclick.h>
#include <gtkmm/root.h>

namespace cohortex {

namespace {

SwitcherKey switcherKey(unsigned keyval)
{
    switch (keyval) {
    case GDK_KEY_Escape:
        return SwitcherKey::Escape;
    case GDK_KEY_Up:
    case GDK_KEY_KP_Up:
        return SwitcherKey::Up;
    case GDK_KEY_Down:
    case GDK_KEY_KP_Down:
        return SwitcherKey::Down;
    default:
        return SwitcherKey::Other;
    }
}

} // namespace

QuickSwitcherView::QuickSwitcherView(
    SessionManager& sessions, WorkspaceRuntime& runtime, Presentation& presentation)
    : Gtk::Box(Gtk::Orientation::VERTICAL)
    , m_sessions(sessions)
    , m_runtime(runtime)
    , m_presentation(presentation)
    , m_results([this](const SwitcherItem& chosen) {
        selectSwitcherItem(m_sessions, m_runtime, m_presentation, chosen);
    })
{
    installStyles();
    build();
    bind();
    set_visible(m_presentation.showingQuickSwitcher().get());
}

QuickSwitcherView::~QuickSwitcherView()
{
    m_connections.clear();
    removeMonitor();
}

void QuickSwitcherView::build()
{
    add_css_class("quick-switcher-backdrop");
    m_panel.add_css_class("background");
    m_panel.add_css_class("quick-switcher-panel");
    m_panel.set_halign(Gtk::Align::CENTER);
    m_panel.set_valign(Gtk::Align::START);
    m_panel.set_margin_top(64);
    m_panel.set_size_request(560, -1);
    m_searchIcon.set_from_icon_name(iconNameForSymbol("magnifyingglass"));
    m_searchIcon.add_css_class("dim-label");
    m_field.set_has_frame(false);
    m_field.set_hexpand(true);
    m_field.set_placeholder_text(_(placeholder));
    m_field.add_css_class("quick-switcher-field");
    setAccessibleLabel(m_field, _(placeholder));
    m_searchRow.add_css_class("quick-switcher-search");
    m_searchRow.append(m_searchIcon);
    m_searchRow.append(m_field);
    m_noMatch.add_css_class("dim-label");
    m_noMatch.add_css_class("quick-switcher-empty");
    m_panel.append(m_searchRow);
    m_panel.append(m_noMatch);
    m_panel.append(m_results);
    append(m_panel);
}

void QuickSwitcherView::bind()
{
    m_connections.emplace_back(
        m_presentation.showingQuickSwitcher().changed().connect([this](bool shown) { set_visible(shown); }));
    auto refreshIfShown = [this](const auto&) {
        if (get_mapped())
            refresh();
    };
    m_connections.emplace_back(m_sessions.workspaces().changed().connect(refreshIfShown));
    m_connections.emplace_back(m_runtime.tabs().changed().connect(refreshIfShown));
    m_connections.emplace_back(m_runtime.activeTabID().changed().connect(refreshIfShown));
    m_connections.emplace_back(signal_map().connect([this] { appear(); }));
    m_connections.emplace_back(signal_unmap().connect([this] { disappear(); }));
    m_connections.emplace_back(m_field.signal_changed().connect([this] {
        m_model.setQuery(m_field.get_text());
        refresh();
    }));
    m_connections.emplace_back(m_field.signal_activate().connect([this] { chooseSelected(); }));
    auto backdrop = Gtk::GestureClick::create();
    backdrop->signal_pressed().connect([this](int, double x, double y) { closeFromBackdrop(x, y); });
    add_controller(backdrop);
}

void QuickSwitcherView::appear()
{
    m_model.reset();
    m_field.set_text("");
    refresh();
    m_field.grab_focus();
    installMonitor();
}

void QuickSwitcherView::disappear()
{
    removeMonitor();
}

void QuickSwitcherView::installMonitor()
{
    removeMonitor();
    // On the window, in the capture phase, so the panel's keys are its own whatever has the focus.
    auto* root = dynamic_cast<Gtk::Widget*>(get_root());
    m_monitored = root ? root : this;
    m_monitor = Gtk::EventControllerKey::create();
    m_monitor->set_propagation_phase(Gtk::PropagationPhase::CAPTURE);
    m_monitor->signal_key_pressed().connect(
        [this](unsigned keyval, unsigned, Gdk::ModifierType) { return handleKey(keyval); }, false);
    m_monitored->add_controller(m_monitor);
}

void QuickSwitcherView::removeMonitor()
{
    if (m_monitor && m_monitored)
        m_monitored->remove_controller(m_monitor);
    m_monitor.reset();
    m_monitored = nullptr;
}

bool QuickSwitcherView::handleKey(unsigned keyval)
{
    auto key = switcherKey(keyval);
    if (key == SwitcherKey::Other)
        return false;
    auto outcome = m_model.handleKey(key, m_model.results(switcherItems(m_sessions, m_runtime)).size());
    if (outcome.closesPanel)
        m_presentation.setShowingQuickSwitcher(false);
    else if (outcome.isConsumed)
        showHighlight();
    return outcome.isConsumed;
}

void QuickSwitcherView::chooseSelected()
{
    auto results = m_model.results(switcherItems(m_sessions, m_runtime));
    if (auto index = m_model.chosenIndex(results.size()))
        selectSwitcherItem(m_sessions, m_runtime, m_presentation, results[*index]);
}

void QuickSwitcherView::refresh()
{
    auto rows = m_model.rows(
        switcherItems(m_sessions, m_runtime), [this](const Uuid& id) { return m_runtime.unreadCount(id); });
    m_noMatch.set_visible(rows.empty());
    m_results.set_visible(!rows.empty());
    m_results.setRows(std::move(rows), m_model.selection());
}

void QuickSwitcherView::showHighlight()
{
    m_results.setHighlight(m_model.selection());
}

void QuickSwitcherView::closeFromBackdrop(double x, double y)
{
    auto* picked = pick(x, y);
    if (picked && (picked == &m_panel || picked->is_ancestor(m_panel)))
        return;
    m_presentation.setShowingQuickSwitcher(false);
}

} // namespace cohortex
