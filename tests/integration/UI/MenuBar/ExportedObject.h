#pragma once

#include "BusPeer.h"

#include <functional>
#include <string>

namespace cohortex::testing {

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
    ExportedObject(const ExportedObject&) = delete;
    ExportedObject& operator=(const ExportedObject&) = delete;

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

} // namespace cohortex::testing
