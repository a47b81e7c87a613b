#pragma once

#include <cstdlib>
#include <optional>
#include <string>

namespace cohortex {

// Points GIO's system bus somewhere else while it lives. GIO reads the variable each time it connects
// and keeps no connection that failed, so setting it before a test's first D-Bus call is enough.
class SystemBusAddress {
public:
    explicit SystemBusAddress(const std::string& address)
    {
        if (auto* previous = std::getenv("DBUS_SYSTEM_BUS_ADDRESS"))
            m_previous = previous;
        setenv("DBUS_SYSTEM_BUS_ADDRESS", address.c_str(), true);
    }
    ~SystemBusAddress()
    {
        if (m_previous)
            setenv("DBUS_SYSTEM_BUS_ADDRESS", m_previous->c_str(), true);
        else
            unsetenv("DBUS_SYSTEM_BUS_ADDRESS");
    }
    SystemBusAddress(const SystemBusAddress&) = delete;
    SystemBusAddress& operator=(const SystemBusAddress&) = delete;

private:
    std::optional<std::string> m_previous;
};

} // namespace cohortex
