#include "Models/WorkspaceBundle.h"
#include "Models/WorkspaceImport.h"

#include <cstdlib>

namespace {

std::vector<cohortex::WorkspaceSession> existingWorkspaces()
{
    using namespace cohortex;
    auto site = [](std::string_view text) { return *Url::parse(text); };
    return {
        WorkspaceSession(Uuid::random(), "Mail", site("https://mail.example.com/"), std::nullopt, "envelope",
            "#007AFF", 1, Uuid::random(), Date(0), Date(0)),
        WorkspaceSession(Uuid::random(), "Chat", site("http://chat.example.com"), std::nullopt, "bubble",
            "#34C759", 2, Uuid::random(), Date(0), Date(0)),
    };
}

} // namespace

// Bundle files come from other people and may be damaged or hostile: decoding must never crash, turning
// what decodes into records and confirmation texts must not either, and it must survive a round trip.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const auto existing = existingWorkspaces();
    auto decoded = cohortex::WorkspaceBundle::decode(std::span(data, size));
    if (!decoded)
        return 0;
    auto imported = decoded->instantiate(existing, cohortex::Date(700000000));
    if (imported.newWorkspaces.size() > decoded->workspaces.size()
        || imported.rules.size() > decoded->rules.size())
        std::abort();
    (void)cohortex::importConfirmationMessage(*decoded);
    (void)cohortex::importConfirmationDetails(*decoded);
    auto encoded = decoded->encoded();
    auto again = cohortex::WorkspaceBundle::decode(
        std::span(reinterpret_cast<const std::uint8_t*>(encoded.data()), encoded.size()));
    if (!again || *again != *decoded)
        std::abort();
    return 0;
}
