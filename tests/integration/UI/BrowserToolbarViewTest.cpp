#include "UI/WorkspaceWindow/BrowserToolbarView.h"

#include "Models/AddressInput.h"
#include "WorkspaceWindowFixture.h"

#include <gmock/gmock.h>

namespace cohortex::testing {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::Not;
using Kind = NavigationCommand::Kind;

// The toolbar alone over page bindings the test sets; what it shows for a page's state is the model's.
class BrowserToolbarViewTest : public WorkspaceWindowFixture {
protected:
    void SetUp() override
    {
        WorkspaceWindowFixture::SetUp();
        mail.initialURL = *Url::parse("https://mail.example.com/");
        toolbar = Gtk::make_managed<BrowserToolbarView>(
            BrowserToolbarView::Dependencies{ *manager, resources, downloads, presentation, bindings,
                [this](NavigationCommand command) { commands.push_back(std::move(command)); } });
        toolbar->setWorkspace(mail);
        showInWindow(*toolbar);
    }

    GtkWidget* bar() const { return GTK_WIDGET(toolbar->gobj()); }
    GtkWidget* address() const { return described(bar(), "Address"); }
    std::string addressText() const { return gtk_editable_get_text(GTK_EDITABLE(address())); }

    PageBindings bindings;
    std::vector<NavigationCommand> commands;
    BrowserToolbarView* toolbar{ nullptr };
};

TEST_F(
    BrowserToolbarViewTest, EachButtonFollowsThePageAndSendsItsOwnCommandAndTheAddressNeverOverwritesTyping)
{
    EXPECT_FALSE(gtk_widget_get_sensitive(described(bar(), "Back")));
    // One at a time, so that a button following the other's history is seen.
    bindings.canGoBack.set(true);
    EXPECT_TRUE(gtk_widget_get_sensitive(described(bar(), "Back")));
    EXPECT_FALSE(gtk_widget_get_sensitive(described(bar(), "Forward")));
    bindings.canGoForward.set(true);
    EXPECT_TRUE(gtk_widget_get_sensitive(described(bar(), "Forward")));
    click(described(bar(), "Back"));
    click(described(bar(), "Forward"));
    click(described(bar(), "Reload"));
    bindings.isLoading.set(true);
    settle();
    click(described(bar(), "Stop"));
    EXPECT_THAT(commands,
        ElementsAre(NavigationCommand::of(Kind::GoBack), NavigationCommand::of(Kind::GoForward),
            NavigationCommand::of(Kind::Reload), NavigationCommand::of(Kind::Stop)));

    manager->ensureActiveLoaded();
    click(described(bar(), "New Tab (Ctrl+T)"));
    EXPECT_EQ(runtime.tabs(mail.id).size(), 2u);
    click(described(bar(), "Settings"));
    EXPECT_TRUE(presentation.showingSettings().get());

    gtk_widget_grab_focus(address());
    settle();
    gtk_editable_set_text(GTK_EDITABLE(address()), "how to bake bread");
    bindings.currentURL.set(*Url::parse("https://example.org/c"));
    EXPECT_EQ(addressText(), "how to bake bread");
    g_signal_emit_by_name(address(), "activate");
    settle();
    ASSERT_EQ(commands.size(), 5u);
    EXPECT_EQ(commands[4].url->absoluteString(), std::string(webSearchEndpoint) + "how%20to%20bake%20bread");
    // Submitting leaves the field, so the page's address shows again as it moves on.
    bindings.currentURL.set(*Url::parse("https://example.org/d"));
    EXPECT_EQ(addressText(), "https://example.org/d");
}

TEST_F(BrowserToolbarViewTest, DownloadsListShowsTheWorkspacesDownloadsAndCancelsOne)
{
    auto running = downloads.started(mail.id, "/nowhere/report.pdf", nullptr);
    downloads.refused(mail.id, "broken.zip", "The server answered 404 Not Found");
    downloads.started(chat.id, "/nowhere/chat.zip", nullptr);
    settle();
    click(described(bar(), "Downloads: 1 in progress"));
    ASSERT_TRUE(presentation.showingDownloads().get());
    EXPECT_THAT(shownTexts(bar()), ::testing::IsSupersetOf({ "broken.zip", "report.pdf" }));
    EXPECT_THAT(shownTexts(bar()), Not(Contains("chat.zip")));

    click(described(bar(), "Cancel"));
    EXPECT_EQ(downloads.item(running)->state, DownloadItem::State::Cancelled);
}

} // namespace
} // namespace cohortex::testing
