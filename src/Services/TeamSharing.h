#pragma once

#include "Support/Task.h"

#include <filesystem>
#include <memory>
#include <string>

namespace cohortex {

class Alerts;
class MainQueue;
class RoutingRules;
class SessionManager;

// The team's layout file from the window's side: the bundle of every workspace and rule, and the whole
// interactive import of a file (read off the main thread, confirm, apply, report). Main thread only.
class TeamSharing {
public:
    TeamSharing(MainQueue&, SessionManager&, RoutingRules&, Alerts&);
    TeamSharing(const TeamSharing&) = delete;
    TeamSharing& operator=(const TeamSharing&) = delete;

    std::string exportData() const;
    // Reads, confirms, applies and reports; a file that cannot be read shows the one error alert, and
    // one that cannot be stored says so.
    Task<void> confirmAndImport(std::filesystem::path);

private:
    MainQueue& m_queue;
    SessionManager& m_sessions;
    RoutingRules& m_routingRules;
    Alerts& m_alerts;
    std::shared_ptr<bool> m_alive{ std::make_shared<bool>(true) };
};

} // namespace cohortex
