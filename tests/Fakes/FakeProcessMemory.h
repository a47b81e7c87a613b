#pragma once

#include "Engine/MeasurableView.h"
#include "Services/ProcessMemory.h"

#include <map>

namespace cohortex::testing {

// Footprints answered from a map; a process that is not in it cannot be read. Counts the reads so
// tests can see that each process is asked once.
class FakeProcessMemory final : public ProcessMemory {
public:
    std::optional<double> footprintMB(std::int32_t pid) const override
    {
        ++reads[pid];
        auto found = footprints.find(pid);
        if (found == footprints.end())
            return std::nullopt;
        return found->second;
    }
    double ownMB() const override { return own; }

    std::map<std::int32_t, double> footprints;
    double own{ 0 };
    mutable std::map<std::int32_t, int> reads;
};

// A web view whose web-content process id the test sets.
class FakeView final : public MeasurableView {
public:
    explicit FakeView(std::optional<std::int32_t> pid = std::nullopt)
        : pid(pid)
    {
    }
    std::optional<std::int32_t> webProcessIdentifier() const override { return pid; }

    std::optional<std::int32_t> pid;
};

} // namespace cohortex::testing
