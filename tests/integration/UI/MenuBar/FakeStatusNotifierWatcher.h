#pragma once

#include "ExportedObject.h"

#include <string>
#include <vector>

namespace cohortex::testing {

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

} // namespace cohortex::testing
