#include "Engine/NavigationPolicy.h"
#include "Engine/WebKitGtk/IsolatedWebViewCoordinator.h"
#include "Engine/WebKitGtk/WebKitEngine.h"

#include <libsoup/soup.h>

// The decisions the main view and its pop-ups share: which navigations load, which download and which
// leave for the desktop; where new windows go; and the proxy's login.

namespace cohortex {

namespace {

constexpr int popupWidth = 520;
constexpr int popupHeight = 680;

std::string requestURI(WebKitNavigationAction* action)
{
    const char* uri = webkit_uri_request_get_uri(webkit_navigation_action_get_request(action));
    return uri ? uri : "";
}

bool isAttachment(WebKitURIResponse* response)
{
    auto* headers = webkit_uri_response_get_http_headers(response);
    const char* disposition
        = headers ? soup_message_headers_get_one(headers, "Content-Disposition") : nullptr;
    return disposition && NavigationPolicy::isAttachment(disposition);
}

} // namespace

void IsolatedWebView::Coordinator::connectDelegates(
    WebKitWebView* view, std::vector<GSignalConnection>& connections)
{
    auto connect = [&](const char* signal, GCallback handler) {
        connections.push_back(connectSignal(view, signal, handler, this));
    };
    connect("decide-policy",
        G_CALLBACK(
            +[](WebKitWebView*, WebKitPolicyDecision* decision, WebKitPolicyDecisionType type,
                 Coordinator* self) { return static_cast<gboolean>(self->decidePolicy(decision, type)); }));
    connect("create", G_CALLBACK(+[](WebKitWebView* view, WebKitNavigationAction* action, Coordinator* self) {
        return self->createWebView(view, action);
    }));
    connect("close", G_CALLBACK(+[](WebKitWebView* view, Coordinator* self) { self->closeWebView(view); }));
    connect("authenticate",
        G_CALLBACK(+[](WebKitWebView*, WebKitAuthenticationRequest* request, Coordinator* self) {
            return static_cast<gboolean>(self->authenticate(request));
        }));
    connect(
        "script-dialog", G_CALLBACK(+[](WebKitWebView* view, WebKitScriptDialog* dialog, Coordinator* self) {
            return static_cast<gboolean>(self->runScriptDialog(view, dialog));
        }));
    connect("run-file-chooser",
        G_CALLBACK(+[](WebKitWebView* view, WebKitFileChooserRequest* request, Coordinator* self) {
            return static_cast<gboolean>(self->runFileChooser(view, request));
        }));
    connect("permission-request",
        G_CALLBACK(+[](WebKitWebView* view, WebKitPermissionRequest* request, Coordinator* self) {
            return static_cast<gboolean>(self->decidePermission(view, request));
        }));
    connect("query-permission-state",
        G_CALLBACK(+[](WebKitWebView* view, WebKitPermissionStateQuery* query, Coordinator* self) {
            return static_cast<gboolean>(self->answerPermissionQuery(view, query));
        }));
    connect("show-notification",
        G_CALLBACK(+[](WebKitWebView*, WebKitNotification* notification, Coordinator* self) {
            return static_cast<gboolean>(self->showNotification(notification));
        }));
}

bool IsolatedWebView::Coordinator::decidePolicy(WebKitPolicyDecision* decision, WebKitPolicyDecisionType type)
{
    if (type == WEBKIT_POLICY_DECISION_TYPE_RESPONSE) {
        auto* response = WEBKIT_RESPONSE_POLICY_DECISION(decision);
        if (isAttachment(webkit_response_policy_decision_get_response(response))
            || !webkit_response_policy_decision_is_mime_type_supported(response))
            webkit_policy_decision_download(decision);
        else
            webkit_policy_decision_use(decision);
        return true;
    }
    auto* action = webkit_navigation_policy_decision_get_navigation_action(
        WEBKIT_NAVIGATION_POLICY_DECISION(decision));
    auto uri = requestURI(action);
    if (followPageAction(uri)) {
        webkit_policy_decision_ignore(decision);
        return true;
    }
    if (NavigationPolicy::opensInSystem(uri)) {
        m_launcher.openURI(uri);
        webkit_policy_decision_ignore(decision);
        return true;
    }
    if (auto scheme = NavigationPolicy::otherApplicationScheme(uri); !scheme.empty()) {
        askToOpenElsewhere(uri, scheme);
        webkit_policy_decision_ignore(decision);
        return true;
    }
    if (type == WEBKIT_POLICY_DECISION_TYPE_NAVIGATION_ACTION && openedInNewTab(action, uri)) {
        webkit_policy_decision_ignore(decision);
        return true;
    }
    // Links with a download attribute are WebKit's to decide; it turns them into downloads itself.
    return false;
}

GtkWidget* IsolatedWebView::Coordinator::createWebView(WebKitWebView* opener, WebKitNavigationAction* action)
{
    auto uri = requestURI(action);
    if (webkit_navigation_action_get_navigation_type(action) == WEBKIT_NAVIGATION_TYPE_LINK_CLICKED) {
        auto url = Url::parse(uri);
        if (url && m_configuration.onOpenInNewTab)
            m_configuration.onOpenInNewTab(*url);
        else if (!uri.empty())
            webkit_web_view_load_uri(opener, uri.c_str());
        return nullptr;
    }
    // A pop-up shares its opener's process, session and settings: the page expects to talk to it.
    auto* popup = WEBKIT_WEB_VIEW(g_object_new(WEBKIT_TYPE_WEB_VIEW, "related-view", opener, "settings",
        webkit_web_view_get_settings(opener), nullptr));
    auto* window = GTK_WINDOW(gtk_window_new());
    gtk_window_set_title(window, NavigationPolicy::popupTitle(uri).c_str());
    // Over the browser's window, where the desktop centres what belongs to a window; the user may make it
    // smaller than the size it opens at.
    if (auto* root = gtk_widget_get_root(GTK_WIDGET(opener)); root && GTK_IS_WINDOW(root))
        gtk_window_set_transient_for(window, GTK_WINDOW(root));
    gtk_window_set_default_size(window, popupWidth, popupHeight);
    gtk_window_set_child(window, GTK_WIDGET(popup));
    auto& entry = m_popups[popup];
    entry.window = GObjectPtr<GtkWindow>::retain(window);
    connectDelegates(popup, entry.connections);
    entry.connections.push_back(
        connectSignal(popup, "ready-to-show", G_CALLBACK(+[](WebKitWebView* view, Coordinator*) {
            if (auto* root = gtk_widget_get_root(GTK_WIDGET(view)))
                gtk_window_present(GTK_WINDOW(root));
        }),
            this));
    // The user closed the window: forget it, and with it the pop-up's handlers.
    entry.connections.push_back(
        connectSignal(window, "destroy", G_CALLBACK(+[](GtkWindow* window, Coordinator* self) {
            std::erase_if(
                self->m_popups, [window](const auto& popup) { return popup.second.window.get() == window; });
        }),
            this));
    return GTK_WIDGET(popup);
}

void IsolatedWebView::Coordinator::closeWebView(WebKitWebView* view)
{
    auto found = m_popups.find(view);
    if (found == m_popups.end())
        return;
    auto window = std::move(found->second.window);
    m_popups.erase(found);
    gtk_window_destroy(window.get());
}

// The list is emptied first, so that the windows' own "destroy" handlers find nothing left to do.
void IsolatedWebView::Coordinator::closePopups()
{
    auto popups = std::exchange(m_popups, {});
    for (auto& [view, popup] : popups) {
        popup.connections.clear();
        gtk_window_destroy(popup.window.get());
    }
}

// Only the store's HTTP proxy is answered, by the store, which knows its credential. Sites asking for a
// login get WebKit's own dialog.
bool IsolatedWebView::Coordinator::authenticate(WebKitAuthenticationRequest* request)
{
    if (!webkit_authentication_request_is_for_proxy(request))
        return false;
    m_services.engine.answerProxyLogin(m_configuration.storageIdentifier, request);
    return true;
}

} // namespace cohortex
