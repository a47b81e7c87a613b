#pragma once

#include "ExportedObject.h"

#include <map>
#include <string>
#include <vector>

namespace cohortex::testing {

// The desktop's notification service where no portal and no GNOME Shell stand in front of it: it keeps
// what it was asked to show and can press a notification's buttons.
class FakeNotificationServer {
public:
    struct Notification {
        std::uint32_t id;
        std::string summary;
        std::string body;
        // Button labels by the key that invokes them.
        std::map<std::string, std::string> actions;
    };

    explicit FakeNotificationServer(BusPeer& peer)
        : m_object(peer, "org.freedesktop.Notifications", "/org/freedesktop/Notifications", introspection,
            [this](const std::string& method, GVariant* parameters, GDBusMethodInvocation* invocation) {
                answer(method, parameters, invocation);
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
    // Only Notify answers with a value; the other calls of the interface need none here.
    void answer(const std::string& method, GVariant* parameters, GDBusMethodInvocation* invocation)
    {
        g_dbus_method_invocation_return_value(
            invocation, method == "Notify" ? g_variant_new("(u)", record(parameters)) : nullptr);
    }

    std::uint32_t record(GVariant* parameters)
    {
        const char *application = nullptr, *icon = nullptr, *summary = nullptr, *body = nullptr;
        std::uint32_t replaces = 0;
        GVariantIter* actions = nullptr;
        GVariant* hintsValue = nullptr;
        gint32 timeout = 0;
        g_variant_get(parameters, "(&su&s&s&sas@a{sv}i)", &application, &replaces, &icon, &summary, &body,
            &actions, &hintsValue, &timeout);
        GVariantPtr hints(hintsValue);
        Notification notification{ replaces ? replaces : ++m_lastId, summary, body, {} };
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
