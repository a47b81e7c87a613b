#include "Engine/WebKitGtk/WebKitDownloadTransfer.h"

#include "Support/Log.h"
#include "Support/Translation.h"

#include <libsoup/soup.h>
#include <system_error>

namespace cohortex {

namespace {

std::optional<std::uint64_t> expectedSize(WebKitDownload* download)
{
    auto* response = webkit_download_get_response(download);
    auto length = response ? webkit_uri_response_get_content_length(response) : 0;
    return length > 0 ? std::optional<std::uint64_t>(length) : std::nullopt;
}

std::string reasonOf(const GError* error)
{
    std::string detail = error && error->message ? error->message : "";
    // The reason alone, or the reason with the engine's own words about what went wrong.
    auto withDetail = [&](const char* reason, const char* reasonWithDetail) {
        return detail.empty() ? std::string(reason) : fillIn(reasonWithDetail, detail);
    };
    if (g_error_matches(error, WEBKIT_DOWNLOAD_ERROR, WEBKIT_DOWNLOAD_ERROR_NETWORK))
        // TRANSLATORS: why a download failed; in the second text {} is the system's description of the error.
        return withDetail(_("The connection was lost"), _("The connection was lost ({})"));
    if (g_error_matches(error, WEBKIT_DOWNLOAD_ERROR, WEBKIT_DOWNLOAD_ERROR_DESTINATION))
        // TRANSLATORS: why a download failed; in the second text {} is the system's description of the error.
        return withDetail(_("The file could not be saved"), _("The file could not be saved ({})"));
    if (g_error_matches(error, WEBKIT_DOWNLOAD_ERROR, WEBKIT_DOWNLOAD_ERROR_CANCELLED_BY_USER))
        return std::string(_("It was stopped"));
    // TRANSLATORS: why a download failed; in the second text {} is the system's description of the error.
    return withDetail(_("The download stopped"), _("The download stopped ({})"));
}

} // namespace

std::optional<std::string> refusalOf(WebKitURIResponse* response)
{
    auto status = response ? webkit_uri_response_get_status_code(response) : 0;
    if (status < 400)
        return std::nullopt;
    const char* phrase = soup_status_get_phrase(status);
    // TRANSLATORS: {0} is an HTTP status code such as 404, {1} its standard English phrase ("Not Found").
    return phrase ? fillIn(_("The server answered {0} {1}"), std::to_string(status), phrase)
                  // TRANSLATORS: {} is an HTTP status code such as 404.
                  : fillIn(_("The server answered {}"), std::to_string(status));
}

DownloadId WebKitDownloadTransfer::start(
    DownloadList& list, const Uuid& workspaceId, WebKitDownload* download, std::filesystem::path destination)
{
    std::unique_ptr<WebKitDownloadTransfer> transfer(new WebKitDownloadTransfer(list, download, destination));
    auto* own = transfer.get();
    own->m_id = list.started(workspaceId, std::move(destination), std::move(transfer));
    own->connect();
    // The engine may know the size already, before the first data arrive.
    list.progressed(own->m_id, webkit_download_get_received_data_length(download), expectedSize(download));
    return own->m_id;
}

WebKitDownloadTransfer::WebKitDownloadTransfer(
    DownloadList& list, WebKitDownload* download, std::filesystem::path destination)
    : m_list(list)
    , m_download(GObjectPtr<WebKitDownload>::retain(download))
    , m_destination(std::move(destination))
{
}

WebKitDownloadTransfer::~WebKitDownloadTransfer() = default;

void WebKitDownloadTransfer::connect()
{
    auto connect = [this](const char* signal, GCallback handler) {
        m_connections.emplace_back(m_download, g_signal_connect(m_download.get(), signal, handler, this));
    };
    connect("created-destination", G_CALLBACK(+[](WebKitDownload*, char*, WebKitDownloadTransfer* self) {
        self->m_hasCreatedFile = true;
    }));
    connect("received-data",
        G_CALLBACK(+[](WebKitDownload*, guint64, WebKitDownloadTransfer* self) { self->receivedData(); }));
    connect("failed", G_CALLBACK(+[](WebKitDownload*, GError* error, WebKitDownloadTransfer* self) {
        self->failed(error);
    }));
    connect("finished", G_CALLBACK(+[](WebKitDownload*, WebKitDownloadTransfer* self) { self->finished(); }));
}

void WebKitDownloadTransfer::receivedData()
{
    m_list.progressed(
        m_id, webkit_download_get_received_data_length(m_download.get()), expectedSize(m_download.get()));
}

// After the user's cancel, WebKit reports a failure too: the list has counted it cancelled already, and the
// file went with the cancel. Removing it again could take the file of a new download that has taken the
// freed name in the meantime.
void WebKitDownloadTransfer::failed(const GError* error)
{
    m_hasFailed = true;
    if (m_isCancelled)
        return;
    removeWhatWasWritten();
    m_list.failed(m_id, reasonOf(error));
}

// WebKit reports "finished" after "failed" as well.
void WebKitDownloadTransfer::finished()
{
    if (m_hasFailed)
        return;
    // A cancel that came too late to stop the download still takes its file away, as the user asked.
    if (m_isCancelled) {
        removeWhatWasWritten();
        return;
    }
    m_list.succeeded(m_id);
}

void WebKitDownloadTransfer::cancel()
{
    if (std::exchange(m_isCancelled, true))
        return;
    webkit_download_cancel(m_download.get());
    // Not only when WebKit reports back: the list may be going away with the application.
    removeWhatWasWritten();
}

// Only a file this download created: the name was free when it was chosen, so anything else found there
// belongs to someone else.
void WebKitDownloadTransfer::removeWhatWasWritten()
{
    if (!m_hasCreatedFile)
        return;
    std::error_code error;
    std::filesystem::remove(m_destination, error);
    if (error)
        logWarning(
            "Cannot remove the unfinished download " + m_destination.string() + ": " + error.message());
}

} // namespace cohortex
