#pragma once

#include "Support/DefaultsStore.h"
#include "Support/Error.h"
#include "Support/Task.h"
#include "Support/Uuid.h"

#include <map>
#include <optional>

namespace cohortex {

// Where a workspace's session-cookie blob is kept between runs, keyed by its storage identifier.
class CookieVault {
public:
    virtual ~CookieVault() = default;

    // Nothing when no blob is stored; an error when the vault could not be read, which must not be taken
    // for "nothing": the blob is still there, and saving over it would lose the user's logins.
    virtual Task<Expected<std::optional<Bytes>>> load(Uuid storage) = 0;
    // Saving nothing deletes the stored blob.
    virtual Task<void> save(std::optional<Bytes>, Uuid storage) = 0;
};

// Keeps blobs for the life of the process only.
class MemoryCookieVault final : public CookieVault {
public:
    Task<Expected<std::optional<Bytes>>> load(Uuid storage) override;
    Task<void> save(std::optional<Bytes>, Uuid storage) override;

    const std::map<Uuid, Bytes>& items() const { return m_items; }

private:
    std::map<Uuid, Bytes> m_items;
};

} // namespace cohortex
