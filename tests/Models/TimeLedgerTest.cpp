#include "Models/TimeLedger.h"

#include <chrono>
#include <gtest/gtest.h>
#include <limits>
#include <set>

namespace cohortex {
namespace {

using namespace std::chrono;

// An instant given by its UTC fields; Berlin is one hour ahead in winter and two in summer.
Date utc(int year, unsigned month, unsigned day, int hour = 0, int minute = 0, int second = 0)
{
    auto instant = sys_days(std::chrono::year(year) / std::chrono::month(month) / std::chrono::day(day))
        + hours(hour) + minutes(minute) + seconds(second);
    return Date::fromUnixTime(static_cast<double>(instant.time_since_epoch().count()));
}

Calendar berlin()
{
    return Calendar::inTimeZone("Europe/Berlin").value();
}

const Uuid alpha = *Uuid::parse("F0000000-0000-4000-8000-00000000000A");
const Uuid personal = *Uuid::parse("10000000-0000-4000-8000-00000000000B");

std::span<const std::uint8_t> bytes(std::string_view text)
{
    return { reinterpret_cast<const std::uint8_t*>(text.data()), text.size() };
}

TEST(TimeLedgerTest, AddsUpOnTheSameLocalDaySplitsAtLocalMidnightAndIgnoresNothingOrLess)
{
    TimeLedger ledger;
    for (double seconds :
        { 0.0, -5.0, std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity() })
        ledger.add(seconds, alpha, utc(2025, 3, 5, 12), berlin());
    EXPECT_EQ(ledger, TimeLedger());

    ledger.add(5, alpha, utc(2025, 3, 5, 9), berlin());
    ledger.add(5, alpha, utc(2025, 3, 5, 22, 59, 58), berlin());
    ledger.add(3, alpha, utc(2025, 3, 5, 23, 0, 3), berlin());
    ledger.add(7, personal, utc(2025, 3, 5, 18), berlin());
    EXPECT_EQ(ledger.days(),
        (TimeLedger::Days{ { "2025-03-05", { { alpha.string(), 10 }, { personal.string(), 7 } } },
            { "2025-03-06", { { alpha.string(), 3 } } } }));
    EXPECT_EQ(ledger.seconds(alpha, utc(2025, 3, 5, 0), berlin()), 10);
    EXPECT_EQ(ledger.seconds(personal, utc(2025, 3, 4, 12), berlin()), 0);
}

std::string keyOf(year_month_day day)
{
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02u-%02u", static_cast<int>(day.year()),
        static_cast<unsigned>(day.month()), static_cast<unsigned>(day.day()));
    return text;
}

constexpr auto ymd(int y, unsigned m, unsigned d)
{
    return year_month_day(year(y), month(m), day(d));
}

// Every day around the window holds a different power of two, so the sum names exactly the days counted.
TEST(TimeLedgerTest, SumsTheCalendarDaysEndingToday)
{
    struct Case {
        const char* name;
        Date now;
        int lastDays;
        year_month_day firstCounted, lastCounted; // last before first: nothing counts
    };
    // clang-format off
    for (const auto& window : {
             Case{ "month end", utc(2025, 3, 2, 11), 7, ymd(2025, 2, 24), ymd(2025, 3, 2) },
             // 00:30 on 1 April (summer time): 86400-second steps would land on the evening before from
             // 30 March on, counting 25 March and missing 1 day.
             Case{ "spring forward", utc(2025, 3, 31, 22, 30), 7, ymd(2025, 3, 26), ymd(2025, 4, 1) },
             Case{ "negative days", utc(2025, 3, 2, 11), -3, ymd(2025, 3, 2), ymd(2025, 3, 1) } }) {
        // clang-format on
        TimeLedger::Days days;
        double expected = 0, value = 1;
        for (auto day = sys_days(window.firstCounted) - std::chrono::days(12);
             day <= sys_days(window.lastCounted) + std::chrono::days(12);
             day += std::chrono::days(1), value *= 2) {
            days[keyOf(day)] = { { alpha.string(), value }, { personal.string(), 0.25 } };
            if (day >= sys_days(window.firstCounted) && day <= sys_days(window.lastCounted))
                expected += value;
        }
        EXPECT_EQ(TimeLedger(days).seconds(alpha, window.lastDays, window.now, berlin()), expected)
            << window.name;
    }
}

TEST(TimeLedgerTest, ExportsDaysInOrderWorkspacesByIdAndRemovedOnesUnderOneName)
{
    TimeLedger ledger(TimeLedger::Days{ { "2025-03-05",
        { { "20000000-0000-4000-8000-000000000000", 36 }, { "not-a-workspace", 3600 },
            { personal.string(), 7200 } } } });
    ledger.add(300, alpha, utc(2025, 3, 5, 12), berlin());
    ledger.add(45000000, alpha, utc(2025, 2, 28, 12), berlin());
    EXPECT_EQ(ledger.csv({ { alpha, "Client Alpha" }, { personal, "Personal" } }),
        "Date,Workspace,Hours\n"
        "2025-02-28,Client Alpha,12500.00\n"
        "2025-03-05,Personal,2.00\n"
        "2025-03-05,Removed workspace,0.01\n"
        "2025-03-05,Client Alpha,0.08\n");
}

// Quoted, inner quotes doubled, whenever a spreadsheet would otherwise split the field or end the row.
TEST(TimeLedgerTest, ExportQuotesNamesThatWouldSplitARow)
{
    const std::vector<std::pair<std::string, std::string>> names{ { "Acme, Inc.", "\"Acme, Inc.\"" },
        { "The \"A\" team", "\"The \"\"A\"\" team\"" }, { "Two\nLines", "\"Two\nLines\"" },
        { "Two\rLines", "\"Two\rLines\"" } };
    for (const auto& [name, field] : names) {
        TimeLedger ledger;
        ledger.add(900, alpha, utc(2025, 3, 5, 12), berlin());
        EXPECT_EQ(ledger.csv({ { alpha, name } }), "Date,Workspace,Hours\n2025-03-05," + field + ",0.25\n");
    }
}

TEST(TimeLedgerTest, EncodesTheDaysTableReadsBackEveryValueAndRefusesAnyWrongShape)
{
    TimeLedger ledger;
    ledger.add(65, alpha, utc(2025, 3, 5, 12), berlin());
    EXPECT_EQ(
        encodeLedger(ledger), R"({"days":{"2025-03-05":{"F0000000-0000-4000-8000-00000000000A":65.0}}})");

    EXPECT_EQ(decodeLedger(bytes(encodeLedger(ledger))), ledger);

    for (const char* text : { "", R"({"Days":{}})", R"({"days":{"2025-03-05":[]}})",
             R"({"days":{"2025-03-05":{"A":"65"}}})", R"({"days":{"2025-03-05":{"A":65},"2025-03-06":7}})" })
        EXPECT_FALSE(decodeLedger(bytes(text))) << text;
}

// The stored form must not depend on whether it was written whole or a day at a time.
TEST(LedgerEncodingTest, WritesWhatTheWholeEncodingWritesThroughChangesClearsAndOddKeys)
{
    LedgerEncoding encoding;
    TimeLedger ledger;
    EXPECT_EQ(encoding.encode(ledger, {})(), encodeLedger(ledger));
    for (int step = 0; step < 40; ++step) {
        std::set<std::string> changed;
        auto day = utc(2025, 2 + static_cast<unsigned>(step % 2), 26 + static_cast<unsigned>(step % 3), 12);
        if (auto key = ledger.add(5.5 + step, step % 3 ? alpha : personal, day, berlin()))
            changed.insert(*key);
        ASSERT_EQ(encoding.encode(ledger, changed)(), encodeLedger(ledger)) << "step " << step;
    }
    // A ledger read back from the disk names only the day the first tick changed.
    LedgerEncoding afterLaunch;
    auto today = ledger.add(1, alpha, utc(2025, 3, 27, 12), berlin());
    EXPECT_EQ(afterLaunch.encode(ledger, { *today })(), encodeLedger(ledger));
    auto stored = decodeLedger(bytes(R"({"days":{"2025-03-05":{"quote\"d":1.25,"\u00e9":2}}})"));
    ASSERT_TRUE(stored);
    EXPECT_EQ(encoding.encode(*stored, { "2025-03-05" })(), encodeLedger(*stored));
    EXPECT_EQ(encoding.encode(TimeLedger{}, {})(), R"({"days":{}})");
}

} // namespace
} // namespace cohortex
