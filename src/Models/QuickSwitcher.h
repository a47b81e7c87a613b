#pragma once

#include "Models/SwitcherItem.h"

#include <span>
#include <string_view>
#include <vector>

namespace cohortex {

// Ranks switcher rows against what the user typed. Pure and stateless.
namespace QuickSwitcher {

// The rows whose title and subtitle together contain every word of the query, best first: 2 points
// when the title begins with the first word, 1 when the title alone holds every word; equal scores keep
// the order of `items`. Case is ignored. A blank query returns every row as it came.
std::vector<SwitcherItem> rank(std::string_view query, std::span<const SwitcherItem> items);

} // namespace QuickSwitcher
} // namespace cohortex
