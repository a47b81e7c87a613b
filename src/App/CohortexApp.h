#pragma once

#include <giomm/applicationcommandline.h>
#include <giomm/file.h>
#include <glibmm/refptr.h>
#include <memory>
#include <vector>

namespace Gtk {
class Application;
}

namespace cohortex {

class Alerts;
class AppDelegate;
class AppServices;
class CommandActions;

// The application: one instance per user session, reached over D-Bus under its application id. A second
// launch hands its URLs and files (or, with none, a request to show the window) to the running one and
// ends. The application stays running with its window closed, until the user quits with Ctrl+Q or the
// process is asked to end by SIGTERM, SIGINT or SIGHUP; every way of quitting saves the same things.
class CohortexApp {
public:
    static constexpr const char* applicationId = "com.kestrelwick.Cohortex";

    // Alerts, when given, stand in for every dialog that asks the user (test programs only).
    explicit CohortexApp(Alerts* alertsInsteadOfDialogs = nullptr);
    ~CohortexApp();
    CohortexApp(const CohortexApp&) = delete;
    CohortexApp& operator=(const CohortexApp&) = delete;

    // Runs the main loop until the application quits; the process's exit status.
    int run(int argc, char* argv[]);
    // Saves what quitting would lose, then ends the main loop.
    void quit();

private:
    void startup();
    void activate();
    void open(const std::vector<Glib::RefPtr<Gio::File>>&);
    int commandLine(const Glib::RefPtr<Gio::ApplicationCommandLine>&);
    void shutdown();
    void installCommands();
    void installQuitSignals();
    void removeQuitSignals();

    Glib::RefPtr<Gtk::Application> m_application;
    std::unique_ptr<AppServices> m_services;
    std::unique_ptr<AppDelegate> m_delegate;
    std::unique_ptr<CommandActions> m_actions;
    std::vector<unsigned> m_signalSources;
    Alerts* m_alertsInsteadOfDialogs{ nullptr };
    bool m_failedToStart{ false };
};

} // namespace cohortex
