#pragma once

#include "Platform/Linux/GLibPtr.h"
#include "Platform/Linux/GSignalConnection.h"
#include "Services/DownloadList.h"

#include <filesystem>
#include <optional>
#include <vector>
#include <webkit/webkit.h>

namespace cohortex {

// One WebKit download from the moment its file has a place: it tells the downloads list how far it is,
// that it finished or why it failed, and stops on the user's word. The list owns it, not the tab that
// started it, so a download goes on when its tab closes or its workspace sleeps.
//
// A download that ends without finishing, cancelled or failed, leaves no file behind: the file it
// created is removed, and nothing else is ever touched.
class WebKitDownloadTransfer final : public DownloadList::Transfer {
public:
    // Puts the download on the list, as saving to the destination already given to WebKit.
    static DownloadId start(
        DownloadList&, const Uuid& workspaceId, WebKitDownload*, std::filesystem::path destination);
    ~WebKitDownloadTransfer() override;
    WebKitDownloadTransfer(const WebKitDownloadTransfer&) = delete;
    WebKitDownloadTransfer& operator=(const WebKitDownloadTransfer&) = delete;

    void cancel() override;

private:
    WebKitDownloadTransfer(DownloadList&, WebKitDownload*, std::filesystem::path destination);
    void connect();
    void receivedData();
    void failed(const GError*);
    void finished();
    void removeWhatWasWritten();

    DownloadList& m_list;
    DownloadId m_id{ 0 };
    GObjectPtr<WebKitDownload> m_download;
    std::filesystem::path m_destination;
    std::vector<GSignalConnection> m_connections;
    bool m_hasCreatedFile{ false };
    bool m_isCancelled{ false };
    bool m_hasFailed{ false };
};

// Why a download's response is not worth saving, in words for the user: an error page of the server
// ("The server answered 404 Not Found"). Absent when the response is fine.
std::optional<std::string> refusalOf(WebKitURIResponse*);

} // namespace cohortex
