#include "Models/TimeLedger.h"

#include <cstdlib>

// The stored ledger comes from disk and may be damaged or hostile: decoding must never crash, the
// export and the duration texts built from whatever decodes must not either, and it must survive a
// round trip unchanged.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    auto decoded = cohortex::decodeLedger(std::span(data, size));
    if (!decoded)
        return 0;
    (void)decoded->csv({});
    for (const auto& [day, workspaces] : decoded->days()) {
        for (const auto& [key, seconds] : workspaces)
            (void)cohortex::TimeLedger::formatted(seconds);
    }
    auto encoded = cohortex::encodeLedger(*decoded);
    auto again = cohortex::decodeLedger(
        std::span(reinterpret_cast<const std::uint8_t*>(encoded.data()), encoded.size()));
    if (!again || *again != *decoded)
        std::abort();
    return 0;
}
