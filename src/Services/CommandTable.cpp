#include "Services/CommandTable.h"

#include "Services/PageNotifications.h"
#include "Services/Presentation.h"
#include "Services/SessionManager.h"
#include "Services/WindowHost.h"
#include "Support/Translation.h"

#include <algorithm>

namespace cohortex {

CommandTable::CommandTable(Dependencies dependencies)
{
    auto& sessions = dependencies.sessions;
    auto& presentation = dependencies.presentation;
    auto& window = dependencies.window;

    auto& newTab = add("new-tab", N_("New Tab"), { { "<Control>t", {} } },
        [&sessions](auto) { sessions.newTabInActiveWorkspace(); });
    // With a single tab left there is nothing to close but the window, which then hides.
    auto& closeTab = add("close-tab", N_("Close Tab"), { { "<Control>w", {} } }, [&sessions, &window](auto) {
        if (!sessions.closeActiveTab())
            window.hideMainWindow();
    });
    add("new-workspace", N_("New Workspace"), { { "<Control><Shift>n", {} } },
        [&sessions, &presentation](auto) {
            sessions.showMainWindow();
            presentation.showCreateModal();
        });
    std::vector<Command::Key> workspaceKeys;
    for (int index = 1; index <= SessionManager::maximumShortcutIndex; ++index)
        workspaceKeys.push_back({ "<Control><Alt>" + std::to_string(index), index });
    // The window comes forward even when no workspace has that number.
    auto& openWorkspace
        = add("open-workspace", N_("Open Workspace"), std::move(workspaceKeys), [&sessions](auto index) {
              sessions.openWorkspace(static_cast<std::int64_t>(*index));
              sessions.showMainWindow();
          });
    openWorkspace.takesArgument = true;
    add("quick-switcher", N_("Quick Switcher"), { { "<Alt><Super>k", {} } },
        [&sessions, &presentation](auto) {
            sessions.showMainWindow();
            presentation.setShowingQuickSwitcher(true);
        });
    add("settings", N_("Settings"), { { "<Control>comma", {} } }, [&sessions, &presentation](auto) {
        sessions.showMainWindow();
        presentation.showSettings();
    });
    add("keyboard-shortcuts", N_("Keyboard Shortcuts"), { { "<Control>question", {} } },
        [&presentation](auto) { presentation.setShowingShortcutsHelp(true); });
    addDownloadCommands(dependencies);
    addPageCommands(presentation);
    add("toggle-window", N_("Show or Hide Cohortex"), {}, [&sessions](auto) { sessions.toggleMainWindow(); });
    add("show-window", N_("Show Cohortex"), {}, [&sessions](auto) { sessions.showMainWindow(); });
    add("quit", N_("Quit"), { { "<Control>q", {} } }, [quit = dependencies.quit](auto) {
        if (quit)
            quit();
    });
    // A page's desktop notification carries its number; the window comes forward even without one.
    auto& openNotification = add(PageNotifications::openCommand, N_("Open Notification"), {},
        [&sessions, notifications = dependencies.pageNotifications](auto number) {
            if (!notifications || !notifications->open(*number))
                sessions.showMainWindow();
        });
    openNotification.takesArgument = true;

    // Typing in the quick switcher keeps its keys: the tab commands wait until it closes.
    auto followSwitcher = [&newTab, &closeTab](bool switcherShown) {
        newTab.isEnabled.set(!switcherShown);
        closeTab.isEnabled.set(!switcherShown);
    };
    followSwitcher(presentation.showingQuickSwitcher().get());
    m_connections.emplace_back(presentation.showingQuickSwitcher().changed().connect(followSwitcher));
}

void CommandTable::addPageCommands(Presentation& presentation)
{
    using Request = PageActions::Request;
    auto& pages = m_pageActions;
    auto showFind = [&pages, &presentation] {
        presentation.setShowingFindBar(true);
        pages.requested().emit(Request::FocusFind);
    };
    // Before anything was searched for, the next match is found by searching first.
    auto findAgain = [&pages, &presentation, showFind](Request request) {
        if (presentation.showingFindBar().get())
            pages.requested().emit(request);
        else
            showFind();
    };
    auto request
        = [&pages](Request request) { return [&pages, request](auto) { pages.requested().emit(request); }; };
    std::vector<Command*> pageCommands{
        &add("find", N_("Find in Page"), { { "<Control>f", {} } }, [showFind](auto) { showFind(); }),
        &add("find-next", N_("Find Next"), { { "<Control>g", {} } },
            [findAgain](auto) { findAgain(Request::FindNext); }),
        &add("find-previous", N_("Find Previous"), { { "<Control><Shift>g", {} } },
            [findAgain](auto) { findAgain(Request::FindPrevious); }),
        &add("zoom-in", N_("Zoom In"),
            { { "<Control>plus", {} }, { "<Control>equal", {} }, { "<Control>KP_Add", {} } },
            request(Request::ZoomIn)),
        &add("zoom-out", N_("Zoom Out"), { { "<Control>minus", {} }, { "<Control>KP_Subtract", {} } },
            request(Request::ZoomOut)),
        &add("zoom-reset", N_("Actual Size"), { { "<Control>0", {} }, { "<Control>KP_0", {} } },
            request(Request::ZoomReset)),
        &add("print", N_("Print…"), { { "<Control>p", {} } }, request(Request::Print)),
    };
    auto follow = [pageCommands, &pages, &presentation] {
        bool enabled = pages.hasPage().get() && !presentation.showingQuickSwitcher().get();
        for (auto* command : pageCommands)
            command->isEnabled.set(enabled);
    };
    follow();
    m_connections.emplace_back(pages.hasPage().changed().connect([follow](bool) { follow(); }));
    m_connections.emplace_back(
        presentation.showingQuickSwitcher().changed().connect([follow](bool) { follow(); }));
}

Command& CommandTable::add(std::string_view name, std::string_view title, std::vector<Command::Key> keys,
    std::function<void(std::optional<int>)> run)
{
    auto command = std::make_unique<Command>();
    command->name = name;
    command->title = title;
    command->keys = std::move(keys);
    command->run = std::move(run);
    m_commands.push_back(std::move(command));
    return *m_commands.back();
}

const Command* CommandTable::find(std::string_view name) const
{
    auto found = std::ranges::find_if(m_commands, [&](const auto& command) { return command->name == name; });
    return found == m_commands.end() ? nullptr : found->get();
}

bool CommandTable::run(std::string_view name, std::optional<int> argument) const
{
    const auto* command = find(name);
    if (!command || !command->isEnabled.get() || command->takesArgument != argument.has_value())
        return false;
    command->run(argument);
    return true;
}

} // namespace cohortex
