#pragma once

#include "Models/Authentication.h"
#include "Support/Task.h"

#include <string>

namespace cohortex {

// Proves that the person at the machine is its owner before a locked workspace opens.
class Authenticating {
public:
    virtual ~Authenticating() = default;

    // Whether a prompt can work on this machine at all; the settings sheet refuses the lock otherwise.
    virtual bool isAvailable() const = 0;
    // Shows the system prompt with the reason; only a successful authentication answers Succeeded.
    virtual Task<Authentication> authenticate(std::string reason) = 0;
};

} // namespace cohortex
