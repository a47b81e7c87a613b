#include "Models/MemorySavingsStats.h"

#include "Support/Translation.h"

#include <array>
#include <charconv>

namespace cohortex {

namespace {

// std::to_chars never consults the C locale, unlike printf, so a German desktop still gets "1.5 GB".
// It rounds the exact binary value to nearest, as printf does.
std::string fixed(double value, int decimals)
{
    std::array<char, 512> buffer;
    auto result = std::to_chars(
        buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::fixed, decimals);
    return std::string(buffer.data(), result.ptr);
}

template <typename T>
Expected<T> memberOr(const Json& object, std::string_view key, T fallback)
{
    auto value = json::optional<T>(object, key);
    if (!value)
        return std::unexpected(value.error());
    return value->value_or(fallback);
}

} // namespace

std::string MemorySavingsStats::format(double mb)
{
    if (mb >= 1024)
        return fillIn(_("{} GB"), fixed(mb / 1024, 1));
    return fillIn(_("{} MB"), fixed(mb, 0));
}

std::string MemorySavingsStats::summaryMessage() const
{
    // Counts are printed as they are, without a singular form: "1 times" is what the sentence says.
    auto switches = std::to_string(totalSwitches);
    auto clicks = std::to_string(clicksSaved);
    if (hibernationFreedMB >= 1.0)
        return fillIn(
            // TRANSLATORS: {0} is how many times the user switched workspaces, {1} how many clicks that
            // saved, {2} the memory freed by putting workspaces to sleep ("612 MB").
            _("You've switched workspaces {0} times, saving about {1} context-switching clicks. Hibernating "
              "idle workspaces has freed {2}."),
            switches, clicks, format(hibernationFreedMB));
    // TRANSLATORS: {0} is how many times the user switched workspaces, {1} how many clicks that saved.
    return fillIn(_("You've switched workspaces {0} times, saving about {1} context-switching clicks."),
        switches, clicks);
}

Json MemorySavingsStats::toJson() const
{
    Json object = Json::object();
    object["totalSwitches"] = totalSwitches;
    object["clicksSaved"] = clicksSaved;
    object["hibernationFreedMB"] = hibernationFreedMB;
    object["lastUpdated"] = json::encode(lastUpdated);
    return object;
}

Expected<MemorySavingsStats> MemorySavingsStats::fromJson(const Json& object, Date readingTime)
{
    if (!object.is_object())
        return makeError("the savings statistic is not a JSON object");
    auto switches = memberOr<std::int64_t>(object, "totalSwitches", 0);
    if (!switches)
        return std::unexpected(switches.error());
    auto clicks = memberOr<std::int64_t>(object, "clicksSaved", 0);
    if (!clicks)
        return std::unexpected(clicks.error());
    auto freed = memberOr<double>(object, "hibernationFreedMB", 0);
    if (!freed)
        return std::unexpected(freed.error());
    auto updated = memberOr<Date>(object, "lastUpdated", readingTime);
    if (!updated)
        return std::unexpected(updated.error());
    return MemorySavingsStats{ *switches, *clicks, *freed, *updated };
}

std::string encodeStats(const MemorySavingsStats& stats)
{
    return json::dump(stats.toJson());
}

Expected<MemorySavingsStats> decodeStats(std::span<const std::uint8_t> bytes, Date readingTime)
{
    auto document = json::parse(bytes);
    if (!document)
        return std::unexpected(document.error());
    return MemorySavingsStats::fromJson(*document, readingTime);
}

} // namespace cohortex
