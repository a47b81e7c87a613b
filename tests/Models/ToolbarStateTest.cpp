#include "Models/ToolbarState.h"

#include <gtest/gtest.h>

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

} // namespace
} // namespace cohortex
