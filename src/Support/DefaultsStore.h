#pragma once

#include "Support/Error.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace cohortex {

using Bytes = std::vector<std::uint8_t>;

// A per-user key-value store of typed values. A value stored as another kind reads as absent.
// Keys are opaque: any bytes, compared exactly.
class DefaultsStore {
public:
    virtual ~DefaultsStore() = default;

    virtual std::optional<std::int64_t> integer(std::string_view key) const = 0;
    virtual std::optional<bool> boolean(std::string_view key) const = 0;
    virtual std::optional<std::string> string(std::string_view key) const = 0;
    virtual std::optional<Bytes> data(std::string_view key) const = 0;
    // As data(), but a read that fails is an error rather than an absent value: a record read at launch
    // and written back whole later must not be replaced because the database could not be read once.
    virtual Expected<std::optional<Bytes>> readData(std::string_view key) const = 0;

    // Writes report success; a failed write leaves the old value in place. A write replaces a value of
    // any kind, and removing a key that is not there succeeds, because the store then holds what was asked.
    virtual bool setInteger(std::string_view key, std::int64_t value) = 0;
    virtual bool setBoolean(std::string_view key, bool value) = 0;
    virtual bool setString(std::string_view key, std::string_view value) = 0;
    virtual bool setData(std::string_view key, std::span<const std::uint8_t> value) = 0;
    virtual bool remove(std::string_view key) = 0;
    // For a large record written often and read back only at launch: stores the data off the calling
    // thread where the store can, its bytes made there by `make` (which must touch nothing the caller goes
    // on changing); of the values given for a key the last is the one stored, and reading or writing the key
    // afterwards sees it. Failures are logged. The default makes and writes the data at once.
    virtual void setDataSoon(std::string_view key, std::function<std::string()> make)
    {
        auto bytes = make();
        setData(key, std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
    }
};

} // namespace cohortex
