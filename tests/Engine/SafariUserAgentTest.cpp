#include "Engine/SafariUserAgent.h"

#include <gtest/gtest.h>

namespace cohortex {
namespace {

// Sites that sniff for Safari must see its tokens once, in place of the engine's own.
TEST(SafariUserAgent, ReplacesTheEnginesOwnBrowserTokensWithTheInstalledOrFallbackVersion)
{
    EXPECT_EQ(SafariUserAgent::make("18.2"), "Version/18.2 Safari/605.1.15");
    EXPECT_EQ(SafariUserAgent::make(""), "Version/17.4 Safari/605.1.15");
    EXPECT_EQ(SafariUserAgent::appendTo("Mozilla/5.0 (X11; Linux x86_64) AppleWebKit/605.1.15 (KHTML, like "
                                        "Gecko) Version/60.5 Safari/605.1.15",
                  "Version/17.4 Safari/605.1.15"),
        "Mozilla/5.0 (X11; Linux x86_64) AppleWebKit/605.1.15 (KHTML, like Gecko) Version/17.4 "
        "Safari/605.1.15");
    EXPECT_EQ(SafariUserAgent::appendTo("Engine/1.0", "Version/17.4 Safari/605.1.15"),
        "Engine/1.0 Version/17.4 Safari/605.1.15");
}

} // namespace
} // namespace cohortex
