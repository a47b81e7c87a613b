#pragma once

#include "Engine/Navigation.h"
#include "Support/ScopedConnection.h"

#include <functional>
#include <gtkmm/box.h>
#include <gtkmm/label.h>
#include <gtkmm/searchbar.h>
#include <gtkmm/searchentry.h>
#include <vector>

namespace cohortex {

class Presentation;

// The find bar over the page on screen: shown while the presentation asks for it, it searches the page
// as the user types, steps through the matches (Enter, Shift+Enter, its arrows, the window's Find Next
// and Find Previous) and says how many there are. Escape or its close button hides it, which clears the
// highlighted matches.
class FindBar : public Gtk::SearchBar {
public:
    FindBar(Presentation&, PageBindings&, std::function<void(NavigationCommand)> issue);

    // Takes the focus with the text selected, to type over it or step on.
    void focus();

private:
    void showMatches(const std::optional<unsigned>&);

    Presentation& m_presentation;
    std::function<void(NavigationCommand)> m_issue;
    Gtk::Box m_row{ Gtk::Orientation::HORIZONTAL, 6 };
    Gtk::SearchEntry m_entry;
    Gtk::Label m_matches;
    std::vector<ScopedConnection> m_connections;
};

} // namespace cohortex
