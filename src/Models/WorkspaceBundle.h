#pragma once

#include "Models/RoutingRule.h"
#include "Models/WorkspaceSession.h"
#include "Support/Date.h"
#include "Support/Error.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace cohortex {

// The layout of a set of workspaces and their link rules, as one user hands it to a teammate in a file.
// Only names, start sites, icons, colours, two flags and rules travel: never ids, shortcut numbers,
// times, pages, tabs, website data, proxies or download folders, so nothing private leaves the machine.
struct WorkspaceBundle {
    // Bundle files are recognised by this extension (and its MIME type) in file choosers and on launch.
    static constexpr std::string_view fileExtension = "cohortex";
    static constexpr std::string_view mimeType = "application/x-cohortex-bundle";
    static constexpr std::int64_t currentFormat = 1;

    struct Item {
        std::string name;
        // Kept as text: a file may carry anything here, and only instantiate decides what is usable.
        std::string url;
        std::string iconSymbol;
        std::string colorHex;
        std::optional<bool> keepAwake;
        std::optional<bool> requiresUnlock;

        bool operator==(const Item&) const = default;
    };

    struct Rule {
        std::string pattern;
        // A position in `workspaces`; a file may hold any number here.
        std::int64_t workspaceIndex{ 0 };

        bool operator==(const Rule&) const = default;
    };

    // What a bundle adds on the receiving side: workspaces to append and rules to merge.
    struct Instantiated {
        std::vector<WorkspaceSession> newWorkspaces;
        std::vector<RoutingRule> rules;
    };

    // Written as currentFormat; read but not checked, so later versions stay readable where they can be.
    std::int64_t format{ currentFormat };
    Date exportedAt;
    std::vector<Item> workspaces;
    std::vector<Rule> rules;

    // One item per workspace in list order, and the rules whose workspace is in the list. exportedAt is
    // `now` in whole seconds, as it will be written, so a bundle equals itself after a round trip.
    static WorkspaceBundle make(
        std::span<const WorkspaceSession> workspaces, std::span<const RoutingRule> rules, Date now);

    // UTF-8 JSON, indented, keys of every object sorted; absent flags are left out.
    std::string encoded() const;
    // All four top-level keys and every required member must be there with the right type, and
    // "exportedAt" must be internet date-time text; unknown keys are ignored.
    static Expected<WorkspaceBundle> decode(std::span<const std::uint8_t> bytes);

    // Fresh records for every usable item not already in `existing` (same name and the very same start
    // URL text), and fresh rules for every rule whose item is usable. Items whose URL does not parse or
    // is not http(s) are skipped with their rules; so are rules out of range or with an empty site.
    // Never fails.
    Instantiated instantiate(std::span<const WorkspaceSession> existing, Date now = Date::now()) const;

    bool operator==(const WorkspaceBundle&) const = default;
};

} // namespace cohortex
