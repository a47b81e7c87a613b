#pragma once

#include "Platform/Linux/GLibPtr.h"

#include <glib-object.h>
#include <utility>

namespace cohortex {

// A handler connected to a GObject signal, disconnected when this goes, so that GLib never calls into
// an object of ours that has been destroyed. It holds a reference to the instance, so disconnecting
// never reaches a finalized one.
class GSignalConnection {
public:
    GSignalConnection() = default;
    template <typename T>
    GSignalConnection(const GObjectPtr<T>& instance, gulong handlerId)
        : m_instance(GObjectPtr<GObject>::retain(G_OBJECT(instance.get())))
        , m_handlerId(handlerId)
    {
    }
    GSignalConnection(GSignalConnection&& other) noexcept
        : m_instance(std::move(other.m_instance))
        , m_handlerId(std::exchange(other.m_handlerId, 0))
    {
    }
    GSignalConnection& operator=(GSignalConnection&& other) noexcept
    {
        if (this != &other) {
            disconnect();
            m_instance = std::move(other.m_instance);
            m_handlerId = std::exchange(other.m_handlerId, 0);
        }
        return *this;
    }
    GSignalConnection(const GSignalConnection&) = delete;
    GSignalConnection& operator=(const GSignalConnection&) = delete;
    ~GSignalConnection() { disconnect(); }

    void disconnect()
    {
        if (auto handlerId = std::exchange(m_handlerId, 0))
            g_signal_handler_disconnect(m_instance.get(), handlerId);
        m_instance.reset();
    }

private:
    GObjectPtr<GObject> m_instance;
    gulong m_handlerId{ 0 };
};

} // namespace cohortex
