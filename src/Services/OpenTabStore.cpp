#include "Services/OpenTabStore.h"

#include "Support/Json.h"

#include <algorithm>

namespace cohortex {

bool isWebURL(const Url& url)
{
    auto scheme = url.scheme();
    return scheme == "http" || scheme == "https";
}

std::int64_t clampedIndex(std::int64_t index, std::size_t count)
{
    return std::min(static_cast<std::int64_t>(count) - 1, std::max<std::int64_t>(index, 0));
}

std::string encodeOpenTabs(const OpenTabSnapshots& snapshots)
{
    Json object = Json::object();
    for (const auto& [workspaceId, snapshot] : snapshots)
        object[workspaceId] = Json{ { "urls", snapshot.urls }, { "activeIndex", snapshot.activeIndex } };
    return json::dump(object);
}

namespace {

Expected<TabSnapshot> decodeSnapshot(const Json& value)
{
    if (!value.is_object())
        return makeError("an open-tab snapshot is not an object");
    auto urls = value.find("urls");
    if (urls == value.end() || !urls->is_array())
        return makeError("\"urls\": missing or not an array");
    TabSnapshot snapshot;
    for (const auto& url : *urls) {
        if (!url.is_string())
            return makeError("\"urls\": an element is not a string");
        snapshot.urls.push_back(url.get<std::string>());
    }
    auto index = json::required<std::int64_t>(value, "activeIndex");
    if (!index)
        return std::unexpected(index.error());
    snapshot.activeIndex = *index;
    return snapshot;
}

} // namespace

Expected<OpenTabSnapshots> decodeOpenTabs(std::span<const std::uint8_t> bytes)
{
    auto document = json::parse(bytes);
    if (!document)
        return std::unexpected(document.error());
    if (!document->is_object())
        return makeError("the open tabs are not a JSON object");
    OpenTabSnapshots snapshots;
    for (const auto& [key, value] : document->items()) {
        auto snapshot = decodeSnapshot(value);
        if (!snapshot)
            return std::unexpected(snapshot.error());
        snapshots[key] = std::move(*snapshot);
    }
    return snapshots;
}

std::map<Uuid, SavedSession> restoredSessions(const OpenTabSnapshots& snapshots)
{
    std::map<Uuid, SavedSession> sessions;
    for (const auto& [key, snapshot] : snapshots) {
        auto workspaceId = Uuid::parse(key);
        if (!workspaceId)
            continue;
        SavedSession session;
        for (const auto& text : snapshot.urls) {
            if (auto url = Url::parse(text); url && isWebURL(*url))
                session.urls.push_back(std::move(*url));
        }
        if (session.urls.empty())
            continue;
        // The index applies to the filtered list, so it may now name a different tab than before.
        session.activeIndex = clampedIndex(snapshot.activeIndex, session.urls.size());
        sessions[*workspaceId] = std::move(session);
    }
    return sessions;
}

} // namespace cohortex
