#pragma once

#include "Engine/CookieVault.h"

#include <string>

namespace cohortex {

class KeychainService;

// Keeps each store's session-cookie blob as a keyring item, so a workspace stays signed in across runs.
class KeychainCookieVault final : public CookieVault {
public:
    explicit KeychainCookieVault(KeychainService&);

    Task<Expected<std::optional<Bytes>>> load(Uuid storage) override;
    // The keyring's answer is dropped: a failed write leaves the earlier blob, and the next save retries.
    Task<void> save(std::optional<Bytes>, Uuid storage) override;

    // "session_cookies_" followed by the storage UUID in its canonical upper-case form.
    static std::string key(const Uuid& storage);

private:
    KeychainService& m_keychain;
};

} // namespace cohortex
