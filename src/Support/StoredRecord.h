#pragma once

#include "Support/DefaultsStore.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace cohortex {

// One record of the defaults store that is read once at launch and written whole on every change (the
// workspace list, the rules, the open tabs, the time ledger, the statistics). When that first read fails
// (the database could not be read, which is not the same as holding nothing), writing the in-memory
// value back would replace what the user had with defaults: the record then stays as stored for the
// rest of the run, and every save answers false.
class StoredRecord {
public:
    StoredRecord(DefaultsStore&, std::string_view key);

    // The stored bytes; nothing when none are stored, or when they could not be read (logged, and every
    // later save refused).
    std::optional<Bytes> load();
    // Writes the whole record; false when the write failed or the record could not be read at launch.
    bool save(std::string_view encoded);
    // The same, encoded and stored off the calling thread where the store can (see
    // DefaultsStore::setDataSoon).
    void saveSoon(std::function<std::string()> encode);
    bool isHeldBack() const { return m_isHeldBack; }

private:
    DefaultsStore& m_defaults;
    std::string m_key;
    bool m_isHeldBack{ false };
};

} // namespace cohortex
