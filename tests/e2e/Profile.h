#pragma once

#include "Models/RoutingRule.h"
#include "Models/TimeLedger.h"
#include "Models/WorkspaceSession.h"
#include "Support/DefaultsStore.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace cohortex {

// The stored state, through the application's own store and codecs, so a test seeds exactly what an
// earlier run would have left. Nothing is held open while the application runs.
class Profile {
public:
    explicit Profile(std::filesystem::path defaultsFile);

    void storeWorkspaces(std::span<const WorkspaceSession>);
    void storeRules(std::span<const RoutingRule>);
    void storeInteger(std::string_view key, std::int64_t);

    std::optional<TimeLedger> ledger() const;
    // Read-only: opening through the store could repair or move a file it finds busy while the app runs.
    std::optional<std::vector<WorkspaceSession>> peekWorkspaces() const;

private:
    void store(std::string_view key, const std::string& encoded);
    std::optional<Bytes> data(std::string_view key) const;
    std::optional<Bytes> peekData(std::string_view key) const;

    std::filesystem::path m_file;
};

WorkspaceSession makeWorkspace(std::string name, std::string_view startUrl, std::int64_t shortcutIndex);
RoutingRule makeRule(std::string pattern, const WorkspaceSession& target);

} // namespace cohortex
