#pragma once

#include "Platform/Linux/GLibPtr.h"
#include "TemporaryDirectory.h"

#include <expected>
#include <gio/gio.h>
#include <memory>
#include <string>

namespace cohortex {

// A message bus of the test's own that stands in for the system bus, and polkitd on it when asked.
// Nothing on the machine is installed or changed: the bus lives in a temporary directory, and polkitd
// reads the action files that are already installed.
class PrivateSystemBus {
public:
    // Starts dbus-daemon; the error says why it cannot run here (for a skip message).
    static std::expected<std::unique_ptr<PrivateSystemBus>, std::string> start();
    // Stops polkitd and the bus.
    ~PrivateSystemBus();
    PrivateSystemBus(const PrivateSystemBus&) = delete;
    PrivateSystemBus& operator=(const PrivateSystemBus&) = delete;

    // The address to put into DBUS_SYSTEM_BUS_ADDRESS.
    const std::string& address() const { return m_address; }

    // Starts polkitd and waits until it owns its name on the bus; the error says why it cannot.
    std::expected<void, std::string> startPolkit();
    bool hasOwner(const char* name) const;

private:
    PrivateSystemBus() = default;

    std::expected<void, std::string> startBus();

    TemporaryDirectory m_directory;
    std::string m_address;
    GObjectPtr<GSubprocess> m_bus;
    GObjectPtr<GSubprocess> m_polkit;
    // Our own connection, not the shared one, to watch who owns a name.
    GObjectPtr<GDBusConnection> m_connection;
};

} // namespace cohortex
