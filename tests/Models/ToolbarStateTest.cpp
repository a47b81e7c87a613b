#include "Models/ToolbarState.h"

#include "Models/AddressInput.h"

#include <gtest/gtest.h>
#include <string>

namespace cohortex {
namespace {

TEST(ToolbarState, PadlockOnlyForHttpsPages)
{
    struct Case {
        const char* address;
        std::string_view symbol;
    };
    for (auto [address, symbol] : { Case{ "https://example.com/", "lock.fill" },
             Case{ "HTTPS://example.com/", "lock.fill" }, Case{ "http://example.com/https", "globe" },
             Case{ "about:blank", "globe" }, Case{ "", "globe" } }) {
        ToolbarState state;
        state.currentURL = Url::parse(address);
        EXPECT_EQ(state.addressSymbol(), symbol) << address;
    }
}

TEST(ToolbarState, AddressShowsThePageOrTheStartPageButNeverOverwritesTypingAndReloadStopsALoad)
{
    auto start = *Url::parse("https://mail.example.com/");
    ToolbarState state;
    EXPECT_EQ(state.addressText(start), "https://mail.example.com/");
    EXPECT_EQ(state.reloadCommand().kind, NavigationCommand::Kind::Reload);
    state.isLoading = true;
    EXPECT_EQ(state.reloadCommand().kind, NavigationCommand::Kind::Stop);
    state.currentURL = Url::parse("https://example.org/next");
    EXPECT_EQ(state.addressText(start), "https://example.org/next");
    EXPECT_EQ(state.addressTextAfterNavigation(start, true), std::nullopt);
    EXPECT_EQ(state.addressTextAfterNavigation(start, false), "https://example.org/next");
}

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
             Case{ "localhost:3000", "http://localhost:3000" }, Case{ "127.0.0.1:8080/x", "http://127.0.0.1:8080/x" },
             Case{ "intranet", search("intranet") }, Case{ "how to bake bread", search("how%20to%20bake%20bread") },
             Case{ "example.com is down", search("example.com%20is%20down") },
             Case{ "what is 1+1? a/b:c@d", search("what%20is%201+1?%20a/b:c@d") },
             Case{ "50% #off", search("50%25%20%23off") },
             Case{ "", "" }, Case{ " \n\t ", "" }, Case{ "http://exa mple.com", "" },
             Case{ "HTTP words", search("HTTP%20words") } }) {
        // clang-format on
        auto url = urlFromAddressInput(typed);
        EXPECT_EQ(url ? url->absoluteString() : "", loaded) << typed;
    }
}

} // namespace
} // namespace cohortex
