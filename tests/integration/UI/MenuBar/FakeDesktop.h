#pragma once

#include "Platform/Linux/GLibPtr.h"
#include "integration/Platform/MainLoopWait.h"

#include <functional>
#include <gio/gio.h>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace cohortex::testing {

// A desktop program on a connection of its own: what it sees of Cohortex went over the bus.
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

    GDBusConnection* connection() const { return m_connection.get(); }

    // A method call, waited for on the main loop so that Cohortex, in this same process, can answer it.
    GVariantPtr call(const std::string& destination, const std::string& path, const std::string& interface,
        const std::string& method, GVariant* parameters)
    {
        struct Wait {
            std::optional<GVariantPtr> reply;
            std::string failure;
        } wait;
        g_dbus_connection_call(
            m_connection.get(), destination.c_str(), path.c_str(), interface.c_str(), method.c_str(),
            parameters, nullptr, G_DBUS_CALL_FLAGS_NO_AUTO_START, 5000, nullptr,
            [](GObject* source, GAsyncResult* result, gpointer data) {
                auto* wait = static_cast<Wait*>(data);
                GErrorPtr error;
                wait->reply.emplace(
                    g_dbus_connection_call_finish(G_DBUS_CONNECTION(source), result, error.out()));
                if (!*wait->reply)
                    wait->failure = error.message();
            },
            &wait);
        runUntil([&] { return wait.reply.has_value(); }, 10);
        EXPECT_TRUE(wait.reply && *wait.reply) << method << ": " << wait.failure;
        return wait.reply ? std::move(*wait.reply) : GVariantPtr();
    }

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

// One object with one interface under a well-known name, gone with this (as a shell that quits takes its
// services).
class ExportedObject {
public:
    using MethodCall
        = std::function<void(const std::string& method, GVariant* parameters, GDBusMethodInvocation*)>;

    ExportedObject(BusPeer& peer, const std::string& busName, const std::string& path,
        const char* introspection, MethodCall onCall)
        : m_peer(peer)
        , m_path(path)
        , m_onCall(std::move(onCall))
        , m_node(g_dbus_node_info_new_for_xml(introspection, nullptr), &g_dbus_node_info_unref)
    {
        static const GDBusInterfaceVTable vtable{
            [](GDBusConnection*, const char*, const char*, const char*, const char* method,
                GVariant* parameters, GDBusMethodInvocation* invocation, gpointer self) {
                static_cast<ExportedObject*>(self)->m_onCall(method, parameters, invocation);
            },
            nullptr, nullptr, {}
        };
        m_registration = g_dbus_connection_register_object(
            peer.connection(), path.c_str(), m_node->interfaces[0], &vtable, this, nullptr, nullptr);
        m_owner = g_bus_own_name_on_connection(
            peer.connection(), busName.c_str(), G_BUS_NAME_OWNER_FLAGS_NONE,
            [](GDBusConnection*, const char*, gpointer self) {
                static_cast<ExportedObject*>(self)->m_isOwned = true;
            },
            nullptr, this, nullptr);
        EXPECT_TRUE(runUntil([this] { return m_isOwned; }, 5)) << "could not own " << busName;
    }
    ~ExportedObject()
    {
        g_bus_unown_name(m_owner);
        g_dbus_connection_unregister_object(m_peer.connection(), m_registration);
    }

    void emit(const char* interface, const char* signal, GVariant* parameters)
    {
        g_dbus_connection_emit_signal(
            m_peer.connection(), nullptr, m_path.c_str(), interface, signal, parameters, nullptr);
    }

private:
    BusPeer& m_peer;
    std::string m_path;
    MethodCall m_onCall;
    std::unique_ptr<GDBusNodeInfo, decltype(&g_dbus_node_info_unref)> m_node;
    unsigned m_registration{ 0 };
    unsigned m_owner{ 0 };
    bool m_isOwned{ false };
};

// The panel's side of the tray: the watcher items register with, and the host that reads and clicks them.
class FakeStatusNotifierWatcher {
public:
    explicit FakeStatusNotifierWatcher(BusPeer& peer)
        : m_peer(peer)
        , m_object(peer, "org.kde.StatusNotifierWatcher", "/StatusNotifierWatcher", introspection,
              [this](const std::string&, GVariant* parameters, GDBusMethodInvocation* invocation) {
                  const char* service = nullptr;
                  g_variant_get(parameters, "(&s)", &service);
                  registrations.emplace_back(service);
                  g_dbus_method_invocation_return_value(invocation, nullptr);
              })
    {
    }

    std::string itemString(const std::string& item, const char* name)
    {
        auto reply = m_peer.call(item, "/StatusNotifierItem", "org.freedesktop.DBus.Properties", "Get",
            g_variant_new("(ss)", "org.kde.StatusNotifierItem", name));
        GVariantPtr value(reply ? g_variant_get_child_value(reply.get(), 0) : nullptr);
        if (value)
            value = GVariantPtr(g_variant_get_variant(value.get()));
        bool isText = value
            && (g_variant_is_of_type(value.get(), G_VARIANT_TYPE_STRING)
                || g_variant_is_of_type(value.get(), G_VARIANT_TYPE_OBJECT_PATH));
        return isText ? g_variant_get_string(value.get(), nullptr) : "<not a string>";
    }
    void callItem(const std::string& item, const char* method, GVariant* parameters)
    {
        m_peer.call(item, "/StatusNotifierItem", "org.kde.StatusNotifierItem", method, parameters);
    }

    std::vector<std::string> registrations;

private:
    static constexpr const char* introspection = R"xml(
<node>
  <interface name="org.kde.StatusNotifierWatcher">
    <method name="RegisterStatusNotifierItem"><arg name="service" type="s" direction="in"/></method>
  </interface>
</node>)xml";

    BusPeer& m_peer;
    ExportedObject m_object;
};

// The notification service where no portal stands in front of it.
class FakeNotificationServer {
public:
    struct Notification {
        std::uint32_t id;
        std::map<std::string, std::string> actions;
    };

    explicit FakeNotificationServer(BusPeer& peer)
        : m_object(peer, "org.freedesktop.Notifications", "/org/freedesktop/Notifications", introspection,
            [this](const std::string&, GVariant* parameters, GDBusMethodInvocation* invocation) {
                g_dbus_method_invocation_return_value(invocation, g_variant_new("(u)", record(parameters)));
            })
    {
    }

    // What clicking a button does on a desktop: the service tells every listener which one.
    void press(const Notification& notification, const std::string& label)
    {
        for (const auto& [key, shown] : notification.actions) {
            if (shown == label) {
                m_object.emit("org.freedesktop.Notifications", "ActionInvoked",
                    g_variant_new("(us)", notification.id, key.c_str()));
                return;
            }
        }
        ADD_FAILURE() << "no button " << label;
    }

    std::vector<Notification> shown;

private:
    std::uint32_t record(GVariant* parameters)
    {
        std::uint32_t replaces = 0;
        GVariantIter* actions = nullptr;
        g_variant_get(parameters, "(&su&s&s&sas@a{sv}i)", nullptr, &replaces, nullptr, nullptr, nullptr,
            &actions, nullptr, nullptr);
        Notification notification{ replaces ? replaces : ++m_lastId, {} };
        const char* key = nullptr;
        const char* label = nullptr;
        while (g_variant_iter_next(actions, "&s", &key) && g_variant_iter_next(actions, "&s", &label))
            notification.actions[key] = label;
        g_variant_iter_free(actions);
        shown.push_back(notification);
        return notification.id;
    }

    static constexpr const char* introspection = R"xml(
<node>
  <interface name="org.freedesktop.Notifications">
    <method name="Notify">
      <arg type="s" direction="in"/><arg type="u" direction="in"/><arg type="s" direction="in"/>
      <arg type="s" direction="in"/><arg type="s" direction="in"/><arg type="as" direction="in"/>
      <arg type="a{sv}" direction="in"/><arg type="i" direction="in"/><arg type="u" direction="out"/>
    </method>
  </interface>
</node>)xml";

    std::uint32_t m_lastId{ 0 };
    ExportedObject m_object;
};

} // namespace cohortex::testing
