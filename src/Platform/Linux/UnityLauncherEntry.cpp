#include "Platform/Linux/UnityLauncherEntry.h"

#include "Platform/Linux/GLibAsync.h"

namespace cohortex {

UnityLauncherEntry::UnityLauncherEntry(std::string appUri)
    : m_appUri(std::move(appUri))
    , m_cancellable(g_cancellable_new())
{
    auto ready = asyncReady([this, cancellable = m_cancellable](GObject*, GAsyncResult* result) {
        GErrorPtr error;
        GObjectPtr<GDBusConnection> connection(g_bus_get_finish(result, error.out()));
        if (g_cancellable_is_cancelled(cancellable.get()) || !connection)
            return;
        m_connection = std::move(connection);
        if (auto pending = std::exchange(m_pending, std::nullopt))
            send(*pending);
    });
    g_bus_get(G_BUS_TYPE_SESSION, m_cancellable.get(), ready.callback, ready.userData);
}

UnityLauncherEntry::~UnityLauncherEntry()
{
    g_cancellable_cancel(m_cancellable.get());
}

void UnityLauncherEntry::setCount(std::int64_t count, bool isVisible)
{
    if (!m_connection) {
        m_pending = Count{ count, isVisible };
        return;
    }
    send({ count, isVisible });
}

void UnityLauncherEntry::send(const Count& count)
{
    GVariantBuilder properties;
    g_variant_builder_init(&properties, G_VARIANT_TYPE("a{sv}"));
    g_variant_builder_add(&properties, "{sv}", "count", g_variant_new_int64(count.count));
    g_variant_builder_add(&properties, "{sv}", "count-visible", g_variant_new_boolean(count.isVisible));
    g_dbus_connection_emit_signal(m_connection.get(), nullptr, objectPath,
        "com.canonical.Unity.LauncherEntry", "Update",
        g_variant_new("(sa{sv})", m_appUri.c_str(), &properties), nullptr);
}

} // namespace cohortex
