#include "IsolatedWebViewFixture.h"
#include "integration/Platform/RunProgram.h"

#include <fstream>
#include <unistd.h>

namespace cohortex {
namespace {

using IsolatedWebViewTest = IsolatedWebViewFixture;

// A process that has ended but whose parent has not collected it yet holds no memory: it counts as gone.
bool isRunning(std::int32_t pid)
{
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    std::getline(stat, line);
    auto state = line.rfind(") ");
    return state != std::string::npos && state + 2 < line.size() && line[state + 2] != 'Z';
}

std::string pidNamespaceOf(std::int32_t pid)
{
    std::error_code error;
    return std::filesystem::read_symlink("/proc/" + std::to_string(pid) + "/ns/pid", error).string();
}

// WebKit keeps the process of a closed page for a later page of the same site; a hibernated workspace
// whose process stayed would free nothing.
TEST_F(IsolatedWebViewTest, ReportsItsLiveSandboxedHostProcessWhichEndsWithTheStoresLastView)
{
    int starts = 0;
    engine().whenFirstPageLoads([&starts] { ++starts; });
    ASSERT_TRUE(loaded(makeView(m_server.url("/first")), "/first"));
    EXPECT_EQ(starts, 1) << "The launch's window waits for the first page to load";
    auto first = processes(1);
    ASSERT_EQ(first.size(), 1u);
    const auto pid = *first.begin();
    EXPECT_NE(pid, getpid());
    // With the sandbox on, the process lives in a PID namespace of its own: its own id was translated.
    if (!g_getenv("WEBKIT_DISABLE_SANDBOX_THIS_IS_DANGEROUS")) {
        EXPECT_NE(pidNamespaceOf(pid), pidNamespaceOf(getpid()));
    }
    ASSERT_TRUE(loaded(makeView(m_server.url("/second")), "/second"));
    engine().whenFirstPageLoads([&starts] { ++starts; });
    EXPECT_EQ(starts, 2) << "Work asked for after the first page ran at once, and only once";
    auto both = processes(2);
    both.erase(pid);
    ASSERT_EQ(both.size(), 1u);
    const auto second = *both.begin();

    closeView(0);
    runFor(std::chrono::seconds(1));
    EXPECT_TRUE(isRunning(second)) << "A view still on the store lost its process";
    closeView(0);
    EXPECT_TRUE(runUntil([&] { return !isRunning(second) && !isRunning(pid); }))
        << "A process of the store outlived its last view";
}

// At launch the link's page is made while the keyring is read for the workspace's saved logins; it must not
// go out before they are back in the jar.
TEST_F(IsolatedWebViewTest, APageOfAHeldStoreGoesOutOnlyOnceTheWorkIsDone)
{
    std::function<void()> finish;
    auto work = [](std::function<void()>* finish) -> Task<void> {
        co_await awaitCallback([finish](std::function<void()> resume) { *finish = std::move(resume); });
    }(&finish);
    engine().holdPagesUntil(m_storeA, work);
    auto& view = makeView(m_server.url("/held"));
    runFor(std::chrono::milliseconds(700));
    EXPECT_TRUE(m_server.requestsFor("/held").empty());
    finish();
    EXPECT_TRUE(loaded(view, "/held"));
}

TEST_F(IsolatedWebViewTest, ThePageReachesTheToolbarOnlyWhileActive)
{
    const auto page = m_server.url("/text");
    auto& view = makeView(page);
    ASSERT_TRUE(loaded(view, "/text"));
    runFor(std::chrono::milliseconds(300));
    EXPECT_EQ(m_bindings.currentURL.get(), std::nullopt);
    EXPECT_EQ(m_bindings.pageTitle.get(), "Cohortex");

    view.update(true, std::nullopt);
    EXPECT_TRUE(runUntil([&] { return m_bindings.pageTitle.get() == "test"; }));
    EXPECT_EQ(m_bindings.currentURL.get(), Url::parse(page));
}

// Real clicks: WebKit hands a page's own synthetic events no modifiers and no button, which only reach the
// new-window policy. A pop-up opened by a script is a sign-in window of the page's own, not a tab.
TEST_F(IsolatedWebViewTest, LinksOpenInANewTabAPopUpOrAnotherApplicationButNeverReplaceThePage)
{
    if (!hasProgram("xdotool"))
        GTEST_SKIP() << "needs xdotool";
    m_launcher.applications["cohortex-meeting"] = "Meeting App";
    auto page = m_server.urlWith("/links",
        { { "body",
            "<style>body{margin:0} a{display:block;height:100px}</style><a href=\"/next\">next</a>"
            "<a id=\"blank\" href=\"/next\" "
            "target=\"_blank\">new</a>"
            "<a id=\"join\" href=\"cohortex-meeting:join/42\">join</a>"
            "<a id=\"mail\" href=\"mailto:team@example.com\">mail</a>" } });
    auto& view = makeView(page);
    ASSERT_TRUE(loaded(view, "/links"));
    runFor(std::chrono::milliseconds(300));
    ASSERT_TRUE(
        runProgram({ "xdotool", "mousemove", "40", "50", "keydown", "ctrl", "click", "1", "keyup", "ctrl" })
            .succeeded);
    ASSERT_TRUE(runUntil([&] { return m_newTabs.size() == 1; }));
    click(view, "#blank");
    ASSERT_TRUE(runUntil([&] { return m_newTabs.size() == 2; }));
    runFor(std::chrono::milliseconds(300));
    EXPECT_EQ(m_newTabs, std::vector<std::string>(2, m_server.url("/next")));

    auto popUp = [] {
        return windowWhere(
            [](GtkWindow* window) { return g_strcmp0(gtk_window_get_title(window), "localhost") == 0; });
    };
    runScript(view, "window.open('" + m_server.url("/signin", "localhost") + "')");
    ASSERT_TRUE(runUntil([&] { return popUp() != nullptr; }));
    EXPECT_EQ(gtk_window_get_transient_for(popUp()), GTK_WINDOW(gtk_widget_get_root(view.widget())));
    EXPECT_EQ(m_newTabs.size(), 2u);

    click(view, "#mail");
    ASSERT_TRUE(runUntil([&] { return !m_launcher.openedURIs.empty(); }));
    EXPECT_EQ(m_launcher.openedURIs, std::vector<std::string>{ "mailto:team@example.com" });
    m_launcher.openedURIs.clear();
    AdwMessageDialog* dialog = nullptr;
    // The title changes after both clicks, over the same channel as their navigations: once it shows, the
    // repeated link has reached the view while the user still decides.
    click(view, "#join");
    runScript(view, "document.getElementById('join').click(); document.title = 'asked twice'");
    ASSERT_TRUE(
        runUntil([&] { return (dialog = openMessageDialog()) != nullptr && title(view) == "asked twice"; }));
    EXPECT_STREQ(adw_message_dialog_get_heading(dialog), "Open in Meeting App?");
    EXPECT_TRUE(m_launcher.openedURIs.empty()) << "launched before the user agreed";
    adw_message_dialog_response(dialog, "open");
    ASSERT_TRUE(runUntil([&] { return !m_launcher.openedURIs.empty(); }));
    runFor(std::chrono::milliseconds(300));
    EXPECT_EQ(openMessageDialog(), nullptr) << "the repeated link asked again";
    EXPECT_EQ(m_launcher.openedURIs, std::vector<std::string>{ "cohortex-meeting:join/42" });

    EXPECT_TRUE(m_server.requestsFor("/next").empty());
    EXPECT_EQ(webkit_web_view_get_uri(webView(view)), page);
    closeView(0);
    EXPECT_EQ(popUp(), nullptr) << "the pop-up outlived its view";
}

// Switching to another tab or workspace leaves full screen, as the page itself does.
TEST_F(IsolatedWebViewTest, APageTakesTheWholeScreenUntilItOrTheUserMovesAway)
{
    auto configuration
        = this->configuration(m_server.urlWith("/video", { { "body", "<div id=\"player\">video</div>" } }));
    std::vector<bool> changes;
    configuration.onFullscreenChanged = [&](bool fullscreen) { changes.push_back(fullscreen); };
    auto& view = makeView(std::move(configuration));
    view.update(true, std::nullopt);
    ASSERT_TRUE(loaded(view, "/video"));
    runScript(view, "document.getElementById('player').requestFullscreen()");
    ASSERT_TRUE(runUntil([&] { return changes == std::vector<bool>{ true }; }));
    view.update(false, std::nullopt);
    ASSERT_TRUE(runUntil([&] { return changes == std::vector<bool>{ true, false }; }));
}

} // namespace
} // namespace cohortex
