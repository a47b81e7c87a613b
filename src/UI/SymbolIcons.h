#pragma once

#include <span>
#include <string>
#include <string_view>
#include <utility>

namespace cohortex {

// Workspaces and views name their symbols as stored records do ("briefcase.fill", "xmark"); this maps
// each to an icon of the installed symbolic icon theme. The one table lives in SymbolIcons.cpp, so a
// symbol looks the same wherever it appears. A symbol the table does not know (a record written by a
// newer version) shows a neutral icon rather than nothing.
std::string iconNameForSymbol(std::string_view symbol);
// Every symbol the table knows, with its icon name.
std::span<const std::pair<std::string_view, std::string_view>> knownSymbolIcons();

} // namespace cohortex
