#pragma once

#include "Models/RoutingRule.h"
#include "Models/TimeLedger.h"
#include "Models/WorkspaceSession.h"
#include "Services/OpenTabStore.h"
#include "Support/DefaultsStore.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace cohortex {

// The application's stored state in one user defaults file, written and read through the same store and
// codecs the application uses, so a test seeds exactly what an earlier run would have left. Each call opens
// the file and closes it again: nothing is held open while the application runs.
class Profile {
public:
    explicit Profile(std::filesystem::path defaultsFile);

    void storeWorkspaces(std::span<const WorkspaceSession>);
    void storeRules(std::span<const RoutingRule>);
    void storeInteger(std::string_view key, std::int64_t);

    // Absent when the key holds nothing or what it holds does not decode.
    std::optional<OpenTabSnapshots> openTabs() const;
    std::optional<TimeLedger> ledger() const;
    // Read-only, so also while the application runs: it never creates, repairs or moves the file, which
    // opening it through the store could do when it finds the file busy or half written.
    std::optional<std::vector<WorkspaceSession>> peekWorkspaces() const;

private:
    void store(std::string_view key, const std::string& encoded);
    std::optional<Bytes> data(std::string_view key) const;
    std::optional<Bytes> peekData(std::string_view key) const;

    std::filesystem::path m_file;
};

// A workspace as the application would create it, starting on the given page.
WorkspaceSession makeWorkspace(std::string name, std::string_view startUrl, std::int64_t shortcutIndex);
RoutingRule makeRule(std::string pattern, const WorkspaceSession& target);

} // namespace cohortex
