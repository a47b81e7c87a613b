#include "Engine/WebKitGtk/IsolatedWebViewCoordinator.h"
#include "Engine/WebKitGtk/WebKitEngine.h"
#include "Engine/WebKitManager.h"
#include "Platform/Linux/LaunchTrace.h"
#include "Support/MainQueue.h"
#include "Support/Translation.h"

// What the toolbar and the window learn about the main view's page. Every report is queued on the main
// queue and holds the coordinator weakly; toolbar bindings are written only while the view is active,
// so they always describe the selected tab.

namespace cohortex {

namespace {

std::optional<std::string> pageTitle(WebKitWebView* view)
{
    const char* title = webkit_web_view_get_title(view);
    return title && *title ? std::optional<std::string>(title) : std::nullopt;
}

std::optional<Url> pageURL(WebKitWebView* view)
{
    const char* uri = webkit_web_view_get_uri(view);
    return uri ? Url::parse(uri) : std::nullopt;
}

bool isCapturing(WebKitMediaCaptureState state)
{
    return state != WEBKIT_MEDIA_CAPTURE_STATE_NONE;
}

} // namespace

void IsolatedWebView::Coordinator::observeMainView()
{
    auto* view = m_view.get();
    auto connect = [&](const char* signal, GCallback handler) {
        m_connections.push_back(connectSignal(view, signal, handler, this));
    };
    connect("notify::title", G_CALLBACK(+[](WebKitWebView* view, GParamSpec*, Coordinator* self) {
        self->reportMetadata();
        auto title = pageTitle(view).value_or(_("Untitled"));
        self->publish([title](PageBindings& bindings) { bindings.pageTitle.set(title); });
    }));
    connect("notify::uri", G_CALLBACK(+[](WebKitWebView* view, GParamSpec*, Coordinator* self) {
        self->reportMetadata();
        auto url = pageURL(view);
        self->publish([url](PageBindings& bindings) { bindings.currentURL.set(url); });
    }));
    connect("notify::is-loading", G_CALLBACK(+[](WebKitWebView* view, GParamSpec*, Coordinator* self) {
        bool loading = webkit_web_view_is_loading(view);
        self->publish([loading](PageBindings& bindings) { bindings.isLoading.set(loading); });
    }));
    connect("notify::camera-capture-state",
        G_CALLBACK(+[](WebKitWebView*, GParamSpec*, Coordinator* self) { self->reportCapture(); }));
    connect("notify::microphone-capture-state",
        G_CALLBACK(+[](WebKitWebView*, GParamSpec*, Coordinator* self) { self->reportCapture(); }));
    connect("load-changed", G_CALLBACK(+[](WebKitWebView*, WebKitLoadEvent event, Coordinator* self) {
        self->loadChanged(event);
    }));
    connect("load-failed",
        G_CALLBACK(+[](WebKitWebView*, WebKitLoadEvent, char* uri, GError* error, Coordinator* self) {
            return static_cast<gboolean>(self->loadFailed(uri, error));
        }));
    connect("load-failed-with-tls-errors",
        G_CALLBACK(+[](WebKitWebView*, char* uri, GTlsCertificate* certificate, GTlsCertificateFlags flags,
                        Coordinator* self) {
            return static_cast<gboolean>(self->certificateFailed(uri, certificate, flags));
        }));
    connect("user-message-received",
        G_CALLBACK(+[](WebKitWebView*, WebKitUserMessage* message, Coordinator* self) {
            return static_cast<gboolean>(self->receiveMessage(message));
        }));
    connect("web-process-terminated",
        G_CALLBACK(+[](WebKitWebView*, WebKitWebProcessTerminationReason reason, Coordinator* self) {
            self->processTerminated(reason);
        }));
    m_connections.push_back(connectSignal(webkit_web_view_get_back_forward_list(view), "changed",
        G_CALLBACK(+[](WebKitBackForwardList*, WebKitBackForwardListItem*, gpointer, Coordinator* self) {
            self->publishHistory();
        }),
        this));
}

void IsolatedWebView::Coordinator::publish(std::function<void(PageBindings&)> write)
{
    m_services.queue.post([weak = weak_from_this(), write = std::move(write)] {
        auto self = weak.lock();
        if (self && self->m_activity.isActive() && self->m_configuration.bindings)
            write(*self->m_configuration.bindings);
    });
}

void IsolatedWebView::Coordinator::publishHistory()
{
    bool back = webkit_web_view_can_go_back(m_view.get());
    bool forward = webkit_web_view_can_go_forward(m_view.get());
    publish([back, forward](PageBindings& bindings) {
        bindings.canGoBack.set(back);
        bindings.canGoForward.set(forward);
    });
}

// On becoming active the toolbar takes over this tab's page whole, whatever another tab left in it.
void IsolatedWebView::Coordinator::publishFullState()
{
    auto* view = m_view.get();
    auto url = pageURL(view);
    if (!url)
        url = m_configuration.url;
    auto title = pageTitle(view).value_or("Cohortex");
    bool loading = webkit_web_view_is_loading(view);
    bool back = webkit_web_view_can_go_back(view);
    bool forward = webkit_web_view_can_go_forward(view);
    m_services.queue.post([weak = weak_from_this(), url, title, loading, back, forward] {
        auto self = weak.lock();
        if (!self || !self->m_configuration.bindings)
            return;
        auto& bindings = *self->m_configuration.bindings;
        bindings.currentURL.set(url);
        bindings.pageTitle.set(title);
        bindings.isLoading.set(loading);
        bindings.canGoBack.set(back);
        bindings.canGoForward.set(forward);
    });
}

// Every tab reports, active or not: its title carries the unread count the window sums up.
void IsolatedWebView::Coordinator::reportMetadata()
{
    auto title = pageTitle(m_view.get());
    auto url = pageURL(m_view.get());
    m_services.queue.post([weak = weak_from_this(), title, url] {
        auto self = weak.lock();
        if (self && self->m_configuration.onMetadata)
            self->m_configuration.onMetadata(title, url);
    });
}

// A muted camera or microphone still counts: the page holds the device.
void IsolatedWebView::Coordinator::reportCapture()
{
    bool capturing = isCapturing(webkit_web_view_get_camera_capture_state(m_view.get()))
        || isCapturing(webkit_web_view_get_microphone_capture_state(m_view.get()));
    m_services.queue.post([weak = weak_from_this(), capturing] {
        auto self = weak.lock();
        if (self && self->m_configuration.onCaptureChange)
            self->m_configuration.onCaptureChange(capturing);
    });
}

void IsolatedWebView::Coordinator::loadChanged(WebKitLoadEvent event)
{
    if (event == WEBKIT_LOAD_STARTED) {
        m_loadFailed = false;
        // Leaving a local page, whichever way, takes its buttons' power with it.
        if (!std::exchange(m_localPagePending, false))
            m_localPage.reset();
        publish([](PageBindings& bindings) { bindings.isLoading.set(true); });
        return;
    }
    if (event == WEBKIT_LOAD_COMMITTED) {
        traceLaunch("first page committed");
        m_downloadGate.pageChanged();
        applySiteZoom();
        return;
    }
    if (event == WEBKIT_LOAD_FINISHED)
        m_services.engine.pageLoaded();
    // WebKit ends a failed load with "finished" too; that one was handled as a failure already.
    if (event != WEBKIT_LOAD_FINISHED || m_loadFailed)
        return;
    auto url = pageURL(m_view.get());
    auto title = pageTitle(m_view.get()).value_or("Cohortex");
    m_services.queue.post([weak = weak_from_this()] {
        if (auto self = weak.lock())
            self->m_services.manager.pageFinishedLoading(self->m_configuration.workspaceId);
    });
    publish([url, title](PageBindings& bindings) {
        bindings.isLoading.set(false);
        bindings.currentURL.set(url);
        bindings.pageTitle.set(title);
    });
    publishHistory();
}

} // namespace cohortex
