#include "App/LocalCommand.h"

#include "App/AppServices.h"
#include "App/CohortexApp.h"
#include "Platform/Linux/GLibPtr.h"
#include "Services/CommandRunner.h"
#include "Services/StdioConsole.h"
#include "Support/Translation.h"

#include <gtkmm/application.h>
#include <iostream>

namespace cohortex {

bool isApplicationRunning()
{
    GErrorPtr error;
    GObjectPtr<GDBusConnection> bus(g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, error.out()));
    if (!bus)
        return false;
    GVariantPtr reply(g_dbus_connection_call_sync(bus.get(), "org.freedesktop.DBus", "/org/freedesktop/DBus",
        "org.freedesktop.DBus", "NameHasOwner", g_variant_new("(s)", CohortexApp::applicationId),
        G_VARIANT_TYPE("(b)"), G_DBUS_CALL_FLAGS_NONE, 2000, nullptr, nullptr));
    if (!reply)
        return false;
    gboolean owned = false;
    g_variant_get(reply.get(), "(b)", &owned);
    return owned;
}

namespace {

Task<void> runThenStop(CommandRunner& runner, CommandLineInvocation invocation, Console& console, int& status,
    GMainLoop* loop, bool& finished)
{
    status = co_await runner.run(std::move(invocation), console);
    finished = true;
    g_main_loop_quit(loop);
}

std::string settingsDatabaseFailure(std::string_view reason)
{
    // TRANSLATORS: {} is the database's own description of what went wrong.
    return fillIn(_("Cohortex cannot open its settings database: {}"), reason) + "\n";
}

} // namespace

int checkWorkspaceNamed(std::string_view name)
{
    auto services = AppServices::create(Glib::RefPtr<Gtk::Application>());
    if (!services) {
        std::cerr << settingsDatabaseFailure(services.error().message);
        return 1;
    }
    if (workspaceNamed((*services)->sessions().workspaces().get(), name))
        return 0;
    std::cerr << noWorkspaceNamedMessage(name);
    return 1;
}

int runLocalCommand(const CommandLineInvocation& invocation)
{
    // No application object at all: creating one would open the display, which need not exist here.
    auto services = AppServices::create(Glib::RefPtr<Gtk::Application>());
    if (!services) {
        std::cerr << settingsDatabaseFailure(services.error().message);
        return 1;
    }
    CommandRunner runner((*services)->sessions(), (*services)->timeTracker(), (*services)->teamSharing());
    StdioConsole console;
    int status = 1;
    bool finished = false;
    GMainLoop* loop = g_main_loop_new(nullptr, false);
    runThenStop(runner, invocation, console, status, loop, finished);
    if (!finished)
        g_main_loop_run(loop);
    g_main_loop_unref(loop);
    return status;
}

} // namespace cohortex
