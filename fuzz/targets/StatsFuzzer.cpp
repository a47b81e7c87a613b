#include "Models/MemorySavingsStats.h"

#include <cstdlib>

// The stored statistic comes from disk and may be damaged or hostile: decoding must never crash, the
// texts built from whatever decodes must not either, and it must survive a round trip unchanged.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    constexpr cohortex::Date readingTime(812345678.5);
    auto decoded = cohortex::decodeStats(std::span(data, size), readingTime);
    if (!decoded)
        return 0;
    (void)decoded->summaryMessage();
    (void)cohortex::MemorySavingsStats::format(decoded->hibernationFreedMB);
    auto encoded = cohortex::encodeStats(*decoded);
    auto again = cohortex::decodeStats(
        std::span(reinterpret_cast<const std::uint8_t*>(encoded.data()), encoded.size()), readingTime);
    if (!again || *again != *decoded)
        std::abort();
    return 0;
}
