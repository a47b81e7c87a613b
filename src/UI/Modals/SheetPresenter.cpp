#include "UI/Modals/SheetPresenter.h"

#include "Services/Authenticating.h"
#include "Services/Presentation.h"
#include "Services/SessionManager.h"
#include "Support/MainQueue.h"
#include "Support/Translation.h"
#include "UI/Modals/CreateWorkspaceModal.h"
#include "UI/Modals/ModalWindow.h"
#include "UI/Modals/WorkspaceSettingsSheet.h"

#include <adwaita.h>

namespace cohortex {

SheetPresenter::SheetPresenter(Gtk::Widget& anchor, Dependencies dependencies)
    : m_anchor(anchor)
    , m_dependencies(std::move(dependencies))
{
    auto& presentation = m_dependencies.presentation;
    m_connections.emplace_back(
        presentation.showingCreateModal().changed().connect([this](bool) { update(); }));
    m_connections.emplace_back(
        presentation.workspaceSettingsID().changed().connect([this](const auto&) { update(); }));
    update();
}

SheetPresenter::~SheetPresenter()
{
    m_connections.clear();
    if (m_window)
        m_window->destroy();
}

void SheetPresenter::update()
{
    auto& presentation = m_dependencies.presentation;
    auto wanted = PresentedSheet::wanted(
        presentation.showingCreateModal().get(), presentation.workspaceSettingsID().get());
    if (wanted == m_shown)
        return;
    close();
    m_shown = wanted;
    if (wanted.kind != PresentedSheet::Kind::none)
        open(wanted);
}

void SheetPresenter::open(const PresentedSheet& sheet)
{
    adw_init();
    m_window = Glib::wrap(GTK_WINDOW(adw_window_new()));
    m_window->set_modal(true);
    m_window->set_resizable(false);
    m_window->set_hide_on_close(false);
    if (auto* parent = dynamic_cast<Gtk::Window*>(m_anchor.get_root()))
        m_window->set_transient_for(*parent);
    auto kind = sheet.kind;
    m_window->signal_close_request().connect(
        [this, kind] {
            dismiss(kind);
            return true;
        },
        false);
    closeOnEscape(*m_window, [this, kind] { dismiss(kind); });
    adw_window_set_content(ADW_WINDOW(m_window->gobj()), makeContent(sheet, *m_window)->gobj());
    m_window->present();
}

Gtk::Widget* SheetPresenter::makeContent(const PresentedSheet& sheet, Gtk::Window& window)
{
    auto kind = sheet.kind;
    auto dismissSheet = [this, kind] { dismiss(kind); };
    if (kind == PresentedSheet::Kind::createWorkspace) {
        window.set_title(_("New Workspace"));
        auto* modal = Gtk::make_managed<CreateWorkspaceModal>(
            m_dependencies.sessions, m_dependencies.alerts, dismissSheet);
        window.set_default_widget(modal->createButton());
        return modal;
    }
    window.set_title(_("Workspace Settings"));
    auto* settings = Gtk::make_managed<WorkspaceSettingsSheet>(
        WorkspaceSettingsSheet::Dependencies{ m_dependencies.sessions, m_dependencies.keychain,
            m_dependencies.alerts, m_dependencies.authenticator, m_dependencies.chooseFolder, dismissSheet,
            m_dependencies.sitePermissions },
        m_dependencies.sessions.workspace(*sheet.workspaceId));
    window.set_default_widget(settings->saveButton());
    return settings;
}

void SheetPresenter::dismiss(PresentedSheet::Kind kind)
{
    auto& presentation = m_dependencies.presentation;
    if (kind == PresentedSheet::Kind::createWorkspace)
        presentation.setShowingCreateModal(false);
    else
        presentation.setWorkspaceSettingsID(std::nullopt);
}

void SheetPresenter::close()
{
    auto* window = std::exchange(m_window, nullptr);
    if (!window)
        return;
    // The sheet may be closing from inside one of its own handlers: it is hidden now and destroyed
    // once that handler has returned.
    window->set_visible(false);
    m_dependencies.queue.post([window] { window->destroy(); });
}

} // namespace cohortex
