#pragma once

#include "Engine/MeasurableView.h"
#include "Services/ProcessMemory.h"

#include <map>

namespace cohortex::testing {

// Footprints from a map (a missing process cannot be read), with a count of reads per process.
class FakeProcessMemory final : public ProcessMemory {
public:
    std::optional<double> footprintMB(std::int32_t pid) const override
    {
        ++reads[pid];
        auto found = footprints.find(pid);
        return found == footprints.end() ? std::nullopt : std::optional(found->second);
    }
    double ownMB() const override { return own; }

    std::map<std::int32_t, double> footprints;
    double own{ 0 };
    mutable std::map<std::int32_t, int> reads;
};

class FakeView final : public MeasurableView {
public:
    explicit FakeView(std::optional<std::int32_t> pid)
        : pid(pid)
    {
    }
    std::optional<std::int32_t> webProcessIdentifier() const override { return pid; }

    std::optional<std::int32_t> pid;
};

} // namespace cohortex::testing
