#include "UI/WorkspaceWindow/BrowserToolbarView.h"

#include "BarTestHelpers.h"
#include "Models/AddressInput.h"
#include "Models/DownloadRows.h"
#include "Screenshot.h"
#include "UI/SymbolIcons.h"
#include "WorkspaceWindowFixture.h"

#include <gmock/gmock.h>

namespace cohortex::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::SizeIs;
using Kind = NavigationCommand::Kind;

// The toolbar alone, in a window of its own, over page bindings the test sets as a page would.
class BrowserToolbarViewTest : public WorkspaceWindowFixture {
protected:
    void SetUp() override
    {
        WorkspaceWindowFixture::SetUp();
        mail.initialURL = *Url::parse("https://mail.example.com/");
        toolbar = std::make_unique<BrowserToolbarView>(
            BrowserToolbarView::Dependencies{ *manager, resources, downloads, presentation, bindings,
                [this](NavigationCommand command) { commands.push_back(std::move(command)); } });
        toolbar->setWorkspace(mail);
        toolbarWindow = std::make_unique<Gtk::Window>();
        installActions(*toolbarWindow);
        toolbarWindow->set_default_size(900, 60);
        toolbarWindow->set_child(*toolbar);
        toolbarWindow->present();
        ASSERT_TRUE(runUntil([this] { return toolbar->get_mapped(); }));
        settle();
    }
    void TearDown() override
    {
        toolbarWindow->unset_child();
        toolbarWindow->destroy();
        toolbar.reset();
        toolbarWindow.reset();
        WorkspaceWindowFixture::TearDown();
    }

    GtkWidget* root() const { return GTK_WIDGET(toolbar->gobj()); }
    GtkWidget* button(const std::string& tooltip) const
    {
        auto found = shownWithTooltip(root(), tooltip);
        return found.empty() ? nullptr : found.front();
    }
    GtkEntry* address() const { return GTK_ENTRY(button("Address")); }
    std::string addressText() const { return gtk_editable_get_text(GTK_EDITABLE(address())); }
    std::string addressIcon() const
    {
        const char* icon = gtk_entry_get_icon_name(address(), GTK_ENTRY_ICON_PRIMARY);
        return icon ? icon : "";
    }

    PageBindings bindings;
    std::vector<NavigationCommand> commands;
    std::unique_ptr<BrowserToolbarView> toolbar;
    std::unique_ptr<Gtk::Window> toolbarWindow;
};

TEST_F(BrowserToolbarViewTest, NavigationButtonsFollowThePage)
{
    EXPECT_FALSE(gtk_widget_get_sensitive(button("Back")));
    EXPECT_FALSE(gtk_widget_get_sensitive(button("Forward")));
    bindings.canGoBack.set(true);
    EXPECT_TRUE(gtk_widget_get_sensitive(button("Back")));
    click(button("Back"));
    click(button("Reload"));

    bindings.isLoading.set(true);
    settle();
    EXPECT_EQ(button("Reload"), nullptr);
    click(button("Stop"));
    EXPECT_THAT(commands,
        ElementsAre(NavigationCommand::of(Kind::GoBack), NavigationCommand::of(Kind::Reload),
            NavigationCommand::of(Kind::Stop)));
    auto spinners
        = widgetsUnder(root(), [](GtkWidget* w) { return GTK_IS_SPINNER(w) && gtk_widget_get_mapped(w); });
    EXPECT_THAT(spinners, SizeIs(1));
}

TEST_F(BrowserToolbarViewTest, AddressShowsThePageButNeverOverwritesTyping)
{
    EXPECT_EQ(addressText(), "https://mail.example.com/");
    EXPECT_EQ(gtk_entry_get_placeholder_text(address()), std::string("Enter website URL or search..."));
    bindings.currentURL.set(*Url::parse("http://example.org/a"));
    EXPECT_EQ(addressText(), "http://example.org/a");
    EXPECT_EQ(addressIcon(), iconNameForSymbol("globe"));
    bindings.currentURL.set(*Url::parse("https://example.org/b"));
    EXPECT_EQ(addressIcon(), iconNameForSymbol("lock.fill"));

    gtk_widget_grab_focus(GTK_WIDGET(address()));
    settle();
    gtk_editable_set_text(GTK_EDITABLE(address()), "how to bake bread");
    bindings.currentURL.set(*Url::parse("https://example.org/c"));
    EXPECT_EQ(addressText(), "how to bake bread");

    g_signal_emit_by_name(address(), "activate");
    settle();
    ASSERT_THAT(commands, SizeIs(1));
    EXPECT_EQ(commands[0].url->absoluteString(), std::string(webSearchEndpoint) + "how%20to%20bake%20bread");
    // Submitting leaves the field, so the page's address shows again as it moves on.
    bindings.currentURL.set(*Url::parse("https://example.org/d"));
    EXPECT_EQ(addressText(), "https://example.org/d");
}

TEST_F(BrowserToolbarViewTest, BadgeMemoryNewTabAndSettings)
{
    EXPECT_THAT(shownLabels(root()), ::testing::Contains("Mail"));
    memory.own = 1536;
    auto memoryButtons = widgetsUnder(
        root(), [](GtkWidget* w) { return GTK_IS_BUTTON(w) && tooltipOf(w).raw().starts_with("App "); });
    ASSERT_THAT(memoryButtons, SizeIs(1));
    click(memoryButtons.front());
    EXPECT_THAT(shownLabels(memoryButtons.front()), ElementsAre("1.5 GB"));
    EXPECT_THAT(tooltipOf(memoryButtons.front()).raw(),
        ::testing::StartsWith("App 1.5 GB + web pages 0 MB. You've switched workspaces"));

    manager->ensureActiveLoaded();
    settle();
    click(button("New Tab (Ctrl+T)"));
    EXPECT_EQ(runtime.tabs(mail.id).size(), 2u);
    click(button("Settings"));
    EXPECT_TRUE(presentation.showingSettings().get());
}

// The button opens the list of the shown workspace's downloads, whose buttons act on their own download.
TEST_F(BrowserToolbarViewTest, DownloadsListShowsTheWorkspacesDownloadsAndCancelsOne)
{
    manager->showMainWindow();
    settle();
    auto running = downloads.started(mail.id, "/nowhere/report.pdf", nullptr);
    downloads.progressed(running, 12'500'000, 50'000'000);
    downloads.refused(mail.id, "broken.zip", "The server answered 404 Not Found");
    auto chats = downloads.started(chat.id, "/nowhere/chat.zip", nullptr);
    settle();
    click(button("Downloads: 1 in progress"));
    ASSERT_TRUE(presentation.showingDownloads().get());
    EXPECT_THAT(shownLabels(root()),
        ::testing::IsSupersetOf({ "broken.zip", "Failed: The server answered 404 Not Found", "report.pdf",
            "12.5 MB of 50.0 MB" }));
    EXPECT_THAT(shownLabels(root()), ::testing::Not(::testing::Contains("chat.zip")));
    auto popovers = widgetsUnder(root(), [](GtkWidget* w) { return GTK_IS_POPOVER(w); });
    ASSERT_THAT(popovers, SizeIs(1));
    saveScreenshot(popovers.front(), "downloads");

    ASSERT_THAT(shownWithTooltip(root(), "Cancel"), SizeIs(1));
    click(shownWithTooltip(root(), "Cancel").front());
    EXPECT_EQ(downloads.item(running)->state, DownloadItem::State::Cancelled);
    EXPECT_THAT(shownLabels(root()), ::testing::Contains("Cancelled"));
    EXPECT_THAT(shownWithTooltip(root(), "Cancel"), SizeIs(0));
    click(buttonWithLabel(root(), "Clear"));
    EXPECT_THAT(shownLabels(root()), ::testing::Contains(std::string(DownloadRows::emptyText)));
    EXPECT_TRUE(downloads.item(chats));
}

} // namespace
} // namespace cohortex::testing
