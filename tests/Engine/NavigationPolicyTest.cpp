#include "Engine/NavigationPolicy.h"

#include "Engine/SafariUserAgent.h"

#include <gtest/gtest.h>

namespace cohortex {
namespace {

TEST(NavigationPolicyTest, HandsMailTelephoneAndOtherApplicationsLinksToTheDesktop)
{
    for (auto uri : { "MAILTO:a@b.c", "tel:+44 1234 5678" })
        EXPECT_TRUE(NavigationPolicy::opensInSystem(uri)) << uri;
    for (auto uri : { "https://example.com/mailto:x", "telnet://host", "/tel:123" })
        EXPECT_FALSE(NavigationPolicy::opensInSystem(uri)) << uri;
    EXPECT_EQ(NavigationPolicy::otherApplicationScheme("MSTeams:/l/meetup-join/x"), "msteams");
    EXPECT_EQ(NavigationPolicy::otherApplicationScheme("web+cal.x-1:feed"), "web+cal.x-1");
    for (auto uri : { "https://example.com/zoommtg:x", "HTTP://example.com", "about:blank",
             "blob:https://a/1", "data:text/plain,x", "file:///tmp/a", "javascript:void(0)", "mailto:a@b.c",
             "/relative:path", "1password:x" })
        EXPECT_EQ(NavigationPolicy::otherApplicationScheme(uri), "") << uri;
}

TEST(NavigationPolicyTest, DownloadsWhatTheServerMarksAsAnAttachment)
{
    for (auto header : { "attachment", "Attachment; filename=\"a.pdf\"", "ATTACHMENT;" })
        EXPECT_TRUE(NavigationPolicy::isAttachment(header)) << header;
    for (auto header : { "inline; filename=\"attachment.pdf\"", "", "attach" })
        EXPECT_FALSE(NavigationPolicy::isAttachment(header)) << header;
}

// Sites that sniff for Safari must see its tokens once, in place of the engine's own.
TEST(SafariUserAgent, ReplacesTheEnginesOwnBrowserTokensWithTheInstalledOrFallbackVersion)
{
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
