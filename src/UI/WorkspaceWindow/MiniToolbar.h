#pragma once

#include "Engine/Navigation.h"
#include "Support/ScopedConnection.h"

#include <functional>
#include <gtkmm/box.h>
#include <gtkmm/button.h>
#include <gtkmm/entry.h>
#include <gtkmm/eventcontrollerfocus.h>
#include <gtkmm/spinner.h>
#include <optional>

namespace cohortex {

// Back, forward, reload or stop, the address field and a new-tab button, over the page bindings of
// the window. It issues commands and never touches a page itself.
class MiniToolbar : public Gtk::Box {
public:
    struct Actions {
        std::function<void(NavigationCommand)> onCommand;
        std::function<void()> onNewTab;
    };

    MiniToolbar(const PageBindings&, Actions);

    // What the address field shows while the page has no address: the shown workspace's start page.
    void setFallbackAddress(std::optional<Url>);

    static constexpr const char* placeholder = "Enter website URL or search...";

private:
    void bind();
    void submitAddress();
    void showLoading(bool isLoading);
    void showAddress();

    const PageBindings& m_bindings;
    Actions m_actions;
    std::optional<Url> m_fallbackAddress;

    Gtk::Button* m_back{ nullptr };
    Gtk::Button* m_forward{ nullptr };
    Gtk::Button* m_reloadOrStop{ nullptr };
    Gtk::Entry m_address;
    Gtk::Spinner m_spinner;
    Glib::RefPtr<Gtk::EventControllerFocus> m_addressFocus{ Gtk::EventControllerFocus::create() };

    ScopedConnection m_urlChanged;
    ScopedConnection m_loadingChanged;
    ScopedConnection m_backChanged;
    ScopedConnection m_forwardChanged;
};

} // namespace cohortex
