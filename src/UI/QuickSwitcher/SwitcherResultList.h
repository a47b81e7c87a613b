#pragma once

#include "Models/RowWindow.h"
#include "Models/SwitcherRows.h"

#include <functional>
#include <glibmm/refptr.h>
#include <gtkmm/adjustment.h>
#include <gtkmm/box.h>
#include <gtkmm/scrollbar.h>
#include <vector>

namespace cohortex {

class SwitcherRowButton;

// The quick switcher's results: a handful of row buttons showing a window onto the ranked rows, with
// a scroll bar and the wheel to move it. A key refills those few rows, however many workspaces and
// tabs there are; a list building a widget per result cost several frames per key with a thousand.
class SwitcherResultList : public Gtk::Box {
public:
    static constexpr std::size_t visibleRows = 8;

    explicit SwitcherResultList(std::function<void(const SwitcherItem&)> onChoose);

    // The rows in result order, and the one highlighted, which is brought on screen.
    void setRows(std::vector<SwitcherRow>, std::size_t highlight);
    void setHighlight(std::size_t index);

private:
    void scrolled(double rows);
    void fill();
    void syncScrollbar();

    std::function<void(const SwitcherItem&)> m_onChoose;
    std::vector<SwitcherRow> m_rows;
    RowWindow m_window{ visibleRows };
    std::vector<SwitcherRowButton*> m_buttons;
    bool m_isSyncing{ false };

    Gtk::Box m_column{ Gtk::Orientation::VERTICAL };
    Glib::RefPtr<Gtk::Adjustment> m_position;
    Gtk::Scrollbar m_scrollbar;
};

} // namespace cohortex
