#include "Platform/Linux/MutterIdleMonitor.h"

#include "Platform/Linux/GLibAsync.h"
#include "Platform/Linux/GLibPtr.h"

#include <gio/gio.h>
#include <optional>

namespace cohortex {

namespace {

constexpr auto busName = "org.gnome.Mutter.IdleMonitor";
constexpr auto objectPath = "/org/gnome/Mutter/IdleMonitor/Core";
constexpr auto interfaceName = "org.gnome.Mutter.IdleMonitor";

double secondsSince(gint64 monotonicMicroseconds)
{
    return static_cast<double>(g_get_monotonic_time() - monotonicMicroseconds) / G_USEC_PER_SEC;
}

} // namespace

// Shared with the calls in flight, so that an answer arriving after the monitor is gone finds it.
class MutterIdleMonitor::State : public std::enable_shared_from_this<State> {
public:
    State()
        : m_cancellable(g_cancellable_new())
    {
    }

    double reading() const
    {
        if (!m_lastAnswer)
            return 0;
        return m_lastAnswer->idleSeconds + secondsSince(m_lastAnswer->receivedAt);
    }

    // One request at a time: a bus that is slow to answer gets no pile of calls.
    void refresh()
    {
        if (m_isWaiting || g_cancellable_is_cancelled(m_cancellable.get()))
            return;
        m_isWaiting = true;
        if (m_connection)
            callGetIdletime();
        else
            connect();
    }

    void cancel() { g_cancellable_cancel(m_cancellable.get()); }

private:
    struct Answer {
        double idleSeconds;
        gint64 receivedAt;
    };

    // The application's shared session bus connection, the one GTK registers the application on.
    void connect()
    {
        auto ready = asyncReady([self = shared_from_this()](GObject*, GAsyncResult* result) {
            GErrorPtr error;
            GObjectPtr<GDBusConnection> connection(g_bus_get_finish(result, error.out()));
            if (!connection || g_cancellable_is_cancelled(self->m_cancellable.get()))
                return self->fail();
            self->m_connection = std::move(connection);
            self->callGetIdletime();
        });
        g_bus_get(G_BUS_TYPE_SESSION, m_cancellable.get(), ready.callback, ready.userData);
    }

    void callGetIdletime()
    {
        auto ready = asyncReady([self = shared_from_this()](GObject* source, GAsyncResult* result) {
            GErrorPtr error;
            GVariantPtr reply(g_dbus_connection_call_finish(G_DBUS_CONNECTION(source), result, error.out()));
            if (!reply)
                return self->fail();
            guint64 milliseconds = 0;
            g_variant_get(reply.get(), "(t)", &milliseconds);
            self->m_lastAnswer = Answer{ static_cast<double>(milliseconds) / 1000.0, g_get_monotonic_time() };
            self->m_isWaiting = false;
        });
        // No auto-start: the monitor belongs to GNOME Shell, and asking the bus to start it elsewhere
        // would only make the call wait for an activation that cannot succeed.
        g_dbus_connection_call(m_connection.get(), busName, objectPath, interfaceName, "GetIdletime", nullptr,
            G_VARIANT_TYPE("(t)"), G_DBUS_CALL_FLAGS_NO_AUTO_START, callTimeoutMilliseconds,
            m_cancellable.get(), ready.callback, ready.userData);
    }

    // Not GNOME, no session bus, or a shell that did not answer in time: the user counts as active
    // until an answer says otherwise, and the next reading asks again.
    void fail()
    {
        // A bus that went away is dialled again on the next reading.
        if (m_connection && g_dbus_connection_is_closed(m_connection.get()))
            m_connection.reset();
        m_lastAnswer.reset();
        m_isWaiting = false;
    }

    GObjectPtr<GCancellable> m_cancellable;
    GObjectPtr<GDBusConnection> m_connection;
    std::optional<Answer> m_lastAnswer;
    bool m_isWaiting{ false };
};

MutterIdleMonitor::MutterIdleMonitor()
    : m_state(std::make_shared<State>())
{
    m_state->refresh();
}

MutterIdleMonitor::~MutterIdleMonitor()
{
    m_state->cancel();
}

double MutterIdleMonitor::idleSeconds()
{
    auto seconds = m_state->reading();
    m_state->refresh();
    return seconds;
}

} // namespace cohortex
