#include "Models/AddressInput.h"

#include <gtest/gtest.h>
#include <string>

namespace cohortex {
namespace {

struct AddressCase {
    const char* name;
    std::string_view typed;
    // Empty when nothing is loaded.
    std::string loaded;
};

class AddressInput : public testing::TestWithParam<AddressCase> { };

TEST_P(AddressInput, LoadsWhatTheUserMeant)
{
    auto url = urlFromAddressInput(GetParam().typed);
    EXPECT_EQ(url ? url->absoluteString() : "", GetParam().loaded);
}

std::string search(std::string_view encoded)
{
    return std::string(webSearchEndpoint) + std::string(encoded);
}

INSTANTIATE_TEST_SUITE_P(Rules, AddressInput,
    testing::Values(AddressCase{ "HostWithPathGetsHttps", "example.com/docs", "https://example.com/docs" },
        AddressCase{ "TrailingSpaceTrimmed", "example.com ", "https://example.com" },
        AddressCase{ "LineBreaksAndTabsTrimmed", "\t example.org\n", "https://example.org" },
        AddressCase{ "HttpKept", "http://example.com/a?b=c", "http://example.com/a?b=c" },
        AddressCase{ "HttpsKept", "https://example.com", "https://example.com" },
        AddressCase{ "LocalhostWithPortOverHttp", "localhost:3000", "http://localhost:3000" },
        AddressCase{ "LoopbackWithPathOverHttp", "127.0.0.1:8080/x", "http://127.0.0.1:8080/x" },
        AddressCase{ "SingleWordIsASearch", "intranet", search("intranet") },
        AddressCase{ "WordsAreASearch", "how to bake bread", search("how%20to%20bake%20bread") },
        AddressCase{ "DotWithSpaceIsASearch", "example.com is down", search("example.com%20is%20down") },
        AddressCase{ "QueryCharactersStay", "what is 1+1? a/b:c@d", search("what%20is%201+1?%20a/b:c@d") },
        AddressCase{ "PercentAndHashEncoded", "50% #off", search("50%25%20%23off") },
        AddressCase{ "NonAsciiEncodedAsUtf8", "cr\xC3\xA8me br\xC3\xBBl\xC3\xA9\x65",
            search("cr%C3%A8me%20br%C3%BBl%C3%A9e") },
        AddressCase{ "Empty", "", "" }, AddressCase{ "OnlyWhiteSpace", " \n\t ", "" },
        AddressCase{ "TypedAddressThatIsNoUrl", "http://exa mple.com", "" },
        AddressCase{ "SchemeIsCaseSensitive", "HTTP words", search("HTTP%20words") }),
    [](const auto& info) { return info.param.name; });

} // namespace
} // namespace cohortex
