#include "Platform/Linux/PortalHotKeys.h"

#include "MainLoopWait.h"
#include "Platform/Linux/GLibPtr.h"

#include <cstdlib>
#include <gio/gio.h>
#include <gtest/gtest.h>
#include <string_view>
#include <vector>

namespace cohortex {
namespace {

constexpr const char* portalInterfaces = R"xml(<node>
  <interface name="org.freedesktop.portal.GlobalShortcuts">
    <method name="CreateSession"><arg type="a{sv}" direction="in"/><arg type="o" direction="out"/></method>
    <method name="BindShortcuts">
      <arg type="o" direction="in"/><arg type="a(sa{sv})" direction="in"/><arg type="s" direction="in"/>
      <arg type="a{sv}" direction="in"/><arg type="o" direction="out"/>
    </method>
    <property name="version" type="u" access="read"/>
  </interface>
</node>)xml";

constexpr const char* sessionPath = "/org/freedesktop/portal/desktop/session/test/cohortex";

// A global-shortcuts portal of the test's own on the private session bus, as a Wayland desktop offers it:
// it opens a session, keeps what is bound, and lets the test press and release a bound shortcut.
class FakePortal {
public:
    FakePortal()
    {
        GErrorPtr error;
        GCharPtr address(g_dbus_address_get_for_bus_sync(G_BUS_TYPE_SESSION, nullptr, error.out()));
        m_bus = GObjectPtr<GDBusConnection>(g_dbus_connection_new_for_address_sync(address.get(),
            GDBusConnectionFlags(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT
                | G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
            nullptr, nullptr, error.out()));
        m_info = g_dbus_node_info_new_for_xml(portalInterfaces, nullptr);
        static const GDBusInterfaceVTable vtable{ &FakePortal::call, &FakePortal::property, nullptr, {} };
        g_dbus_connection_register_object(m_bus.get(), "/org/freedesktop/portal/desktop",
            m_info->interfaces[0], &vtable, this, nullptr, nullptr);
        m_nameId = g_bus_own_name_on_connection(m_bus.get(), "org.freedesktop.portal.Desktop",
            G_BUS_NAME_OWNER_FLAGS_NONE, nullptr, nullptr, nullptr, nullptr);
    }
    ~FakePortal()
    {
        g_bus_unown_name(m_nameId);
        g_dbus_node_info_unref(m_info);
    }

    void pressAndRelease(const char* id)
    {
        for (const char* signal : { "Activated", "Deactivated" })
            g_dbus_connection_emit_signal(m_bus.get(), nullptr, "/org/freedesktop/portal/desktop",
                "org.freedesktop.portal.GlobalShortcuts", signal,
                g_variant_new("(ost@a{sv})", sessionPath, id, guint64(0),
                    g_variant_new_array(G_VARIANT_TYPE("{sv}"), nullptr, 0)),
                nullptr);
    }

    std::vector<std::vector<std::string>> bindings;

private:
    static void call(GDBusConnection* bus, const char* sender, const char*, const char*, const char* method,
        GVariant* parameters, GDBusMethodInvocation* invocation, gpointer data)
    {
        auto* self = static_cast<FakePortal*>(data);
        GVariant* options = nullptr;
        if (std::string_view(method) == "CreateSession") {
            g_variant_get(parameters, "(@a{sv})", &options);
        } else {
            GVariantIter* shortcuts = nullptr;
            g_variant_get(parameters, "(&oa(sa{sv})&s@a{sv})", nullptr, &shortcuts, nullptr, &options);
            std::vector<std::string> bound;
            const char* id = nullptr;
            GVariant* properties = nullptr;
            while (g_variant_iter_next(shortcuts, "(&s@a{sv})", &id, &properties)) {
                const char* trigger = "";
                g_variant_lookup(properties, "preferred_trigger", "&s", &trigger);
                bound.push_back(std::string(id) + "=" + trigger);
                g_variant_unref(properties);
            }
            g_variant_iter_free(shortcuts);
            self->bindings.push_back(std::move(bound));
        }
        const char* token = "";
        g_variant_lookup(options, "handle_token", "&s", &token);
        std::string senderPart(sender + 1);
        for (auto& c : senderPart)
            c = c == '.' ? '_' : c;
        auto request = "/org/freedesktop/portal/desktop/request/" + senderPart + "/" + token;
        g_variant_unref(options);
        g_dbus_method_invocation_return_value(invocation, g_variant_new("(o)", request.c_str()));
        GVariantBuilder results;
        g_variant_builder_init(&results, G_VARIANT_TYPE_VARDICT);
        if (std::string_view(method) == "CreateSession")
            g_variant_builder_add(&results, "{sv}", "session_handle", g_variant_new_string(sessionPath));
        g_dbus_connection_emit_signal(bus, sender, request.c_str(), "org.freedesktop.portal.Request",
            "Response", g_variant_new("(ua{sv})", 0u, &results), nullptr);
    }

    static GVariant* property(
        GDBusConnection*, const char*, const char*, const char*, const char*, GError**, gpointer)
    {
        return g_variant_new_uint32(1);
    }

    GObjectPtr<GDBusConnection> m_bus;
    GDBusNodeInfo* m_info{ nullptr };
    guint m_nameId{ 0 };
};

// On a private session bus (ctest's entry starts one and sets COHORTEX_TEST_PRIVATE_BUS).
TEST(PortalHotKeysTest, WithAPortalEveryNameIsBoundToItsKeysAndAReleaseRunsItOnce)
{
    if (!std::getenv("COHORTEX_TEST_PRIVATE_BUS"))
        GTEST_SKIP() << "needs a private session bus; ctest's portal entry starts one";
    FakePortal portal;
    PortalHotKeys keys;
    std::vector<Shortcut> released;
    keys.setReleaseHandler([&](const Shortcut& shortcut) { released.push_back(shortcut); });
    keys.registerHotKey("toggleApp", { 1, Shortcut::control | Shortcut::option });
    keys.registerHotKey("quickSwitcher", { 40, Shortcut::option | Shortcut::command });
    ASSERT_TRUE(runUntil([&] { return !portal.bindings.empty() && portal.bindings.back().size() == 2; }, 5));
    EXPECT_TRUE(keys.isAvailable());
    EXPECT_EQ(portal.bindings.back(),
        (std::vector<std::string>{ "quickSwitcher=ALT+LOGO+k", "toggleApp=CTRL+ALT+s" }));

    portal.pressAndRelease("toggleApp");
    ASSERT_TRUE(runUntil([&] { return !released.empty(); }, 5));
    runFor(0.2);
    EXPECT_EQ(released, (std::vector<Shortcut>{ { 1, Shortcut::control | Shortcut::option } }));
}

} // namespace
} // namespace cohortex
