#include "Engine/SafariUserAgent.h"

#include <gtest/gtest.h>

namespace cohortex {
namespace {

struct UserAgentCase {
    std::optional<std::string> version;
    std::string expected;
};

class SafariUserAgentTest : public ::testing::TestWithParam<UserAgentCase> { };

TEST_P(SafariUserAgentTest, NamesTheVersionWithTheFixedBuildToken)
{
    EXPECT_EQ(SafariUserAgent::make(GetParam().version), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Versions, SafariUserAgentTest,
    ::testing::Values(UserAgentCase{ "18.2", "Version/18.2 Safari/605.1.15" },
        UserAgentCase{ std::nullopt, "Version/17.4 Safari/605.1.15" },
        UserAgentCase{ "", "Version/17.4 Safari/605.1.15" }));

TEST(SafariUserAgent, AMachineWithoutSafariGetsTheFallbackVersion)
{
    EXPECT_EQ(
        SafariUserAgent::make(SafariUserAgent::installedSafariVersion()), "Version/17.4 Safari/605.1.15");
}

struct AppendCase {
    std::string engine;
    std::string expected;
};

class AppendToEngineAgentTest : public ::testing::TestWithParam<AppendCase> { };

TEST_P(AppendToEngineAgentTest, ReplacesTheEnginesOwnBrowserTokens)
{
    EXPECT_EQ(
        SafariUserAgent::appendTo(GetParam().engine, "Version/17.4 Safari/605.1.15"), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(EngineAgents, AppendToEngineAgentTest,
    ::testing::Values(
        AppendCase{ "Mozilla/5.0 (X11; Linux x86_64) AppleWebKit/605.1.15 (KHTML, like Gecko) Version/60.5 "
                    "Safari/605.1.15",
            "Mozilla/5.0 (X11; Linux x86_64) AppleWebKit/605.1.15 (KHTML, like Gecko) Version/17.4 "
            "Safari/605.1.15" },
        AppendCase{ "Engine/1.0", "Engine/1.0 Version/17.4 Safari/605.1.15" }));

} // namespace
} // namespace cohortex
