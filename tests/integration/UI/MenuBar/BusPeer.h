#pragma once

#include "Platform/Linux/GLibPtr.h"
#include "integration/Platform/MainLoopWait.h"

#include <gio/gio.h>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace cohortex::testing {

// A program of the desktop on the test's private session bus, on a connection of its own, so that what it
// sees of Cohortex went over the bus as it would between two processes.
class BusPeer {
public:
    BusPeer()
    {
        GErrorPtr error;
        m_connection = GObjectPtr<GDBusConnection>(
            g_dbus_connection_new_for_address_sync(g_getenv("DBUS_SESSION_BUS_ADDRESS"),
                GDBusConnectionFlags(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT
                    | G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
                nullptr, nullptr, error.out()));
        EXPECT_TRUE(m_connection) << error.message();
        if (m_connection)
            g_dbus_connection_set_exit_on_close(m_connection.get(), false);
    }
    ~BusPeer()
    {
        for (auto id : m_subscriptions)
            g_dbus_connection_signal_unsubscribe(m_connection.get(), id);
        if (m_connection)
            g_dbus_connection_close_sync(m_connection.get(), nullptr, nullptr);
    }
    BusPeer(const BusPeer&) = delete;
    BusPeer& operator=(const BusPeer&) = delete;

    GDBusConnection* connection() const { return m_connection.get(); }

    // A method call, waited for on the main loop so that Cohortex, in this same process, can answer it.
    GVariantPtr call(const std::string& destination, const std::string& path, const std::string& interface,
        const std::string& method, GVariant* parameters)
    {
        std::optional<GVariantPtr> reply;
        std::string failure;
        struct Wait {
            std::optional<GVariantPtr>* reply;
            std::string* failure;
        } wait{ &reply, &failure };
        g_dbus_connection_call(
            m_connection.get(), destination.c_str(), path.c_str(), interface.c_str(), method.c_str(),
            parameters, nullptr, G_DBUS_CALL_FLAGS_NO_AUTO_START, 5000, nullptr,
            [](GObject* source, GAsyncResult* result, gpointer data) {
                auto* wait = static_cast<Wait*>(data);
                GErrorPtr error;
                GVariantPtr value(
                    g_dbus_connection_call_finish(G_DBUS_CONNECTION(source), result, error.out()));
                if (!value)
                    *wait->failure = error.message();
                *wait->reply = std::move(value);
            },
            &wait);
        runUntil([&] { return reply.has_value(); }, 10);
        EXPECT_TRUE(reply && *reply) << method << ": " << failure;
        return reply ? std::move(*reply) : GVariantPtr();
    }

    GVariantPtr property(const std::string& destination, const std::string& path,
        const std::string& interface, const std::string& name)
    {
        auto reply = call(destination, path, "org.freedesktop.DBus.Properties", "Get",
            g_variant_new("(ss)", interface.c_str(), name.c_str()));
        if (!reply)
            return {};
        GVariant* value = nullptr;
        g_variant_get(reply.get(), "(v)", &value);
        return GVariantPtr(value);
    }

    // Every signal of that interface and member from anyone, kept with its parameters.
    std::vector<GVariantPtr>& listen(const std::string& interface, const std::string& member)
    {
        auto& received = m_received.emplace_back(std::make_unique<std::vector<GVariantPtr>>());
        m_subscriptions.push_back(g_dbus_connection_signal_subscribe(
            m_connection.get(), nullptr, interface.c_str(), member.c_str(), nullptr, nullptr,
            G_DBUS_SIGNAL_FLAGS_NONE,
            [](GDBusConnection*, const char*, const char*, const char*, const char*, GVariant* parameters,
                gpointer data) {
                static_cast<std::vector<GVariantPtr>*>(data)->emplace_back(g_variant_ref(parameters));
            },
            received.get(), nullptr));
        // The bus has the match rule once it has answered a call made after it.
        call("org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus", "GetId", nullptr);
        return *received;
    }

private:
    GObjectPtr<GDBusConnection> m_connection;
    std::vector<unsigned> m_subscriptions;
    std::vector<std::unique_ptr<std::vector<GVariantPtr>>> m_received;
};

} // namespace cohortex::testing
