#include "Services/CommandTable.h"

#include "Fakes/RecordingLauncher.h"
#include "Services/DownloadList.h"
#include "Services/SessionManagerFixture.h"

#include <set>

namespace cohortex {
namespace {

class CommandTableTest : public testing::ThreeWorkspacesFixture {
protected:
    void SetUp() override
    {
        ThreeWorkspacesFixture::SetUp();
        commands = std::make_unique<CommandTable>(
            CommandTable::Dependencies{ *manager, presentation, window, downloads, [this] { ++quits; } });
        manager->showMainWindow();
        queue.runPending();
    }

    testing::RecordingLauncher launcher;
    DownloadList downloads{ queue, launcher };
    std::unique_ptr<CommandTable> commands;
    int quits{ 0 };
};

// What each command does to the application, run by name as every control and key runs it.
TEST_F(CommandTableTest, EachCommandDoesWhatItsNameSays)
{
    struct Effect {
        const char* name;
        std::optional<int> argument;
        std::size_t tabsBefore;
        std::function<bool()> happened;
    };
    auto tabs = [&] { return runtime.tabs(mail.id).size(); };
    for (const auto& [name, argument, tabsBefore, happened] :
        std::initializer_list<Effect>{ { "new-tab", {}, 1, [&] { return tabs() == 2; } },
            { "close-tab", {}, 2, [&] { return tabs() == 1 && window.hides == 0; } },
            // With one tab left there is nothing to close but the window, which hides.
            { "close-tab", {}, 1, [&] { return tabs() == 1 && window.hides == 1; } },
            { "open-workspace", 2, 1, [&] { return manager->activeWorkspaceId().get() == chat.id; } },
            { "toggle-window", {}, 1, [&] { return window.hides == 1; } },
            { "quit", {}, 1, [&] { return quits == 1; } } }) {
        manager->openWorkspace(mail);
        manager->showMainWindow();
        presentation.setShowingQuickSwitcher(false);
        queue.advance(1);
        while (tabs() > tabsBefore)
            runtime.closeTab(runtime.tabs(mail.id).back().id, mail.id);
        while (tabs() < tabsBefore)
            runtime.newTab(mail.id, *Url::parse("https://other.example.com/"));
        window.hides = 0;
        EXPECT_TRUE(commands->run(name, argument)) << name;
        queue.advance(1);
        EXPECT_TRUE(happened()) << name << " with " << tabsBefore << " tabs";
    }
}

TEST_F(CommandTableTest, TheTabCommandsWaitWhileTheQuickSwitcherHasTheKeys)
{
    presentation.setShowingQuickSwitcher(true);
    EXPECT_FALSE(commands->run("new-tab"));
    EXPECT_EQ(runtime.tabs(mail.id).size(), 1u);
}

// A notification's click brings its download's own workspace forward, with the list; the commands of a
// row act on that download alone.
TEST_F(CommandTableTest, DownloadCommandsActOnTheNamedDownloadInItsOwnWorkspace)
{
    auto chats = downloads.started(chat.id, "/tmp/chat.zip", nullptr);
    auto mails = downloads.refused(mail.id, "mail.zip", "The server answered 500 Internal Server Error");
    commands->run("show-download", chats);
    queue.advance(1);
    EXPECT_EQ(manager->activeWorkspaceId().get(), chat.id);
    EXPECT_TRUE(presentation.showingDownloads().get());
    commands->run("cancel-download", chats);
    EXPECT_EQ(downloads.item(chats)->state, DownloadItem::State::Cancelled);
    commands->run("clear-downloads");
    EXPECT_FALSE(downloads.item(chats));
    EXPECT_TRUE(downloads.item(mails));
}

// Find, zoom and print wait for a page on screen, then each asks the window for its own request; Find
// also opens the bar, and the quick switcher keeps the keys while it shows.
TEST_F(CommandTableTest, PageCommandsWaitForAPageAndAskForTheirOwnRequest)
{
    using Request = PageActions::Request;
    auto& pages = commands->pageActions();
    std::vector<Request> asked;
    auto connection = pages.requested().connect([&](Request request) { asked.push_back(request); });
    EXPECT_FALSE(commands->run("zoom-in"));
    pages.hasPage().set(true);
    for (auto name : { "find", "find-next", "find-previous", "zoom-in", "zoom-out", "zoom-reset", "print" })
        EXPECT_TRUE(commands->run(name)) << name;
    EXPECT_EQ(asked,
        (std::vector{ Request::FocusFind, Request::FindNext, Request::FindPrevious, Request::ZoomIn,
            Request::ZoomOut, Request::ZoomReset, Request::Print }));
    EXPECT_TRUE(presentation.showingFindBar().get());
    presentation.setShowingQuickSwitcher(true);
    EXPECT_FALSE(commands->run("print"));
}

TEST_F(CommandTableTest, NamesAndKeysAreUniqueAndArgumentsAreChecked)
{
    std::set<std::string_view> names;
    std::set<std::string> keys;
    for (const auto& command : commands->commands()) {
        EXPECT_TRUE(names.insert(command->name).second) << command->name;
        for (const auto& key : command->keys)
            EXPECT_TRUE(keys.insert(key.accelerator).second) << key.accelerator;
    }
    EXPECT_TRUE(keys.contains("<Control><Shift>n")) << "The new-workspace button promises this key";
}

} // namespace
} // namespace cohortex
