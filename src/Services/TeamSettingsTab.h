#pragma once

#include "Support/Observable.h"
#include "Support/Task.h"

#include <filesystem>
#include <memory>
#include <string>

namespace cohortex {

class MainQueue;
class SessionManager;
class TeamSharing;

// The Team tab of the settings window: the layout file written for a teammate and the one read from
// them, with the line that says how the last export went. Main thread only.
class TeamSettingsTab {
public:
    TeamSettingsTab(MainQueue&, SessionManager&, TeamSharing&);
    TeamSettingsTab(const TeamSettingsTab&) = delete;
    TeamSettingsTab& operator=(const TeamSettingsTab&) = delete;

    // The outcome of the last export, or empty.
    const Observable<std::string>& status() const { return m_status; }

    // Writes the bundle of every workspace and rule to the file, whole or not at all, off the main
    // thread, and says how that went.
    Task<void> exportTo(std::filesystem::path);
    // The whole interactive import of the file; afterwards the status line is empty.
    Task<void> importFrom(std::filesystem::path);

private:
    MainQueue& m_queue;
    SessionManager& m_sessions;
    TeamSharing& m_teamSharing;
    Observable<std::string> m_status;
    std::shared_ptr<bool> m_alive{ std::make_shared<bool>(true) };
};

} // namespace cohortex
