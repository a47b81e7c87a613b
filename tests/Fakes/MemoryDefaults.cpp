#include "Fakes/MemoryDefaults.h"

namespace cohortex {

bool MemoryDefaults::write(std::string_view key, Value&& value)
{
    ++m_writeCount;
    if (m_failWrites || m_failingKey == key)
        return false;
    m_values.insert_or_assign(std::string(key), std::move(value));
    return true;
}

Expected<std::optional<Bytes>> MemoryDefaults::readData(std::string_view key) const
{
    if (m_failReads)
        return makeError("disk I/O error");
    return data(key);
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
