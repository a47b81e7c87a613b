#pragma once

#include "Services/CommandLine.h"
#include "Services/CommandRunner.h"
#include "Support/MainQueue.h"
#include "Support/Task.h"
#include "Support/Url.h"

#include <memory>
#include <vector>

namespace cohortex {

class AppServices;
class ForwardedConsole;

// What the application does at the moments the desktop tells it about: it finished launching, it was
// launched again, it was handed URLs or files, it is quitting.
class AppDelegate {
public:
    // Long enough for the desktop to settle after launch, so the window appears once, in its place.
    static constexpr double launchDelay = 0.3;

    explicit AppDelegate(AppServices&);
    ~AppDelegate();
    AppDelegate(const AppDelegate&) = delete;
    AppDelegate& operator=(const AppDelegate&) = delete;

    // Shows the window on the first workspace after the launch delay, getting that workspace's store
    // ready during the wait rather than after it; when links came with the launch, on theirs.
    void didFinishLaunching();
    // Launched again without anything to open: brings the window back if none is showing.
    void reopen();
    // URLs and files handed over, in the order given: links are routed, workspace files imported.
    void open(std::vector<Url>);
    // A command line typed in a terminal, in this process or in a second one that handed it over. Plain
    // links and files go the way the desktop hands them over; the rest talk back through the console.
    void runCommand(CommandLineInvocation, std::shared_ptr<ForwardedConsole>);
    // Writes what quitting would lose: the time ledger and the open tabs. Runs once, however many ways
    // of quitting ask for it.
    void shouldTerminate();
    // The last word before the process ends: the time ledger once more, after anything that counted since.
    void willTerminate();

private:
    void showLaunchWindow();
    Task<void> runAndFinish(CommandLineInvocation, std::shared_ptr<ForwardedConsole>);

    AppServices& m_services;
    Cancellable m_launchPreparation;
    Cancellable m_launchShow;
    bool m_hasOpenedLinks{ false };
    bool m_hasShownLaunchWindow{ false };
    bool m_hasSavedForQuit{ false };
    CommandRunner m_commands;
};

} // namespace cohortex
