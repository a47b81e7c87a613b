#pragma once

#include "Engine/ProxyPasswords.h"
#include "Engine/SecretStore.h"
#include "Services/Keychain.h"

#include <optional>
#include <string>

namespace cohortex {

// The application's one way to its keyring items: session-cookie blobs and proxy passwords. It keeps no
// state of its own. Reading a blob tells a failure from an absent item, since a blob read is written back
// later; a text read answers nothing on failure, and writes answer false. The secret store must outlive
// every call started here.
class KeychainService final : public Keychain, public ProxyPasswords {
public:
    explicit KeychainService(SecretStore&);

    Task<Expected<std::optional<Bytes>>> getData(std::string key);
    // Nothing unless the stored bytes are UTF-8 text.
    Task<std::optional<std::string>> get(std::string key) override;
    // Removes any item for the key, then adds one with the value: a replacement never leaves two items,
    // and the item carries what the latest write gave it. True exactly when the add succeeds.
    Task<bool> set(Bytes value, std::string key);
    // False without touching the keyring when the value is not UTF-8 text, which get could not read back.
    Task<bool> set(std::string value, std::string key) override;
    // True also when the key had no item.
    Task<bool> remove(std::string key) override;

    // Starts the removal and returns at once; nobody waits for a removed workspace's secrets.
    void deleteItem(std::string_view key) override;
    Task<std::optional<std::string>> proxyPassword(Uuid workspaceId) override;

private:
    SecretStore& m_store;
};

} // namespace cohortex
