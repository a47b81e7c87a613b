#include "UI/WorkspaceWindow/WorkspaceWindowView.h"

#include "Engine/WebKitManager.h"
#include "Models/UnusableProxyPage.h"
#include "Services/PageActions.h"
#include "Services/Presentation.h"
#include "Services/SessionManager.h"
#include "Services/WorkspaceRuntime.h"
#include "Services/ZoomLevels.h"
#include "Support/Translation.h"
#include "UI/Modals/SheetPresenter.h"
#include "UI/QuickSwitcher/QuickSwitcherView.h"
#include "UI/SymbolIcons.h"
#include "UI/WorkspaceWindow/BrowserToolbarView.h"
#include "UI/WorkspaceWindow/FindBar.h"
#include "UI/WorkspaceWindow/LockView.h"
#include "UI/WorkspaceWindow/PageStack.h"
#include "UI/WorkspaceWindow/TabBarView.h"
#include "UI/WorkspaceWindow/TabStripView.h"

#include <gtkmm/button.h>
#include <gtkmm/image.h>
#include <gtkmm/label.h>
#include <gtkmm/overlay.h>
#include <gtkmm/separator.h>
#include <gtkmm/stack.h>
#include <utility>
#include <vector>

namespace cohortex {

namespace {

Gtk::Box* makeEmptyState()
{
    auto* box = Gtk::make_managed<Gtk::Box>(Gtk::Orientation::VERTICAL, 12);
    box->set_valign(Gtk::Align::CENTER);
    box->set_halign(Gtk::Align::CENTER);
    auto* icon = Gtk::make_managed<Gtk::Image>();
    icon->set_from_icon_name(iconNameForSymbol("square.stack.3d.up.slash"));
    icon->set_pixel_size(64);
    icon->add_css_class("dim-label");
    auto* title = Gtk::make_managed<Gtk::Label>(_("No Active Workspaces"));
    title->add_css_class("title-2");
    auto* create = Gtk::make_managed<Gtk::Button>(_("Create Workspace"));
    create->add_css_class("suggested-action");
    create->add_css_class("pill");
    gtk_actionable_set_action_name(GTK_ACTIONABLE(create->gobj()), "app.new-workspace");
    box->append(*icon);
    box->append(*title);
    box->append(*create);
    return box;
}

} // namespace

struct WorkspaceWindowView::State {
    State(WorkspaceWindowView&, Dependencies);

    void build(WorkspaceWindowView&);
    void bind(WorkspaceWindowView&);
    // Re-renders from the observed state. Whatever a render sets off (a page reporting its title, a
    // new tab) asks for another render, which runs once the current one is done, never inside it.
    void render();
    void renderOnce();
    void issue(NavigationCommand);
    void activeWorkspaceChanged(const std::optional<Uuid>&);
    void ensureActiveLoadedSoon();
    IsolatedWebView::Configuration configure(const PageStackPlan::Page&);
    void perform(PageActions::Request);

    SessionManager& sessions;
    WorkspaceRuntime& runtime;
    WebKitManager& stores;
    MainQueue& queue;
    Presentation& presentation;
    PageActions* pageActions;
    ZoomLevels* zoomLevels;
    PageBindings bindings;
    std::optional<NavigationRequest> request;
    std::optional<Uuid> seenActiveWorkspaceId;
    bool isRendering{ false };
    bool needsRender{ false };
    bool hasBeenMapped{ false };

    TabBarView tabBar;
    Gtk::Separator divider;
    Gtk::Stack content;
    Gtk::Box workspacePane{ Gtk::Orientation::VERTICAL };
    BrowserToolbarView toolbar;
    TabStripView tabStrip;
    Gtk::Separator tabDivider;
    FindBar findBar;
    Gtk::Overlay pageArea;
    PageStack pages;
    LockView lock;
    Gtk::Box* emptyState{ nullptr };
    std::unique_ptr<SheetPresenter> sheets;
    // The quick switcher lies over everything else of the window, its workspace row included.
    Gtk::Overlay layers;
    Gtk::Box body{ Gtk::Orientation::VERTICAL };
    QuickSwitcherView quickSwitcher;

    // Last, so that they go first: nothing may call into a state that is being torn down.
    std::vector<ScopedConnection> connections;
    std::shared_ptr<bool> alive{ std::make_shared<bool>(true) };
};

WorkspaceWindowView::State::State(WorkspaceWindowView& view, Dependencies dependencies)
    : sessions(dependencies.sessions)
    , runtime(dependencies.runtime)
    , stores(dependencies.stores)
    , queue(dependencies.views.queue)
    , presentation(dependencies.presentation)
    , pageActions(dependencies.pageActions)
    , zoomLevels(dependencies.zoomLevels)
    , tabBar({ sessions, runtime, dependencies.presentation, dependencies.alerts, queue })
    , toolbar({ sessions, dependencies.resources, dependencies.views.downloads, dependencies.presentation,
          bindings, [this](NavigationCommand command) { issue(std::move(command)); } })
    , tabStrip({ sessions, runtime, queue })
    , findBar(dependencies.presentation, bindings,
          [this](NavigationCommand command) { issue(std::move(command)); })
    , pages(dependencies.views, [this](const PageStackPlan::Page& page) { return configure(page); })
    , lock(dependencies.sessions)
    , quickSwitcher(dependencies.sessions, dependencies.runtime, dependencies.presentation)
{
    build(view);
    bind(view);
    sheets = std::make_unique<SheetPresenter>(view,
        SheetPresenter::Dependencies{ sessions, dependencies.presentation, dependencies.keychain,
            dependencies.authenticator, queue, dependencies.alerts, chooseFolderWithPortal,
            dependencies.views.sitePermissions });
    seenActiveWorkspaceId = sessions.activeWorkspaceId().get();
    render();
}

void WorkspaceWindowView::State::build(WorkspaceWindowView& view)
{
    content.set_vexpand(true);
    content.set_transition_type(Gtk::StackTransitionType::NONE);
    pageArea.set_child(pages);
    pageArea.add_overlay(lock);
    pageArea.set_vexpand(true);
    workspacePane.append(toolbar);
    workspacePane.append(tabStrip);
    workspacePane.append(tabDivider);
    workspacePane.append(findBar);
    workspacePane.append(pageArea);
    emptyState = makeEmptyState();
    content.add(workspacePane);
    content.add(*emptyState);
    body.append(tabBar);
    body.append(divider);
    body.append(content);
    layers.set_child(body);
    layers.add_overlay(quickSwitcher);
    view.append(layers);
}

void WorkspaceWindowView::State::bind(WorkspaceWindowView& view)
{
    auto rerender = [this](const auto&) { render(); };
    connections.emplace_back(sessions.workspaces().changed().connect(rerender));
    connections.emplace_back(sessions.activeWorkspaceId().changed().connect([this](const auto& id) {
        activeWorkspaceChanged(id);
        render();
    }));
    connections.emplace_back(runtime.tabs().changed().connect(rerender));
    connections.emplace_back(runtime.activeTabID().changed().connect([this](const auto&) {
        // What was found belongs to the page it was found in.
        presentation.setShowingFindBar(false);
        render();
    }));
    if (pageActions)
        connections.emplace_back(
            pageActions->requested().connect([this](auto request) { perform(request); }));
    connections.emplace_back(presentation.pageFullscreen().changed().connect(rerender));
    connections.emplace_back(runtime.unlocked().changed().connect(rerender));
    connections.emplace_back(runtime.sleeping().changed().connect(rerender));
    connections.emplace_back(view.signal_map().connect([this] {
        if (std::exchange(hasBeenMapped, true))
            return;
        sessions.ensureActiveLoaded();
    }));
}

void WorkspaceWindowView::State::render()
{
    if (isRendering) {
        needsRender = true;
        return;
    }
    isRendering = true;
    do {
        needsRender = false;
        renderOnce();
    } while (needsRender);
    isRendering = false;
}

void WorkspaceWindowView::State::renderOnce()
{
    auto active = sessions.activeWorkspace();
    bool needsUnlock = active && sessions.needsUnlock(*active);
    auto plan = PageStackPlan::make(
        { sessions.workspaces().get(), runtime.tabs().get(), runtime.activeTabID().get(),
            active ? std::optional(active->id) : std::nullopt, needsUnlock, &runtime.unshownTabs() });
    content.set_visible_child(active ? static_cast<Gtk::Widget&>(workspacePane) : *emptyState);
    if (active) {
        toolbar.setWorkspace(*active);
        lock.setWorkspace(*active);
    }
    tabStrip.setWorkspace(active ? std::optional(active->id) : std::nullopt);
    lock.set_visible(plan.showsLock);
    bool showsBars = !presentation.pageFullscreen().get();
    for (auto* bar : std::initializer_list<Gtk::Widget*>{ &tabBar, &divider, &toolbar })
        bar->set_visible(showsBars);
    tabStrip.set_visible(plan.showsTabs && showsBars);
    tabDivider.set_visible(plan.showsTabs && showsBars);
    pages.apply(plan);
    if (pageActions)
        pageActions->hasPage().set(pages.hasActivePage());
}

void WorkspaceWindowView::State::perform(PageActions::Request request)
{
    using Request = PageActions::Request;
    using Kind = NavigationCommand::Kind;
    switch (request) {
    case Request::FocusFind:
        findBar.focus();
        return;
    case Request::FindNext:
        issue(NavigationCommand::of(Kind::FindNext));
        return;
    case Request::FindPrevious:
        issue(NavigationCommand::of(Kind::FindPrevious));
        return;
    case Request::ZoomIn:
        issue(NavigationCommand::of(Kind::ZoomIn));
        return;
    case Request::ZoomOut:
        issue(NavigationCommand::of(Kind::ZoomOut));
        return;
    case Request::ZoomReset:
        issue(NavigationCommand::of(Kind::ZoomReset));
        return;
    case Request::Print:
        issue(NavigationCommand::of(Kind::Print));
        return;
    }
}

void WorkspaceWindowView::State::issue(NavigationCommand command)
{
    request = NavigationRequest::make(std::move(command));
    // The active page may report back while it obeys; that render waits until every page has the request.
    bool wasRendering = std::exchange(isRendering, true);
    pages.update(request);
    isRendering = wasRendering;
    if (!wasRendering && std::exchange(needsRender, false))
        render();
}

void WorkspaceWindowView::State::activeWorkspaceChanged(const std::optional<Uuid>& id)
{
    if (id == seenActiveWorkspaceId)
        return;
    seenActiveWorkspaceId = id;
    presentation.setShowingFindBar(false);
    ensureActiveLoadedSoon();
}

void WorkspaceWindowView::State::ensureActiveLoadedSoon()
{
    // Not from inside the change: the session manager is still in the middle of the switch.
    queue.post([this, alive = std::weak_ptr<bool>(alive)] {
        if (!alive.expired())
            sessions.ensureActiveLoaded();
    });
}

IsolatedWebView::Configuration WorkspaceWindowView::State::configure(const PageStackPlan::Page& page)
{
    // The plan only has pages of listed workspaces.
    auto workspace = *sessions.workspace(page.key.workspaceId);
    stores.openStore(workspace);
    Uuid workspaceId = page.key.workspaceId;
    Uuid tabId = page.key.tabId;
    auto& tabs = runtime;
    return { .url = page.url,
        .storageIdentifier = workspace.storageIdentifier,
        .workspaceId = workspaceId,
        .tabId = tabId,
        .downloadFolder = [&sessions = sessions, workspaceId]() -> std::optional<std::filesystem::path> {
            auto current = sessions.workspace(workspaceId);
            if (!current || !current->downloadFolderPath)
                return std::nullopt;
            return std::filesystem::path(*current->downloadFolderPath);
        },
        .bindings = &bindings,
        .initialRequest = request,
        .onMetadata =
            [&tabs, workspaceId, tabId](std::optional<std::string> title, std::optional<Url> url) {
                tabs.updateTab(tabId, workspaceId, std::move(title), std::move(url));
            },
        // A new tab is made the active one, so the page that asked for it moves behind it.
        .onOpenInNewTab = [&tabs, workspaceId](Url url) { tabs.newTab(workspaceId, url); },
        .onCaptureChange = [&tabs, tabId](bool capturing) { tabs.setCapturing(tabId, capturing); },
        .pageInstead = unusableProxyPage(workspace),
        .workspaceName =
            [&sessions = sessions, workspaceId] {
                auto current = sessions.workspace(workspaceId);
                return current ? current->name : std::string();
            },
        .zoomFor = [levels = zoomLevels, workspaceId](
                       const std::string& host) { return levels ? levels->level(workspaceId, host) : 1.0; },
        .onZoomChanged =
            [levels = zoomLevels, workspaceId](const std::string& host, double level) {
                if (levels)
                    levels->setLevel(workspaceId, host, level);
            },
        .onFullscreenChanged
        = [&presentation = presentation](bool fullscreen) { presentation.setPageFullscreen(fullscreen); } };
}

WorkspaceWindowView::WorkspaceWindowView(Dependencies dependencies)
    : Gtk::Box(Gtk::Orientation::VERTICAL)
    , m_state(std::make_unique<State>(*this, dependencies))
{
}

WorkspaceWindowView::~WorkspaceWindowView()
{
    m_state->connections.clear();
    // When the window is destroyed first, GTK has already let go of this box and its children: there is
    // nothing left to take out.
    if (gobj()) {
        while (auto* child = get_first_child())
            remove(*child);
    }
    m_state.reset();
}

} // namespace cohortex
