#include "Models/TimeLedger.h"

#include "Support/Json.h"

#include <array>
#include <charconv>
#include <cstdio>

namespace cohortex {

namespace {

std::string dayKey(Date date, const Calendar& calendar)
{
    auto day = calendar.day(date).value_or(CalendarDay{});
    std::array<char, 48> buffer;
    std::snprintf(buffer.data(), buffer.size(), "%04d-%02d-%02d", day.year, day.month, day.day);
    return buffer.data();
}

std::string quoted(const std::string& name)
{
    if (name.find_first_of(",\"\n") == std::string::npos)
        return name;
    std::string result = "\"";
    for (char character : name)
        result += character == '"' ? std::string("\"\"") : std::string(1, character);
    return result + "\"";
}

std::string hours(double seconds)
{
    std::array<char, 512> buffer;
    auto result = std::to_chars(
        buffer.data(), buffer.data() + buffer.size(), seconds / 3600.0, std::chars_format::fixed, 2);
    return std::string(buffer.data(), result.ptr);
}

} // namespace

void TimeLedger::add(double seconds, const Uuid& workspace, Date date, const Calendar& calendar)
{
    if (!(seconds > 0))
        return;
    m_days[dayKey(date, calendar)][workspace.string()] += seconds;
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
    for (int offset = 0; offset < lastDays; ++offset) {
        if (auto date = calendar.addingDays(now, -offset))
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
            text += day + "," + quoted(name == names.end() ? "Removed workspace" : name->second) + ","
                + hours(seconds) + "\n";
        }
    }
    return text;
}

std::string encodeLedger(const TimeLedger& ledger)
{
    // Sorted members: the insertion-ordered Json looks every member up linearly, which makes encoding
    // a year of days quadratic.
    nlohmann::json days = nlohmann::json::object();
    for (const auto& [day, workspaces] : ledger.m_days) {
        nlohmann::json entries = nlohmann::json::object();
        for (const auto& [key, seconds] : workspaces)
            entries[key] = seconds;
        days[day] = std::move(entries);
    }
    nlohmann::json document = nlohmann::json::object();
    document["days"] = std::move(days);
    return document.dump();
}

Expected<TimeLedger> decodeLedger(std::span<const std::uint8_t> bytes)
{
    auto document = json::parse(bytes);
    if (!document)
        return std::unexpected(document.error());
    if (!document->is_object() || !document->contains("days") || !(*document)["days"].is_object())
        return makeError("the time ledger has no days");
    TimeLedger ledger;
    for (const auto& [day, workspaces] : (*document)["days"].items()) {
        if (!workspaces.is_object())
            return makeError("a day of the time ledger is not an object");
        for (const auto& [key, seconds] : workspaces.items()) {
            if (!seconds.is_number())
                return makeError("a time in the ledger is not a number");
            ledger.m_days[day][key] = seconds.get<double>();
        }
    }
    return ledger;
}

} // namespace cohortex
