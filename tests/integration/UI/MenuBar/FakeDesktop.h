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

// A desktop service written for the test: one object with one interface, exported on a peer's connection
// under a well-known name, all gone again when this goes (the way a shell that quits takes its services).
class ExportedObject {
public:
    using MethodCall
        = std::function<void(const std::string& method, GVariant* parameters, GDBusMethodInvocation*)>;
    using Property = std::function<GVariant*(const std::string& name)>;

    ExportedObject(BusPeer& peer, const std::string& busName, const std::string& path,
        const char* introspection, MethodCall onCall, Property onProperty = {})
        : m_peer(peer)
        , m_path(path)
        , m_onCall(std::move(onCall))
        , m_onProperty(std::move(onProperty))
        , m_node(g_dbus_node_info_new_for_xml(introspection, nullptr), &g_dbus_node_info_unref)
    {
        static const GDBusInterfaceVTable vtable{
            [](GDBusConnection*, const char*, const char*, const char*, const char* method,
                GVariant* parameters, GDBusMethodInvocation* invocation, gpointer self) {
                static_cast<ExportedObject*>(self)->m_onCall(method, parameters, invocation);
            },
            [](GDBusConnection*, const char*, const char*, const char*, const char* name, GError**,
                gpointer self) -> GVariant* {
                auto* object = static_cast<ExportedObject*>(self);
                return object->m_onProperty ? object->m_onProperty(name) : nullptr;
            },
            nullptr, {}
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
    Property m_onProperty;
    std::unique_ptr<GDBusNodeInfo, decltype(&g_dbus_node_info_unref)> m_node;
    unsigned m_registration{ 0 };
    unsigned m_owner{ 0 };
    bool m_isOwned{ false };
};

// The panel's side of the tray: the watcher that items register with, as KDE's and the AppIndicator
// extension's are, and the host that reads an item and clicks it.
class FakeStatusNotifierWatcher {
public:
    explicit FakeStatusNotifierWatcher(BusPeer& peer)
        : m_peer(peer)
        , m_object(
              peer, "org.kde.StatusNotifierWatcher", "/StatusNotifierWatcher", introspection,
              [this](const std::string& method, GVariant* parameters, GDBusMethodInvocation* invocation) {
                  if (method == "RegisterStatusNotifierItem") {
                      const char* service = nullptr;
                      g_variant_get(parameters, "(&s)", &service);
                      registrations.emplace_back(service);
                  }
                  g_dbus_method_invocation_return_value(invocation, nullptr);
              },
              [](const std::string& name) -> GVariant* {
                  if (name == "IsStatusNotifierHostRegistered")
                      return g_variant_new_boolean(true);
                  if (name == "ProtocolVersion")
                      return g_variant_new_int32(0);
                  return nullptr;
              })
    {
    }

    GVariantPtr itemProperty(const std::string& item, const char* name)
    {
        return m_peer.property(item, "/StatusNotifierItem", "org.kde.StatusNotifierItem", name);
    }
    std::string itemString(const std::string& item, const char* name)
    {
        auto value = itemProperty(item, name);
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
    <method name="RegisterStatusNotifierHost"><arg name="service" type="s" direction="in"/></method>
    <property name="IsStatusNotifierHostRegistered" type="b" access="read"/>
    <property name="ProtocolVersion" type="i" access="read"/>
  </interface>
</node>)xml";

    BusPeer& m_peer;
    ExportedObject m_object;
};

// The desktop's notification service where no portal and no GNOME Shell stand in front of it: it keeps
// what it was asked to show and can press a notification's buttons.
class FakeNotificationServer {
public:
    struct Notification {
        std::uint32_t id;
        std::string summary;
        // Button labels by the key that invokes them.
        std::map<std::string, std::string> actions;
    };

    explicit FakeNotificationServer(BusPeer& peer)
        : m_object(peer, "org.freedesktop.Notifications", "/org/freedesktop/Notifications", introspection,
            // Only Notify answers with a value; the other calls of the interface need none here.
            [this](const std::string& method, GVariant* parameters, GDBusMethodInvocation* invocation) {
                g_dbus_method_invocation_return_value(
                    invocation, method == "Notify" ? g_variant_new("(u)", record(parameters)) : nullptr);
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
        const char* summary = nullptr;
        GVariantIter* actions = nullptr;
        g_variant_get(parameters, "(&su&s&s&sas@a{sv}i)", nullptr, &replaces, nullptr, &summary, nullptr,
            &actions, nullptr, nullptr);
        Notification notification{ replaces ? replaces : ++m_lastId, summary, {} };
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
    <method name="CloseNotification"><arg type="u" direction="in"/></method>
    <signal name="ActionInvoked"><arg type="u"/><arg type="s"/></signal>
    <signal name="NotificationClosed"><arg type="u"/><arg type="u"/></signal>
  </interface>
</node>)xml";

    std::uint32_t m_lastId{ 0 };
    ExportedObject m_object;
};

} // namespace cohortex::testing
