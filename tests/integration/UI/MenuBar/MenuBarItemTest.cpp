#include "UI/MenuBar/MenuBarItem.h"

#include "FakeDesktop.h"
#include "MenuBarFixture.h"
#include "Platform/Linux/GioNotifications.h"
#include "UI/MenuBar/MenuBarPanel.h"

#include <unistd.h>

namespace cohortex::testing {
namespace {

// Against a panel, a dock and a notification service written here, on a private session bus that can
// start no service, so no portal stands in between.
class MenuBarItemTest : public MenuBarFixture {
protected:
    void TearDown() override
    {
        item.reset();
        notifications.reset();
        MenuBarFixture::TearDown();
    }

    void makeItem()
    {
        notifications = std::make_unique<GioNotifications>(G_APPLICATION(s_application->gobj()));
        item = std::make_unique<MenuBarItem>(
            MenuBarItem::Dependencies{ *model, *manager, *commandTable, s_application, *notifications });
        windows->setCloseObserver([this] { item->mainWindowClosed(); });
    }
    static std::string itemName() { return "org.kde.StatusNotifierItem-" + std::to_string(getpid()) + "-1"; }
    bool waitForRegistration(const FakeStatusNotifierWatcher& watcher)
    {
        return runUntil([&] { return !watcher.registrations.empty() && item->isInTray(); }, timeout);
    }
    void showAndClose()
    {
        manager->showMainWindow();
        ASSERT_TRUE(runUntil([&] { return windows->isMainWindowVisible(); }, timeout));
        windows->mainWindow()->close();
        runFor(0.3);
    }

    MenuBarPanel* panel() const
    {
        for (auto* window : s_application->get_windows()) {
            if (auto* found = dynamic_cast<MenuBarPanel*>(window))
                return found;
        }
        return nullptr;
    }
    bool isPanelShown() const { return panel() && panel()->get_mapped(); }
    std::string property(const char* name) { return watcher->itemString(itemName(), name); }

    // Clicks the menu's item with the label, as the panel finds it in the layout it reads.
    void chooseInMenu(const std::string& label)
    {
        auto layout = host.call(itemName(), MenuBarItem::menuPath, "com.canonical.dbusmenu", "GetLayout",
            g_variant_new("(ii@as)", 0, -1, g_variant_new_strv(nullptr, 0)));
        ASSERT_TRUE(layout);
        GVariantPtr root(g_variant_get_child_value(layout.get(), 1));
        GVariantPtr children(g_variant_get_child_value(root.get(), 2));
        for (gsize index = 0; index < g_variant_n_children(children.get()); ++index) {
            GVariantPtr boxed(g_variant_get_child_value(children.get(), index));
            GVariantPtr child(g_variant_get_variant(boxed.get()));
            gint32 id = 0;
            GVariant* values = nullptr;
            g_variant_get(child.get(), "(i@a{sv}@av)", &id, &values, nullptr);
            GVariantPtr properties(values);
            const char* shown = "";
            if (g_variant_lookup(properties.get(), "label", "&s", &shown) && label == shown) {
                host.call(itemName(), MenuBarItem::menuPath, "com.canonical.dbusmenu", "Event",
                    g_variant_new("(isvu)", id, "clicked", g_variant_new_int32(0), 0u));
                return;
            }
        }
        ADD_FAILURE() << "no menu item " << label;
    }

    BusPeer host;
    std::unique_ptr<FakeStatusNotifierWatcher> watcher = std::make_unique<FakeStatusNotifierWatcher>(host);
    std::unique_ptr<GioNotifications> notifications;
    std::unique_ptr<MenuBarItem> item;
};

TEST_F(MenuBarItemTest, ThePanelReadsTheIconAndTheUnreadTotal)
{
    auto& statusChanges = host.listen("org.kde.StatusNotifierItem", "NewStatus");
    auto& launcherUpdates = host.listen("com.canonical.Unity.LauncherEntry", "Update");
    makeItem();
    ASSERT_TRUE(waitForRegistration(*watcher));
    EXPECT_EQ(watcher->registrations.front(), itemName());
    for (auto [name, value] : { std::pair{ "IconName", "com.kestrelwick.Cohortex" },
             { "AttentionIconName", "com.kestrelwick.Cohortex-attention" }, { "Menu", MenuBarItem::menuPath },
             { "Status", "Active" } })
        EXPECT_EQ(property(name), value) << name;

    setTitle(mail, "(120) Inbox");
    ASSERT_TRUE(runUntil([&] { return !statusChanges.empty(); }, timeout));
    EXPECT_EQ(property("Status"), "NeedsAttention");
    setTitle(mail, "Inbox");
    ASSERT_TRUE(runUntil([&] { return statusChanges.size() >= 2; }, timeout));
    EXPECT_EQ(property("Status"), "Active");

    // The dock gets the whole total, and no count once nothing is unread.
    std::vector<std::pair<std::int64_t, bool>> counts;
    for (const auto& update : launcherUpdates) {
        const char* uri = nullptr;
        gint64 count = -1;
        gboolean visible = false;
        GVariant* values = nullptr;
        g_variant_get(update.get(), "(&s@a{sv})", &uri, &values);
        GVariantPtr properties(values);
        EXPECT_STREQ(uri, "application://com.kestrelwick.Cohortex.desktop");
        EXPECT_TRUE(g_variant_lookup(properties.get(), "count", "x", &count));
        EXPECT_TRUE(g_variant_lookup(properties.get(), "count-visible", "b", &visible));
        counts.emplace_back(count, visible);
    }
    ASSERT_FALSE(counts.empty());
    EXPECT_EQ(counts.back(), std::make_pair(std::int64_t(0), false));
    EXPECT_NE(std::ranges::find(counts, std::make_pair(std::int64_t(120), true)), counts.end());
}

// What the rows say is checked with the menu's model; here, that the panel shows it and a row acts.
TEST_F(MenuBarItemTest, ActivatingTheIconShowsThePanelAndThePanelAndTheMenuOpenWorkspaces)
{
    makeItem();
    ASSERT_TRUE(waitForRegistration(*watcher));
    watcher->callItem(itemName(), "Activate", g_variant_new("(ii)", 640, 10));
    ASSERT_TRUE(runUntil([&] { return isPanelShown(); }, timeout));
    setTitle(chat, "(250) Chat");
    runFor(0.2);
    auto* shown = GTK_WIDGET(panel()->gobj());
    EXPECT_EQ(shownTexts(button(shown, "Chat")), (std::vector<std::string>{ "Chat", "99", "Ctrl+Alt+2" }));
    saveScreenshot(shown, "menu-bar-panel");
    click(button(shown, "Chat"));
    EXPECT_EQ(manager->activeWorkspaceId().get(), chat.id);
    EXPECT_TRUE(runUntil([&] { return windows->isMainWindowVisible() && !isPanelShown(); }, timeout));
    // Opened again after it was hidden, the panel's buttons still reach the application's commands.
    runFor(0.35);
    watcher->callItem(itemName(), "Activate", g_variant_new("(ii)", 640, 10));
    ASSERT_TRUE(runUntil([&] { return isPanelShown(); }, timeout));
    click(button(GTK_WIDGET(panel()->gobj()), "Settings..."));
    EXPECT_TRUE(runUntil([&] { return presentation.showingSettings().get() && !isPanelShown(); }, timeout));

    chooseInMenu("Mail");
    ASSERT_TRUE(runUntil([&] { return manager->activeWorkspaceId().get() == mail.id; }, timeout));
}

// A panel that restarts (a shell restart, an extension turned off and on) has forgotten every item.
TEST_F(MenuBarItemTest, WithoutATrayClosingTellsAndTheIconRegistersAgainWhenThePanelComesBack)
{
    FakeNotificationServer server(host);
    makeItem();
    ASSERT_TRUE(waitForRegistration(*watcher));
    ASSERT_NO_FATAL_FAILURE(showAndClose());
    EXPECT_TRUE(server.shown.empty()) << "the tray icon leads back, no need to tell";

    watcher.reset();
    ASSERT_TRUE(runUntil([&] { return !item->isInTray(); }, timeout));
    ASSERT_NO_FATAL_FAILURE(showAndClose());
    ASSERT_TRUE(runUntil([&] { return server.shown.size() == 1; }, timeout));
    server.press(server.shown.front(), "Open");
    EXPECT_TRUE(runUntil([&] { return windows->isMainWindowVisible(); }, timeout));

    FakeStatusNotifierWatcher restarted(host);
    ASSERT_TRUE(waitForRegistration(restarted));
    EXPECT_EQ(restarted.registrations, std::vector<std::string>{ itemName() });
}

} // namespace
} // namespace cohortex::testing
