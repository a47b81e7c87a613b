#include "Fakes/MemoryDefaults.h"

namespace cohortex {

template <typename T>
std::optional<T> MemoryDefaults::read(std::string_view key) const
{
    auto found = m_values.find(key);
    if (found == m_values.end())
        return std::nullopt;
    if (auto* value = std::get_if<T>(&found->second))
        return *value;
    return std::nullopt;
}

bool MemoryDefaults::write(std::string_view key, Value&& value)
{
    ++m_writeCount;
    if (m_failWrites || m_failingKey == key)
        return false;
    m_values.insert_or_assign(std::string(key), std::move(value));
    return true;
}

std::optional<std::int64_t> MemoryDefaults::integer(std::string_view key) const
{
    return read<std::int64_t>(key);
}

std::optional<bool> MemoryDefaults::boolean(std::string_view key) const
{
    return read<bool>(key);
}

std::optional<std::string> MemoryDefaults::string(std::string_view key) const
{
    return read<std::string>(key);
}

std::optional<Bytes> MemoryDefaults::data(std::string_view key) const
{
    if (m_failReads)
        return std::nullopt;
    return read<Bytes>(key);
}

Expected<std::optional<Bytes>> MemoryDefaults::readData(std::string_view key) const
{
    if (m_failReads)
        return makeError("disk I/O error");
    return data(key);
}

bool MemoryDefaults::setInteger(std::string_view key, std::int64_t value)
{
    return write(key, Value(std::in_place_type<std::int64_t>, value));
}

bool MemoryDefaults::setBoolean(std::string_view key, bool value)
{
    return write(key, Value(std::in_place_type<bool>, value));
}

bool MemoryDefaults::setString(std::string_view key, std::string_view value)
{
    return write(key, Value(std::in_place_type<std::string>, value));
}

bool MemoryDefaults::setData(std::string_view key, std::span<const std::uint8_t> value)
{
    return write(key, Value(std::in_place_type<Bytes>, value.begin(), value.end()));
}

bool MemoryDefaults::remove(std::string_view key)
{
    ++m_writeCount;
    if (m_failWrites || m_failingKey == key)
        return false;
    if (auto found = m_values.find(key); found != m_values.end())
        m_values.erase(found);
    return true;
}

} // namespace cohortex
