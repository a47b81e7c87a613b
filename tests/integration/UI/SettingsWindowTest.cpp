#include "Fakes/FakeHotKeys.h"
#include "KeyboardShortcuts/ShortcutStore.h"
#include "Models/WorkspaceBundle.h"
#include "Platform/Linux/GioDefaultBrowser.h"
#include "Platform/Linux/XdgAutostartLoginItem.h"
#include "Services/TeamSharing.h"
#include "Support/Translation.h"
#include "UI/Settings/SettingsPresenter.h"
#include "WorkspaceWindowFixture.h"
#include "integration/Platform/ScopedVariable.h"

#include <clocale>
#include <fstream>
#include <gmock/gmock.h>
#include <libintl.h>
#include <regex>
#include <set>

namespace cohortex::testing {
namespace {

using ::testing::IsEmpty;

// Each tab's rules are checked with its model; here, that each control reaches it. The file choosers
// answer with the file the test names.
class SettingsWindowTest : public WorkspaceWindowFixture {
protected:
    void SetUp() override
    {
        WorkspaceWindowFixture::SetUp();
        present();
        teamSharing = std::make_unique<TeamSharing>(queue, *manager, routingRules, alerts);
        shortcuts.addName("toggleApp", Shortcut{ 1, Shortcut::control | Shortcut::option });
        shortcuts.addName("quickSwitcher", std::nullopt);
        presenter = std::make_unique<SettingsPresenter>(SettingsPresenter::Dependencies{
            SettingsWindow::Dependencies{ queue, *manager, routingRules, timeTracker, *teamSharing,
                defaultBrowser, loginItem, stores, alerts, chooser(savedFile), chooser(openedFile),
                ShortcutsPageDependencies{ shortcuts, hotKeys, *commandTable, {}, alerts } },
            presentation, [this] { return window.get(); } });
    }
    void TearDown() override
    {
        presenter.reset();
        WorkspaceWindowFixture::TearDown();
    }

    GtkWidget* openSettings()
    {
        presentation.showSettings();
        EXPECT_TRUE(runUntil([] { return windowTitled(_("Settings")) != nullptr; }));
        return windowTitled(_("Settings"));
    }
    static void showTab(GtkWidget* settings, const char* tab)
    {
        auto* stack = firstShown(settings, [](GtkWidget* w) { return ADW_IS_VIEW_STACK(w); });
        adw_view_stack_set_visible_child_name(ADW_VIEW_STACK(stack), tab);
        settle();
    }
    static GtkWidget* row(GtkWidget* root, const std::string& title)
    {
        return firstShown(root, [&](GtkWidget* w) {
            return ADW_IS_PREFERENCES_ROW(w)
                && title == adw_preferences_row_get_title(ADW_PREFERENCES_ROW(w));
        });
    }
    std::filesystem::path savedFile;
    std::filesystem::path openedFile;
    ScopedVariable configHome{ "XDG_CONFIG_HOME", (m_home.path() / "config").c_str() };
    XdgAutostartLoginItem loginItem;
    GioDefaultBrowser defaultBrowser{ "com.kestrelwick.CohortexNotInstalled.desktop" };
    std::unique_ptr<TeamSharing> teamSharing;
    FakeHotKeys hotKeys;
    ShortcutStore shortcuts{ defaults, hotKeys };
    std::unique_ptr<SettingsPresenter> presenter;

private:
    ChooseFile chooser(const std::filesystem::path& answer)
    {
        return [&answer](Gtk::Widget&, FileRequest, std::function<void(std::filesystem::path)> chosen) {
            if (!answer.empty())
                chosen(answer);
        };
    }
};

// Where the desktop cannot bind keys, the shortcuts tab gives the command line to bind instead.
TEST_F(SettingsWindowTest, EachTabsControlsReachTheirSettingsAndDoneCloses)
{
    hotKeys.available = false;
    GtkWidget* settings = openSettings();
    ASSERT_NE(settings, nullptr);
    EXPECT_EQ(gtk_window_get_transient_for(GTK_WINDOW(settings)), window->gobj());
    saveScreenshot(settings, "settings-general");
    adw_combo_row_set_selected(ADW_COMBO_ROW(row(settings, "Hibernate idle workspaces")), 5);
    EXPECT_EQ(defaults.integer(keys::sleepAfterMinutes), 120);
    auto* atLogin
        = adw_action_row_get_activatable_widget(ADW_ACTION_ROW(row(settings, "Launch Cohortex at login")));
    gtk_switch_set_active(GTK_SWITCH(atLogin), true);
    EXPECT_TRUE(std::filesystem::exists(XdgAutostartLoginItem::entryPath()));

    showTab(settings, "links");
    GtkWidget* pattern = row(settings, "Site, e.g. github.com or github.com/acme");
    type(pattern, " https://GitHub.com/acme/ ");
    gtk_drop_down_set_selected(
        GTK_DROP_DOWN(firstShown(pattern, [](GtkWidget* w) { return GTK_IS_DROP_DOWN(w); })), 1);
    click(button(settings, "Add"));
    EXPECT_EQ(manager->routingDecision(*Url::parse("https://github.com/acme/tools"))->workspace.id, chat.id);

    for (int tick = 0; tick < 12; ++tick)
        timeTracker.tick(mail.id, true, true, 0, queue.now(), Calendar::current());
    showTab(settings, "time");
    savedFile = m_home.path() / "Cohortex-time.csv";
    click(button(settings, "Export CSV…"));
    ASSERT_TRUE(runUntil([&] { return std::filesystem::exists(savedFile); }));

    showTab(settings, "team");
    auto design = workspace("Design", 4);
    design.initialURL = *Url::parse("https://design.example/");
    openedFile = m_home.path() / "Team.cohortex";
    std::ofstream(openedFile) << WorkspaceBundle::make(std::vector{ design }, {}, queue.now()).encoded();
    alerts.answer = true;
    click(button(settings, "Import Setup…"));
    ASSERT_TRUE(runUntil([&] { return manager->workspaces().get().size() == 4; })) << alerts.shown.back();

    showTab(settings, "shortcuts");
    auto* switchOne = row(settings, "Switch to Workspace 1:");
    ASSERT_NE(switchOne, nullptr);
    EXPECT_STREQ(adw_action_row_get_subtitle(ADW_ACTION_ROW(switchOne)), "cohortex --open-workspace 1");
    click(button(settings, "Done"));
    EXPECT_EQ(windowTitled("Settings"), nullptr);
}

// Under a catalogue that wraps every text of po/cohortex.pot in "⟦…⟧", a text on screen that comes out
// unwrapped was never looked up, so translators could not reach it either.
class TranslationTest : public SettingsWindowTest {
protected:
    TranslationTest()
    {
        g_setenv("LANGUAGE", "en_XA", true);
        // gettext ignores LANGUAGE under the plain C locale; C.UTF-8 is always there and is not plain C.
        m_previousMessages = std::setlocale(LC_MESSAGES, nullptr);
        std::setlocale(LC_MESSAGES, "C.UTF-8");
        bindtextdomain(translationDomain, COHORTEX_PSEUDO_LOCALE_DIR);
        bind_textdomain_codeset(translationDomain, "UTF-8");
    }
    ~TranslationTest() override
    {
        g_unsetenv("LANGUAGE");
        std::setlocale(LC_MESSAGES, m_previousMessages.c_str());
        // Binding again also drops the texts gettext has already looked up.
        bindtextdomain(translationDomain, "/nonexistent");
    }

    // The toolkit's own widgets translate in the toolkit's catalogue.
    void collectUntranslated()
    {
        GListModel* toplevels = gtk_window_get_toplevels();
        for (guint index = 0; index < g_list_model_get_n_items(toplevels); ++index) {
            GObjectPtr<GtkWidget> toplevel(static_cast<GtkWidget*>(g_list_model_get_item(toplevels, index)));
            if (!gtk_widget_get_visible(toplevel.get()))
                continue;
            check(gtk_window_get_title(GTK_WINDOW(toplevel.get())), "window title");
            for (auto* w : shownUnder(toplevel.get(),
                     [](GtkWidget* w) { return !gtk_widget_get_ancestor(w, GTK_TYPE_SHORTCUT_LABEL); })) {
                check(GTK_IS_LABEL(w) ? gtk_label_get_text(GTK_LABEL(w)) : nullptr, "label");
                check(GTK_IS_TEXT(w) ? gtk_text_get_placeholder_text(GTK_TEXT(w)) : nullptr, "placeholder");
                check(gtk_widget_get_tooltip_text(w), "tooltip");
            }
        }
    }
    // Names, addresses, counts and figures are the user's or the pages', not the program's.
    void check(const char* text, const char* kind)
    {
        static const std::set<std::string_view> names{ "Mail", "Chat", "Vault", "M", "C", "V", "Cohortex" };
        static const std::regex noWords{
            R"([^A-Za-z]*|about:blank|https://\.\.\.|[0-9.,]+ ?(MB|GB|KB|B|s|m|h)|.*\.cohortex)"
        };
        if (text && *text && !std::string_view(text).starts_with("⟦") && !names.contains(text)
            && !std::regex_match(text, noWords))
            untranslated.insert(std::string(kind) + ": " + text);
    }

    std::string m_previousMessages;
    std::set<std::string> untranslated;
};

TEST_F(TranslationTest, EveryTextOnScreenComesFromTheCatalogue)
{
    GtkWidget* settings = openSettings();
    ASSERT_NE(settings, nullptr);
    for (const char* tab : { "general", "links", "time", "team", "updates", "shortcuts" }) {
        showTab(settings, tab);
        collectUntranslated();
    }
    EXPECT_THAT(untranslated, IsEmpty()) << "Shown without a lookup in the catalogue";
}

} // namespace
} // namespace cohortex::testing
