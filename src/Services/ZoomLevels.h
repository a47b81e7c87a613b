#pragma once

#include "Support/StoredRecord.h"
#include "Support/Uuid.h"

#include <map>
#include <string>
#include <utility>

namespace cohortex {

class DefaultsStore;

// The zoom the user chose per workspace and host, kept across launches. A host without a choice is at
// 100 %; choosing 100 % again forgets the host. Main thread only.
class ZoomLevels {
public:
    explicit ZoomLevels(DefaultsStore&);

    double level(const Uuid& workspace, const std::string& host) const;
    // Remembers the level at once; false when it could not be stored (it still holds for this run).
    bool setLevel(const Uuid& workspace, const std::string& host, double level);
    // Forgets a removed workspace's levels.
    bool forget(const Uuid& workspace);

private:
    bool save();

    StoredRecord m_record;
    std::map<std::pair<Uuid, std::string>, double> m_levels;
};

} // namespace cohortex
