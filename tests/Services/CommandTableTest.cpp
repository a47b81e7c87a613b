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

class CommandEffectTest;

// What each command does to the application, run by name as every control and key runs it.
struct Effect {
    const char* label;
    const char* name;
    std::optional<int> argument;
    std::size_t tabsBefore;
    // Checked after the command ran.
    std::function<void(CommandEffectTest&)> check;
};

class CommandEffectTest : public CommandTableTest, public ::testing::WithParamInterface<Effect> {
public:
    std::size_t tabs() const { return runtime.tabs(mail.id).size(); }
    Presentation& shown() { return presentation; }
    testing::FakeWindowHost& host() { return window; }
    SessionManager& sessions() { return *manager; }
    const WorkspaceSession& chatWorkspace() const { return chat; }
    int quitCount() const { return quits; }
};

TEST_P(CommandEffectTest, DoesWhatItsNameSays)
{
    while (tabs() < GetParam().tabsBefore)
        runtime.newTab(mail.id, *Url::parse("https://other.example.com/"));
    window.hides = 0;
    EXPECT_TRUE(commands->run(GetParam().name, GetParam().argument));
    queue.advance(1);
    GetParam().check(*this);
}

INSTANTIATE_TEST_SUITE_P(Commands, CommandEffectTest,
    ::testing::Values(Effect{ "NewTab", "new-tab", {}, 1, [](auto& t) { EXPECT_EQ(t.tabs(), 2u); } },
        Effect{ "CloseTab", "close-tab", {}, 2, [](auto& t) { EXPECT_EQ(t.tabs(), 1u); } },
        // With one tab left there is nothing to close but the window, which hides.
        Effect{ "CloseTheLastTabHidesTheWindow", "close-tab", {}, 1,
            [](auto& t) {
                EXPECT_EQ(t.tabs(), 1u);
                EXPECT_EQ(t.host().hides, 1);
            } },
        Effect{ "NewWorkspace", "new-workspace", {}, 1,
            [](auto& t) { EXPECT_TRUE(t.shown().showingCreateModal().get()); } },
        Effect{
            "Settings", "settings", {}, 1, [](auto& t) { EXPECT_TRUE(t.shown().showingSettings().get()); } },
        Effect{ "QuickSwitcher", "quick-switcher", {}, 1,
            [](auto& t) { EXPECT_TRUE(t.shown().showingQuickSwitcher().get()); } },
        Effect{ "KeyboardShortcuts", "keyboard-shortcuts", {}, 1,
            [](auto& t) { EXPECT_TRUE(t.shown().showingShortcutsHelp().get()); } },
        Effect{ "Downloads", "show-downloads", {}, 1,
            [](auto& t) { EXPECT_TRUE(t.shown().showingDownloads().get()); } },
        Effect{ "OpenWorkspaceTwo", "open-workspace", 2, 1,
            [](auto& t) { EXPECT_EQ(t.sessions().activeWorkspaceId().get(), t.chatWorkspace().id); } },
        Effect{ "ToggleHidesTheWindowInFront", "toggle-window", {}, 1,
            [](auto& t) { EXPECT_EQ(t.host().hides, 1); } },
        Effect{ "Quit", "quit", {}, 1, [](auto& t) { EXPECT_EQ(t.quitCount(), 1); } }),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(CommandTableTest, TheTabCommandsWaitWhileTheQuickSwitcherHasTheKeys)
{
    presentation.setShowingQuickSwitcher(true);
    EXPECT_FALSE(commands->find("new-tab")->isEnabled.get());
    EXPECT_FALSE(commands->run("new-tab"));
    EXPECT_EQ(runtime.tabs(mail.id).size(), 1u);
    presentation.setShowingQuickSwitcher(false);
    EXPECT_TRUE(commands->run("new-tab"));
}

// A notification's click brings its download's own workspace forward, with the list; the commands of a
// row act on that download alone.
TEST_F(CommandTableTest, DownloadCommandsActOnTheNamedDownloadInItsOwnWorkspace)
{
    auto chats = downloads.started(chat.id, "/tmp/chat.zip", nullptr);
    auto mails = downloads.refused(mail.id, "mail.zip", "The server answered 500 Internal Server Error");
    EXPECT_TRUE(commands->run("show-download", chats));
    queue.advance(1);
    EXPECT_EQ(manager->activeWorkspaceId().get(), chat.id);
    EXPECT_TRUE(presentation.showingDownloads().get());
    EXPECT_TRUE(commands->run("cancel-download", chats));
    EXPECT_EQ(downloads.item(chats)->state, DownloadItem::State::Cancelled);
    EXPECT_TRUE(commands->run("clear-downloads"));
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
    connection.disconnect();
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
    EXPECT_FALSE(commands->run("open-workspace"));
    EXPECT_FALSE(commands->run("new-tab", 3));
    EXPECT_FALSE(commands->run("no-such-command"));
}

} // namespace
} // namespace cohortex
