#pragma once

#include "Support/DefaultsStore.h"

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <variant>

namespace cohortex {

// The defaults store of unit tests: a map that keeps the same kind rules as the database, with hooks to
// make writes fail and to see how often the code under test wrote.
class MemoryDefaults final : public DefaultsStore {
public:
    std::optional<std::int64_t> integer(std::string_view key) const override
    {
        return read<std::int64_t>(key);
    }
    std::optional<bool> boolean(std::string_view key) const override { return read<bool>(key); }
    std::optional<std::string> string(std::string_view key) const override { return read<std::string>(key); }
    std::optional<Bytes> data(std::string_view key) const override
    {
        return m_failReads ? std::nullopt : read<Bytes>(key);
    }
    Expected<std::optional<Bytes>> readData(std::string_view key) const override;

    bool setInteger(std::string_view key, std::int64_t value) override
    {
        return write(key, Value(std::in_place_type<std::int64_t>, value));
    }
    bool setBoolean(std::string_view key, bool value) override
    {
        return write(key, Value(std::in_place_type<bool>, value));
    }
    bool setString(std::string_view key, std::string_view value) override
    {
        return write(key, Value(std::in_place_type<std::string>, value));
    }
    bool setData(std::string_view key, std::span<const std::uint8_t> value) override
    {
        return write(key, Value(std::in_place_type<Bytes>, value.begin(), value.end()));
    }
    bool remove(std::string_view key) override;

    // While set, every write returns false and changes nothing, as a full disk would.
    void setFailWrites(bool failWrites) { m_failWrites = failWrites; }
    // Only writes of this one key fail, as when one record is too large for what the disk has left.
    void setFailWritesOf(std::string key) { m_failingKey = std::move(key); }
    // While set, readData fails as a database that cannot be read would; the plain readers see nothing.
    void setFailReads(bool failReads) { m_failReads = failReads; }
    // Counts write calls, failed ones included, so a test can see retries as well as saves.
    int writeCount() const { return m_writeCount; }
    bool contains(std::string_view key) const { return m_values.contains(key); }

private:
    // The alternatives are in the order of the kinds, and each is chosen by type, never by conversion.
    using Value = std::variant<std::int64_t, bool, std::string, Bytes>;

    template <typename T>
    std::optional<T> read(std::string_view key) const
    {
        auto found = m_values.find(key);
        if (found == m_values.end() || !std::holds_alternative<T>(found->second))
            return std::nullopt;
        return std::get<T>(found->second);
    }
    bool write(std::string_view key, Value&&);

    std::map<std::string, Value, std::less<>> m_values;
    bool m_failWrites{ false };
    bool m_failReads{ false };
    std::optional<std::string> m_failingKey;
    int m_writeCount{ 0 };
};

} // namespace cohortex
