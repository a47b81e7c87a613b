#include "IsolatedWebViewFixture.h"

#include <adwaita.h>

namespace cohortex {
namespace {

// The files under the folder, at any depth, as relative paths; the browser's own stores and settings are
// left out.
std::set<std::string> filesUnder(const std::filesystem::path& folder)
{
    std::set<std::string> names;
    std::error_code error;
    for (auto entry = std::filesystem::recursive_directory_iterator(folder, error);
         entry != std::filesystem::recursive_directory_iterator(); entry.increment(error)) {
        auto relative = std::filesystem::relative(entry->path(), folder).string();
        bool isOwnData
            = relative.starts_with("data") || relative.starts_with("cache") || relative.starts_with("config");
        if (!isOwnData && !entry->is_directory())
            names.insert(relative);
    }
    return names;
}

class DownloadInto : public IsolatedWebViewFixture {
protected:
    void load(IsolatedWebView& view, const std::string& url)
    {
        view.update(true, NavigationRequest::make(NavigationCommand::load(*Url::parse(url))));
    }
    void download(IsolatedWebView& view, const std::string& disposition, const std::string& type)
    {
        auto count = m_launcher.revealedFiles.size();
        load(view, m_server.urlWith("/file", { { "disposition", disposition }, { "type", type } }));
        EXPECT_TRUE(runUntil([&] { return m_launcher.revealedFiles.size() > count; }))
            << "No download of " << disposition << " finished";
    }

    const std::filesystem::path m_folder = m_home.path() / "workspace" / "Client Files";
    std::filesystem::path m_workspaceFolder = m_folder;
};

// The folder does not exist yet: the first download makes it. The view asks for the folder at each
// download, so a folder changed in the workspace's settings takes effect in the tab already open.
TEST_F(DownloadInto, TheWorkspacesCurrentFolderGetsAttachmentsAndUnshowableTypesAndNoPartOfACancelledOne)
{
    auto settings = configuration(m_server.url("/start"));
    settings.downloadFolder = [this] { return std::optional(m_workspaceFolder); };
    auto& view = makeView(std::move(settings));
    view.update(true, std::nullopt);
    ASSERT_TRUE(loaded(view, "/start"));
    // The engine's own word that a download is over, so that nothing it writes later goes unseen.
    bool hasEngineStopped = false;
    auto* session = webkit_web_view_get_network_session(webView(view));
    GSignalConnection started(GObjectPtr<GObject>::retain(G_OBJECT(session)),
        g_signal_connect(session, "download-started",
            G_CALLBACK(+[](WebKitNetworkSession*, WebKitDownload* download, bool* stopped) {
                g_signal_connect(download, "failed",
                    G_CALLBACK(+[](WebKitDownload*, GError*, bool* flag) { *flag = true; }), stopped);
            }),
            &hasEngineStopped));
    download(view, "Attachment; filename=\"report.pdf\"", "text/html");
    download(view, "inline; filename=\"data.bin\"", "application/x-cohortex-test");
    download(view, "attachment; filename=\"../../.bashrc\"", "application/octet-stream");
    ASSERT_EQ(m_launcher.revealedFiles.size(), 3u);
    EXPECT_EQ(std::vector(m_launcher.revealedFiles.begin(), m_launcher.revealedFiles.begin() + 2),
        (std::vector<std::filesystem::path>{ m_folder / "report.pdf", m_folder / "data.bin" }));
    EXPECT_EQ(m_launcher.revealedFiles.back().parent_path(), m_folder);
    EXPECT_EQ(filesUnder(m_home.path()).size(), 3u) << "A download escaped its folder";
    // The view goes back to the page once the engine has turned the load into a download, which may come
    // after the download itself has finished.
    EXPECT_TRUE(runUntil([&] { return webkit_web_view_get_uri(webView(view)) == m_server.url("/start"); }))
        << "The attachment was shown: " << webkit_web_view_get_uri(webView(view));

    m_workspaceFolder = m_home.path() / "elsewhere";
    download(view, "attachment; filename=\"second.pdf\"", "application/pdf");
    const auto& items = m_downloads.items().get();
    ASSERT_EQ(items.size(), 4u);
    EXPECT_EQ(items[3].file, m_workspaceFolder / "second.pdf");

    constexpr std::uint64_t size = 50'000'000;
    load(view, m_server.urlWith("/large", { { "stalled", std::to_string(size) }, { "name", "disk.img" } }));
    ASSERT_TRUE(runUntil([&] {
        return items.size() == 5 && items[4].receivedBytes > 0 && items[4].totalBytes == size;
    })) << "No progress was shown";
    EXPECT_LT(items[4].receivedBytes, size / 10);
    EXPECT_EQ(items[4].file, m_workspaceFolder / "disk.img");
    ASSERT_TRUE(m_downloads.cancel(items[4].id));
    EXPECT_TRUE(runUntil([&] { return hasEngineStopped && filesUnder(m_home.path()).size() == 4; }))
        << "Left behind: " << ::testing::PrintToString(filesUnder(m_home.path()));
    EXPECT_EQ(items[4].state, DownloadItem::State::Cancelled);
}

} // namespace
} // namespace cohortex
