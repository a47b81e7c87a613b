#include "Models/TimeLedger.h"

#include "Support/Json.h"
#include "Support/Translation.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <iterator>
#include <limits>
#include <vector>

namespace cohortex {

namespace {

// Hours with two decimals and "." whatever the user's locale: the file is read by other programs.
std::string hoursText(double seconds)
{
    char buffer[400];
    auto result
        = std::to_chars(std::begin(buffer), std::end(buffer), seconds / 3600.0, std::chars_format::fixed, 2);
    return std::string(buffer, result.ptr);
}

// Wrapped in double quotes, with inner ones doubled, when a reader would otherwise split the field. A
// carriage return counts too: common readers end a row at one.
std::string csvField(const std::string& text)
{
    if (text.find_first_of(",\"\n\r") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (char character : text) {
        if (character == '"')
            quoted += '"';
        quoted += character;
    }
    return quoted + "\"";
}

} // namespace

std::string TimeLedger::dayKey(Date date, const Calendar& calendar)
{
    auto day = calendar.day(date).value_or(CalendarDay{});
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d", day.year, day.month, day.day);
    return buffer;
}

std::optional<std::string> TimeLedger::add(
    double seconds, const Uuid& workspace, Date date, const Calendar& calendar)
{
    if (!(seconds > 0) || !std::isfinite(seconds))
        return std::nullopt;
    auto day = dayKey(date, calendar);
    m_days[day][workspace.string()] += seconds;
    return day;
}

double TimeLedger::seconds(const Uuid& workspace, Date date, const Calendar& calendar) const
{
    auto day = m_days.find(dayKey(date, calendar));
    if (day == m_days.end())
        return 0;
    auto entry = day->second.find(workspace.string());
    return entry == day->second.end() ? 0 : entry->second;
}

double TimeLedger::seconds(const Uuid& workspace, int lastDays, Date now, const Calendar& calendar) const
{
    double total = 0;
    // Stepping by calendar days rather than by 86400 seconds keeps each step on its own day when the
    // clocks change in between.
    for (int back = 0; back < lastDays; ++back) {
        if (auto date = calendar.addingDays(now, -back))
            total += seconds(workspace, *date, calendar);
    }
    return total;
}

std::string TimeLedger::csv(const std::map<Uuid, std::string>& names) const
{
    std::string text = "Date,Workspace,Hours\n";
    for (const auto& [day, workspaces] : m_days) {
        for (const auto& [key, seconds] : workspaces) {
            auto id = Uuid::parse(key);
            if (!id)
                continue;
            auto name = names.find(*id);
            // TRANSLATORS: stands in for the name of a workspace that was removed, in the exported time
            // table.
            auto shownName = name == names.end() ? std::string(_("Removed workspace")) : name->second;
            text += day + "," + csvField(shownName) + "," + hoursText(seconds) + "\n";
        }
    }
    return text;
}

std::string TimeLedger::formatted(double seconds)
{
    // Durations are never negative; a damaged value shows as none rather than as nonsense.
    constexpr double largest = static_cast<double>(std::numeric_limits<std::int64_t>::max() / 2);
    if (!(seconds > 0))
        seconds = 0;
    auto whole = static_cast<std::int64_t>(std::round(std::min(seconds, largest)));
    auto minutes = std::to_string((whole % 3600) / 60);
    if (whole < 3600)
        // TRANSLATORS: a time spent in a workspace, in minutes ("45m").
        return fillIn(_("{}m"), minutes);
    // TRANSLATORS: a time spent in a workspace, in hours and minutes ("12h 5m").
    return fillIn(_("{0}h {1}m"), std::to_string(whole / 3600), minutes);
}

namespace {

Json dayJson(const std::map<std::string, double>& workspaces)
{
    Json entries = Json::object();
    for (const auto& [key, seconds] : workspaces)
        entries[key] = seconds;
    return entries;
}

} // namespace

std::string encodeLedger(const TimeLedger& ledger)
{
    Json days = Json::object();
    for (const auto& [day, workspaces] : ledger.days())
        days[day] = dayJson(workspaces);
    return json::dump(Json{ { "days", std::move(days) } });
}

namespace {

// Keys sort as their first seven characters do, so months in order hold the days in order, whatever the
// keys of a damaged ledger look like.
std::string monthOf(const std::string& day)
{
    return day.substr(0, 7);
}

std::string dayPart(const std::string& day, const std::map<std::string, double>& workspaces)
{
    return json::dump(Json(day)) + ":" + json::dump(dayJson(workspaces));
}

std::shared_ptr<const std::string> joined(const std::map<std::string, std::string>& parts)
{
    std::size_t size = 0;
    for (const auto& [day, part] : parts)
        size += part.size() + 1;
    std::string text;
    text.reserve(size);
    for (const auto& [day, part] : parts) {
        if (!text.empty())
            text += ',';
        text += part;
    }
    return std::make_shared<const std::string>(std::move(text));
}

} // namespace

std::function<std::string()> LedgerEncoding::encode(
    const TimeLedger& ledger, const std::set<std::string>& changedDays)
{
    const auto& days = ledger.days();
    bool isReplaced = days.size() < m_dayCount;
    std::set<std::string> changedMonths;
    for (const auto& day : changedDays) {
        auto found = days.find(day);
        if (isReplaced || found == days.end()) {
            isReplaced = true;
            break;
        }
        auto month = monthOf(day);
        if (m_months[month].parts.insert_or_assign(day, dayPart(day, found->second)).second)
            ++m_dayCount;
        changedMonths.insert(std::move(month));
    }
    // A day gained without being named, as on the first call with a stored ledger, counts as a replacement.
    if (isReplaced || m_dayCount != days.size())
        rebuild(ledger);
    else {
        for (const auto& month : changedMonths)
            m_months[month].joined = joined(m_months[month].parts);
    }
    std::vector<std::shared_ptr<const std::string>> months;
    months.reserve(m_months.size());
    for (const auto& [key, month] : m_months)
        months.push_back(month.joined);
    return [months = std::move(months)] {
        std::size_t size = 12;
        for (const auto& month : months)
            size += month->size() + 1;
        std::string text;
        text.reserve(size);
        text += "{\"days\":{";
        for (const auto& month : months) {
            if (text.back() != '{')
                text += ',';
            text += *month;
        }
        text += "}}";
        return text;
    };
}

void LedgerEncoding::rebuild(const TimeLedger& ledger)
{
    m_months.clear();
    for (const auto& [day, workspaces] : ledger.days())
        m_months[monthOf(day)].parts.emplace(day, dayPart(day, workspaces));
    for (auto& [key, month] : m_months)
        month.joined = joined(month.parts);
    m_dayCount = ledger.days().size();
}

namespace {

Expected<std::map<std::string, double>> decodeDay(const Json& value, const std::string& day)
{
    if (!value.is_object())
        return makeError("a day of the ledger is not a JSON object");
    std::map<std::string, double> workspaces;
    for (const auto& [key, seconds] : value.items()) {
        auto decoded = json::decode<double>(seconds, day);
        if (!decoded)
            return std::unexpected(decoded.error());
        workspaces[key] = *decoded;
    }
    return workspaces;
}

} // namespace

Expected<TimeLedger> decodeLedger(std::span<const std::uint8_t> bytes)
{
    auto document = json::parse(bytes);
    if (!document)
        return std::unexpected(document.error());
    if (!document->is_object())
        return makeError("the time ledger is not a JSON object");
    auto days = document->find("days");
    if (days == document->end() || !days->is_object())
        return makeError("\"days\": missing or not an object");
    TimeLedger::Days table;
    for (const auto& [day, value] : days->items()) {
        auto workspaces = decodeDay(value, day);
        if (!workspaces)
            return std::unexpected(workspaces.error());
        table[day] = std::move(*workspaces);
    }
    return TimeLedger(std::move(table));
}

} // namespace cohortex
