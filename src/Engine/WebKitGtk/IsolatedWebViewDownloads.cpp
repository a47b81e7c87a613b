#include "Engine/DownloadNaming.h"
#include "Engine/WebKitGtk/DownloadsPrompt.h"
#include "Engine/WebKitGtk/IsolatedWebViewCoordinator.h"
#include "Engine/WebKitGtk/WebKitDownloadTransfer.h"
#include "Platform/Linux/XdgDirectories.h"
#include "Services/DownloadList.h"

#include <utility>

// Downloads of the main view and its pop-ups land in the workspace's own folder as it is when they start,
// else the user's Downloads folder, under a name numbered until it is free; once placed, they are the
// downloads list's (WebKitDownloadTransfer), and outlive the tab. The first finished file of a batch is
// shown in the file manager. A server's error page is never saved: it is listed as failed, with the
// server's answer. Further downloads a page starts by itself wait for the user's one answer
// (DownloadGate).

namespace cohortex {

namespace {

std::filesystem::path defaultFolder()
{
    if (const char* downloads = g_get_user_special_dir(G_USER_DIRECTORY_DOWNLOAD); downloads && *downloads)
        return downloads;
    return homeDirectory();
}

} // namespace

// Every view of a workspace shares its session, so each sees every download of it and keeps only its own.
void IsolatedWebView::Coordinator::downloadStarted(WebKitDownload* download)
{
    auto* owner = webkit_download_get_web_view(download);
    if (!owner || (owner != m_view.get() && !m_popups.contains(owner)))
        return;
    auto& entry = m_downloads[download];
    entry.connections.push_back(connectSignal(download, "decide-destination",
        G_CALLBACK(+[](WebKitDownload* download, char* suggestedName, Coordinator* self) {
            return static_cast<gboolean>(self->decideDestination(download, suggestedName));
        }),
        this));
    entry.connections.push_back(connectSignal(download, "failed",
        G_CALLBACK(+[](WebKitDownload* download, GError*, Coordinator* self) {
            self->downloadEnded(download, false);
        }),
        this));
    entry.connections.push_back(connectSignal(download, "finished",
        G_CALLBACK(+[](WebKitDownload* download, Coordinator* self) { self->downloadEnded(download, true); }),
        this));
}

bool IsolatedWebView::Coordinator::decideDestination(WebKitDownload* download, const char* suggestedName)
{
    std::string name = suggestedName ? suggestedName : "";
    if (auto refusal = refusalOf(webkit_download_get_response(download))) {
        m_services.downloads.refused(
            m_configuration.workspaceId, DownloadNaming::safeFileName(name), std::move(*refusal));
        webkit_download_cancel(download);
        return true;
    }
    switch (m_downloadGate.downloadStarting(isStartedByUser())) {
    case DownloadGate::Decision::Start:
        setDestination(download, name);
        break;
    case DownloadGate::Decision::Ask:
        askAboutDownloads();
        [[fallthrough]];
    case DownloadGate::Decision::Wait:
        // Held: the destination is set, or the download cancelled, once the user has answered.
        m_downloads[download].heldWithName = std::move(name);
        break;
    case DownloadGate::Decision::Refuse:
        webkit_download_cancel(download);
        break;
    }
    return true;
}

void IsolatedWebView::Coordinator::setDestination(WebKitDownload* download, const std::string& suggestedName)
{
    const auto& workspaceFolder = m_configuration.downloadFolder;
    auto folder
        = DownloadNaming::chooseFolder(workspaceFolder ? workspaceFolder() : std::nullopt, defaultFolder());
    // A link counts as taken even when it leads nowhere: writing through it would land outside the folder.
    // So does a name another download is still writing, though no file may exist yet.
    auto isTaken = [this](const std::filesystem::path& path) {
        std::error_code error;
        return std::filesystem::exists(std::filesystem::symlink_status(path, error))
            || m_services.downloads.isWriting(path);
    };
    auto destination = DownloadNaming::uniqueDestination(folder, suggestedName, isTaken);
    m_downloads[download].destination = destination;
    webkit_download_set_destination(download, destination.c_str());
    WebKitDownloadTransfer::start(m_services.downloads, m_configuration.workspaceId, download, destination);
}

void IsolatedWebView::Coordinator::askAboutDownloads()
{
    auto decided = [weak = weak_from_this()](bool allowed) {
        if (auto self = weak.lock())
            self->downloadsDecided(allowed);
    };
    auto prompt = std::make_unique<DownloadsPrompt>(m_view.get(), std::move(decided), dropWhenAnswered());
    m_prompts.emplace(prompt.get(), std::move(prompt));
}

void IsolatedWebView::Coordinator::downloadsDecided(bool allowed)
{
    m_downloadGate.answered(allowed);
    std::vector<std::pair<WebKitDownload*, std::string>> held;
    for (auto& [download, entry] : m_downloads) {
        if (entry.heldWithName)
            held.emplace_back(download, *std::exchange(entry.heldWithName, std::nullopt));
    }
    for (const auto& [download, name] : held) {
        if (allowed)
            setDestination(download, name);
        else
            webkit_download_cancel(download);
    }
}

// WebKit reports "finished" after "failed" too, so the entry goes at the first of the two.
void IsolatedWebView::Coordinator::downloadEnded(WebKitDownload* download, bool succeeded)
{
    auto found = m_downloads.find(download);
    if (found == m_downloads.end())
        return;
    auto destination = std::move(found->second.destination);
    m_downloads.erase(found);
    if (succeeded && !destination.empty() && m_downloadGate.shouldReveal())
        m_launcher.revealFile(destination);
}

void IsolatedWebView::Coordinator::watchUserInput()
{
    auto* widget = GTK_WIDGET(m_view.get());
    auto* click = gtk_gesture_click_new();
    gtk_gesture_single_set_button(GTK_GESTURE_SINGLE(click), 0);
    gtk_event_controller_set_propagation_phase(GTK_EVENT_CONTROLLER(click), GTK_PHASE_CAPTURE);
    g_signal_connect(click, "pressed",
        G_CALLBACK(+[](GtkGestureClick*, int, double, double, Coordinator* self) {
            self->m_lastUserInput = std::chrono::steady_clock::now();
        }),
        this);
    gtk_widget_add_controller(widget, GTK_EVENT_CONTROLLER(click));
    auto* keys = gtk_event_controller_key_new();
    gtk_event_controller_set_propagation_phase(keys, GTK_PHASE_CAPTURE);
    g_signal_connect(keys, "key-pressed",
        G_CALLBACK(+[](GtkEventControllerKey*, guint, guint, GdkModifierType, Coordinator* self) {
            self->m_lastUserInput = std::chrono::steady_clock::now();
            return FALSE;
        }),
        this);
    gtk_widget_add_controller(widget, keys);
}

bool IsolatedWebView::Coordinator::isStartedByUser() const
{
    // Long enough for a click to reach the server and its answer to turn into a download.
    return std::chrono::steady_clock::now() - m_lastUserInput < std::chrono::seconds(3);
}

} // namespace cohortex
