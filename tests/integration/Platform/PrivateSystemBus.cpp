#include "PrivateSystemBus.h"

#include <algorithm>
#include <array>
#include <csignal>
#include <filesystem>
#include <fstream>

namespace cohortex {

namespace {

// Debian and Ubuntu keep polkitd here, Fedora and Arch in libexec.
constexpr std::array polkitDaemons{ "/usr/lib/polkit-1/polkitd", "/usr/libexec/polkitd",
    "/usr/lib/polkit/polkitd" };
constexpr gint64 polkitStartLimit = 5 * G_USEC_PER_SEC;

void writeConfiguration(const std::filesystem::path& file, const std::filesystem::path& socket)
{
    std::ofstream(file) << R"(<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <listen>unix:path=)" << socket.string()
                        << R"(</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow user="*"/>
    <allow own="*"/>
    <allow send_destination="*"/>
    <allow receive_sender="*"/>
  </policy>
</busconfig>
)";
}

void stop(GObjectPtr<GSubprocess>& process)
{
    if (!process)
        return;
    g_subprocess_send_signal(process.get(), SIGTERM);
    g_subprocess_wait(process.get(), nullptr, nullptr);
    process.reset();
}

} // namespace

std::expected<std::unique_ptr<PrivateSystemBus>, std::string> PrivateSystemBus::start()
{
    std::unique_ptr<PrivateSystemBus> bus(new PrivateSystemBus);
    if (auto started = bus->startBus(); !started)
        return std::unexpected(started.error());
    return bus;
}

PrivateSystemBus::~PrivateSystemBus()
{
    stop(m_polkit);
    m_connection.reset();
    stop(m_bus);
}

std::expected<void, std::string> PrivateSystemBus::startBus()
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
    writeConfiguration(configuration, m_directory.path() / "system_bus_socket");

    GErrorPtr error;
    auto option = "--config-file=" + configuration.string();
    m_bus = GObjectPtr<GSubprocess>(g_subprocess_new(
        static_cast<GSubprocessFlags>(G_SUBPROCESS_FLAGS_STDOUT_PIPE | G_SUBPROCESS_FLAGS_STDERR_SILENCE),
        error.out(), daemon.get(), option.c_str(), "--nofork", "--print-address=1", nullptr));
    if (!m_bus)
        return std::unexpected("dbus-daemon did not start: " + error.message());
    // The daemon prints its address once it listens.
    GObjectPtr<GDataInputStream> output(g_data_input_stream_new(g_subprocess_get_stdout_pipe(m_bus.get())));
    GCharPtr line(g_data_input_stream_read_line(output.get(), nullptr, nullptr, error.out()));
    if (!line)
        return std::unexpected("dbus-daemon printed no address");
    m_address = line.get();

    m_connection = GObjectPtr<GDBusConnection>(g_dbus_connection_new_for_address_sync(m_address.c_str(),
        static_cast<GDBusConnectionFlags>(
            G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT | G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
        nullptr, nullptr, error.out()));
    if (!m_connection)
        return std::unexpected("the private bus does not answer: " + error.message());
    return {};
}

std::expected<void, std::string> PrivateSystemBus::startPolkit()
{
    auto daemon = std::ranges::find_if(
        polkitDaemons, [](const char* path) { return g_file_test(path, G_FILE_TEST_IS_EXECUTABLE); });
    if (daemon == polkitDaemons.end())
        return std::unexpected("polkitd is not installed");

    GObjectPtr<GSubprocessLauncher> launcher(g_subprocess_launcher_new(static_cast<GSubprocessFlags>(
        G_SUBPROCESS_FLAGS_STDOUT_SILENCE | G_SUBPROCESS_FLAGS_STDERR_SILENCE)));
    g_subprocess_launcher_setenv(launcher.get(), "DBUS_SYSTEM_BUS_ADDRESS", m_address.c_str(), true);
    GErrorPtr error;
    m_polkit = GObjectPtr<GSubprocess>(
        g_subprocess_launcher_spawn(launcher.get(), error.out(), *daemon, "--no-debug", nullptr));
    if (!m_polkit)
        return std::unexpected("polkitd did not start: " + error.message());

    auto limit = g_get_monotonic_time() + polkitStartLimit;
    while (!hasOwner("org.freedesktop.PolicyKit1")) {
        if (g_get_monotonic_time() > limit || !g_subprocess_get_identifier(m_polkit.get()))
            return std::unexpected(
                "polkitd did not take its name on the bus (as a normal user it usually cannot)");
        g_usleep(20'000);
    }
    return {};
}

bool PrivateSystemBus::hasOwner(const char* name) const
{
    GVariantPtr reply(g_dbus_connection_call_sync(m_connection.get(), "org.freedesktop.DBus",
        "/org/freedesktop/DBus", "org.freedesktop.DBus", "NameHasOwner", g_variant_new("(s)", name),
        G_VARIANT_TYPE("(b)"), G_DBUS_CALL_FLAGS_NONE, 1000, nullptr, nullptr));
    if (!reply)
        return false;
    gboolean hasOwner = false;
    g_variant_get(reply.get(), "(b)", &hasOwner);
    return hasOwner;
}

} // namespace cohortex
