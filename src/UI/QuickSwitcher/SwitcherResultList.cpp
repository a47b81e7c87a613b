#include "UI/QuickSwitcher/SwitcherResultList.h"

#include "UI/QuickSwitcher/SwitcherRowButton.h"

#include <cmath>
#include <gtkmm/eventcontrollerscroll.h>

namespace cohortex {

SwitcherResultList::SwitcherResultList(std::function<void(const SwitcherItem&)> onChoose)
    : Gtk::Box(Gtk::Orientation::HORIZONTAL)
    , m_onChoose(std::move(onChoose))
    , m_position(Gtk::Adjustment::create(0, 0, 0, 1, visibleRows, visibleRows))
    , m_scrollbar(m_position, Gtk::Orientation::VERTICAL)
{
    add_css_class("quick-switcher-list");
    m_column.set_hexpand(true);
    append(m_column);
    append(m_scrollbar);
    m_scrollbar.set_visible(false);
    m_position->signal_value_changed().connect([this] {
        if (m_isSyncing)
            return;
        m_window.scrollTo(static_cast<std::size_t>(std::lround(std::max(0.0, m_position->get_value()))));
        fill();
    });
    auto wheel = Gtk::EventControllerScroll::create();
    wheel->set_flags(Gtk::EventControllerScroll::Flags::VERTICAL);
    wheel->signal_scroll().connect(
        [this](double, double dy) {
            scrolled(dy);
            return true;
        },
        false);
    add_controller(wheel);
}

void SwitcherResultList::setRows(std::vector<SwitcherRow> rows, std::size_t highlight)
{
    m_rows = std::move(rows);
    m_window.setTotal(m_rows.size());
    setHighlight(highlight);
}

void SwitcherResultList::setHighlight(std::size_t index)
{
    for (std::size_t row = 0; row < m_rows.size(); ++row)
        m_rows[row].isHighlighted = row == index;
    m_window.reveal(index);
    fill();
}

void SwitcherResultList::scrolled(double rows)
{
    auto before = m_window.first();
    m_window.scrollBy(rows);
    if (m_window.first() != before)
        fill();
}

void SwitcherResultList::fill()
{
    // Buttons are made once, as a list first grows to them, and hidden rather than dropped when it
    // shrinks, so that typing never builds widgets.
    while (m_buttons.size() < m_window.count()) {
        auto* button = Gtk::make_managed<SwitcherRowButton>(m_onChoose);
        m_column.append(*button);
        m_buttons.push_back(button);
    }
    for (std::size_t slot = 0; slot < m_buttons.size(); ++slot) {
        auto* button = m_buttons[slot];
        bool isUsed = slot < m_window.count();
        if (isUsed)
            button->show(m_rows[m_window.first() + slot]);
        else
            button->clear();
        button->set_visible(isUsed);
    }
    syncScrollbar();
}

void SwitcherResultList::syncScrollbar()
{
    m_isSyncing = true;
    m_position->configure(static_cast<double>(m_window.first()), 0, static_cast<double>(m_window.total()), 1,
        static_cast<double>(visibleRows), static_cast<double>(m_window.capacity()));
    m_isSyncing = false;
    m_scrollbar.set_visible(m_window.isScrollable());
}

} // namespace cohortex
