#pragma once

#include <sigc++/sigc++.h>
#include <utility>

namespace cohortex {

// Owns a signal connection and disconnects it when destroyed, so that nothing fires into an object
// that has gone away. libsigc++ 3.4, the version Debian 12 ships, predates sigc::scoped_connection;
// this is the same idea.
//
//     ScopedConnection m_titleChanged = session.title().changed().connect(...);
class ScopedConnection {
public:
    ScopedConnection() = default;
    // Implicit, so that the result of connect() can initialise or be assigned to a member directly.
    ScopedConnection(sigc::connection connection)
        : m_connection(std::move(connection))
    {
    }
    ScopedConnection(ScopedConnection&& other) noexcept
        : m_connection(std::exchange(other.m_connection, {}))
    {
    }
    ScopedConnection& operator=(ScopedConnection&& other) noexcept
    {
        if (this != &other) {
            disconnect();
            m_connection = std::exchange(other.m_connection, {});
        }
        return *this;
    }
    ScopedConnection(const ScopedConnection&) = delete;
    ScopedConnection& operator=(const ScopedConnection&) = delete;
    ~ScopedConnection() { disconnect(); }

    void disconnect() { m_connection.disconnect(); }
    bool isConnected() const { return m_connection.connected(); }

private:
    sigc::connection m_connection;
};

} // namespace cohortex
