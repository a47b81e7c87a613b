#pragma once

#include "Services/ProcessMemory.h"

#include <optional>
#include <string_view>

namespace cohortex {

// Footprints from /proc/<pid>/smaps_rollup, which the kernel sums over all mappings in one read.
class ProcMemory final : public ProcessMemory {
public:
    std::optional<double> footprintMB(std::int32_t pid) const override;
    double ownMB() const override;
};

// The "Pss:" line of an smaps_rollup text in MB; absent when there is no such line or it is malformed.
std::optional<double> pssMBFromSmapsRollup(std::string_view text);

} // namespace cohortex
