#pragma once

#include "Models/DownloadItem.h"
#include "Support/ScopedConnection.h"
#include "Support/Translation.h"
#include "UI/WorkspaceWindow/DownloadRowView.h"
#include "UI/WorkspaceWindow/KeyedWidgetRow.h"

#include <gtkmm/box.h>
#include <gtkmm/button.h>
#include <gtkmm/image.h>
#include <gtkmm/label.h>
#include <gtkmm/popover.h>
#include <gtkmm/progressbar.h>
#include <gtkmm/scrolledwindow.h>
#include <optional>
#include <vector>

namespace cohortex {

class DownloadList;
class Presentation;

// The toolbar's downloads button and the list it opens, both for the workspace on screen only: the
// button shows how far that workspace's running downloads are, the list each of its downloads with what
// can be done with it. The button runs "show-downloads"; the list opens and closes as the presentation
// says, and tells it when the user closes it.
class DownloadsButton : public Gtk::Box {
public:
    DownloadsButton(DownloadList&, Presentation&);
    ~DownloadsButton() override;

    // The workspace whose downloads are shown; none hides the button and its list (a workspace waiting
    // for its owner shows nothing of its own).
    void setWorkspace(std::optional<Uuid>);

private:
    void build();
    void bind();
    void showDownloads();
    void showPanel(bool shown);

    DownloadList& m_downloads;
    Presentation& m_presentation;
    std::optional<Uuid> m_workspaceId;

    Gtk::Button m_button;
    Gtk::Box m_buttonContent{ Gtk::Orientation::VERTICAL, 0 };
    Gtk::Image m_icon;
    Gtk::ProgressBar m_progress;
    Gtk::Popover m_popover;
    Gtk::Box m_panel{ Gtk::Orientation::VERTICAL, 6 };
    Gtk::Box m_header{ Gtk::Orientation::HORIZONTAL, 6 };
    Gtk::Label m_title{ _("Downloads") };
    Gtk::Button m_clear{ _("Clear") };
    Gtk::ScrolledWindow m_scroller;
    Gtk::Box m_rows{ Gtk::Orientation::VERTICAL, 8 };
    Gtk::Label m_empty;
    KeyedWidgetRow<DownloadRowView, DownloadId> m_rowWidgets{ m_rows };

    std::vector<ScopedConnection> m_connections;
};

} // namespace cohortex
