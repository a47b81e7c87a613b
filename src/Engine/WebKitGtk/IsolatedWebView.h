#pragma once

#include "Engine/Navigation.h"
#include "Support/Url.h"
#include "Support/Uuid.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

typedef struct _GtkWidget GtkWidget;

namespace cohortex {

class DesktopLauncher;
class DownloadList;
class MainQueue;
class PageNotifications;
class SitePermissions;
class WebKitEngine;
class WebKitManager;
class WebViewRegistry;

// One tab's page: a WebKit web view on its workspace's network session, so the page sees only that
// workspace's cookies and storage. The window keeps one per tab of the shown workspace alive; only the
// selected one is active, drives the toolbar's bindings and obeys its commands. Every view, active or
// not, reports its title and address, camera and microphone use, and handles pop-ups, new-window
// links, mail and telephone links, downloads, file choosers, script dialogs, the page's requests for
// camera, microphone and the like, and its notifications.
//
// The workspace's store must be open (WebKitManager::openStore) before a view is made on it. Main
// thread only.
class IsolatedWebView {
public:
    struct Services {
        MainQueue& queue;
        WebKitEngine& engine;
        WebKitManager& manager;
        WebViewRegistry& registry;
        // Lists the view's downloads, which go on when the view goes.
        DownloadList& downloads;
        // Opens mail and telephone links and shows finished downloads; the desktop's own when null.
        DesktopLauncher* launcher{ nullptr };
        // What sites may use, asked per workspace and site, and where pages' notifications go. Without
        // them WebKit's own answers stand: everything refused, notifications its own.
        SitePermissions* sitePermissions{ nullptr };
        PageNotifications* pageNotifications{ nullptr };
    };

    struct Configuration {
        // Loaded when the view is created.
        Url url;
        Uuid storageIdentifier;
        Uuid workspaceId;
        Uuid tabId;
        // The workspace's own downloads folder, if it has one. Asked when a download starts, so that a
        // changed folder applies to the tabs already open.
        std::function<std::optional<std::filesystem::path>()> downloadFolder;
        // Written only while the view is active. Must outlive the view.
        PageBindings* bindings{ nullptr };
        // The request present when the view is made is never performed by it.
        std::optional<NavigationRequest> initialRequest;
        // The page's title (absent when empty) and address, for every view.
        std::function<void(std::optional<std::string> title, std::optional<Url>)> onMetadata;
        // A link that targets a new window asks for a new tab in the same workspace.
        std::function<void(Url)> onOpenInNewTab;
        // Whether the page uses camera or microphone.
        std::function<void(bool capturing)> onCaptureChange;
        // When set, this page is shown under the URL instead, and nothing is loaded: the workspace cannot
        // go online (its proxy cannot be used).
        std::optional<std::string> pageInstead;
        // The workspace's name as it is now, for the questions a page makes the user answer.
        std::function<std::string()> workspaceName{};
        // The zoom the user chose for a host in this workspace (1 when none), and where a new choice goes.
        std::function<double(const std::string& host)> zoomFor{};
        std::function<void(const std::string& host, double level)> onZoomChanged{};
        // The page took the whole screen, or gave it back.
        std::function<void(bool fullscreen)> onFullscreenChanged{};
    };

    IsolatedWebView(Services, Configuration);
    // Unregisters from the registry, stops loading and closes the view's pop-up windows.
    ~IsolatedWebView();
    IsolatedWebView(const IsolatedWebView&) = delete;
    IsolatedWebView& operator=(const IsolatedWebView&) = delete;

    // Called whenever the window re-renders. Becoming active publishes the page's full state once; a
    // request with an id not seen before is remembered, and performed only while active.
    void update(bool isActive, const std::optional<NavigationRequest>& request);

    // The widget to put into the window; owned by this object.
    GtkWidget* widget() const;
    bool isActive() const;

private:
    struct Coordinator;
    std::shared_ptr<Coordinator> m_coordinator;
};

} // namespace cohortex
