#include "Support/StoredRecord.h"

#include "Support/Log.h"

namespace cohortex {

StoredRecord::StoredRecord(DefaultsStore& defaults, std::string_view key)
    : m_defaults(defaults)
    , m_key(key)
{
}

std::optional<Bytes> StoredRecord::load()
{
    auto stored = m_defaults.readData(m_key);
    if (stored)
        return *stored;
    m_isHeldBack = true;
    logError("Cannot read " + m_key + " from the settings database (" + stored.error().message
        + "); it is kept as stored, and changes to it are not saved until Cohortex starts again.");
    return std::nullopt;
}

bool StoredRecord::save(std::string_view encoded)
{
    if (m_isHeldBack)
        return false;
    return m_defaults.setData(
        m_key, std::span(reinterpret_cast<const std::uint8_t*>(encoded.data()), encoded.size()));
}

void StoredRecord::saveSoon(std::function<std::string()> encode)
{
    if (m_isHeldBack)
        return;
    m_defaults.setDataSoon(m_key, std::move(encode));
}

} // namespace cohortex
