#include "UI/Modals/WorkspaceSettingsSheet.h"

#include "SheetFinding.h"
#include "WorkspaceWindowFixture.h"

#include <adwaita.h>
#include <gmock/gmock.h>

namespace cohortex::testing {
namespace {

using ::testing::ElementsAre;

class WorkspaceSettingsSheetTest : public WorkspaceWindowFixture, protected SheetFinding {
protected:
    void SetUp() override
    {
        adw_init();
        WorkspaceWindowFixture::SetUp();
    }

    GtkWidget* openSheet(const Uuid& id)
    {
        if (!view)
            present();
        presentation.setWorkspaceSettingsID(id);
        EXPECT_TRUE(runUntil([] { return shownWindowTitled("Workspace Settings") != nullptr; }));
        settle();
        return shownWindowTitled("Workspace Settings");
    }

    static void chooseProxy(GtkWidget* sheet, guint index)
    {
        gtk_drop_down_set_selected(GTK_DROP_DOWN(control(sheet, "Route this workspace through")), index);
        settle();
    }

    std::string passwordKey(const WorkspaceSession& workspace) const
    {
        return "proxy_password_" + workspace.id.string();
    }

    void giveChatAProxy(std::optional<std::string> user)
    {
        chat.proxyType = "socks5";
        chat.proxyHost = "127.0.0.1";
        chat.proxyPort = 1080;
        chat.proxyUsername = std::move(user);
        manager->updateWorkspace(chat);
    }
};

TEST_F(WorkspaceSettingsSheetTest, ANewProxyWithPasswordIsValidatedThenSaved)
{
    GtkWidget* sheet = openSheet(mail.id);
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(gtk_drop_down_get_selected(GTK_DROP_DOWN(control(sheet, "Route this workspace through"))), 0u);
    EXPECT_EQ(control(sheet, "Host"), nullptr);

    chooseProxy(sheet, 2);
    GtkWidget* save = button(sheet, "Save");
    type(control(sheet, "Host"), "127.0.0.1");
    type(control(sheet, "Port"), "70000");
    settle();
    EXPECT_TRUE(isShown(label(sheet, "Enter a host and a port between 1 and 65535.")));
    EXPECT_FALSE(gtk_widget_get_sensitive(save));
    saveScreenshot(sheet, "workspace-settings");
    chooseProxy(sheet, 0);
    EXPECT_TRUE(gtk_widget_get_sensitive(save));
    chooseProxy(sheet, 2);
    type(control(sheet, "Port"), " 1080 ");
    EXPECT_FALSE(isShown(label(sheet, "Enter a host and a port between 1 and 65535.")));
    type(control(sheet, "Username (optional)"), "ann");
    type(control(sheet, "Password (optional)"), "s3cret");
    log.clear();
    click(save);

    auto saved = *manager->workspace(mail.id);
    EXPECT_EQ(saved.proxyType, "socks5");
    EXPECT_EQ(saved.proxyHost, "127.0.0.1");
    EXPECT_EQ(saved.proxyPort, 1080);
    EXPECT_EQ(saved.proxyUsername, "ann");
    EXPECT_EQ(keychain.items[passwordKey(mail)], "s3cret");
    EXPECT_EQ(log.calls.front(), "keychain.set " + passwordKey(mail));
    EXPECT_EQ(presentation.workspaceSettingsID().get(), std::nullopt);
    EXPECT_EQ(shownWindowTitled("Workspace Settings"), nullptr);
}

TEST_F(WorkspaceSettingsSheetTest, AStoredPasswordIsKeptWhenBlankAndRemovedWithTheUserName)
{
    giveChatAProxy("ann");
    keychain.items[passwordKey(chat)] = "old";
    GtkWidget* sheet = openSheet(chat.id);
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(gtk_editable_get_text(GTK_EDITABLE(control(sheet, "Port"))), std::string("1080"));
    ASSERT_NE(control(sheet, "Password (saved, leave blank to keep)"), nullptr);
    click(button(sheet, "Save"));
    EXPECT_EQ(keychain.items[passwordKey(chat)], "old");

    sheet = openSheet(chat.id);
    type(control(sheet, "Username (optional)"), "");
    log.clear();
    click(button(sheet, "Save"));
    EXPECT_FALSE(keychain.items.contains(passwordKey(chat)));
    EXPECT_EQ(manager->workspace(chat.id)->proxyUsername, std::nullopt);
    EXPECT_EQ(log.calls.front(), "keychain.remove " + passwordKey(chat));
}

TEST_F(WorkspaceSettingsSheetTest, CancelKeepsTheRecordAndTogglesOffAreStoredAsAbsent)
{
    auto awake = mail;
    awake.keepAwake = true;
    manager->updateWorkspace(awake);
    GtkWidget* sheet = openSheet(mail.id);
    ASSERT_NE(sheet, nullptr);
    type(control(sheet, "Name"), "  Post  ");
    gtk_switch_set_active(GTK_SWITCH(control(sheet, "Keep awake (never hibernate)")), false);
    click(button(sheet, "Cancel"));
    EXPECT_EQ(manager->workspace(mail.id)->name, "Mail");
    EXPECT_EQ(manager->workspace(mail.id)->keepAwake, true);

    sheet = openSheet(mail.id);
    type(control(sheet, "Name"), "  Post  ");
    gtk_switch_set_active(GTK_SWITCH(control(sheet, "Keep awake (never hibernate)")), false);
    gtk_switch_set_active(GTK_SWITCH(control(sheet, "Require your login password to open")), true);
    // The lock stays on only once the owner has shown the password works here.
    EXPECT_FALSE(gtk_widget_get_sensitive(button(sheet, "Save")));
    authenticator.answer(true);
    settle();
    click(button(sheet, "Save"));
    auto saved = *manager->workspace(mail.id);
    EXPECT_EQ(saved.name, "Post");
    EXPECT_EQ(saved.keepAwake, std::nullopt);
    EXPECT_EQ(saved.requiresUnlock, true);
}

TEST_F(WorkspaceSettingsSheetTest, WithoutPolkitTheLockIsRefusedAndSaysWhy)
{
    authenticator.canAuthenticate = false;
    GtkWidget* sheet = openSheet(mail.id);
    ASSERT_NE(sheet, nullptr);
    EXPECT_FALSE(gtk_widget_get_sensitive(control(sheet, "Require your login password to open")));
    GtkWidget* caption
        = label(sheet, "This computer can't ask for your login password, so the lock can't be used.");
    ASSERT_NE(caption, nullptr);
    EXPECT_TRUE(gtk_widget_has_css_class(caption, "warning"));
}

// Without an authentication agent a locked workspace could never be opened again: the sheet finds out by
// asking before the lock is switched on, and says so.
TEST_F(WorkspaceSettingsSheetTest, WithoutAnAuthenticationAgentTheLockStaysOffAndSaysWhy)
{
    GtkWidget* sheet = openSheet(mail.id);
    ASSERT_NE(sheet, nullptr);
    auto* lock = control(sheet, "Require your login password to open");
    gtk_switch_set_active(GTK_SWITCH(lock), true);
    ASSERT_EQ(authenticator.openPrompts(), 1u);
    authenticator.answer(Authentication::NoAgent);
    settle();
    EXPECT_FALSE(gtk_switch_get_active(GTK_SWITCH(lock)));
    GtkWidget* caption = label(sheet,
        "No authentication agent is running on this desktop, so a locked workspace could not be opened "
        "again. "
        "The lock stays off.");
    ASSERT_NE(caption, nullptr);
    EXPECT_TRUE(gtk_widget_has_css_class(caption, "warning"));
    click(button(sheet, "Save"));
    EXPECT_FALSE(manager->workspace(mail.id)->isLocked());
}

TEST_F(WorkspaceSettingsSheetTest, AWorkspaceThatIsGoneGivesAnEmptySheetThatCloses)
{
    GtkWidget* sheet = openSheet(Uuid::random());
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(control(sheet, "Name"), nullptr);
    EXPECT_EQ(button(sheet, "Save"), nullptr);
    click(button(sheet, "Cancel"));
    EXPECT_EQ(presentation.workspaceSettingsID().get(), std::nullopt);
}

TEST_F(WorkspaceSettingsSheetTest, AChosenFolderShowsAndResetEmptiesIt)
{
    std::vector<std::string> offered{ "/home/ann/Client Downloads" };
    bool dismissed = false;
    Gtk::Window host;
    auto* sheet = Gtk::make_managed<WorkspaceSettingsSheet>(
        WorkspaceSettingsSheet::Dependencies{ *manager, keychain, alerts, authenticator,
            [&offered](Gtk::Widget&, std::function<void(std::string)> chosen) {
                if (!offered.empty())
                    chosen(offered.front());
            },
            [&dismissed] { dismissed = true; } },
        mail);
    host.set_child(*sheet);
    host.present();
    settle();
    GtkWidget* root = GTK_WIDGET(host.gobj());
    EXPECT_TRUE(isShown(label(root, "Downloads folder")));
    EXPECT_EQ(button(root, "Reset"), nullptr);

    click(button(root, "Choose…"));
    EXPECT_TRUE(isShown(label(root, "/home/ann/Client Downloads")));
    click(button(root, "Reset"));
    EXPECT_TRUE(isShown(label(root, "Downloads folder")));
    // Cancelling the chooser changes nothing.
    click(button(root, "Choose…"));
    offered.clear();
    click(button(root, "Choose…"));
    click(button(root, "Save"));
    EXPECT_EQ(manager->workspace(mail.id)->downloadFolderPath, "/home/ann/Client Downloads");
    EXPECT_TRUE(dismissed);
    host.unset_child();
    host.destroy();
}

TEST_F(WorkspaceSettingsSheetTest, ForgettingSitePermissionsTakesEffectOnSaveForThatWorkspaceOnly)
{
    auto call = std::array{ SitePermission::camera, SitePermission::microphone };
    for (const auto& workspace : { mail, chat })
        sitePermissions.remember(workspace.id, "https://meet.example.com", call, true);
    GtkWidget* sheet = openSheet(mail.id);
    ASSERT_NE(sheet, nullptr);
    GtkWidget* forget = button(sheet, "Forget Site Permissions");
    ASSERT_TRUE(isShown(forget));
    click(forget);
    EXPECT_FALSE(gtk_widget_get_sensitive(forget));
    EXPECT_TRUE(isShown(label(sheet, "Once you save, sites in this workspace ask again.")));
    click(button(sheet, "Cancel"));
    EXPECT_TRUE(sitePermissions.hasDecisions(mail.id));

    sheet = openSheet(mail.id);
    click(button(sheet, "Forget Site Permissions"));
    click(button(sheet, "Save"));
    EXPECT_FALSE(sitePermissions.hasDecisions(mail.id));
    EXPECT_TRUE(sitePermissions.hasDecisions(chat.id));
    sheet = openSheet(mail.id);
    EXPECT_FALSE(gtk_widget_get_sensitive(button(sheet, "Forget Site Permissions")));
}

} // namespace
} // namespace cohortex::testing
