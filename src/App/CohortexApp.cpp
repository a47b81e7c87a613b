#include "App/CohortexApp.h"

#include "App/AppDelegate.h"
#include "App/AppServices.h"
#include "App/ForwardedConsole.h"
#include "Platform/Linux/LaunchTrace.h"
#include "Services/CommandLine.h"
#include "Support/Log.h"
#include "UI/Commands/CommandActions.h"

#include <csignal>
#include <cstdlib>
#include <glib-unix.h>
#include <glibmm/miscutils.h>
#include <gtkmm/application.h>
#include <gtkmm/window.h>

namespace cohortex {

CohortexApp::CohortexApp(Alerts* alertsInsteadOfDialogs)
    : m_application(Gtk::Application::create(
        applicationId, Gio::Application::Flags::HANDLES_OPEN | Gio::Application::Flags::HANDLES_COMMAND_LINE))
    , m_alertsInsteadOfDialogs(alertsInsteadOfDialogs)
{
    m_application->signal_startup().connect([this] { startup(); });
    m_application->signal_activate().connect([this] { activate(); });
    m_application->signal_command_line().connect(
        [this](const Glib::RefPtr<Gio::ApplicationCommandLine>& commandLine) {
            return this->commandLine(commandLine);
        },
        false);
    m_application->signal_open().connect(
        [this](const Gio::Application::type_vec_files& files, const Glib::ustring&) { open(files); });
    // Before GTK's own shutdown, while the display and the windows are still there.
    m_application->signal_shutdown().connect([this] { shutdown(); }, false);
    // From the start: a signal that came while the services were being set up would otherwise end the
    // process on the spot, before anything was saved.
    installQuitSignals();
}

CohortexApp::~CohortexApp()
{
    removeQuitSignals();
}

int CohortexApp::run(int argc, char* argv[])
{
    int status = m_application->run(argc, argv);
    return m_failedToStart ? EXIT_FAILURE : status;
}

void CohortexApp::startup()
{
    // Runs in the first instance only, after GTK has opened the display.
    traceLaunch("application startup");
    // Libadwaita is initialised when something is first shown (the window, a dialog, the settings):
    // parsing its style sheet is some 15-20 ms that a link handed over at launch need not wait for.
    Glib::set_application_name("Cohortex");
    Gtk::Window::set_default_icon_name(applicationId);
    auto services = AppServices::create(m_application, m_alertsInsteadOfDialogs, [this] { quit(); });
    if (!services) {
        logError("Cohortex cannot open its settings database: " + services.error().message);
        m_failedToStart = true;
        m_application->quit();
        return;
    }
    m_services = std::move(*services);
    traceLaunch("services ready");
    m_delegate = std::make_unique<AppDelegate>(*m_services);
    // The window only hides when closed; the application lives on until the user quits.
    m_application->hold();
    installCommands();
    m_delegate->didFinishLaunching();
}

void CohortexApp::activate()
{
    if (m_delegate)
        m_delegate->reopen();
}

void CohortexApp::open(const std::vector<Glib::RefPtr<Gio::File>>& files)
{
    if (!m_delegate)
        return;
    std::vector<Url> urls;
    for (const auto& file : files) {
        // A path given on the command line arrives as a file: URI, a link as itself.
        if (auto url = Url::parse(file->get_uri()))
            urls.push_back(std::move(*url));
    }
    m_delegate->open(std::move(urls));
}

int CohortexApp::commandLine(const Glib::RefPtr<Gio::ApplicationCommandLine>& commandLine)
{
    int argc = 0;
    char** argv = commandLine->get_arguments(argc);
    std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    g_strfreev(argv);
    // Relative paths mean what they meant in the shell that typed them, which may be another process's.
    std::filesystem::path workingDirectory = commandLine->get_cwd();
    auto console = std::make_shared<ForwardedConsole>(commandLine);
    auto invocation = parseCommandLine(
        arguments, workingDirectory.empty() ? std::filesystem::current_path() : workingDirectory);
    if (!invocation) {
        console->error(invocation.error() + "\n");
        console->finish(1);
        return 1;
    }
    if (auto answer = immediateAnswer(*invocation, COHORTEX_VERSION)) {
        console->out(*answer);
        console->finish(0);
        return 0;
    }
    if (!m_delegate) {
        console->finish(1);
        return 1;
    }
    m_delegate->runCommand(std::move(*invocation), console);
    return 0;
}

void CohortexApp::quit()
{
    if (m_delegate)
        m_delegate->shouldTerminate();
    m_application->quit();
}

void CohortexApp::shutdown()
{
    removeQuitSignals();
    if (m_delegate)
        m_delegate->willTerminate();
    m_delegate.reset();
    m_actions.reset();
    m_services.reset();
}

void CohortexApp::installCommands()
{
    // Every command becomes an action of the application, with its keys; quit is one of them.
    m_actions = std::make_unique<CommandActions>(m_services->commands());
    m_actions->addTo(G_ACTION_MAP(m_application->gobj()));
    m_actions->setAccelerators(m_application->gobj());
}

void CohortexApp::installQuitSignals()
{
    // Logging out, `kill` and Ctrl+C in a terminal end the application as Ctrl+Q does, saves included.
    for (int signal : { SIGTERM, SIGINT, SIGHUP }) {
        m_signalSources.push_back(g_unix_signal_add(
            signal,
            +[](gpointer app) {
                static_cast<CohortexApp*>(app)->quit();
                return int(G_SOURCE_CONTINUE);
            },
            this));
    }
}

void CohortexApp::removeQuitSignals()
{
    for (auto source : m_signalSources)
        g_source_remove(source);
    m_signalSources.clear();
}

} // namespace cohortex
