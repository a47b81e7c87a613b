#include "UI/WorkspaceWindow/LockView.h"

#include "Services/SessionManager.h"
#include "Support/Translation.h"
#include "UI/WorkspaceWindow/WidgetLabels.h"

#include <gtkmm/window.h>

namespace cohortex {

LockView::LockView(SessionManager& sessions)
    : Gtk::Box(Gtk::Orientation::VERTICAL, 12)
    , m_sessions(sessions)
{
    // Opaque, so nothing of the pages below shows through.
    add_css_class("background");
    set_valign(Gtk::Align::FILL);
    set_halign(Gtk::Align::FILL);
    auto* content = Gtk::make_managed<Gtk::Box>(Gtk::Orientation::VERTICAL, 12);
    content->set_valign(Gtk::Align::CENTER);
    content->set_halign(Gtk::Align::CENTER);
    content->set_vexpand(true);
    m_icon.set_from_icon_name("changes-prevent-symbolic");
    m_icon.set_pixel_size(64);
    m_icon.add_css_class("dim-label");
    m_title.add_css_class("title-2");
    m_hint.set_text(_(hint));
    m_hint.set_wrap(true);
    m_hint.set_max_width_chars(60);
    m_hint.set_justify(Gtk::Justification::CENTER);
    m_unlock.add_css_class("suggested-action");
    m_unlock.add_css_class("pill");
    m_unlock.set_halign(Gtk::Align::CENTER);
    describeWidget(m_unlock, _("Unlock"));
    content->append(m_icon);
    content->append(m_title);
    content->append(m_hint);
    content->append(m_unlock);
    append(*content);

    m_unlock.signal_clicked().connect([this] {
        if (m_workspace)
            unlock(m_alive, this, *m_workspace);
    });
    signal_map().connect([this] { makeDefault(); });
}

void LockView::setWorkspace(const WorkspaceSession& workspace)
{
    if (!m_workspace || m_workspace->id != workspace.id)
        showOutcome(std::nullopt);
    m_workspace = workspace;
    // TRANSLATORS: the title over a locked workspace; {} is the workspace's name.
    m_title.set_text(fillIn(_("{} is locked"), workspace.name));
}

void LockView::showOutcome(std::optional<Authentication> outcome)
{
    if (!outcome || *outcome == Authentication::Succeeded)
        m_hint.set_text(_(hint));
    else
        m_hint.set_text(_(*outcome == Authentication::NoAgent ? noAgentHint : failedHint));
}

void LockView::makeDefault()
{
    // Return presses Unlock, as the one thing there is to do here.
    if (auto* window = dynamic_cast<Gtk::Window*>(get_root()))
        window->set_default_widget(m_unlock);
    m_unlock.grab_focus();
}

Task<void> LockView::unlock(std::weak_ptr<bool> alive, LockView* view, WorkspaceSession workspace)
{
    // A refusal because a prompt for this workspace is already up counts as a failure, too.
    Uuid workspaceId = workspace.id;
    auto outcome = co_await view->m_sessions.unlock(std::move(workspace));
    if (alive.expired() || !view->m_workspace || view->m_workspace->id != workspaceId)
        co_return;
    view->showOutcome(outcome);
}

} // namespace cohortex
