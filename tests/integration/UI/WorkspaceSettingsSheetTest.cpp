#include "UI/Modals/WorkspaceSettingsSheet.h"

#include "WorkspaceWindowFixture.h"

namespace cohortex::testing {
namespace {

// What the form accepts and writes, and the order of the keyring and the record, are checked with the
// form's model and the saving; here, that each control reaches its field and Save and Cancel do their part.
class WorkspaceSettingsSheetTest : public WorkspaceWindowFixture {
protected:
    GtkWidget* openSheet(const Uuid& id)
    {
        presentation.setWorkspaceSettingsID(id);
        EXPECT_TRUE(runUntil([] { return windowTitled("Workspace Settings") != nullptr; }));
        settle();
        return windowTitled("Workspace Settings");
    }
    static void setSwitch(GtkWidget* sheet, const std::string& caption, bool on)
    {
        gtk_switch_set_active(GTK_SWITCH(control(sheet, caption)), on);
    }
    static constexpr const char* lockCaption = "Require your login password to open";
    std::string passwordKey() const { return "proxy_password_" + mail.id.string(); }
};

TEST_F(WorkspaceSettingsSheetTest, EachControlReachesItsFieldOnlyOnSaveAndTheLockNeedsTheOwnersPassword)
{
    present();
    for (const auto& workspace : { mail, chat })
        sitePermissions.remember(workspace.id, "https://meet.example.com",
            std::array{ SitePermission::camera, SitePermission::microphone }, true);
    // The lock goes on only once the owner has shown the password works here.
    chat.keepAwake = true;
    manager->updateWorkspace(chat);
    GtkWidget* sheet = openSheet(chat.id);
    ASSERT_NE(sheet, nullptr);
    type(control(sheet, "Name"), "  Talk  ");
    setSwitch(sheet, "Keep awake (never hibernate)", false);
    setSwitch(sheet, lockCaption, true);
    ASSERT_EQ(authenticator.openPrompts(), 1u);
    EXPECT_FALSE(gtk_widget_get_sensitive(button(sheet, "Save")));
    authenticator.answer(true);
    settle();
    click(button(sheet, "Save"));
    EXPECT_EQ(manager->workspace(chat.id)->name, "Talk");
    EXPECT_EQ(manager->workspace(chat.id)->keepAwake, std::nullopt);
    EXPECT_EQ(manager->workspace(chat.id)->requiresUnlock, true);

    // Without an authentication agent a locked workspace could never be opened again: the lock stays off.
    sheet = openSheet(mail.id);
    setSwitch(sheet, lockCaption, true);
    authenticator.answer(Authentication::NoAgent);
    settle();
    EXPECT_FALSE(gtk_switch_get_active(GTK_SWITCH(control(sheet, lockCaption))));
    click(button(sheet, "Cancel"));

    sheet = openSheet(mail.id);
    gtk_drop_down_set_selected(GTK_DROP_DOWN(control(sheet, "Route this workspace through")), 2);
    settle();
    GtkWidget* save = button(sheet, "Save");
    type(control(sheet, "Host"), "127.0.0.1");
    type(control(sheet, "Port"), "70000");
    settle();
    EXPECT_TRUE(showsText(sheet, "Enter a host and a port between 1 and 65535."));
    EXPECT_FALSE(gtk_widget_get_sensitive(save));
    type(control(sheet, "Port"), " 1080 ");
    EXPECT_TRUE(gtk_widget_get_sensitive(save));
    type(control(sheet, "Username (optional)"), "ann");
    type(control(sheet, "Password (optional)"), "s3cret");
    click(button(sheet, "Forget Site Permissions"));
    click(save);
    auto saved = *manager->workspace(mail.id);
    EXPECT_EQ(saved.proxyType, "socks5");
    EXPECT_EQ(saved.proxyPort, 1080);
    EXPECT_EQ(saved.proxyUsername, "ann");
    EXPECT_EQ(keychain.items[passwordKey()], "s3cret");
    EXPECT_FALSE(sitePermissions.hasDecisions(mail.id));
    EXPECT_TRUE(sitePermissions.hasDecisions(chat.id));
    EXPECT_EQ(windowTitled("Workspace Settings"), nullptr);

    sheet = openSheet(mail.id);
    EXPECT_NE(control(sheet, "Password (saved, leave blank to keep)"), nullptr)
        << "the keyring was not asked";
    type(control(sheet, "Name"), "Post");
    setSwitch(sheet, "Keep awake (never hibernate)", true);
    click(button(sheet, "Cancel"));
    EXPECT_EQ(*manager->workspace(mail.id), saved);
    EXPECT_EQ(presentation.workspaceSettingsID().get(), std::nullopt);
}

} // namespace
} // namespace cohortex::testing
