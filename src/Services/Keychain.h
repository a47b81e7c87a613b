#pragma once

#include <string>
#include <string_view>

namespace cohortex {

// What the session manager needs of the keyring: removing the secrets of a workspace that is removed.
class Keychain {
public:
    virtual ~Keychain() = default;

    virtual void deleteItem(std::string_view key) = 0;
};

// The keyring item that holds a workspace's proxy password.
std::string proxyPasswordKey(std::string_view workspaceIdText);

} // namespace cohortex
