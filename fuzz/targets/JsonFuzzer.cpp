#include "Support/Json.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

using namespace cohortex;

namespace {

// Reads the first members with every reader, as the record decoders built on these helpers will.
void readMembers(const Json& document)
{
    if (!document.is_object())
        return;
    int count = 0;
    for (const auto& [key, value] : document.items()) {
        (void)json::optional<std::string>(document, key);
        (void)json::optional<bool>(document, key);
        (void)json::optional<std::int64_t>(document, key);
        (void)json::optional<double>(document, key);
        (void)json::optional<Date>(document, key);
        (void)json::optional<Uuid>(document, key);
        (void)json::optional<Url>(document, key);
        if (++count == 8)
            break;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    auto document = json::parse(std::span(data, size));
    if (!document)
        return 0;
    readMembers(*document);
    // Whatever was accepted must survive being written and read back unchanged.
    auto reread = json::parse(json::dump(*document));
    if (!reread || *reread != *document)
        std::abort();
    return 0;
}
