#pragma once

#include "ScopedVariable.h"

#include <string>

namespace cohortex {

// Points GIO's system bus somewhere else while it lives. GIO reads the variable each time it connects
// and keeps no connection that failed, so setting it before a test's first D-Bus call is enough.
class SystemBusAddress {
public:
    explicit SystemBusAddress(const std::string& address)
        : m_variable("DBUS_SYSTEM_BUS_ADDRESS", address.c_str())
    {
    }

private:
    ScopedVariable m_variable;
};

} // namespace cohortex
