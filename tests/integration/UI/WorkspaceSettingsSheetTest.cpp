#include "UI/Modals/WorkspaceSettingsSheet.h"

#include "WorkspaceWindowFixture.h"

namespace cohortex::testing {
namespace {

// What the form accepts and writes is the model's; here, that each control reaches its field.
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
    setSwitch(sheet, "Require your login password to open", true);
    ASSERT_EQ(authenticator.openPrompts(), 1u);
    EXPECT_FALSE(gtk_widget_get_sensitive(button(sheet, "Save")));
    authenticator.answer(true);
    settle();
    click(button(sheet, "Save"));
    EXPECT_EQ(manager->workspace(chat.id)->name, "Talk");
    EXPECT_EQ(manager->workspace(chat.id)->keepAwake, std::nullopt);
    EXPECT_EQ(manager->workspace(chat.id)->requiresUnlock, true);

    sheet = openSheet(mail.id);
    gtk_drop_down_set_selected(GTK_DROP_DOWN(control(sheet, "Route this workspace through")), 2);
    settle();
    type(control(sheet, "Host"), "127.0.0.1");
    type(control(sheet, "Port"), " 1080 ");
    type(control(sheet, "Username (optional)"), "ann");
    type(control(sheet, "Password (optional)"), "s3cret");
    click(button(sheet, "Forget Site Permissions"));
    click(button(sheet, "Save"));
    auto saved = *manager->workspace(mail.id);
    EXPECT_EQ(saved.proxyType, "socks5");
    EXPECT_EQ(saved.proxyPort, 1080);
    EXPECT_EQ(saved.proxyUsername, "ann");
    EXPECT_EQ(keychain.items[passwordKey()], "s3cret");
    EXPECT_FALSE(sitePermissions.hasDecisions(mail.id));
    EXPECT_TRUE(sitePermissions.hasDecisions(chat.id));
    EXPECT_EQ(windowTitled("Workspace Settings"), nullptr);

    sheet = openSheet(mail.id);
    type(control(sheet, "Name"), "Post");
    click(button(sheet, "Cancel"));
    EXPECT_EQ(*manager->workspace(mail.id), saved);
    EXPECT_EQ(presentation.workspaceSettingsID().get(), std::nullopt);
}

} // namespace
} // namespace cohortex::testing
