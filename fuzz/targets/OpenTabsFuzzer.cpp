#include "Services/OpenTabStore.h"

#include <cstdlib>

// Stored open tabs come from disk: decoding and restoring must never crash, and whatever is restored
// must be web addresses with an index inside the list.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    auto decoded = cohortex::decodeOpenTabs(std::span(data, size));
    if (!decoded)
        return 0;
    for (const auto& [id, session] : cohortex::restoredSessions(*decoded)) {
        if (session.urls.empty() || session.activeIndex < 0
            || session.activeIndex >= static_cast<std::int64_t>(session.urls.size()))
            std::abort();
        for (const auto& url : session.urls) {
            if (!cohortex::isWebURL(url))
                std::abort();
        }
    }
    auto encoded = cohortex::encodeOpenTabs(*decoded);
    auto again = cohortex::decodeOpenTabs(std::span(reinterpret_cast<const std::uint8_t*>(encoded.data()), encoded.size()));
    if (!again || *again != *decoded)
        std::abort();
    return 0;
}
