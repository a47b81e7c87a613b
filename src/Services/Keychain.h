#pragma once

#include "Support/Task.h"

#include <optional>
#include <string>
#include <string_view>

namespace cohortex {

// What the services and views need of the keyring: removing the secrets of a workspace that is removed,
// and reading, replacing and removing a workspace's proxy password. Failures are absorbed: a read that
// fails answers nothing, a write or removal that fails answers false.
class Keychain {
public:
    virtual ~Keychain() = default;

    virtual void deleteItem(std::string_view key) = 0;
    // Nothing unless the stored bytes are UTF-8 text.
    virtual Task<std::optional<std::string>> get(std::string key) = 0;
    // Removes any item for the key, then adds one with the value.
    virtual Task<bool> set(std::string value, std::string key) = 0;
    // True also when the key had no item.
    virtual Task<bool> remove(std::string key) = 0;
};

// The keyring item that holds a workspace's proxy password.
std::string proxyPasswordKey(std::string_view workspaceIdText);

} // namespace cohortex
