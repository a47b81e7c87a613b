#include "Models/WorkspaceBundle.h"
#include "SettingsWindowFixture.h"

#include <gmock/gmock.h>

namespace cohortex::testing {
namespace {

using ::testing::IsEmpty;

// Each tab's rules are checked with its model; here, that each control reaches it and shows its answer.
using SettingsWindowTest = SettingsWindowFixture;

TEST_F(SettingsWindowTest, GeneralStoresItsChoicesAndPurgesEveryWorkspace)
{
    GtkWidget* settings = openSettings("general");
    ASSERT_NE(settings, nullptr);
    EXPECT_EQ(gtk_window_get_transient_for(GTK_WINDOW(settings)), window->gobj());
    screenshot(settings, "settings-general");

    choose(row(settings, "Hibernate idle workspaces"), 5);
    EXPECT_EQ(defaults.integer(keys::sleepAfterMinutes), 120);

    gtk_switch_set_active(GTK_SWITCH(switchOf(row(settings, "Launch Cohortex at login"))), true);
    EXPECT_TRUE(std::filesystem::exists(XdgAutostartLoginItem::entryPath()));
    gtk_switch_set_active(GTK_SWITCH(switchOf(row(settings, "Stay signed in after quitting"))), false);
    EXPECT_EQ(defaults.boolean(keys::keepSessionsAfterQuit), false);

    alerts.answer = true;
    click(button(settings, "Purge Cache"));
    EXPECT_EQ(alerts.shown.back(), "Purge All Storage?|This will log you out of all workspace containers.");
    // Every workspace's store is wiped, the locked one's too; the wipe itself is the engine's.
    EXPECT_EQ(std::ranges::count(cookieVault.saves, false, &std::pair<Uuid, bool>::second), 3);

    click(button(settings, "Done"));
    EXPECT_FALSE(presentation.showingSettings().get());
    EXPECT_EQ(windowTitled("Settings"), nullptr);
}

TEST_F(SettingsWindowTest, LinksAddsARuleThatRoutesAndRemovesIt)
{
    GtkWidget* settings = openSettings("links");
    ASSERT_NE(settings, nullptr);
    ASSERT_NE(row(settings, "Cohortex is not your default browser"), nullptr);
    click(button(settings, "Make Default Browser"));
    EXPECT_TRUE(showsText(settings,
        "Couldn't change it: The desktop file com.kestrelwick.CohortexNotInstalled.desktop is not "
        "installed"));

    GtkWidget* pattern = row(settings, "Site, e.g. github.com or github.com/acme");
    GtkWidget* add = button(settings, "Add");
    type(pattern, " https://GitHub.com/acme/ ");
    auto* target = firstShown(pattern, [](GtkWidget* w) { return GTK_IS_DROP_DOWN(w); });
    gtk_drop_down_set_selected(GTK_DROP_DOWN(target), 1);
    click(add);
    auto decision = manager->routingDecision(*Url::parse("https://github.com/acme/tools"));
    EXPECT_EQ(decision->workspace.id, chat.id);
    EXPECT_EQ(decision->reason, RoutingReason::Rule);
    auto ruleRow
        = [&] { return gtk_widget_get_ancestor(label(settings, "github.com/acme"), ADW_TYPE_ACTION_ROW); };
    ASSERT_NE(ruleRow(), nullptr);
    EXPECT_TRUE(showsText(ruleRow(), "Chat"));

    choose(row(settings, "Links with no rule open in"), 1);
    EXPECT_EQ(manager->linkFallbackWorkspaceId().get(), mail.id);
    screenshot(settings, "settings-links");

    click(described(ruleRow(), "Remove Rule"));
    EXPECT_THAT(routingRules.rules().get(), IsEmpty());
    EXPECT_EQ(manager->routingDecision(*Url::parse("https://github.com/acme/tools"))->workspace.id, mail.id);
    EXPECT_TRUE(showsText(settings, "No rules yet. For example: twitter.com \u2192 Social"));
}

TEST_F(SettingsWindowTest, TimeShowsTheTableExportsTheCsvAndClears)
{
    for (int tick = 0; tick < 12; ++tick)
        timeTracker.tick(mail.id, true, true, 0, queue.now(), Calendar::current());
    GtkWidget* settings = openSettings("time");
    ASSERT_NE(settings, nullptr);
    EXPECT_TRUE(showsText(settings, "Last 7 days"));
    EXPECT_TRUE(showsText(settings, "1m"));
    screenshot(settings, "settings-time");

    savedFile = file("Cohortex-time.csv");
    click(button(settings, "Export CSV…"));
    ASSERT_TRUE(runUntil([&] { return std::filesystem::exists(savedFile); }));
    EXPECT_NE(contents(savedFile).find(",Mail,"), std::string::npos) << contents(savedFile);

    alerts.answer = true;
    click(button(settings, "Clear History…"));
    EXPECT_EQ(alerts.shown.back(), "Clear all tracked time?|This can't be undone.");
    EXPECT_TRUE(timeTracker.ledger()->days().empty());
    EXPECT_FALSE(showsText(settings, "1m"));
}

TEST_F(SettingsWindowTest, TeamExportsTheSetupAndImportsATeammates)
{
    GtkWidget* settings = openSettings("team");
    ASSERT_NE(settings, nullptr);
    savedFile = file("Mine.cohortex");
    click(button(settings, "Export Setup…"));
    ASSERT_TRUE(runUntil([&] { return showsText(settings, "Exported 3 workspaces."); }));
    EXPECT_TRUE(contents(savedFile).find("Chat") != std::string::npos);
    screenshot(settings, "settings-team");

    auto design = workspace("Design", 4);
    design.initialURL = *Url::parse("https://design.example/");
    openedFile = file("Team.cohortex");
    std::ofstream(openedFile) << WorkspaceBundle::make(std::vector{ design }, {}, queue.now()).encoded();
    alerts.answer = true;
    click(button(settings, "Import Setup…"));
    ASSERT_TRUE(runUntil([&] { return manager->workspaces().get().size() == 4; })) << alerts.shown.back();
    EXPECT_EQ(manager->workspaces().get().back().name, "Design");
    ASSERT_TRUE(runUntil([&] { return label(settings, "Exported 3 workspaces.") == nullptr; }));
}

TEST_F(SettingsWindowTest, UpdatesLeavesTheCheckToThePackageManagerAndClosesLikeAnyWindow)
{
    GtkWidget* settings = openSettings("updates");
    ASSERT_NE(settings, nullptr);
    EXPECT_TRUE(showsText(settings, "Cohortex is updated by your system's package manager."));
    EXPECT_FALSE(gtk_widget_get_sensitive(button(settings, "Check for Updates Now")));
    // The build names its own version and build number.
    auto texts = shownTexts(settings);
    auto line = *std::ranges::find_if(texts, [](const auto& text) { return text.starts_with("Cohortex v"); });
    EXPECT_FALSE(line.starts_with("Cohortex vdev")) << line;
    EXPECT_TRUE(line.ends_with(" (Build 0)")) << line;
    screenshot(settings, "settings-updates");

    gtk_window_close(GTK_WINDOW(settings));
    settle();
    EXPECT_FALSE(presentation.showingSettings().get());
    EXPECT_EQ(windowTitled("Settings"), nullptr);
}

TEST_F(SettingsWindowTest, ShortcutsRecordInTheirRowOrGiveTheCommandLineWhereTheDesktopCannot)
{
    GtkWidget* settings = openSettings("shortcuts");
    ASSERT_NE(settings, nullptr);
    auto* toggle = button(settings, "Ctrl+Alt+S");
    ASSERT_NE(toggle, nullptr);
    EXPECT_NE(row(settings, "Toggle Cohortex:"), nullptr);
    EXPECT_NE(button(settings, "Record Shortcut"), nullptr) << "An empty shortcut shows its placeholder";
    click(toggle);
    EXPECT_TRUE(runUntil([&] { return button(settings, "Press Shortcut…") != nullptr; }));
    screenshot(settings, "settings-shortcuts-recording");
    gtk_window_close(GTK_WINDOW(settings));
    settle();

    hotKeys.available = false;
    settings = openSettings("shortcuts");
    ASSERT_NE(settings, nullptr);
    EXPECT_EQ(button(settings, "Ctrl+Alt+S"), nullptr);
    auto* switchOne = row(settings, "Switch to Workspace 1:");
    ASSERT_NE(switchOne, nullptr);
    EXPECT_STREQ(adw_action_row_get_subtitle(ADW_ACTION_ROW(switchOne)), "cohortex --open-workspace 1");
    screenshot(settings, "settings-shortcuts-unavailable");
}

} // namespace
} // namespace cohortex::testing
