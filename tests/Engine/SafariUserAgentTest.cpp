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

} // namespace
} // namespace cohortex
