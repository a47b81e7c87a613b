#include "UI/Settings/SettingsWindow.h"

#include "Engine/WebKitManager.h"
#include "Support/Translation.h"
#include "UI/Modals/ModalWindow.h"
#include "UI/Settings/GeneralPage.h"
#include "UI/Settings/LinksPage.h"
#include "UI/Settings/TeamPage.h"
#include "UI/Settings/TimePage.h"
#include "UI/Settings/UpdatesPage.h"

#include <adwaita.h>
#include <gtkmm/box.h>
#include <gtkmm/button.h>

namespace cohortex {

namespace {

constexpr int defaultWidth = 680;
constexpr int defaultHeight = 640;

void addPage(GtkWidget* stack, const char* name, GtkWidget* page)
{
    auto* preferences = ADW_PREFERENCES_PAGE(page);
    adw_view_stack_add_titled_with_icon(ADW_VIEW_STACK(stack), page, name,
        adw_preferences_page_get_title(preferences), adw_preferences_page_get_icon_name(preferences));
}

// Libadwaita is initialised when something is first shown, and the settings may come first.
GtkWindow* newAdwaitaWindow()
{
    adw_init();
    return GTK_WINDOW(adw_window_new());
}

} // namespace

SettingsWindow::SettingsWindow(
    const Dependencies& dependencies, Gtk::Window* parent, std::function<void()> dismiss)
    : m_window(Glib::wrap(newAdwaitaWindow()))
    , m_dismiss(std::move(dismiss))
{
    m_window->set_title(_("Settings"));
    m_window->set_default_size(defaultWidth, defaultHeight);
    m_window->set_modal(true);
    m_window->set_hide_on_close(false);
    if (parent) {
        m_window->set_transient_for(*parent);
        // One of the application's windows, so that the application stays active while it has the focus.
        if (auto application = parent->get_application())
            m_window->set_application(application);
    }
    m_connections.emplace_back(m_window->signal_close_request().connect(
        [this] {
            m_dismiss();
            return true;
        },
        false));
    closeOnEscape(*m_window, [this] { m_dismiss(); });

    auto* stack = adw_view_stack_new();
    gtk_widget_set_vexpand(stack, true);
    addPages(stack, dependencies);
    auto* switcherBar = adw_view_switcher_bar_new();
    adw_view_switcher_bar_set_stack(ADW_VIEW_SWITCHER_BAR(switcherBar), ADW_VIEW_STACK(stack));
    auto* content = Gtk::make_managed<Gtk::Box>(Gtk::Orientation::VERTICAL);
    auto* header = makeHeaderBar(stack);
    content->append(*header);
    gtk_box_append(GTK_BOX(content->gobj()), stack);
    gtk_box_append(GTK_BOX(content->gobj()), switcherBar);
    // On a narrow window the tabs move from the header bar to a bar at the bottom.
    auto* title = adw_header_bar_get_title_widget(ADW_HEADER_BAR(header->gobj()));
    g_object_bind_property(title, "title-visible", switcherBar, "reveal", G_BINDING_SYNC_CREATE);
    adw_window_set_content(ADW_WINDOW(m_window->gobj()), GTK_WIDGET(content->gobj()));
}

SettingsWindow::~SettingsWindow()
{
    // The pages let go of the window's widgets and of the application's state first, so that nothing the
    // window does while it is torn down reaches them.
    m_connections.clear();
    m_general.reset();
    m_links.reset();
    m_time.reset();
    m_team.reset();
    m_window->destroy();
}

Gtk::Widget* SettingsWindow::makeHeaderBar(GtkWidget* stack)
{
    auto* header = adw_header_bar_new();
    auto* title = adw_view_switcher_title_new();
    adw_view_switcher_title_set_stack(ADW_VIEW_SWITCHER_TITLE(title), ADW_VIEW_STACK(stack));
    adw_view_switcher_title_set_title(ADW_VIEW_SWITCHER_TITLE(title), _("Settings"));
    adw_header_bar_set_title_widget(ADW_HEADER_BAR(header), title);
    auto* done = Gtk::make_managed<Gtk::Button>(_("Done"));
    done->add_css_class("suggested-action");
    m_connections.emplace_back(done->signal_clicked().connect([this] { m_dismiss(); }));
    adw_header_bar_pack_end(ADW_HEADER_BAR(header), GTK_WIDGET(done->gobj()));
    return Glib::wrap(header);
}

void SettingsWindow::addPages(GtkWidget* stack, const Dependencies& dependencies)
{
    auto& dataStores = dependencies.dataStores;
    m_general = std::make_unique<GeneralPage>(GeneralPage::Dependencies{ dependencies.sessions,
        dependencies.loginItem, dependencies.alerts,
        [&dataStores](const WorkspaceSession& workspace) { dataStores.clearWorkspaceData(workspace, {}); } });
    m_links = std::make_unique<LinksPage>(LinksPage::Dependencies{
        dependencies.sessions, dependencies.routingRules, dependencies.defaultBrowser, dependencies.alerts });
    m_time = std::make_unique<TimePage>(TimePage::Dependencies{ dependencies.queue, dependencies.sessions,
        dependencies.timeTracker, dependencies.alerts, dependencies.chooseFileToSave });
    m_team = std::make_unique<TeamPage>(TeamPage::Dependencies{ dependencies.queue, dependencies.sessions,
        dependencies.teamSharing, dependencies.chooseFileToSave, dependencies.chooseFileToOpen });
    addPage(stack, "general", m_general->widget());
    addPage(stack, "links", m_links->widget());
    addPage(stack, "time", m_time->widget());
    addPage(stack, "team", m_team->widget());
    if (dependencies.shortcuts)
        addPage(stack, "shortcuts", makeShortcutsPage(*dependencies.shortcuts));
    addPage(stack, "updates", makeUpdatesPage());
}

} // namespace cohortex
