#include "Engine/WebKitGtk/IsolatedWebView.h"

#include "Engine/SafariUserAgent.h"
#include "Engine/WebKitGtk/IsolatedWebViewCoordinator.h"
#include "Engine/WebKitGtk/PagePrompt.h"
#include "Engine/WebKitGtk/WebKitEngine.h"
#include "Engine/WebProcessExtension/WebProcessIdentity.h"
#include "Engine/WebViewRegistry.h"
#include "Platform/Linux/GioDesktopLauncher.h"
#include "Platform/Linux/LaunchTrace.h"
#include "Platform/Linux/SandboxedProcess.h"

#include <cstring>
#include <utility>

namespace cohortex {

namespace {

DesktopLauncher& launcherOf(const IsolatedWebView::Services& services, std::unique_ptr<DesktopLauncher>& own)
{
    if (services.launcher)
        return *services.launcher;
    own = std::make_unique<GioDesktopLauncher>();
    return *own;
}

// Every tab presents itself as Safari: the engine's own user agent up to its platform and engine tokens,
// followed by the Safari application name.
GObjectPtr<WebKitSettings> makeSettings()
{
    GObjectPtr<WebKitSettings> settings(webkit_settings_new());
    auto engineAgent = std::string(webkit_settings_get_user_agent(settings.get()));
    webkit_settings_set_user_agent(settings.get(),
        SafariUserAgent::appendTo(
            engineAgent, SafariUserAgent::make(SafariUserAgent::installedSafariVersion()))
            .c_str());
    // Sign-in pages open their pop-up from script, often after a redirect rather than a click.
    webkit_settings_set_javascript_can_open_windows_automatically(settings.get(), true);
    webkit_settings_set_enable_back_forward_navigation_gestures(settings.get(), true);
    // Calls: camera and microphone (asked per workspace and site) and peer-to-peer media.
    webkit_settings_set_enable_media_stream(settings.get(), true);
    webkit_settings_set_enable_webrtc(settings.get(), true);
    return settings;
}

} // namespace

IsolatedWebView::Coordinator::Coordinator(Services services, Configuration configuration)
    : m_services(services)
    , m_configuration(std::move(configuration))
    , m_activity(m_configuration.initialRequest)
    , m_launcher(launcherOf(services, m_ownLauncher))
{
}

IsolatedWebView::Coordinator::~Coordinator()
{
    tearDown();
}

void IsolatedWebView::Coordinator::start()
{
    traceLaunch("first web view");
    auto [session, context] = m_services.engine.acquire(m_configuration.storageIdentifier);
    m_holdsStore = true;
    watchNotificationPermissions(context);
    auto settings = makeSettings();
    // A new widget's reference is floating; sinking it makes it ours, whoever parents the widget later.
    m_view = GObjectPtr<WebKitWebView>(WEBKIT_WEB_VIEW(g_object_ref_sink(g_object_new(WEBKIT_TYPE_WEB_VIEW,
        "web-context", context, "network-session", session, "settings", settings.get(), nullptr))));
    observeMainView();
    watchFind();
    watchLinks();
    watchUserInput();
    connectDelegates(m_view.get(), m_connections);
    m_connections.push_back(connectSignal(session, "download-started",
        G_CALLBACK(+[](WebKitNetworkSession*, WebKitDownload* download, Coordinator* self) {
            self->downloadStarted(download);
        }),
        this));
    m_services.registry.registerView(std::weak_ptr<MeasurableView>(shared_from_this()), m_configuration.tabId,
        m_configuration.workspaceId);
    loadFirstPage();
}

// A fresh session of the store may still be receiving the user's session cookies; a page loaded before
// they are in would go out without the user's logins.
void IsolatedWebView::Coordinator::loadFirstPage()
{
    auto ready = m_services.engine.readyForPages(m_configuration.storageIdentifier);
    auto load = [weak = weak_from_this()](const auto&) {
        auto self = weak.lock();
        if (!self || !self->m_view)
            return;
        const auto& configuration = self->m_configuration;
        traceLaunch("first page requested");
        if (configuration.pageInstead)
            webkit_web_view_load_alternate_html(self->m_view.get(), configuration.pageInstead->c_str(),
                configuration.url.absoluteString().c_str(), nullptr);
        else
            webkit_web_view_load_uri(self->m_view.get(), configuration.url.absoluteString().c_str());
    };
    if (ready.isDone())
        load(ready.result());
    else
        ready.onDone(load);
}

void IsolatedWebView::Coordinator::tearDown()
{
    if (!m_view)
        return;
    m_services.registry.unregisterView(m_configuration.tabId);
    webkit_web_view_stop_loading(m_view.get());
    m_connections.clear();
    // Downloads still waiting for the user's answer would otherwise wait for ever.
    for (const auto& [download, entry] : m_downloads) {
        if (entry.heldWithName)
            webkit_download_cancel(download);
    }
    m_downloads.clear();
    m_prompts.clear();
    releaseNotifications();
    closePopups();
    m_view.reset();
    if (std::exchange(m_holdsStore, false))
        m_services.engine.release(m_configuration.storageIdentifier);
}

void IsolatedWebView::Coordinator::update(bool isActive, const std::optional<NavigationRequest>& request)
{
    if (!isActive)
        leaveFullscreen();
    auto step = m_activity.update(isActive, request);
    if (step.publishFullState)
        publishFullState();
    if (step.perform)
        perform(*step.perform);
}

void IsolatedWebView::Coordinator::perform(const NavigationCommand& command)
{
    auto* view = m_view.get();
    switch (command.kind) {
    case NavigationCommand::Kind::LoadURL:
        // An address the user asked for is theirs, download or not.
        m_lastUserInput = std::chrono::steady_clock::now();
        if (command.url)
            webkit_web_view_load_uri(view, command.url->absoluteString().c_str());
        break;
    case NavigationCommand::Kind::GoBack:
        if (webkit_web_view_can_go_back(view))
            webkit_web_view_go_back(view);
        break;
    case NavigationCommand::Kind::GoForward:
        if (webkit_web_view_can_go_forward(view))
            webkit_web_view_go_forward(view);
        break;
    case NavigationCommand::Kind::Reload:
        webkit_web_view_reload(view);
        break;
    case NavigationCommand::Kind::Stop:
        webkit_web_view_stop_loading(view);
        break;
    case NavigationCommand::Kind::Find:
    case NavigationCommand::Kind::FindNext:
    case NavigationCommand::Kind::FindPrevious:
    case NavigationCommand::Kind::FindEnd:
        find(command.kind, command.text);
        break;
    case NavigationCommand::Kind::ZoomIn:
    case NavigationCommand::Kind::ZoomOut:
    case NavigationCommand::Kind::ZoomReset:
        zoom(command.kind);
        break;
    case NavigationCommand::Kind::Print:
        print();
        break;
    }
}

// The web process introduces itself to each page it renders, after every process swap too.
bool IsolatedWebView::Coordinator::receiveMessage(WebKitUserMessage* message)
{
    if (std::strcmp(webkit_user_message_get_name(message), WebProcessIdentity::messageName) != 0)
        return false;
    auto* parameters = webkit_user_message_get_parameters(message);
    if (!parameters || !g_variant_is_of_type(parameters, G_VARIANT_TYPE(WebProcessIdentity::parameterType)))
        return true;
    guint32 innerPid = 0;
    guint64 namespaceInode = 0;
    g_variant_get(parameters, WebProcessIdentity::parameterType, &innerPid, &namespaceInode);
    m_webProcess = hostProcessId({ static_cast<std::int32_t>(innerPid), namespaceInode });
    return true;
}

IsolatedWebView::IsolatedWebView(Services services, Configuration configuration)
    : m_coordinator(std::make_shared<Coordinator>(services, std::move(configuration)))
{
    m_coordinator->start();
}

IsolatedWebView::~IsolatedWebView()
{
    m_coordinator->tearDown();
}

void IsolatedWebView::update(bool isActive, const std::optional<NavigationRequest>& request)
{
    m_coordinator->update(isActive, request);
}

GtkWidget* IsolatedWebView::widget() const
{
    return GTK_WIDGET(m_coordinator->m_view.get());
}

bool IsolatedWebView::isActive() const
{
    return m_coordinator->m_activity.isActive();
}

} // namespace cohortex
