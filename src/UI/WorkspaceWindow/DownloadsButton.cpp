#include "UI/WorkspaceWindow/DownloadsButton.h"

#include "Models/DownloadRows.h"
#include "Services/DownloadList.h"
#include "Services/Presentation.h"
#include "Support/Translation.h"
#include "UI/SymbolIcons.h"
#include "UI/WorkspaceWindow/WidgetLabels.h"

#include <span>

namespace cohortex {

namespace {

constexpr int panelWidth = 380;
constexpr int listHeight = 360;

} // namespace

DownloadsButton::DownloadsButton(DownloadList& downloads, Presentation& presentation)
    : Gtk::Box(Gtk::Orientation::HORIZONTAL, 0)
    , m_downloads(downloads)
    , m_presentation(presentation)
{
    build();
    bind();
    set_visible(false);
}

DownloadsButton::~DownloadsButton()
{
    m_connections.clear();
    m_popover.unparent();
}

void DownloadsButton::build()
{
    m_icon.set_from_icon_name(iconNameForSymbol("arrow.down.circle"));
    m_progress.set_visible(false);
    m_buttonContent.append(m_icon);
    m_buttonContent.append(m_progress);
    m_button.set_child(m_buttonContent);
    m_button.add_css_class("flat");
    describeWidget(m_button, _("Downloads"));
    append(m_button);

    m_title.add_css_class("heading");
    m_title.set_hexpand(true);
    m_title.set_xalign(0);
    m_clear.add_css_class("flat");
    m_header.append(m_title);
    m_header.append(m_clear);
    m_empty.set_text(_(DownloadRows::emptyText));
    m_empty.add_css_class("dim-label");
    m_empty.set_margin_top(12);
    m_empty.set_margin_bottom(12);
    m_scroller.set_child(m_rows);
    m_scroller.set_policy(Gtk::PolicyType::NEVER, Gtk::PolicyType::AUTOMATIC);
    m_scroller.set_propagate_natural_height(true);
    m_scroller.set_max_content_height(listHeight);
    m_panel.set_size_request(panelWidth, -1);
    m_panel.append(m_header);
    m_panel.append(m_empty);
    m_panel.append(m_scroller);
    m_popover.set_child(m_panel);
    m_popover.set_parent(m_button);
}

void DownloadsButton::bind()
{
    gtk_actionable_set_action_name(GTK_ACTIONABLE(m_button.gobj()), "app.show-downloads");
    gtk_actionable_set_action_name(GTK_ACTIONABLE(m_clear.gobj()), "app.clear-downloads");
    m_connections.emplace_back(
        m_downloads.items().changed().connect([this](const auto&) { showDownloads(); }));
    m_connections.emplace_back(
        m_presentation.showingDownloads().changed().connect([this](bool shown) { showPanel(shown); }));
    // Closing the list by a click outside, Escape or a command tells the presentation.
    m_popover.signal_closed().connect([this] { m_presentation.setShowingDownloads(false); });
    // Asked for while the window was still on its way to the screen: the list opens once the button is.
    m_button.signal_map().connect([this] { showPanel(m_presentation.showingDownloads().get()); });
}

void DownloadsButton::setWorkspace(std::optional<Uuid> workspaceId)
{
    if (m_workspaceId == workspaceId)
        return;
    m_workspaceId = workspaceId;
    set_visible(workspaceId.has_value());
    showDownloads();
    if (!workspaceId)
        showPanel(false);
}

void DownloadsButton::showDownloads()
{
    if (!m_workspaceId)
        return;
    const auto& items = m_downloads.items().get();
    auto rows = DownloadRows::of(items, *m_workspaceId);
    m_rowWidgets.apply(
        std::span<const DownloadRow>(rows), [](const DownloadRow& row) { return row.id; },
        [](const DownloadRow& row) { return Gtk::make_managed<DownloadRowView>(row.id); });
    m_empty.set_visible(rows.empty());
    m_scroller.set_visible(!rows.empty());
    auto state = DownloadRows::button(items, *m_workspaceId);
    m_progress.set_visible(state.fraction.has_value());
    m_progress.set_fraction(state.fraction.value_or(0));
    describeWidget(m_button, state.tooltip);
    m_clear.set_visible(state.canClear);
}

void DownloadsButton::showPanel(bool shown)
{
    if (!shown) {
        m_popover.popdown();
        return;
    }
    // Nothing to show the list for: the request is over.
    if (!m_workspaceId) {
        m_presentation.setShowingDownloads(false);
        return;
    }
    if (m_button.get_mapped())
        m_popover.popup();
}

} // namespace cohortex
