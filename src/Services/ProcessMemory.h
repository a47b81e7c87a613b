#pragma once

#include <cstdint>
#include <optional>

namespace cohortex {

// Reads the physical memory footprint of processes, in MB (bytes / 2^20, not rounded). The platform
// decides what "footprint" means; on Linux it is the proportional set size, so pages shared between
// web-content processes are split among them rather than counted in full by each.
class ProcessMemory {
public:
    virtual ~ProcessMemory() = default;

    // Absent when the process cannot be read (gone, not ours, no memory of its own) or pid < 1.
    virtual std::optional<double> footprintMB(std::int32_t pid) const = 0;
    // This process; 0 when it cannot be read.
    virtual double ownMB() const = 0;
};

} // namespace cohortex
