#include "Models/PageStackPlan.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace cohortex {
namespace {

using testing::ElementsAre;
using testing::IsEmpty;

// Mail with two tabs, Chat with one, both loaded; Mail is shown on its second tab.
class PageStackPlanTest : public testing::Test {
protected:
    static WorkspaceSession workspace(std::string name)
    {
        auto site = *Url::parse("https://" + name + ".example.com/");
        return WorkspaceSession(Uuid::random(), std::move(name), site, std::nullopt, "globe", "#FF9500", 1,
            Uuid::random(), {}, {});
    }
    static BrowserTab tab(const char* address) { return { Uuid::random(), *Url::parse(address), "" }; }

    PageStackPlan plan(bool needsUnlock = false) const
    {
        return PageStackPlan::make({ workspaces, tabs, activeTabs, activeWorkspaceId, needsUnlock });
    }
    std::set<PageKey> existingPages() const
    {
        std::set<PageKey> keys;
        for (const auto& page : plan().pages)
            keys.insert(page.key);
        return keys;
    }
    static std::vector<PageKey> keysOf(const std::vector<PageStackPlan::Page>& pages)
    {
        std::vector<PageKey> keys;
        for (const auto& page : pages)
            keys.push_back(page.key);
        return keys;
    }

    std::vector<WorkspaceSession> workspaces{ workspace("mail"), workspace("chat") };
    const Uuid mail = workspaces[0].id;
    const Uuid chat = workspaces[1].id;
    BrowserTab inbox = tab("https://mail.example.com/inbox");
    BrowserTab drafts = tab("https://mail.example.com/drafts");
    BrowserTab room = tab("https://chat.example.com/room");
    std::map<Uuid, std::vector<BrowserTab>> tabs{ { mail, { inbox, drafts } }, { chat, { room } } };
    std::map<Uuid, Uuid> activeTabs{ { mail, drafts.id }, { chat, room.id } };
    std::optional<Uuid> activeWorkspaceId = mail;
};

TEST_F(PageStackPlanTest, KeepsAPagePerTabOfEveryLoadedWorkspaceInListOrder)
{
    std::swap(workspaces[0], workspaces[1]);
    auto result = plan();
    EXPECT_THAT(keysOf(result.pages),
        ElementsAre(PageKey{ chat, room.id }, PageKey{ mail, inbox.id }, PageKey{ mail, drafts.id }));
    EXPECT_EQ(result.pages[1].url, inbox.url);
    EXPECT_EQ(result.activePage, (PageKey{ mail, drafts.id }));
    EXPECT_TRUE(result.showsTabs);
    EXPECT_FALSE(result.showsLock);
}

TEST_F(PageStackPlanTest, GivesNoPageToTabsOfAWorkspaceNoLongerListed)
{
    workspaces.erase(workspaces.begin());
    auto result = plan();
    EXPECT_THAT(keysOf(result.pages), ElementsAre(PageKey{ chat, room.id }));
    EXPECT_EQ(result.activePage, std::nullopt);
    EXPECT_FALSE(result.showsTabs);
    EXPECT_FALSE(result.showsLock);
}

TEST_F(PageStackPlanTest, ShowsTheLockAndNoPageWhileTheWorkspaceWaitsForItsOwner)
{
    auto result = plan(true);
    EXPECT_TRUE(result.showsLock);
    EXPECT_EQ(result.activePage, std::nullopt);
    EXPECT_FALSE(result.showsTabs);
    // The pages stay alive under the lock; locking again puts the workspace to sleep, which frees them.
    EXPECT_EQ(result.pages.size(), 3u);
}

TEST_F(PageStackPlanTest, ShowsNoPageWithoutAnActiveTabThatExists)
{
    activeTabs[mail] = room.id;
    EXPECT_EQ(plan().activePage, std::nullopt);
    activeTabs.erase(mail);
    EXPECT_EQ(plan().activePage, std::nullopt);
    EXPECT_TRUE(plan().showsTabs);
}

TEST_F(PageStackPlanTest, ShowsNothingOfALockedWorkspaceNotYetLoadedButTheLock)
{
    auto vault = workspace("vault");
    workspaces.push_back(vault);
    activeWorkspaceId = vault.id;
    auto result = plan(true);
    EXPECT_TRUE(result.showsLock);
    EXPECT_FALSE(result.showsTabs);
    EXPECT_EQ(result.activePage, std::nullopt);
}

TEST_F(PageStackPlanTest, ShowsNeitherPageNorLockWithoutAnActiveWorkspace)
{
    activeWorkspaceId.reset();
    auto result = plan(true);
    EXPECT_EQ(result.activePage, std::nullopt);
    EXPECT_FALSE(result.showsLock);
    EXPECT_FALSE(result.showsTabs);
    EXPECT_EQ(result.pages.size(), 3u);
}

TEST_F(PageStackPlanTest, KeepsEveryPageWhenTitlesAndAddressesChange)
{
    auto existing = existingPages();
    tabs[mail][0].title = "(3) Inbox";
    tabs[mail][1].url = *Url::parse("https://mail.example.com/sent");
    auto changes = PageStackChanges::between(existing, plan());
    EXPECT_THAT(changes.toCreate, IsEmpty());
    EXPECT_THAT(changes.toDrop, IsEmpty());
}

TEST_F(PageStackPlanTest, DropsOnlyTheClosedTabsPage)
{
    auto existing = existingPages();
    tabs[mail].erase(tabs[mail].begin());
    auto changes = PageStackChanges::between(existing, plan());
    EXPECT_THAT(changes.toDrop, ElementsAre(PageKey{ mail, inbox.id }));
    EXPECT_THAT(changes.toCreate, IsEmpty());
}

TEST_F(PageStackPlanTest, DropsEveryPageOfAWorkspacePutToSleepAndRebuildsThemOnLoad)
{
    auto existing = existingPages();
    tabs.erase(mail);
    activeTabs.erase(mail);
    auto asleep = PageStackChanges::between(existing, plan());
    EXPECT_THAT(
        asleep.toDrop, testing::UnorderedElementsAre(PageKey{ mail, inbox.id }, PageKey{ mail, drafts.id }));
    EXPECT_THAT(asleep.toCreate, IsEmpty());

    // Loading again rebuilds the tabs with fresh ids, so they get fresh pages on their saved addresses.
    existing = existingPages();
    auto reloaded = tab("https://mail.example.com/inbox");
    tabs[mail] = { reloaded };
    activeTabs[mail] = reloaded.id;
    auto awake = PageStackChanges::between(existing, plan());
    EXPECT_THAT(awake.toDrop, IsEmpty());
    ASSERT_EQ(awake.toCreate.size(), 1u);
    EXPECT_EQ(awake.toCreate[0].key, (PageKey{ mail, reloaded.id }));
    EXPECT_EQ(awake.toCreate[0].url, reloaded.url);
}

TEST_F(PageStackPlanTest, CreatesOnlyTheNewTabsPage)
{
    auto existing = existingPages();
    auto added = tab("https://chat.example.com/other");
    tabs[chat].push_back(added);
    auto changes = PageStackChanges::between(existing, plan());
    EXPECT_THAT(keysOf(changes.toCreate), ElementsAre(PageKey{ chat, added.id }));
    EXPECT_THAT(changes.toDrop, IsEmpty());
}

} // namespace
} // namespace cohortex
