#pragma once

#include "Services/PageActions.h"
#include "Support/Observable.h"
#include "Support/ScopedConnection.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace cohortex {

class DownloadList;
class PageNotifications;
class Presentation;
class SessionManager;
class WindowHost;

// One user command, the same wherever it is reached: the window's keys and buttons, menus, the tray,
// global shortcuts, the desktop file's actions.
struct Command {
    // A key that runs the command inside the window, in GTK's accelerator syntax ("<Control>t"), with the
    // argument it passes to a command that takes one.
    struct Key {
        std::string accelerator;
        std::optional<int> argument;
    };

    // Stable: actions, the desktop file and the command line call the command by it.
    std::string_view name;
    // Marked for translation only: whoever shows it translates it, _(command.title).
    std::string_view title;
    std::vector<Key> keys;
    // Whether the command takes a whole number (the workspace shortcut 1 to 9).
    bool takesArgument{ false };
    std::function<void(std::optional<int>)> run;
    Observable<bool> isEnabled{ true };
};

// Every user command once. Main thread only.
class CommandTable {
public:
    struct Dependencies {
        SessionManager& sessions;
        Presentation& presentation;
        WindowHost& window;
        DownloadList& downloads;
        // Ends the application, saving what quitting saves.
        std::function<void()> quit;
        // Where clicks on pages' notifications go; without it they do nothing.
        PageNotifications* pageNotifications{ nullptr };
    };

    explicit CommandTable(Dependencies);
    CommandTable(const CommandTable&) = delete;
    CommandTable& operator=(const CommandTable&) = delete;

    const std::vector<std::unique_ptr<Command>>& commands() const { return m_commands; }
    // Where the page commands go; the window carries them to the page on screen.
    PageActions& pageActions() { return m_pageActions; }
    const Command* find(std::string_view name) const;
    // Runs the command when there is one of that name and it is enabled; false otherwise. A command that
    // takes an argument needs one.
    bool run(std::string_view name, std::optional<int> argument = std::nullopt) const;

private:
    Command& add(std::string_view name, std::string_view title, std::vector<Command::Key>,
        std::function<void(std::optional<int>)>);
    // In CommandTableDownloads.cpp.
    void addDownloadCommands(const Dependencies&);

    void addPageCommands(Presentation&);

    PageActions m_pageActions;
    std::vector<std::unique_ptr<Command>> m_commands;
    std::vector<ScopedConnection> m_connections;
};

} // namespace cohortex
