#pragma once

#include "Support/DefaultsStore.h"
#include "Support/Error.h"
#include "Support/Task.h"

#include <optional>
#include <string>

namespace cohortex {

// The user's encrypted store of secrets, one secret per account name under this application's service.
// A read tells "nothing stored" (no value) from "could not ask" (an error): a caller that would write
// back what it read must not take the second for the first. A write that fails answers false.
class SecretStore {
public:
    virtual ~SecretStore() = default;

    virtual Task<Expected<std::optional<Bytes>>> read(std::string account) = 0;
    // Adds an item for the account. Whether an existing item is replaced is the store's business;
    // callers that want exactly one item remove first.
    virtual Task<bool> store(std::string account, Bytes secret) = 0;
    // True also when there was nothing to remove, since the store then holds what was asked.
    virtual Task<bool> remove(std::string account) = 0;
};

} // namespace cohortex
