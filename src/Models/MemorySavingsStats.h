#pragma once

#include "Support/Date.h"
#include "Support/Error.h"
#include "Support/Json.h"

#include <cstdint>
#include <span>
#include <string>

namespace cohortex {

// What the browser has saved the user so far: workspace switches, the clicks they spared, and the
// memory that putting idle workspaces to sleep gave back. Accumulates across launches.
struct MemorySavingsStats {
    std::int64_t totalSwitches{ 0 };
    std::int64_t clicksSaved{ 0 };
    double hibernationFreedMB{ 0 };
    Date lastUpdated;

    bool operator==(const MemorySavingsStats&) const = default;

    // The sentence the toolbar and the menu show; the hibernation part appears from 1 MB freed on.
    std::string summaryMessage() const;

    // "1.5 GB" from 1024 MB up, else whole megabytes ("612 MB"). Always "." as the decimal separator,
    // whatever the user's locale.
    static std::string format(double mb);

    // All four members, in declaration order; the date as seconds since 2001.
    Json toJson() const;
    // Lenient about what is missing, strict about what is there: a missing or null member reads as 0
    // (the date as readingTime), and a member of the wrong type fails the whole record.
    static Expected<MemorySavingsStats> fromJson(const Json&, Date readingTime);
};

std::string encodeStats(const MemorySavingsStats&);
Expected<MemorySavingsStats> decodeStats(std::span<const std::uint8_t> bytes, Date readingTime);

} // namespace cohortex
