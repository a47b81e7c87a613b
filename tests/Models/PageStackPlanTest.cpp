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
    static std::vector<PageKey> keysOf(const std::vector<PageStackPlan::Page>& pages)
    {
        std::vector<PageKey> keys;
        for (const auto& page : pages)
            keys.push_back(page.key);
        return keys;
    }
    // The changes from the pages of the plan before `change` to those of the plan after it.
    template <typename Change>
    PageStackChanges changesAfter(Change change)
    {
        auto before = keysOf(plan().pages);
        change();
        return PageStackChanges::between(std::set(before.begin(), before.end()), plan());
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

TEST_F(PageStackPlanTest, KeepsAPagePerTabOfEveryListedLoadedWorkspaceInListOrder)
{
    std::swap(workspaces[0], workspaces[1]);
    auto result = plan();
    EXPECT_THAT(keysOf(result.pages),
        ElementsAre(PageKey{ chat, room.id }, PageKey{ mail, inbox.id }, PageKey{ mail, drafts.id }));
    EXPECT_EQ(result.pages[1].url, inbox.url);
    EXPECT_EQ(result.activePage, (PageKey{ mail, drafts.id }));
    EXPECT_TRUE(result.showsTabs);
    EXPECT_FALSE(result.showsLock);

    workspaces.erase(workspaces.begin() + 1);
    result = plan();
    EXPECT_THAT(keysOf(result.pages), ElementsAre(PageKey{ chat, room.id }));
    EXPECT_FALSE(result.showsTabs);
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

TEST_F(PageStackPlanTest, ChangesCreateAndDropOnlyThePagesOfOpenedClosedAndSleepingTabs)
{
    auto renamed = changesAfter([&] {
        tabs[mail][0].title = "(3) Inbox";
        tabs[mail][1].url = *Url::parse("https://mail.example.com/sent");
    });
    EXPECT_THAT(renamed.toCreate, IsEmpty());
    EXPECT_THAT(renamed.toDrop, IsEmpty());

    auto added = tab("https://chat.example.com/other");
    auto opened = changesAfter([&] {
        tabs[chat].push_back(added);
        tabs[mail].erase(tabs[mail].begin());
    });
    EXPECT_THAT(keysOf(opened.toCreate), ElementsAre(PageKey{ chat, added.id }));
    EXPECT_THAT(opened.toDrop, ElementsAre(PageKey{ mail, inbox.id }));

    auto asleep = changesAfter([&] {
        tabs.erase(mail);
        activeTabs.erase(mail);
    });
    EXPECT_THAT(asleep.toDrop, ElementsAre(PageKey{ mail, drafts.id }));
    EXPECT_THAT(asleep.toCreate, IsEmpty());

    // Loading again rebuilds the tabs with fresh ids, so they get fresh pages on their saved addresses.
    auto reloaded = tab("https://mail.example.com/inbox");
    auto awake = changesAfter([&] {
        tabs[mail] = { reloaded };
        activeTabs[mail] = reloaded.id;
    });
    EXPECT_THAT(awake.toDrop, IsEmpty());
    ASSERT_EQ(awake.toCreate.size(), 1u);
    EXPECT_EQ(awake.toCreate[0].key, (PageKey{ mail, reloaded.id }));
    EXPECT_EQ(awake.toCreate[0].url, reloaded.url);
}

} // namespace
} // namespace cohortex
