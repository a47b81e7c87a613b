#include "Platform/Linux/StatusNotifierItem.h"

#include "Platform/Linux/GLibAsync.h"

#include <memory>
#include <unistd.h>

namespace cohortex {

namespace {

constexpr auto interfaceName = "org.kde.StatusNotifierItem";
constexpr auto watcherPath = "/StatusNotifierWatcher";
constexpr auto watcherInterface = "org.kde.StatusNotifierWatcher";
constexpr int registrationTimeoutMilliseconds = 5000;

// The whole interface, read-only properties included: some panels read every property at once and give up
// on an item that lacks one.
constexpr auto introspection = R"xml(
<node>
  <interface name="org.kde.StatusNotifierItem">
    <property name="Category" type="s" access="read"/>
    <property name="Id" type="s" access="read"/>
    <property name="Title" type="s" access="read"/>
    <property name="Status" type="s" access="read"/>
    <property name="WindowId" type="i" access="read"/>
    <property name="IconThemePath" type="s" access="read"/>
    <property name="IconName" type="s" access="read"/>
    <property name="IconPixmap" type="a(iiay)" access="read"/>
    <property name="OverlayIconName" type="s" access="read"/>
    <property name="OverlayIconPixmap" type="a(iiay)" access="read"/>
    <property name="AttentionIconName" type="s" access="read"/>
    <property name="AttentionIconPixmap" type="a(iiay)" access="read"/>
    <property name="AttentionMovieName" type="s" access="read"/>
    <property name="ToolTip" type="(sa(iiay)ss)" access="read"/>
    <property name="ItemIsMenu" type="b" access="read"/>
    <property name="Menu" type="o" access="read"/>
    <method name="ContextMenu"><arg name="x" type="i" direction="in"/><arg name="y" type="i" direction="in"/></method>
    <method name="Activate"><arg name="x" type="i" direction="in"/><arg name="y" type="i" direction="in"/></method>
    <method name="SecondaryActivate"><arg name="x" type="i" direction="in"/><arg name="y" type="i" direction="in"/></method>
    <method name="Scroll"><arg name="delta" type="i" direction="in"/><arg name="orientation" type="s" direction="in"/></method>
    <signal name="NewTitle"/>
    <signal name="NewIcon"/>
    <signal name="NewAttentionIcon"/>
    <signal name="NewOverlayIcon"/>
    <signal name="NewToolTip"/>
    <signal name="NewStatus"><arg name="status" type="s"/></signal>
  </interface>
</node>
)xml";

struct NodeInfoUnref {
    void operator()(GDBusNodeInfo* info) const { g_dbus_node_info_unref(info); }
};

GDBusInterfaceInfo* interfaceInfo()
{
    static std::unique_ptr<GDBusNodeInfo, NodeInfoUnref> node(
        g_dbus_node_info_new_for_xml(introspection, nullptr));
    return g_dbus_node_info_lookup_interface(node.get(), interfaceName);
}

GVariant* noPixmaps()
{
    return g_variant_new_array(G_VARIANT_TYPE("(iiay)"), nullptr, 0);
}

void run(const std::function<void(int, int)>& handler, GVariant* parameters)
{
    gint32 x = 0;
    gint32 y = 0;
    g_variant_get(parameters, "(ii)", &x, &y);
    if (handler)
        handler(x, y);
}

} // namespace

StatusNotifierItem::StatusNotifierItem(Properties properties, Handlers handlers)
    : m_properties(std::move(properties))
    , m_handlers(std::move(handlers))
    , m_busName("org.kde.StatusNotifierItem-" + std::to_string(getpid()) + "-1")
    , m_cancellable(g_cancellable_new())
{
    m_ownerId = g_bus_own_name(G_BUS_TYPE_SESSION, m_busName.c_str(), G_BUS_NAME_OWNER_FLAGS_NONE,
        &StatusNotifierItem::busAcquired, &StatusNotifierItem::nameAcquired, nullptr, this, nullptr);
}

StatusNotifierItem::~StatusNotifierItem()
{
    g_cancellable_cancel(m_cancellable.get());
    if (m_watcherWatchId)
        g_bus_unwatch_name(m_watcherWatchId);
    if (m_registrationId)
        g_dbus_connection_unregister_object(m_connection.get(), m_registrationId);
    g_bus_unown_name(m_ownerId);
}

void StatusNotifierItem::busAcquired(GDBusConnection* connection, const char*, gpointer data)
{
    auto* self = static_cast<StatusNotifierItem*>(data);
    self->m_connection = GObjectPtr<GDBusConnection>::retain(connection);
    static const GDBusInterfaceVTable vtable{ &StatusNotifierItem::methodCall, &StatusNotifierItem::property,
        nullptr, {} };
    self->m_registrationId = g_dbus_connection_register_object(
        connection, objectPath, interfaceInfo(), &vtable, self, nullptr, nullptr);
}

void StatusNotifierItem::nameAcquired(GDBusConnection* connection, const char*, gpointer data)
{
    // The watcher is asked to show the item by its name, so the name must be ours first.
    auto* self = static_cast<StatusNotifierItem*>(data);
    if (self->m_watcherWatchId)
        return;
    self->m_watcherWatchId
        = g_bus_watch_name_on_connection(connection, watcherName, G_BUS_NAME_WATCHER_FLAGS_NONE,
            &StatusNotifierItem::watcherAppeared, &StatusNotifierItem::watcherVanished, self, nullptr);
}

void StatusNotifierItem::watcherAppeared(GDBusConnection*, const char*, const char*, gpointer data)
{
    static_cast<StatusNotifierItem*>(data)->registerWithWatcher();
}

void StatusNotifierItem::watcherVanished(GDBusConnection*, const char*, gpointer data)
{
    auto* self = static_cast<StatusNotifierItem*>(data);
    if (self->m_isRegistered.get())
        self->m_isRegistered.set(false);
}

void StatusNotifierItem::registerWithWatcher()
{
    auto ready = asyncReady([this, cancellable = m_cancellable](GObject* source, GAsyncResult* result) {
        GErrorPtr error;
        GVariantPtr reply(g_dbus_connection_call_finish(G_DBUS_CONNECTION(source), result, error.out()));
        // Cancelled: the item is gone, and this with it.
        if (g_cancellable_is_cancelled(cancellable.get()))
            return;
        bool registered = reply != nullptr;
        if (registered != m_isRegistered.get())
            m_isRegistered.set(registered);
    });
    g_dbus_connection_call(m_connection.get(), watcherName, watcherPath, watcherInterface,
        "RegisterStatusNotifierItem", g_variant_new("(s)", m_busName.c_str()), nullptr,
        G_DBUS_CALL_FLAGS_NO_AUTO_START, registrationTimeoutMilliseconds, m_cancellable.get(), ready.callback,
        ready.userData);
}

void StatusNotifierItem::methodCall(GDBusConnection*, const char*, const char*, const char*,
    const char* method, GVariant* parameters, GDBusMethodInvocation* invocation, gpointer data)
{
    auto* self = static_cast<StatusNotifierItem*>(data);
    // Answered first: the panel waits for the answer, and what the call opens may take a while.
    g_dbus_method_invocation_return_value(invocation, nullptr);
    std::string_view name = method;
    if (name == "Activate")
        run(self->m_handlers.activate, parameters);
    else if (name == "SecondaryActivate")
        run(self->m_handlers.secondaryActivate, parameters);
    else if (name == "ContextMenu")
        run(self->m_handlers.contextMenu, parameters);
    // Scrolling over the icon means nothing for Cohortex; the call is accepted and left at that.
}

GVariant* StatusNotifierItem::property(
    GDBusConnection*, const char*, const char*, const char*, const char* name, GError** error, gpointer data)
{
    auto* value = static_cast<StatusNotifierItem*>(data)->propertyValue(name);
    if (!value)
        g_set_error(error, G_DBUS_ERROR, G_DBUS_ERROR_UNKNOWN_PROPERTY, "No property %s", name);
    return value;
}

GVariant* StatusNotifierItem::propertyValue(std::string_view name) const
{
    const auto& p = m_properties;
    auto text = [](const std::string& value) { return g_variant_new_string(value.c_str()); };
    if (name == "Category")
        return text(p.category);
    if (name == "Id")
        return text(p.id);
    if (name == "Title")
        return text(p.title);
    if (name == "Status")
        return text(p.status);
    if (name == "WindowId")
        return g_variant_new_int32(0);
    if (name == "IconName")
        return text(p.iconName);
    if (name == "AttentionIconName")
        return text(p.attentionIconName);
    if (name == "IconThemePath" || name == "OverlayIconName" || name == "AttentionMovieName")
        return g_variant_new_string("");
    if (name == "IconPixmap" || name == "OverlayIconPixmap" || name == "AttentionIconPixmap")
        return noPixmaps();
    if (name == "ToolTip")
        return g_variant_new(
            "(s@a(iiay)ss)", p.iconName.c_str(), noPixmaps(), p.toolTipTitle.c_str(), p.toolTipText.c_str());
    if (name == "ItemIsMenu")
        return g_variant_new_boolean(false);
    if (name == "Menu")
        return g_variant_new_object_path(p.menuPath.empty() ? "/" : p.menuPath.c_str());
    return nullptr;
}

void StatusNotifierItem::emit(const char* signal, GVariant* parameters)
{
    if (!m_connection) {
        // Nobody can have read the old value yet; the floating parameters are still ours to drop.
        if (parameters)
            g_variant_unref(g_variant_ref_sink(parameters));
        return;
    }
    g_dbus_connection_emit_signal(
        m_connection.get(), nullptr, objectPath, interfaceName, signal, parameters, nullptr);
}

void StatusNotifierItem::change(std::string& field, std::string value, const char* signal, bool withValue)
{
    if (field == value)
        return;
    field = std::move(value);
    emit(signal, withValue ? g_variant_new("(s)", field.c_str()) : nullptr);
}

void StatusNotifierItem::setStatus(std::string status)
{
    change(m_properties.status, std::move(status), "NewStatus", true);
}

void StatusNotifierItem::setTitle(std::string title)
{
    change(m_properties.title, std::move(title), "NewTitle", false);
}

void StatusNotifierItem::setIconName(std::string name)
{
    change(m_properties.iconName, std::move(name), "NewIcon", false);
}

void StatusNotifierItem::setAttentionIconName(std::string name)
{
    change(m_properties.attentionIconName, std::move(name), "NewAttentionIcon", false);
}

void StatusNotifierItem::setToolTip(std::string title, std::string text)
{
    if (m_properties.toolTipTitle == title && m_properties.toolTipText == text)
        return;
    m_properties.toolTipTitle = std::move(title);
    m_properties.toolTipText = std::move(text);
    emit("NewToolTip", nullptr);
}

} // namespace cohortex
