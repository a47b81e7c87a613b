#include "Services/ZoomLevels.h"

#include "Models/ZoomSteps.h"
#include "Services/StoredKeys.h"
#include "Support/Json.h"
#include "Support/Log.h"

#include <cmath>
#include <span>

namespace cohortex {

namespace {

constexpr std::int64_t recordVersion = 1;

using Levels = std::map<std::pair<Uuid, std::string>, double>;

Expected<Levels> decodeLevels(std::span<const std::uint8_t> bytes)
{
    auto document = json::parse(bytes);
    if (!document)
        return std::unexpected(document.error());
    auto version = json::required<std::int64_t>(*document, "version");
    if (!version)
        return std::unexpected(version.error());
    if (*version != recordVersion)
        return std::unexpected(Error{ "the zoom levels are of an unknown version" });
    auto list = document->find("levels");
    if (list == document->end() || !list->is_array())
        return std::unexpected(Error{ "the zoom levels have no list" });
    Levels levels;
    for (const auto& entry : *list) {
        auto workspace = json::required<Uuid>(entry, "workspace");
        auto host = json::required<std::string>(entry, "host");
        auto level = json::required<double>(entry, "level");
        if (!workspace || !host || !level)
            return std::unexpected(Error{ "a zoom level is incomplete" });
        // A level out of range is one no version of this program wrote; it is kept within reach.
        levels[{ *workspace, *host }] = std::clamp(*level, ZoomSteps::smallest, ZoomSteps::largest);
    }
    return levels;
}

} // namespace

ZoomLevels::ZoomLevels(DefaultsStore& defaults)
    : m_record(defaults, keys::zoomLevels)
{
    auto data = m_record.load();
    if (!data)
        return;
    auto levels = decodeLevels(*data);
    if (!levels) {
        // Only zoom levels: the pages open at 100 % and the next choice replaces the record.
        logWarning("Zoom levels could not be read and are ignored: " + levels.error().message);
        return;
    }
    m_levels = std::move(*levels);
}

double ZoomLevels::level(const Uuid& workspace, const std::string& host) const
{
    auto found = m_levels.find({ workspace, host });
    return found == m_levels.end() ? 1.0 : found->second;
}

bool ZoomLevels::setLevel(const Uuid& workspace, const std::string& host, double level)
{
    if (std::abs(level - 1.0) < 0.001)
        m_levels.erase({ workspace, host });
    else
        m_levels[{ workspace, host }] = level;
    return save();
}

bool ZoomLevels::forget(const Uuid& workspace)
{
    auto removed = std::erase_if(m_levels, [&](const auto& entry) { return entry.first.first == workspace; });
    return removed == 0 || save();
}

bool ZoomLevels::save()
{
    Json list = Json::array();
    for (const auto& [key, level] : m_levels)
        list.push_back(
            Json{ { "workspace", json::encode(key.first) }, { "host", key.second }, { "level", level } });
    return m_record.save(json::dump(Json{ { "version", recordVersion }, { "levels", std::move(list) } }));
}

} // namespace cohortex
