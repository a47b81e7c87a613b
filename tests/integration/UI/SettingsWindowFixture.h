#pragma once

#include "Fakes/FakeHotKeys.h"
#include "KeyboardShortcuts/ShortcutStore.h"
#include "Platform/Linux/GioDefaultBrowser.h"
#include "Platform/Linux/XdgAutostartLoginItem.h"
#include "Services/TeamSharing.h"
#include "UI/Settings/SettingsPresenter.h"
#include "WorkspaceWindowFixture.h"
#include "integration/Platform/ScopedVariable.h"

#include <fstream>
#include <sstream>

namespace cohortex::testing {

// The settings window over the window fixture's session manager and real engine, with file choosers that
// answer with the file the test names (or cancel without one), the real autostart folder in the temporary
// home, and a default browser whose desktop file is not installed.
class SettingsWindowFixture : public WorkspaceWindowFixture {
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

    // Opens the settings on one of their tabs.
    GtkWidget* openSettings(const char* tab)
    {
        presentation.showSettings();
        EXPECT_TRUE(runUntil([] { return windowTitled("Settings") != nullptr; }));
        auto* settings = windowTitled("Settings");
        if (!settings)
            return nullptr;
        auto* stack = firstShown(settings, [](GtkWidget* w) { return ADW_IS_VIEW_STACK(w); });
        adw_view_stack_set_visible_child_name(ADW_VIEW_STACK(stack), tab);
        settle();
        return settings;
    }

    // A row on screen by its title.
    static GtkWidget* row(GtkWidget* root, const std::string& title)
    {
        return firstShown(root, [&](GtkWidget* w) {
            return ADW_IS_PREFERENCES_ROW(w)
                && title == adw_preferences_row_get_title(ADW_PREFERENCES_ROW(w));
        });
    }
    static GtkWidget* switchOf(GtkWidget* row)
    {
        return row ? adw_action_row_get_activatable_widget(ADW_ACTION_ROW(row)) : nullptr;
    }
    static void choose(GtkWidget* comboRow, guint position)
    {
        ASSERT_NE(comboRow, nullptr);
        adw_combo_row_set_selected(ADW_COMBO_ROW(comboRow), position);
        settle();
    }

    // Once the switcher's highlight has moved to the tab: GTK animates it.
    static void screenshot(GtkWidget* settings, const std::string& name)
    {
        runFor(std::chrono::milliseconds(400));
        saveScreenshot(settings, name);
    }

    std::filesystem::path file(const std::string& name) const { return m_home.path() / name; }
    static std::string contents(const std::filesystem::path& path)
    {
        std::stringstream text;
        text << std::ifstream(path).rdbuf();
        return text.str();
    }

    // The files the choosers answer with; an empty one cancels.
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

} // namespace cohortex::testing
