#pragma once

#include "Platform/Linux/GLibPtr.h"
#include "TemporaryDirectory.h"

#include <algorithm>
#include <array>
#include <csignal>
#include <expected>
#include <fstream>
#include <gio/gio.h>
#include <memory>
#include <string>

namespace cohortex {

// A message bus of the test's own that stands in for the system bus, and polkitd on it when asked.
// Nothing on the machine is installed or changed: the bus lives in a temporary directory, and polkitd
// reads the action files that are already installed.
class PrivateSystemBus {
public:
    static std::expected<std::unique_ptr<PrivateSystemBus>, std::string> start()
    {
        std::unique_ptr<PrivateSystemBus> bus(new PrivateSystemBus);
        if (auto started = bus->startBus(); !started)
            return std::unexpected(started.error());
        return bus;
    }
    ~PrivateSystemBus()
    {
        stop(m_polkit);
        m_connection.reset();
        stop(m_bus);
    }

    const std::string& address() const { return m_address; }

    std::expected<void, std::string> startPolkit()
    {
        // Debian and Ubuntu keep polkitd here, Fedora and Arch in libexec.
        constexpr std::array daemons{ "/usr/lib/polkit-1/polkitd", "/usr/libexec/polkitd",
            "/usr/lib/polkit/polkitd" };
        auto daemon = std::ranges::find_if(
            daemons, [](const char* path) { return g_file_test(path, G_FILE_TEST_IS_EXECUTABLE); });
        if (daemon == daemons.end())
            return std::unexpected("polkitd is not installed");
        GObjectPtr<GSubprocessLauncher> launcher(g_subprocess_launcher_new(static_cast<GSubprocessFlags>(
            G_SUBPROCESS_FLAGS_STDOUT_SILENCE | G_SUBPROCESS_FLAGS_STDERR_SILENCE)));
        g_subprocess_launcher_setenv(launcher.get(), "DBUS_SYSTEM_BUS_ADDRESS", m_address.c_str(), true);
        GErrorPtr error;
        m_polkit = GObjectPtr<GSubprocess>(
            g_subprocess_launcher_spawn(launcher.get(), error.out(), *daemon, "--no-debug", nullptr));
        if (!m_polkit)
            return std::unexpected("polkitd did not start: " + error.message());
        auto limit = g_get_monotonic_time() + 5 * G_USEC_PER_SEC;
        while (!hasOwner("org.freedesktop.PolicyKit1")) {
            if (g_get_monotonic_time() > limit || !g_subprocess_get_identifier(m_polkit.get()))
                return std::unexpected(
                    "polkitd did not take its name on the bus (as a normal user it usually cannot)");
            g_usleep(20'000);
        }
        return {};
    }

    bool hasOwner(const char* name) const
    {
        GVariantPtr reply(g_dbus_connection_call_sync(m_connection.get(), "org.freedesktop.DBus",
            "/org/freedesktop/DBus", "org.freedesktop.DBus", "NameHasOwner", g_variant_new("(s)", name),
            G_VARIANT_TYPE("(b)"), G_DBUS_CALL_FLAGS_NONE, 1000, nullptr, nullptr));
        gboolean hasOwner = false;
        if (reply)
            g_variant_get(reply.get(), "(b)", &hasOwner);
        return hasOwner;
    }

private:
    PrivateSystemBus() = default;

    std::expected<void, std::string> startBus()
    {
        GCharPtr daemon(g_find_program_in_path("dbus-daemon"));
        if (!daemon)
            return std::unexpected("dbus-daemon is not installed");
        // polkitd started as root changes to its own user, which must still reach the socket.
        std::filesystem::permissions(m_directory.path(),
            std::filesystem::perms::others_read | std::filesystem::perms::others_exec
                | std::filesystem::perms::group_read | std::filesystem::perms::group_exec,
            std::filesystem::perm_options::add);
        auto configuration = m_directory.path() / "bus.conf";
        std::ofstream(configuration)
            << "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration "
               "1.0//EN\" \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
               "<busconfig><listen>unix:path="
            << (m_directory.path() / "system_bus_socket").string()
            << "</listen><auth>EXTERNAL</auth><policy context=\"default\"><allow user=\"*\"/>"
               "<allow own=\"*\"/><allow send_destination=\"*\"/><allow receive_sender=\"*\"/>"
               "</policy></busconfig>\n";
        GErrorPtr error;
        auto option = "--config-file=" + configuration.string();
        m_bus = GObjectPtr<GSubprocess>(g_subprocess_new(
            static_cast<GSubprocessFlags>(G_SUBPROCESS_FLAGS_STDOUT_PIPE | G_SUBPROCESS_FLAGS_STDERR_SILENCE),
            error.out(), daemon.get(), option.c_str(), "--nofork", "--print-address=1", nullptr));
        if (!m_bus)
            return std::unexpected("dbus-daemon did not start: " + error.message());
        // The daemon prints its address once it listens.
        GObjectPtr<GDataInputStream> output(
            g_data_input_stream_new(g_subprocess_get_stdout_pipe(m_bus.get())));
        GCharPtr line(g_data_input_stream_read_line(output.get(), nullptr, nullptr, error.out()));
        if (!line)
            return std::unexpected("dbus-daemon printed no address");
        m_address = line.get();
        // Our own connection, not the shared one, to watch who owns a name.
        m_connection = GObjectPtr<GDBusConnection>(g_dbus_connection_new_for_address_sync(m_address.c_str(),
            static_cast<GDBusConnectionFlags>(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT
                | G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
            nullptr, nullptr, error.out()));
        if (!m_connection)
            return std::unexpected("the private bus does not answer: " + error.message());
        return {};
    }

    static void stop(GObjectPtr<GSubprocess>& process)
    {
        if (!process)
            return;
        g_subprocess_send_signal(process.get(), SIGTERM);
        g_subprocess_wait(process.get(), nullptr, nullptr);
        process.reset();
    }

    TemporaryDirectory m_directory;
    std::string m_address;
    GObjectPtr<GSubprocess> m_bus;
    GObjectPtr<GSubprocess> m_polkit;
    GObjectPtr<GDBusConnection> m_connection;
};

} // namespace cohortex
