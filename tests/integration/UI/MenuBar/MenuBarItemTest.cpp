#include "UI/MenuBar/MenuBarItem.h"

#include "FakeDesktop.h"
#include "MenuBarFixture.h"
#include "Platform/Linux/GioNotifications.h"
#include "UI/MenuBar/MenuBarPanel.h"

#include <filesystem>
#include <unistd.h>

// Last: Xlib's macros (None, Bool, Status, ...) would break toolkit headers included after them.
#include <X11/Xlib.h>
#include <gdk/x11/gdkx.h>

namespace cohortex::testing {
namespace {

// Cohortex's tray icon, menu, launcher count and notification, against a panel, a dock and a notification
// service written here, all on the test's private session bus (which can start no service, so no portal
// stands in between).
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
    // Where the panel's top left corner is on the screen.
    std::pair<int, int> panelOrigin() const
    {
        auto* display = gdk_x11_display_get_xdisplay(gdk_display_get_default());
        auto xid = gdk_x11_surface_get_xid(gtk_native_get_surface(GTK_NATIVE(panel()->gobj())));
        int x = -1;
        int y = -1;
        ::Window child = 0;
        XTranslateCoordinates(display, xid, DefaultRootWindow(display), 0, 0, &x, &y, &child);
        return { x, y };
    }

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

std::string toolTipText(const GVariantPtr& toolTip)
{
    if (!toolTip || !g_variant_is_of_type(toolTip.get(), G_VARIANT_TYPE("(sa(iiay)ss)")))
        return "<not a tooltip>";
    const char* title = nullptr;
    const char* text = nullptr;
    g_variant_get(toolTip.get(), "(&s@a(iiay)&s&s)", nullptr, nullptr, &title, &text);
    return std::string(title) + " | " + text;
}

TEST_F(MenuBarItemTest, ThePanelReadsTheIconAndTheUnreadTotal)
{
    auto& statusChanges = host.listen("org.kde.StatusNotifierItem", "NewStatus");
    auto& launcherUpdates = host.listen("com.canonical.Unity.LauncherEntry", "Update");
    makeItem();
    ASSERT_TRUE(waitForRegistration(*watcher));
    EXPECT_EQ(watcher->registrations.front(), itemName());
    for (auto [name, value] : { std::pair{ "IconName", "com.kestrelwick.Cohortex" },
             { "Menu", MenuBarItem::menuPath }, { "Status", "Active" } })
        EXPECT_EQ(property(name), value) << name;
    auto isMenu = watcher->itemProperty(itemName(), "ItemIsMenu");
    EXPECT_TRUE(isMenu && !g_variant_get_boolean(isMenu.get()));
    // The attention icon is one Cohortex installs beside its own.
    auto attention = property("AttentionIconName");
    EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(COHORTEX_SOURCE_DIR)
        / "data/icons/hicolor/scalable/apps" / (attention + ".svg")))
        << attention;

    setTitle(mail, "(120) Inbox");
    ASSERT_TRUE(runUntil([&] { return !statusChanges.empty(); }, timeout));
    EXPECT_EQ(property("Status"), "NeedsAttention");
    EXPECT_EQ(toolTipText(watcher->itemProperty(itemName(), "ToolTip")), "Cohortex | 99+ unread");
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
TEST_F(MenuBarItemTest, ActivatingTheIconShowsThePanelUnderTheClickAndThePanelAndTheMenuOpenWorkspaces)
{
    makeItem();
    ASSERT_TRUE(waitForRegistration(*watcher));
    watcher->callItem(itemName(), "Activate", g_variant_new("(ii)", 640, 10));
    ASSERT_TRUE(runUntil([&] { return isPanelShown(); }, timeout));
    // Centred under the click, as a menu of the top bar opens.
    int width = gdk_surface_get_width(gtk_native_get_surface(GTK_NATIVE(panel()->gobj())));
    EXPECT_TRUE(runUntil([&] { return panelOrigin() == std::make_pair(640 - width / 2, 10 + 8); }, timeout))
        << panelOrigin().first << ", " << panelOrigin().second;
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
    windows->hideMainWindow();
    chooseInMenu("New Container Workspace...");
    EXPECT_TRUE(runUntil(
        [&] { return presentation.showingCreateModal().get() && windows->isMainWindowVisible(); }, timeout));
    chooseInMenu("Quit Cohortex");
    EXPECT_TRUE(runUntil([&] { return quits == 1; }, timeout));
}

// Without a tray the first close of the window says Cohortex is still there, once, and each of the
// notification's buttons runs its command. A panel that restarts (a shell restart, an extension turned off
// and on) has forgotten every item: the icon registers again.
TEST_F(MenuBarItemTest, WithoutATrayTheFirstCloseTellsOnceAndTheIconRegistersAgainWhenThePanelComesBack)
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
    ASSERT_NO_FATAL_FAILURE(showAndClose());
    ASSERT_EQ(server.shown.size(), 1u);
    auto notice = server.shown.front();
    EXPECT_EQ(notice.summary, "Cohortex is still running");
    EXPECT_FALSE(windows->isMainWindowVisible());
    server.press(notice, "Open");
    EXPECT_TRUE(runUntil([&] { return windows->isMainWindowVisible(); }, timeout));

    FakeStatusNotifierWatcher restarted(host);
    ASSERT_TRUE(waitForRegistration(restarted));
    EXPECT_EQ(restarted.registrations, std::vector<std::string>{ itemName() });
}

} // namespace
} // namespace cohortex::testing
