#include "Platform/Linux/MutterIdleMonitor.h"

#include "MainLoopWait.h"
#include "Platform/Linux/GLibPtr.h"
#include "PrivateSystemBus.h"
#include "ScopedVariable.h"
#include "SharedBusConnection.h"

#include <gio/gio.h>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <utility>

namespace cohortex {
namespace {

constexpr auto introspection = R"(<node>
  <interface name="org.gnome.Mutter.IdleMonitor">
    <method name="GetIdletime"><arg type="t" name="idletime" direction="out"/></method>
  </interface>
</node>)";

// GNOME Shell's idle monitor as the monitor sees it: a name on the session bus whose Core object
// answers GetIdletime in milliseconds.
class FakeShell {
public:
    explicit FakeShell(const std::string& address)
    {
        GErrorPtr error;
        m_connection = GObjectPtr<GDBusConnection>(g_dbus_connection_new_for_address_sync(address.c_str(),
            static_cast<GDBusConnectionFlags>(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT
                | G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
            nullptr, nullptr, error.out()));
        m_node = g_dbus_node_info_new_for_xml(introspection, nullptr);
        static const GDBusInterfaceVTable table{ &FakeShell::methodCalled, nullptr, nullptr, {} };
        m_registration = g_dbus_connection_register_object(m_connection.get(),
            "/org/gnome/Mutter/IdleMonitor/Core", m_node->interfaces[0], &table, this, nullptr, error.out());
        m_ownerId = g_bus_own_name_on_connection(m_connection.get(), "org.gnome.Mutter.IdleMonitor",
            G_BUS_NAME_OWNER_FLAGS_NONE, nullptr, nullptr, nullptr, nullptr);
    }
    ~FakeShell()
    {
        leave();
        g_dbus_node_info_unref(m_node);
    }

    void leave()
    {
        if (m_ownerId)
            g_bus_unown_name(std::exchange(m_ownerId, 0));
        if (m_registration)
            g_dbus_connection_unregister_object(m_connection.get(), std::exchange(m_registration, 0));
    }

    guint64 idleMilliseconds{ 0 };

private:
    static void methodCalled(GDBusConnection*, const char*, const char*, const char*, const char*, GVariant*,
        GDBusMethodInvocation* invocation, gpointer self)
    {
        g_dbus_method_invocation_return_value(
            invocation, g_variant_new("(t)", static_cast<FakeShell*>(self)->idleMilliseconds));
    }

    GObjectPtr<GDBusConnection> m_connection;
    GDBusNodeInfo* m_node{ nullptr };
    guint m_registration{ 0 };
    guint m_ownerId{ 0 };
};

class MutterIdleMonitorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto bus = PrivateSystemBus::start();
        if (!bus)
            GTEST_SKIP() << "No private bus: " << bus.error();
        m_bus = std::move(*bus);
        m_address.emplace("DBUS_SESSION_BUS_ADDRESS", m_bus->address().c_str());
        m_sessionBus = std::make_unique<SharedBusConnection>(G_BUS_TYPE_SESSION);
        ASSERT_TRUE(m_sessionBus->get());
        m_shell = std::make_unique<FakeShell>(m_bus->address());
        ASSERT_TRUE(runUntil([&] { return m_bus->hasOwner("org.gnome.Mutter.IdleMonitor"); }, 2));
    }
    void TearDown() override
    {
        m_monitor.reset();
        m_shell.reset();
        m_sessionBus.reset();
        m_bus.reset();
        m_address.reset();
    }

    MutterIdleMonitor& monitor()
    {
        if (!m_monitor)
            m_monitor = std::make_unique<MutterIdleMonitor>();
        return *m_monitor;
    }
    bool readsAtLeast(double seconds)
    {
        return runUntil([&] { return monitor().idleSeconds() >= seconds; }, 2);
    }

    std::unique_ptr<PrivateSystemBus> m_bus;
    std::optional<ScopedVariable> m_address;
    std::unique_ptr<SharedBusConnection> m_sessionBus;
    std::unique_ptr<FakeShell> m_shell;
    std::unique_ptr<MutterIdleMonitor> m_monitor;
};

TEST_F(MutterIdleMonitorTest, ReadsTheShellsIdleTimeAndCountsAShellThatLeftAsActive)
{
    m_shell->idleMilliseconds = 42'000;
    ASSERT_TRUE(readsAtLeast(42));

    m_shell->idleMilliseconds = 600'000;
    ASSERT_TRUE(readsAtLeast(600));
    m_shell->leave();
    ASSERT_TRUE(runUntil([&] { return monitor().idleSeconds() == 0; }, 2));
}

} // namespace
} // namespace cohortex
