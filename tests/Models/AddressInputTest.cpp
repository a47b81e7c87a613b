#include "Models/AddressInput.h"

#include <gtest/gtest.h>
#include <string>

namespace cohortex {
namespace {

TEST(AddressInput, LoadsWhatTheUserMeant)
{
    auto search
        = [](std::string_view encoded) { return std::string(webSearchEndpoint) + std::string(encoded); };
    struct Case {
        std::string_view typed;
        std::string loaded; // empty when nothing is loaded
    };
    // clang-format off
    for (const auto& [typed, loaded] : {
             Case{ "example.com/docs", "https://example.com/docs" }, Case{ "\t example.org\n", "https://example.org" },
             Case{ "http://example.com/a?b=c", "http://example.com/a?b=c" }, Case{ "https://example.com", "https://example.com" },
             Case{ "localhost:3000", "http://localhost:3000" }, Case{ "127.0.0.1:8080/x", "http://127.0.0.1:8080/x" },
             Case{ "intranet", search("intranet") }, Case{ "how to bake bread", search("how%20to%20bake%20bread") },
             Case{ "example.com is down", search("example.com%20is%20down") },
             Case{ "what is 1+1? a/b:c@d", search("what%20is%201+1?%20a/b:c@d") },
             Case{ "50% #off", search("50%25%20%23off") },
             Case{ "cr\xC3\xA8me br\xC3\xBBl\xC3\xA9\x65", search("cr%C3%A8me%20br%C3%BBl%C3%A9e") },
             Case{ "", "" }, Case{ " \n\t ", "" }, Case{ "http://exa mple.com", "" },
             Case{ "HTTP words", search("HTTP%20words") } }) {
        // clang-format on
        auto url = urlFromAddressInput(typed);
        EXPECT_EQ(url ? url->absoluteString() : "", loaded) << typed;
    }
}

} // namespace
} // namespace cohortex
