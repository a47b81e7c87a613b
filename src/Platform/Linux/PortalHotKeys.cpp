#include "Platform/Linux/PortalHotKeys.h"

#include "KeyboardShortcuts/GlobalShortcuts.h"
#include "KeyboardShortcuts/KeyTable.h"
#include "Platform/Linux/GLibPtr.h"
#include "Support/Log.h"
#include "Support/Translation.h"

#include <algorithm>
#include <gio/gio.h>
#include <map>

namespace cohortex {

namespace {

constexpr const char* portalName = "org.freedesktop.portal.Desktop";
constexpr const char* portalPath = "/org/freedesktop/portal/desktop";
constexpr const char* shortcutsInterface = "org.freedesktop.portal.GlobalShortcuts";
constexpr const char* requestInterface = "org.freedesktop.portal.Request";

std::string describe(const std::string& name)
{
    auto found = std::ranges::find(globalShortcuts, name, &GlobalShortcut::name);
    if (found == globalShortcuts.end())
        return name;
    auto label = _(found->label);
    // The settings' labels end in a colon, which a description does not. A translation may write it as a
    // wide colon, or put a space before it.
    for (std::string_view end : { ":", "\uFF1A", " ", "\u00A0", "\u202F" }) {
        if (label.ends_with(end))
            label.resize(label.size() - end.size());
    }
    return label;
}

} // namespace

class PortalHotKeys::State : public std::enable_shared_from_this<State> {
public:
    void start()
    {
        g_bus_get(
            G_BUS_TYPE_SESSION, m_cancellable.get(),
            +[](GObject*, GAsyncResult* result, gpointer data) {
                auto self = static_cast<std::weak_ptr<State>*>(data);
                GErrorPtr error;
                GObjectPtr<GDBusConnection> bus(g_bus_get_finish(result, error.out()));
                if (auto state = self->lock())
                    state->connected(std::move(bus));
                delete self;
            },
            new std::weak_ptr<State>(weak_from_this()));
    }

    void stop()
    {
        g_cancellable_cancel(m_cancellable.get());
        for (auto id : m_subscriptions)
            g_dbus_connection_signal_unsubscribe(m_bus.get(), id);
        m_subscriptions.clear();
    }

    bool isAvailable() const { return m_isAvailable; }
    bool hasAnswered() const { return m_hasAnswered; }

    void setNames(std::map<std::string, Shortcut> names)
    {
        m_names = std::move(names);
        bindWhenReady();
    }
    const std::map<std::string, Shortcut>& names() const { return m_names; }

    ReleaseHandler onRelease;

private:
    void connected(GObjectPtr<GDBusConnection> bus)
    {
        m_bus = std::move(bus);
        if (!m_bus)
            return answered(false);
        // Asking the interface's version both proves a portal runs and that it offers global shortcuts.
        g_dbus_connection_call(
            m_bus.get(), portalName, portalPath, "org.freedesktop.DBus.Properties", "Get",
            g_variant_new("(ss)", shortcutsInterface, "version"), G_VARIANT_TYPE("(v)"),
            G_DBUS_CALL_FLAGS_NO_AUTO_START, 5000, m_cancellable.get(),
            +[](GObject* source, GAsyncResult* result, gpointer data) {
                auto self = static_cast<std::weak_ptr<State>*>(data);
                GVariantPtr reply(g_dbus_connection_call_finish(G_DBUS_CONNECTION(source), result, nullptr));
                if (auto state = self->lock()) {
                    state->answered(reply != nullptr);
                    if (reply)
                        state->createSession();
                }
                delete self;
            },
            new std::weak_ptr<State>(weak_from_this()));
    }

    void answered(bool isAvailable)
    {
        m_hasAnswered = true;
        m_isAvailable = isAvailable;
        if (!isAvailable)
            log(LogLevel::Info,
                "No global-shortcuts portal on this desktop; the shortcuts can be bound to "
                "Cohortex's command lines in the desktop's own keyboard settings.");
    }

    // The portal answers each request with a Response signal on an object whose path is made of our
    // unique bus name and a token of ours, so the subscription is made before the request is sent.
    std::string requestPath(const std::string& token) const
    {
        std::string sender = g_dbus_connection_get_unique_name(m_bus.get()) + 1;
        std::ranges::replace(sender, '.', '_');
        return std::string(portalPath) + "/request/" + sender + "/" + token;
    }

    using Responder = void (*)(State&, guint32 response, GVariant* results);

    std::string awaitResponse(Responder responder)
    {
        auto token = "cohortex" + std::to_string(++m_tokens);
        auto path = requestPath(token);
        struct Waiter {
            std::weak_ptr<State> state;
            Responder responder;
            guint id{ 0 };
        };
        auto* waiter = new Waiter{ weak_from_this(), responder };
        waiter->id = g_dbus_connection_signal_subscribe(
            m_bus.get(), portalName, requestInterface, "Response", path.c_str(), nullptr,
            G_DBUS_SIGNAL_FLAGS_NONE,
            +[](GDBusConnection* bus, const char*, const char*, const char*, const char*,
                 GVariant* parameters, gpointer data) {
                auto* waiter = static_cast<Waiter*>(data);
                guint32 response = 2;
                GVariant* results = nullptr;
                g_variant_get(parameters, "(u@a{sv})", &response, &results);
                GVariantPtr owned(results);
                g_dbus_connection_signal_unsubscribe(bus, waiter->id);
                if (auto state = waiter->state.lock())
                    waiter->responder(*state, response, results);
            },
            waiter, +[](gpointer data) { delete static_cast<Waiter*>(data); });
        return token;
    }

    void createSession()
    {
        auto token = awaitResponse(+[](State& state, guint32 response, GVariant* results) {
            const char* session = nullptr;
            if (response != 0 || !g_variant_lookup(results, "session_handle", "&s", &session)) {
                logWarning("The global-shortcuts portal refused a session; the shortcuts are not active.");
                return;
            }
            state.sessionCreated(session);
        });
        GVariantBuilder options;
        g_variant_builder_init(&options, G_VARIANT_TYPE_VARDICT);
        g_variant_builder_add(&options, "{sv}", "handle_token", g_variant_new_string(token.c_str()));
        g_variant_builder_add(&options, "{sv}", "session_handle_token", g_variant_new_string("cohortex"));
        call("CreateSession", g_variant_new("(a{sv})", &options));
    }

    void sessionCreated(std::string session)
    {
        m_session = std::move(session);
        // Only the release counts, when a shortcut acts. The session is compared here rather than in the
        // match rule: GDBus does not match an object-path argument there.
        m_subscriptions.push_back(g_dbus_connection_signal_subscribe(
            m_bus.get(), portalName, shortcutsInterface, "Deactivated", portalPath, nullptr,
            G_DBUS_SIGNAL_FLAGS_NONE,
            +[](GDBusConnection*, const char*, const char*, const char*, const char*, GVariant* parameters,
                 gpointer data) {
                const char* session = nullptr;
                const char* id = nullptr;
                g_variant_get(parameters, "(&o&sta{sv})", &session, &id, nullptr, nullptr);
                auto* state = static_cast<State*>(data);
                if (state->m_session == session)
                    state->released(id);
            },
            this, nullptr));
        bindWhenReady();
    }

    void released(const std::string& id)
    {
        auto found = m_names.find(id);
        if (found != m_names.end() && onRelease)
            onRelease(found->second);
    }

    void bindWhenReady()
    {
        if (m_session.empty() || m_names.empty())
            return;
        auto token = awaitResponse(+[](State&, guint32 response, GVariant*) {
            if (response != 0)
                log(LogLevel::Info, "The desktop did not bind Cohortex's global shortcuts.");
        });
        GVariantBuilder shortcuts;
        g_variant_builder_init(&shortcuts, G_VARIANT_TYPE("a(sa{sv})"));
        for (const auto& [name, shortcut] : m_names) {
            GVariantBuilder properties;
            g_variant_builder_init(&properties, G_VARIANT_TYPE_VARDICT);
            g_variant_builder_add(
                &properties, "{sv}", "description", g_variant_new_string(describe(name).c_str()));
            g_variant_builder_add(&properties, "{sv}", "preferred_trigger",
                g_variant_new_string(preferredTrigger(shortcut).c_str()));
            g_variant_builder_add(&shortcuts, "(sa{sv})", name.c_str(), &properties);
        }
        GVariantBuilder options;
        g_variant_builder_init(&options, G_VARIANT_TYPE_VARDICT);
        g_variant_builder_add(&options, "{sv}", "handle_token", g_variant_new_string(token.c_str()));
        call("BindShortcuts",
            g_variant_new("(oa(sa{sv})sa{sv})", m_session.c_str(), &shortcuts, "", &options));
    }

    void call(const char* method, GVariant* parameters)
    {
        g_dbus_connection_call(m_bus.get(), portalName, portalPath, shortcutsInterface, method, parameters,
            G_VARIANT_TYPE("(o)"), G_DBUS_CALL_FLAGS_NONE, -1, m_cancellable.get(), nullptr, nullptr);
    }

    GObjectPtr<GCancellable> m_cancellable{ g_cancellable_new() };
    GObjectPtr<GDBusConnection> m_bus;
    std::string m_session;
    std::map<std::string, Shortcut> m_names;
    std::vector<guint> m_subscriptions;
    int m_tokens{ 0 };
    bool m_hasAnswered{ false };
    bool m_isAvailable{ false };
};

PortalHotKeys::PortalHotKeys()
    : m_state(std::make_shared<State>())
{
    m_state->start();
}

PortalHotKeys::~PortalHotKeys()
{
    m_state->stop();
}

bool PortalHotKeys::isAvailable() const
{
    return m_state->isAvailable();
}

bool PortalHotKeys::hasAnswered() const
{
    return m_state->hasAnswered();
}

bool PortalHotKeys::registerHotKey(const std::string& name, const Shortcut& shortcut)
{
    auto names = m_state->names();
    names.insert_or_assign(name, shortcut);
    m_state->setNames(std::move(names));
    return true;
}

void PortalHotKeys::unregisterHotKey(const std::string& name, const Shortcut&)
{
    auto names = m_state->names();
    if (names.erase(name))
        m_state->setNames(std::move(names));
}

void PortalHotKeys::setReleaseHandler(ReleaseHandler handler)
{
    m_state->onRelease = std::move(handler);
}

std::string PortalHotKeys::preferredTrigger(const Shortcut& shortcut)
{
    std::string trigger;
    for (auto [bit, name] : { std::pair{ Shortcut::control, "CTRL+" }, std::pair{ Shortcut::option, "ALT+" },
             std::pair{ Shortcut::shift, "SHIFT+" }, std::pair{ Shortcut::command, "LOGO+" } }) {
        if (shortcut.carbonModifiers & bit)
            trigger += name;
    }
    auto accelerator = KeyTable::accelerator({ shortcut.carbonKeyCode, 0 });
    return trigger + accelerator;
}

} // namespace cohortex
