#include "UI/WorkspaceWindow/DownloadRowView.h"

#include "Support/Translation.h"
#include "UI/SymbolIcons.h"
#include "UI/WorkspaceWindow/WidgetLabels.h"

#include <string>

namespace cohortex {

namespace {

// Names the command and the download it acts on, as "app.cancel-download(7)".
Gtk::Button* commandButton(const char* symbol, const char* text, const char* command, DownloadId id)
{
    auto* button = makeIconButton(iconNameForSymbol(symbol), text);
    button->set_valign(Gtk::Align::CENTER);
    auto name = std::string("app.") + command + "(" + std::to_string(id) + ")";
    gtk_actionable_set_detailed_action_name(GTK_ACTIONABLE(button->gobj()), name.c_str());
    return button;
}

} // namespace

DownloadRowView::DownloadRowView(DownloadId id)
    : Gtk::Box(Gtk::Orientation::HORIZONTAL, 6)
{
    add_css_class("cohortex-download-row");
    m_name.set_xalign(0);
    m_name.set_ellipsize(Pango::EllipsizeMode::MIDDLE);
    m_name.set_max_width_chars(32);
    m_name.set_single_line_mode(true);
    m_detail.set_xalign(0);
    m_detail.set_wrap(true);
    m_detail.set_max_width_chars(40);
    m_detail.add_css_class("caption");
    m_detail.add_css_class("dim-label");
    m_progress.set_valign(Gtk::Align::CENTER);
    m_text.set_hexpand(true);
    m_text.set_valign(Gtk::Align::CENTER);
    m_text.append(m_name);
    m_text.append(m_progress);
    m_text.append(m_detail);
    m_cancel = commandButton("xmark.circle", _("Cancel"), "cancel-download", id);
    m_open = commandButton("arrow.up.forward.app", _("Open"), "open-download", id);
    m_reveal = commandButton("folder", _("Show in Folder"), "show-download-in-folder", id);
    append(m_text);
    append(*m_cancel);
    append(*m_open);
    append(*m_reveal);
}

void DownloadRowView::update(const DownloadRow& row)
{
    if (m_row == row)
        return;
    m_name.set_text(row.name);
    setTooltip(m_name, row.name);
    m_detail.set_text(row.detail);
    if (row.isFailed) {
        m_detail.remove_css_class("dim-label");
        m_detail.add_css_class("error");
    } else {
        m_detail.remove_css_class("error");
        m_detail.add_css_class("dim-label");
    }
    m_progress.set_visible(row.fraction.has_value());
    m_progress.set_fraction(row.fraction.value_or(0));
    m_cancel->set_visible(row.canCancel);
    m_open->set_visible(row.canOpen);
    m_reveal->set_visible(row.canReveal);
    m_row = row;
}

} // namespace cohortex
