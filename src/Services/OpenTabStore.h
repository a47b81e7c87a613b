#pragma once

#include "Support/DefaultsStore.h"
#include "Support/Error.h"
#include "Support/Url.h"
#include "Support/Uuid.h"

#include <cstdint>
#include <map>
#include <set>
#include <span>
#include <string>
#include <vector>

namespace cohortex {

// The stored form of one workspace's open tabs: addresses in tab order and the active one's index.
struct TabSnapshot {
    std::vector<std::string> urls;
    std::int64_t activeIndex{ 0 };

    bool operator==(const TabSnapshot&) const = default;
};

// The remembered tabs of a workspace that is not loaded.
struct SavedSession {
    std::vector<Url> urls;
    std::int64_t activeIndex{ 0 };
    // Tabs that were opened in the background and never shown, so they come back without a page too.
    // Kept for the run only; the stored form has no place for it.
    std::set<std::size_t> unshownIndexes;

    bool operator==(const SavedSession&) const = default;
};

using OpenTabSnapshots = std::map<std::string, TabSnapshot>;

std::string encodeOpenTabs(const OpenTabSnapshots&);
// One snapshot without either key, or with a value of the wrong type, makes the whole value unreadable.
Expected<OpenTabSnapshots> decodeOpenTabs(std::span<const std::uint8_t> bytes);

// What a relaunch brings back: members named by a workspace id, with their web addresses only and the
// active index clamped to what is left. Everything else is dropped member by member.
std::map<Uuid, SavedSession> restoredSessions(const OpenTabSnapshots&);

bool isWebURL(const Url&);

// Clamps a stored index into a list of the given (non-zero) size.
std::int64_t clampedIndex(std::int64_t index, std::size_t count);

} // namespace cohortex
