#include "Services/SessionManagerFixture.h"

namespace cohortex {
namespace {

class SessionManagerSwitcherTest : public testing::SessionManagerFixture {
protected:
    void SetUp() override
    {
        storeList({ workspace("Mail", 1), workspace("Chat", 2) });
        manager = makeManager();
        mail = list()[0];
        chat = list()[1];
    }

    const std::vector<WorkspaceSession>& list() const { return manager->workspaces().get(); }
    const Uuid& tab(const Uuid& workspaceId, std::size_t index) const
    {
        return runtime.tabs(workspaceId)[index].id;
    }

    std::unique_ptr<SessionManager> manager;
    WorkspaceSession mail = workspace("", 0);
    WorkspaceSession chat = workspace("", 0);
};

TEST_F(SessionManagerSwitcherTest, WorkspaceRowsAreFollowedByTabRowsOnlyFromTwoTabsOn)
{
    runtime.load(mail, queue.now());
    runtime.newTab(mail.id, *Url::parse("https://news.example/today"));
    runtime.newTab(mail.id, *Url::parse("about:blank"));
    runtime.updateTab(tab(mail.id, 0), mail.id, "(2) Inbox", std::nullopt);
    runtime.selectTab(tab(mail.id, 1), mail.id);
    runtime.load(chat, queue.now());

    std::vector<std::pair<std::string, std::string>> rows;
    for (const auto& item : manager->switcherItems())
        rows.emplace_back(item.title, item.subtitle);
    std::vector<std::pair<std::string, std::string>> expected{ { "Mail", "news.example" },
        { "(2) Inbox", "Mail \u00b7 1.example.com" }, { "news.example", "Mail \u00b7 news.example" },
        { "tab", "Mail \u00b7 " }, { "Chat", "2.example.com" } };
    EXPECT_EQ(rows, expected);
}

TEST_F(SessionManagerSwitcherTest, SelectingARowGoesThereAndClosesThePanel)
{
    manager->showQuickSwitcher();
    EXPECT_TRUE(manager->showingQuickSwitcher().get());
    runtime.load(chat, queue.now());
    runtime.newTab(chat.id, *Url::parse("https://second.example/"));
    auto first = tab(chat.id, 0);
    manager->select(SwitcherItem(chat.id, first, "t", "s"));
    EXPECT_FALSE(manager->showingQuickSwitcher().get());
    EXPECT_EQ(manager->activeWorkspaceId().get(), chat.id);
    EXPECT_EQ(runtime.activeTab(chat.id)->id, first);

    // A workspace row leaves the selected tab alone; a removed workspace only closes the panel.
    manager->select(SwitcherItem(chat.id, std::nullopt, "Chat", ""));
    EXPECT_EQ(runtime.activeTab(chat.id)->id, first);
    manager->showQuickSwitcher();
    manager->select(SwitcherItem(Uuid::random(), std::nullopt, "Gone", ""));
    EXPECT_FALSE(manager->showingQuickSwitcher().get());
    EXPECT_EQ(manager->activeWorkspaceId().get(), chat.id);
}

TEST_F(SessionManagerSwitcherTest, TheTickCountsOnlyTheWorkspaceOnScreenAndOpen)
{
    auto counted = [&](const Uuid& id) {
        return timeTracker.ledger().get().seconds(id, queue.now(), *Calendar::inTimeZone("Europe/Berlin"));
    };
    manager->timeTick();
    EXPECT_EQ(counted(mail.id), 0);
    manager->showMainWindow();
    manager->timeTick();
    EXPECT_EQ(counted(mail.id), 5);
    window.minimised = true;
    manager->timeTick();
    EXPECT_EQ(counted(mail.id), 5);
    window.minimised = false;
    auto locked = mail;
    locked.requiresUnlock = true;
    runtime.forget(mail.id);
    manager->updateWorkspace(locked);
    manager->timeTick();
    EXPECT_EQ(counted(mail.id), 5);
}

TEST_F(SessionManagerSwitcherTest, TheTickWritesChangedOpenTabsWhateverElseHappens)
{
    runtime.load(mail, queue.now());
    EXPECT_TRUE(runtime.isDirty());
    manager->timeTick();
    EXPECT_FALSE(runtime.isDirty());
}

} // namespace
} // namespace cohortex
