#pragma once

#include "Engine/CookieVault.h"

#include <string>
#include <utility>
#include <vector>

namespace cohortex::testing {

// The in-memory vault, with a record of every write and an ordered log it shares with other fakes.
class RecordingCookieVault final : public CookieVault {
public:
    explicit RecordingCookieVault(std::vector<std::string>& events)
        : m_events(events)
    {
    }

    Task<Expected<std::optional<Bytes>>> load(Uuid storage) override
    {
        m_events.push_back("vault.load");
        if (failsLoads)
            return refuse();
        return m_vault.load(storage);
    }

    Task<void> save(std::optional<Bytes> blob, Uuid storage) override
    {
        m_events.push_back(blob ? "vault.save" : "vault.delete");
        saves.emplace_back(storage, blob.has_value());
        return m_vault.save(std::move(blob), storage);
    }

    const std::map<Uuid, Bytes>& items() const { return m_vault.items(); }

    // Each write in order: the store, and whether a blob was written (false: deleted).
    std::vector<std::pair<Uuid, bool>> saves;
    // Every load fails, as with a keyring that is locked and stays so.
    bool failsLoads{ false };

private:
    static Task<Expected<std::optional<Bytes>>> refuse() { co_return makeError("the keyring is locked"); }

    std::vector<std::string>& m_events;
    MemoryCookieVault m_vault;
};

} // namespace cohortex::testing
