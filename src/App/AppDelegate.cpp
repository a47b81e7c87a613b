#include "App/AppDelegate.h"

#include "App/AppServices.h"
#include "App/ForwardedConsole.h"
#include "Platform/Linux/LaunchTrace.h"

namespace cohortex {

AppDelegate::AppDelegate(AppServices& services)
    : m_services(services)
    , m_commands(services.sessions(), services.timeTracker(), services.teamSharing())
{
}

AppDelegate::~AppDelegate()
{
    m_launchPreparation.cancel();
    m_launchShow.cancel();
}

void AppDelegate::didFinishLaunching()
{
    // Drawing the window for the first time takes the main thread for tens of milliseconds, which the
    // first page needs while it loads. A link's window appears once its page has loaded, at the latest
    // after the launch delay, as the window of a launch without a link does.
    auto& windowManager = m_services.windowManager();
    windowManager.holdShowing();
    m_services.engine().whenFirstPageLoads([&windowManager] { windowManager.endHold(); });
    // The command line that started the process is handled after this, before the main loop runs: by the
    // time this runs, a link handed over at launch is known, and the workspace it goes to loads onto it
    // rather than the first workspace loading its own page beside it.
    m_launchPreparation = m_services.queue().postAfter(0, [this] {
        if (m_hasOpenedLinks)
            m_services.prepareMainWindow();
        else
            m_services.prepareActiveWorkspace();
    });
    m_launchShow = m_services.queue().postAfter(launchDelay, [this] { showLaunchWindow(); });
}

void AppDelegate::showLaunchWindow()
{
    m_hasShownLaunchWindow = true;
    m_services.windowManager().endHold();
    m_services.sessions().showMainWindow();
    traceLaunch("window shown");
}

void AppDelegate::reopen()
{
    // The first launch also arrives here; its window is on its way.
    if (!m_hasShownLaunchWindow)
        return;
    auto& sessions = m_services.sessions();
    if (!m_services.windowManager().isMainWindowVisible())
        m_services.queue().post([&sessions] { sessions.showMainWindow(); });
}

void AppDelegate::open(std::vector<Url> urls)
{
    m_hasOpenedLinks = m_hasOpenedLinks || !urls.empty();
    m_services.sessions().openURLs(std::move(urls));
}

void AppDelegate::runCommand(CommandLineInvocation invocation, std::shared_ptr<ForwardedConsole> console)
{
    if (invocation.action == CommandLineInvocation::Action::RunCommand) {
        bool ran = m_services.commands().run(invocation.commandName, invocation.commandArgument);
        console->finish(ran ? 0 : 1);
        return;
    }
    if (invocation.action == CommandLineInvocation::Action::Open) {
        // Exactly what the desktop does with the same arguments: no arguments at all is a relaunch.
        if (invocation.urls.empty())
            reopen();
        else
            open(std::move(invocation.urls));
        console->finish(0);
        return;
    }
    // Links sent to a named workspace bring it up on them, as links routed by the rules do.
    if (invocation.action == CommandLineInvocation::Action::OpenInWorkspace)
        m_hasOpenedLinks = m_hasOpenedLinks || !invocation.urls.empty();
    runAndFinish(std::move(invocation), std::move(console));
}

Task<void> AppDelegate::runAndFinish(
    CommandLineInvocation invocation, std::shared_ptr<ForwardedConsole> console)
{
    // The console is held here, so the invoking process waits until the command has finished.
    int status = co_await m_commands.run(std::move(invocation), *console);
    console->finish(status);
}

void AppDelegate::shouldTerminate()
{
    if (m_hasSavedForQuit)
        return;
    m_hasSavedForQuit = true;
    m_services.timeTracker().save();
    m_services.runtime().saveNow();
}

void AppDelegate::willTerminate()
{
    // Quitting by a way that did not ask first (the session ending, say) still saves the open tabs.
    shouldTerminate();
    m_services.timeTracker().save();
}

} // namespace cohortex
