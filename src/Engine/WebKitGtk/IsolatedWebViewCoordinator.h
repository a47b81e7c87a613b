#pragma once

#include "Engine/DownloadGate.h"
#include "Engine/MeasurableView.h"
#include "Engine/ViewActivity.h"
#include "Engine/WebKitGtk/IsolatedWebView.h"
#include "Platform/Linux/GLibPtr.h"
#include "Platform/Linux/GSignalConnection.h"
#include "Services/DesktopLauncher.h"

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <vector>
#include <webkit/webkit.h>

namespace cohortex {

class PagePrompt;
enum class SitePermission;
struct LocalPage;

// Connects a handler and keeps the connection; the instance is kept alive by the connection.
template <typename T>
GSignalConnection connectSignal(T* instance, const char* signal, GCallback handler, gpointer data)
{
    return GSignalConnection(
        GObjectPtr<T>::retain(instance), g_signal_connect(instance, signal, handler, data));
}

// Everything of one tab's view that WebKit calls back into: the state the toolbar shows, the
// navigation policy, new windows, downloads and the page's dialogs. The main view's and its pop-ups'
// signals all come here. Signal handlers receive it as a plain pointer; every connection is dropped in
// tearDown(), and work queued for later holds it weakly, so nothing reaches it once it is gone.
struct IsolatedWebView::Coordinator final : MeasurableView, std::enable_shared_from_this<Coordinator> {
    Coordinator(Services, Configuration);
    ~Coordinator() override;

    // In IsolatedWebView.cpp: creating, updating and tearing down the main view.
    void start();
    void loadFirstPage();
    void tearDown();
    void update(bool isActive, const std::optional<NavigationRequest>&);
    void perform(const NavigationCommand&);
    std::optional<std::int32_t> webProcessIdentifier() const override { return m_webProcess; }
    bool receiveMessage(WebKitUserMessage*);

    // In IsolatedWebViewState.cpp: what the toolbar and the window learn about the page.
    void observeMainView();
    void publish(std::function<void(PageBindings&)>);
    void publishFullState();
    void publishHistory();
    void reportMetadata();
    void reportCapture();
    void loadChanged(WebKitLoadEvent);

    // In IsolatedWebViewFailures.cpp: the pages shown where the site's cannot be.
    bool loadFailed(const char* failingURI, const GError*);
    bool certificateFailed(const char* failingURI, GTlsCertificate*, GTlsCertificateFlags);
    void processTerminated(WebKitWebProcessTerminationReason);
    // True for the addresses the local pages' own links lead to; they are acted on here, never loaded.
    bool followPageAction(const std::string& uri);
    // Shows the page made with a new token in place of uri's; certificate is what its way past lets through.
    void showLocalPage(const std::function<LocalPage(std::string_view token)>&, std::string uri,
        GTlsCertificate* certificate);

    // In IsolatedWebViewPageTools.cpp: find, zoom and print.
    void watchFind();
    void find(NavigationCommand::Kind, const std::string& text);
    void zoom(NavigationCommand::Kind);
    // The zoom the user chose for the site, once its page is in.
    void applySiteZoom();
    void print();

    // In IsolatedWebViewLinks.cpp: links opened in a new tab, and full screen.
    void watchLinks();
    // True when the user asked for the link in a new tab (middle or Ctrl click) and got one.
    bool openedInNewTab(WebKitNavigationAction*, const std::string& uri);
    bool openInNewTab(const std::string& uri);
    void askToOpenElsewhere(const std::string& uri, const std::string& scheme);
    void fullscreenChanged(bool fullscreen);
    void leaveFullscreen();

    // In IsolatedWebViewPolicy.cpp: the handlers the main view and its pop-ups share.
    void connectDelegates(WebKitWebView*, std::vector<GSignalConnection>&);
    bool decidePolicy(WebKitPolicyDecision*, WebKitPolicyDecisionType);
    GtkWidget* createWebView(WebKitWebView*, WebKitNavigationAction*);
    void closeWebView(WebKitWebView*);
    void closePopups();
    bool authenticate(WebKitAuthenticationRequest*);

    // In IsolatedWebViewDownloads.cpp.
    void downloadStarted(WebKitDownload*);
    bool decideDestination(WebKitDownload*, const char* suggestedName);
    void setDestination(WebKitDownload*, const std::string& suggestedName);
    void askAboutDownloads();
    void downloadsDecided(bool allowed);
    void downloadEnded(WebKitDownload*, bool succeeded);
    // Clicks and key presses on the page: a download right after one is the user's own.
    void watchUserInput();
    bool isStartedByUser() const;

    // In IsolatedWebViewPrompts.cpp: script dialogs and file choosers, each answered when the user is.
    bool runScriptDialog(WebKitWebView*, WebKitScriptDialog*);
    bool runFileChooser(WebKitWebView*, WebKitFileChooserRequest*);
    std::function<void(PagePrompt*)> dropWhenAnswered();

    // In IsolatedWebViewPermissions.cpp: what the page may use, asked once per workspace and site, and
    // the notifications it shows.
    bool decidePermission(WebKitWebView*, WebKitPermissionRequest*);
    void askPermission(WebKitWebView*, WebKitPermissionRequest*, std::string origin, const std::string& host,
        std::vector<SitePermission>);
    bool answerPermissionQuery(WebKitWebView*, WebKitPermissionStateQuery*);
    void watchNotificationPermissions(WebKitWebContext*);
    bool showNotification(WebKitNotification*);
    void notificationClicked(WebKitNotification*);
    void releaseNotifications();

    struct Popup {
        GObjectPtr<GtkWindow> window;
        std::vector<GSignalConnection> connections;
    };
    // The local page shown in place of uri's, until the user leaves it.
    struct ShownLocalPage {
        std::string token;
        std::string uri;
        GObjectPtr<GTlsCertificate> certificate;
    };
    struct ShownNotification {
        GObjectPtr<WebKitNotification> notification;
        int number{ 0 };
        GSignalConnection closed;
    };
    struct Download {
        std::filesystem::path destination;
        std::vector<GSignalConnection> connections;
        // Set while the download waits for the user's answer about several downloads.
        std::optional<std::string> heldWithName;
    };

    Services m_services;
    Configuration m_configuration;
    ViewActivity m_activity;
    std::unique_ptr<DesktopLauncher> m_ownLauncher;
    DesktopLauncher& m_launcher;
    GObjectPtr<WebKitWebView> m_view;
    bool m_holdsStore{ false };
    bool m_loadFailed{ false };
    // Set from loading a local page until its load starts: that load is not the user leaving it.
    bool m_localPagePending{ false };
    std::optional<ShownLocalPage> m_localPage;
    std::optional<std::int32_t> m_webProcess;
    bool m_fullscreen{ false };
    GObjectPtr<GSimpleAction> m_openInNewTab;
    std::vector<GSignalConnection> m_connections;
    std::map<WebKitWebView*, Popup> m_popups;
    std::map<WebKitDownload*, Download> m_downloads;
    DownloadGate m_downloadGate;
    std::chrono::steady_clock::time_point m_lastUserInput;
    std::map<PagePrompt*, std::unique_ptr<PagePrompt>> m_prompts;
    std::map<WebKitNotification*, ShownNotification> m_notifications;
};

} // namespace cohortex
