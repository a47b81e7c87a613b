#include "Engine/NavigationPolicy.h"

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

TEST(NavigationPolicyTest, TitlesNameTheHostOrAFixedText)
{
    struct Case {
        const char* uri;
        const char* popup;
        const char* dialog;
    };
    for (auto [uri, popup, dialog] :
        { Case{ "https://accounts.example.com/login?x=1", "accounts.example.com", "accounts.example.com" },
            Case{ "about:blank", "Sign in", "Cohortex" },
            Case{ "file:///tmp/x.html", "Sign in", "Cohortex" } }) {
        EXPECT_EQ(NavigationPolicy::popupTitle(uri), popup) << uri;
        EXPECT_EQ(NavigationPolicy::scriptDialogTitle(uri), dialog) << uri;
    }
}

} // namespace
} // namespace cohortex
