#pragma once

#include "Engine/SecretStore.h"

namespace cohortex {

// The user's keyring through the Secret Service (libsecret): every item carries the schema
// "com.kestrelwick.cohortex.Secret" with the attributes service = "com.kestrelwick.cohortex.keychain"
// and account = the caller's key, and new items go to the default collection.
//
// Every call is asynchronous and resumes on the main queue. When no Secret Service answers, reads give
// nothing and writes false; the first failure of the process is logged once, never with a secret.
class SecretServiceStore final : public SecretStore {
public:
    Task<Expected<std::optional<Bytes>>> read(std::string account) override;
    Task<bool> store(std::string account, Bytes secret) override;
    Task<bool> remove(std::string account) override;
};

} // namespace cohortex
