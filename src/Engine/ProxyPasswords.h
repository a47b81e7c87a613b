#pragma once

#include "Support/Task.h"
#include "Support/Uuid.h"

#include <optional>
#include <string>

namespace cohortex {

// Where a workspace's proxy password is read from: the keyring item "proxy_password_" + workspace id.
class ProxyPasswords {
public:
    virtual ~ProxyPasswords() = default;

    // Nothing when no password is stored, the keyring does not answer, or the bytes are not UTF-8.
    virtual Task<std::optional<std::string>> proxyPassword(Uuid workspaceId) = 0;
};

} // namespace cohortex
