#pragma once

#include "Models/SwitcherRows.h"

#include <functional>
#include <gtkmm/box.h>
#include <gtkmm/button.h>
#include <gtkmm/label.h>
#include <optional>
#include <string>

namespace cohortex {

// One result of the quick switcher: title, subtitle in the secondary colour and, at the right, the
// unread badge. The list recycles these buttons as it scrolls, so a button shows whichever row it is
// given last and a click opens that row.
class SwitcherRowButton : public Gtk::Button {
public:
    explicit SwitcherRowButton(std::function<void(const SwitcherItem&)> onChoose);

    void show(const SwitcherRow&);
    void setHighlighted(bool);
    void clear();

private:
    std::function<void(const SwitcherItem&)> m_onChoose;
    std::optional<SwitcherItem> m_item;
    std::optional<std::string> m_badgeText;

    Gtk::Box m_layout{ Gtk::Orientation::HORIZONTAL, 8 };
    Gtk::Box m_texts{ Gtk::Orientation::VERTICAL, 2 };
    Gtk::Label m_title;
    Gtk::Label m_subtitle;
    Gtk::Label m_badge;
};

} // namespace cohortex
