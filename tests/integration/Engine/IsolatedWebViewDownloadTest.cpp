#include "Engine/WebKitGtk/DownloadsPrompt.h"
#include "IsolatedWebViewFixture.h"

#include <adwaita.h>

namespace cohortex {
namespace {

std::set<std::string> filesIn(const std::filesystem::path& folder)
{
    std::set<std::string> names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error))
        names.insert(entry.path().filename().string());
    return names;
}

class DownloadInto : public IsolatedWebViewFixture {
protected:
    // The message dialog on screen, if any.
    static AdwMessageDialog* openDialog()
    {
        GListModel* windows = gtk_window_get_toplevels();
        for (guint index = 0; index < g_list_model_get_n_items(windows); ++index) {
            GObjectPtr<GObject> window(G_OBJECT(g_list_model_get_item(windows, index)));
            if (ADW_IS_MESSAGE_DIALOG(window.get()) && gtk_widget_get_visible(GTK_WIDGET(window.get())))
                return ADW_MESSAGE_DIALOG(window.get());
        }
        return nullptr;
    }

    // The workspace's folder does not exist yet: the first download makes it, parents and all.
    IsolatedWebView& viewDownloadingInto(const std::filesystem::path& folder)
    {
        auto settings = configuration(m_server.url("/start"));
        settings.downloadFolder = folder;
        auto& view = makeView(std::move(settings));
        view.update(true, std::nullopt);
        EXPECT_TRUE(loaded(view, "/start"));
        return view;
    }

    void download(IsolatedWebView& view, const std::string& disposition, const std::string& type)
    {
        auto count = m_launcher.revealedFiles.size();
        view.update(true,
            NavigationRequest::make(
                NavigationCommand::load(*Url::parse(m_server.urlOfAttachment("/file", disposition, type)))));
        EXPECT_TRUE(runUntil([&] { return m_launcher.revealedFiles.size() > count; }))
            << "No download of " << disposition << " finished";
    }

    std::filesystem::path m_folder = m_home.path() / "workspace" / "Client Files";
};

TEST_F(DownloadInto, AttachmentsInAnyCaseAndUnshowableTypesDownloadWithNumberedNames)
{
    auto& view = viewDownloadingInto(m_folder);
    download(view, "ATTACHMENT; filename=\"report.pdf\"", "text/html");
    download(view, "Attachment; filename=\"report.pdf\"", "text/html");
    download(view, "inline; filename=\"data.bin\"", "application/x-cohortex-test");
    EXPECT_EQ(filesIn(m_folder), (std::set<std::string>{ "report.pdf", "report (1).pdf", "data.bin" }));
    EXPECT_EQ(m_launcher.revealedFiles,
        (std::vector<std::filesystem::path>{
            m_folder / "report.pdf", m_folder / "report (1).pdf", m_folder / "data.bin" }));
    // The view goes back to the page once the engine has turned the load into a download, which may come
    // after the download itself has finished.
    EXPECT_TRUE(runUntil([&] { return webkit_web_view_get_uri(webView(view)) == m_server.url("/start"); }))
        << "The attachment was shown: " << webkit_web_view_get_uri(webView(view));
}

TEST_F(DownloadInto, AHostileSuggestedNameStaysInsideTheFolder)
{
    auto& view = viewDownloadingInto(m_folder);
    download(view, "attachment; filename=\"../../.bashrc\"", "application/octet-stream");
    ASSERT_EQ(m_launcher.revealedFiles.size(), 1u);
    EXPECT_EQ(m_launcher.revealedFiles.front().parent_path(), m_folder);
    EXPECT_EQ(filesIn(m_folder).size(), 1u);
    EXPECT_FALSE(std::filesystem::exists(m_home.path() / ".bashrc"));
    EXPECT_FALSE(std::filesystem::exists(m_folder.parent_path() / ".bashrc"));
}

// A page that starts downloads by itself gets its first one; the rest wait for the user's one answer, and
// however many files come, the file manager is opened once.
TEST_F(DownloadInto, APageStartingManyDownloadsByItselfAsksOnceAndShowsOneFile)
{
    std::string script = "<script>";
    for (int index = 0; index < 3; ++index)
        script += "setTimeout(() => { const f = document.createElement('iframe'); f.src = '"
            + m_server.urlDownloading(
                "/auto" + std::to_string(index), "auto" + std::to_string(index) + ".pdf")
            + "'; document.body.appendChild(f); }, " + std::to_string(index * 300) + ");";
    script += "</script>";
    auto settings = configuration(m_server.urlServing("/many", script));
    settings.downloadFolder = m_folder;
    auto& view = makeView(std::move(settings));
    view.update(true, std::nullopt);

    AdwMessageDialog* question = nullptr;
    ASSERT_TRUE(runUntil([&] { return (question = openDialog()) != nullptr; })) << "The page was not stopped";
    EXPECT_STREQ(adw_message_dialog_get_heading(question), DownloadsPrompt::heading);
    EXPECT_EQ(filesIn(m_folder), std::set<std::string>{ "auto0.pdf" });
    adw_message_dialog_response(question, "allow");
    ASSERT_TRUE(runUntil([&] { return filesIn(m_folder).size() == 3; }));
    runFor(std::chrono::milliseconds(500));
    EXPECT_EQ(m_launcher.revealedFiles.size(), 1u);
}

} // namespace
} // namespace cohortex
