#pragma once

namespace cohortex {

// Whether the desktop starts Cohortex when the user logs in, and the request to change that. Either
// request may be refused by the system.
class LoginItem {
public:
    virtual ~LoginItem() = default;

    // Whether the desktop will start Cohortex at the next login.
    virtual bool isEnabled() const = 0;
    // Registers Cohortex to start at login (true) or unregisters it; false when the system's setting
    // could not be changed.
    virtual bool setEnabled(bool) = 0;
};

} // namespace cohortex
