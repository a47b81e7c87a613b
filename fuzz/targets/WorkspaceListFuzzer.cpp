#include "Models/WorkspaceSession.h"

#include <cstdlib>

// The stored workspace list comes from disk and may be damaged or hostile: decoding must never crash,
// and whatever decodes must survive a round trip unchanged.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    auto decoded = cohortex::decodeWorkspaceList(std::span(data, size));
    if (!decoded)
        return 0;
    for (const auto& workspace : *decoded) {
        (void)workspace.displayColor();
        (void)workspace.hasProxy();
        (void)workspace.downloadFolderURL();
    }
    auto encoded = cohortex::encodeWorkspaceList(*decoded);
    auto again = cohortex::decodeWorkspaceList(
        std::span(reinterpret_cast<const std::uint8_t*>(encoded.data()), encoded.size()));
    if (!again || *again != *decoded)
        std::abort();
    return 0;
}
