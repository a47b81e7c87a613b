#pragma once

#include "Models/DownloadRows.h"

#include <gtkmm/box.h>
#include <gtkmm/button.h>
#include <gtkmm/label.h>
#include <gtkmm/progressbar.h>
#include <optional>

namespace cohortex {

// One download in the list: its name, how far it is or how it ended, a bar while it runs, and the
// buttons its state allows, each running its command for this download.
class DownloadRowView : public Gtk::Box {
public:
    explicit DownloadRowView(DownloadId);

    void update(const DownloadRow&);

private:
    std::optional<DownloadRow> m_row;
    Gtk::Box m_text{ Gtk::Orientation::VERTICAL, 2 };
    Gtk::Label m_name;
    Gtk::Label m_detail;
    Gtk::ProgressBar m_progress;
    Gtk::Button* m_cancel{ nullptr };
    Gtk::Button* m_open{ nullptr };
    Gtk::Button* m_reveal{ nullptr };
};

} // namespace cohortex
