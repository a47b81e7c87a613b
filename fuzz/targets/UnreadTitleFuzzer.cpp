#include "Models/UnreadBadge.h"

#include <cstdlib>
#include <string_view>

// Page titles are whatever a web page says: reading a count must never crash and stays in range.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    auto count = cohortex::UnreadBadge::count(std::string_view(reinterpret_cast<const char*>(data), size));
    if (count && (*count < 0 || *count > 99999))
        std::abort();
    return 0;
}
