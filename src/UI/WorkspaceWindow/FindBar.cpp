#include "UI/WorkspaceWindow/FindBar.h"

#include "Services/Presentation.h"
#include "Support/Translation.h"
#include "UI/WorkspaceWindow/WidgetLabels.h"

#include <gtkmm/button.h>
#include <gtkmm/eventcontrollerkey.h>

namespace cohortex {

namespace {

Gtk::Button* makeStepButton(const char* icon, const char* action, const char* label)
{
    auto* button = Gtk::make_managed<Gtk::Button>();
    button->set_icon_name(icon);
    gtk_actionable_set_action_name(GTK_ACTIONABLE(button->gobj()), action);
    describeWidget(*button, label);
    return button;
}

} // namespace

FindBar::FindBar(
    Presentation& presentation, PageBindings& bindings, std::function<void(NavigationCommand)> issue)
    : m_presentation(presentation)
    , m_issue(std::move(issue))
{
    m_entry.property_placeholder_text() = _("Find in page");
    m_entry.set_size_request(260, -1);
    setAccessibleLabel(m_entry, _("Find in page"));
    m_matches.add_css_class("dim-label");
    m_matches.set_width_chars(12);
    m_matches.set_xalign(0);
    auto* steps = Gtk::make_managed<Gtk::Box>(Gtk::Orientation::HORIZONTAL);
    steps->add_css_class("linked");
    steps->append(*makeStepButton("go-up-symbolic", "app.find-previous", _("Find Previous")));
    steps->append(*makeStepButton("go-down-symbolic", "app.find-next", _("Find Next")));
    m_row.append(m_entry);
    m_row.append(*steps);
    m_row.append(m_matches);
    set_child(m_row);
    set_show_close_button(true);
    connect_entry(m_entry);

    m_connections.emplace_back(m_entry.signal_search_changed().connect(
        [this] { m_issue(NavigationCommand::find(m_entry.get_text())); }));
    m_connections.emplace_back(m_entry.signal_activate().connect(
        [this] { m_issue(NavigationCommand::of(NavigationCommand::Kind::FindNext)); }));
    // Shift+Enter steps back, as in every other find bar.
    auto keys = Gtk::EventControllerKey::create();
    m_connections.emplace_back(keys->signal_key_pressed().connect(
        [this](unsigned keyval, unsigned, Gdk::ModifierType state) {
            bool enter = keyval == GDK_KEY_Return || keyval == GDK_KEY_KP_Enter;
            if (!enter || (state & Gdk::ModifierType::SHIFT_MASK) != Gdk::ModifierType::SHIFT_MASK)
                return false;
            m_issue(NavigationCommand::of(NavigationCommand::Kind::FindPrevious));
            return true;
        },
        false));
    m_entry.add_controller(keys);
    m_connections.emplace_back(
        m_entry.signal_stop_search().connect([this] { m_presentation.setShowingFindBar(false); }));
    // The close button and the bar's own Escape switch search mode off behind the presentation's back.
    m_connections.emplace_back(property_search_mode_enabled().signal_changed().connect([this] {
        if (!get_search_mode())
            m_presentation.setShowingFindBar(false);
    }));
    m_connections.emplace_back(presentation.showingFindBar().changed().connect([this](bool shown) {
        set_search_mode(shown);
        if (shown) {
            focus();
            if (!m_entry.get_text().empty())
                m_issue(NavigationCommand::find(m_entry.get_text()));
        } else {
            m_issue(NavigationCommand::of(NavigationCommand::Kind::FindEnd));
        }
    }));
    m_connections.emplace_back(
        bindings.findMatches.changed().connect([this](const auto& matches) { showMatches(matches); }));
    showMatches(std::nullopt);
}

void FindBar::focus()
{
    m_entry.grab_focus();
    m_entry.select_region(0, -1);
}

void FindBar::showMatches(const std::optional<unsigned>& matches)
{
    if (!matches || m_entry.get_text().empty()) {
        m_matches.set_text("");
        m_entry.remove_css_class("error");
        return;
    }
    if (*matches == 0) {
        m_matches.set_text(_("No matches"));
        m_entry.add_css_class("error");
        return;
    }
    m_entry.remove_css_class("error");
    m_matches.set_text(fillIn(P_("{} match", "{} matches", *matches), std::to_string(*matches)));
}

} // namespace cohortex
