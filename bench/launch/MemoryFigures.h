#pragma once

#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace cohortex {

struct MemoryRow {
    std::optional<double> loadedMB;
    // After every view but the shown one was released; absent with a single view.
    std::optional<double> hibernatedMB;
};

struct BrowserFigures {
    std::string name;
    // One entry per run; negative where the first request never came.
    std::vector<double> launchMs;
    // The same to the page's load event (as its script reports it to the server); negative where it
    // never came.
    std::vector<double> loadedMs;
    // Keyed by the number of loaded views or workspaces.
    std::map<int, MemoryRow> memory;
};

// The median of the non-negative values; absent when there is none.
std::optional<double> median(std::vector<double> values);

// The two tables, each program in a column and, with two programs, the second's figures over the first's.
void printFigures(
    std::ostream&, const std::vector<BrowserFigures>&, int runs, const std::vector<std::string>& notes);

} // namespace cohortex
