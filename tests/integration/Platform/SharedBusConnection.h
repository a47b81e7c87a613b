#pragma once

#include "MainLoopWait.h"
#include "Platform/Linux/GLibPtr.h"

#include <gio/gio.h>
#include <gtest/gtest.h>

namespace cohortex {

// GIO's shared connection to a bus a test started. GIO would end the process when that bus goes away,
// so this turns that off. The connection must also be gone before the next test asks for one, or GIO
// would hand that test this one, closed with its bus.
class SharedBusConnection {
public:
    explicit SharedBusConnection(GBusType type)
        : m_connection(g_bus_get_sync(type, nullptr, nullptr))
    {
        if (m_connection)
            g_dbus_connection_set_exit_on_close(m_connection.get(), false);
    }
    ~SharedBusConnection()
    {
        // GIO holds its own references for a moment after the last D-Bus call.
        if (!m_connection)
            return;
        GObject* connection = G_OBJECT(m_connection.get());
        g_object_add_weak_pointer(connection, reinterpret_cast<gpointer*>(&connection));
        m_connection.reset();
        if (!runUntil([&] { return connection == nullptr; }, 1)) {
            g_object_remove_weak_pointer(connection, reinterpret_cast<gpointer*>(&connection));
            ADD_FAILURE() << "the shared bus connection is still in use after the test";
        }
    }
    SharedBusConnection(const SharedBusConnection&) = delete;
    SharedBusConnection& operator=(const SharedBusConnection&) = delete;

    GDBusConnection* get() const { return m_connection.get(); }

private:
    GObjectPtr<GDBusConnection> m_connection;
};

} // namespace cohortex
