#include "WorkspaceWindowFixture.h"

namespace cohortex::testing {
namespace {

// What the form accepts is the model's; here, that each control reaches it.
class CreateWorkspaceModalTest : public WorkspaceWindowFixture {
protected:
    GtkWidget* openSheet()
    {
        presentation.showCreateModal();
        EXPECT_TRUE(runUntil([] { return windowTitled("New Workspace") != nullptr; }));
        settle();
        return windowTitled("New Workspace");
    }
    std::size_t workspaceCount() const { return manager->workspaces().get().size(); }
};

TEST_F(CreateWorkspaceModalTest, CreatesOnlyAWholeFormFromTheControlsAndClosingCreatesNothing)
{
    present();
    GtkWidget* sheet = openSheet();
    ASSERT_NE(sheet, nullptr);
    type(control(sheet, "Workspace Name"), " \t ");
    EXPECT_FALSE(gtk_widget_get_sensitive(button(sheet, "Create Isolated Sandbox")));
    click(button(sheet, "GitHub / Dev"));
    EXPECT_TRUE(isChecked(described(sheet, "Terminal icon")));
    EXPECT_TRUE(isChecked(described(sheet, "Indigo")));
    saveScreenshot(sheet, "create-workspace");
    type(control(sheet, "Workspace Name"), "Dev Alpha");
    // Loopback on a closed port: the new workspace's page fails at once instead of going out.
    type(control(sheet, "Starting URL"), " 127.0.0.1:9/ ");
    click(described(sheet, "Cloud icon"));
    click(described(sheet, "Cloud icon"));
    EXPECT_TRUE(isChecked(described(sheet, "Cloud icon"))) << "a second click on the chosen icon unchose it";
    click(described(sheet, "Teal"));
    EXPECT_FALSE(isChecked(described(sheet, "Terminal icon")));
    click(button(sheet, "Create Isolated Sandbox"));
    ASSERT_EQ(workspaceCount(), 4u);
    auto created = manager->workspaces().get().back();
    EXPECT_EQ(created.initialURL.absoluteString(), "https://127.0.0.1:9/");
    EXPECT_EQ(created.iconSymbol, "cloud.fill");
    EXPECT_EQ(created.colorHex, "#00C7BE");
    EXPECT_EQ(windowTitled("New Workspace"), nullptr);

    sheet = openSheet();
    ASSERT_NE(sheet, nullptr);
    type(control(sheet, "Workspace Name"), "Not Wanted");
    gtk_window_close(GTK_WINDOW(sheet));
    settle();
    EXPECT_FALSE(presentation.showingCreateModal().get());
    EXPECT_EQ(workspaceCount(), 4u);
}

} // namespace
} // namespace cohortex::testing
