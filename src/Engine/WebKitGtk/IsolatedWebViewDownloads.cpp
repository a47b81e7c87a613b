#include "Engine/DownloadNaming.h"
#include "Engine/WebKitGtk/IsolatedWebViewCoordinator.h"
#include "Platform/Linux/XdgDirectories.h"

#include <algorithm>

// Downloads of the main view and its pop-ups land in the workspace's own folder, else the user's
// Downloads folder, under a name numbered until it is free; a finished one is shown in the file manager,
// a failed one leaves nothing behind (WebKit removes its partial file).

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
    auto folder = DownloadNaming::chooseFolder(m_configuration.downloadFolder, defaultFolder());
    // A name another download of this view is still writing counts as taken, though no file may exist yet.
    auto isTaken = [this](const std::filesystem::path& path) {
        std::error_code error;
        return std::filesystem::exists(path, error)
            || std::ranges::any_of(
                m_downloads, [&](const auto& entry) { return entry.second.destination == path; });
    };
    auto destination = DownloadNaming::uniqueDestination(folder, suggestedName ? suggestedName : "", isTaken);
    m_downloads[download].destination = destination;
    webkit_download_set_destination(download, destination.c_str());
    return true;
}

// WebKit reports "finished" after "failed" too, so the entry goes at the first of the two.
void IsolatedWebView::Coordinator::downloadEnded(WebKitDownload* download, bool succeeded)
{
    auto found = m_downloads.find(download);
    if (found == m_downloads.end())
        return;
    auto destination = std::move(found->second.destination);
    m_downloads.erase(found);
    if (succeeded && !destination.empty())
        m_launcher.revealFile(destination);
}

} // namespace cohortex
