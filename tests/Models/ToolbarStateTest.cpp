#include "Models/ToolbarState.h"

#include <gtest/gtest.h>
#include <string>

namespace cohortex {
namespace {

using Kind = NavigationCommand::Kind;

struct SymbolCase {
    const char* name;
    std::string address;
    std::string_view symbol;
};

class ToolbarAddressSymbol : public testing::TestWithParam<SymbolCase> { };

TEST_P(ToolbarAddressSymbol, PadlockOnlyForHttps)
{
    ToolbarState state;
    if (!GetParam().address.empty())
        state.currentURL = Url::parse(GetParam().address);
    EXPECT_EQ(state.addressSymbol(), GetParam().symbol);
}

INSTANTIATE_TEST_SUITE_P(Schemes, ToolbarAddressSymbol,
    testing::Values(SymbolCase{ "Https", "https://example.com/", "lock.fill" },
        SymbolCase{ "UpperCaseHttps", "HTTPS://example.com/", "lock.fill" },
        SymbolCase{ "Http", "http://example.com/", "globe" },
        SymbolCase{ "HttpsAsAPathIsNotTheScheme", "http://example.com/https", "globe" },
        SymbolCase{ "Blank", "about:blank", "globe" }, SymbolCase{ "NoPage", "", "globe" }),
    [](const auto& info) { return info.param.name; });

TEST(ToolbarState, ReloadBecomesStopWhileLoading)
{
    ToolbarState idle;
    EXPECT_EQ(idle.reloadSymbol(), "arrow.clockwise");
    EXPECT_EQ(idle.reloadCommand().kind, Kind::Reload);
    EXPECT_FALSE(idle.showsSpinner());

    ToolbarState loading;
    loading.isLoading = true;
    EXPECT_EQ(loading.reloadSymbol(), "xmark");
    EXPECT_EQ(loading.reloadLabel(), "Stop");
    EXPECT_EQ(loading.reloadCommand().kind, Kind::Stop);
    EXPECT_TRUE(loading.showsSpinner());
}

TEST(ToolbarState, BackAndForwardFollowTheHistory)
{
    ToolbarState state;
    state.canGoBack = true;
    EXPECT_TRUE(state.isBackEnabled());
    EXPECT_FALSE(state.isForwardEnabled());
    state.canGoForward = true;
    state.canGoBack = false;
    EXPECT_FALSE(state.isBackEnabled());
    EXPECT_TRUE(state.isForwardEnabled());
}

TEST(ToolbarState, AddressTextIsThePageOrElseTheStartPage)
{
    auto start = *Url::parse("https://mail.example.com/");
    ToolbarState state;
    EXPECT_EQ(state.addressText(start), "https://mail.example.com/");
    state.currentURL = Url::parse("https://mail.example.com/inbox");
    EXPECT_EQ(state.addressText(start), "https://mail.example.com/inbox");
}

TEST(ToolbarState, NavigationNeverOverwritesWhatTheUserTypes)
{
    auto start = *Url::parse("https://mail.example.com/");
    ToolbarState state;
    state.currentURL = Url::parse("https://example.org/next");
    EXPECT_EQ(state.addressTextAfterNavigation(start, true), std::nullopt);
    EXPECT_EQ(state.addressTextAfterNavigation(start, false), "https://example.org/next");
}

} // namespace
} // namespace cohortex
