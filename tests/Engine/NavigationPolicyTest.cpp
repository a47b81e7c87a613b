#include "Engine/NavigationPolicy.h"

#include <gtest/gtest.h>

namespace cohortex {
namespace {

struct SchemeCase {
    std::string uri;
    bool opensInSystem;
};

class OpensInSystemTest : public ::testing::TestWithParam<SchemeCase> { };

TEST_P(OpensInSystemTest, HandsOnlyMailAndTelephoneLinksToTheDesktop)
{
    EXPECT_EQ(NavigationPolicy::opensInSystem(GetParam().uri), GetParam().opensInSystem) << GetParam().uri;
}

INSTANTIATE_TEST_SUITE_P(Schemes, OpensInSystemTest,
    ::testing::Values(SchemeCase{ "mailto:someone@example.com", true }, SchemeCase{ "MAILTO:a@b.c", true },
        SchemeCase{ "Tel:+441234", true }, SchemeCase{ "tel:+44 1234 5678", true },
        SchemeCase{ "https://example.com/mailto:x", false }, SchemeCase{ "telnet://host", false },
        SchemeCase{ "mailto", false }, SchemeCase{ "/tel:123", false }, SchemeCase{ "", false },
        SchemeCase{ "about:blank", false }));

TEST(OtherApplicationSchemeTest, NamesOnlySchemesTheBrowserDoesNotShowItself)
{
    EXPECT_EQ(NavigationPolicy::otherApplicationScheme("zoommtg://zoom.us/join?confno=1"), "zoommtg");
    EXPECT_EQ(NavigationPolicy::otherApplicationScheme("MSTeams:/l/meetup-join/x"), "msteams");
    EXPECT_EQ(NavigationPolicy::otherApplicationScheme("web+cal.x-1:feed"), "web+cal.x-1");
    for (auto uri : { "https://example.com/zoommtg:x", "HTTP://example.com", "about:blank",
             "blob:https://a/1", "data:text/plain,x", "file:///tmp/a", "javascript:void(0)", "mailto:a@b.c",
             "tel:+441234", "/relative:path", "1password:x", "", "no scheme" })
        EXPECT_EQ(NavigationPolicy::otherApplicationScheme(uri), "") << uri;
}

struct DispositionCase {
    std::string header;
    bool isAttachment;
};

class AttachmentTest : public ::testing::TestWithParam<DispositionCase> { };

TEST_P(AttachmentTest, DownloadsWhatTheServerMarksAsAnAttachment)
{
    EXPECT_EQ(NavigationPolicy::isAttachment(GetParam().header), GetParam().isAttachment)
        << GetParam().header;
}

INSTANTIATE_TEST_SUITE_P(Headers, AttachmentTest,
    ::testing::Values(DispositionCase{ "attachment", true },
        DispositionCase{ "Attachment; filename=\"a.pdf\"", true }, DispositionCase{ "ATTACHMENT;", true },
        DispositionCase{ "inline; filename=\"attachment.pdf\"", false }, DispositionCase{ "", false },
        DispositionCase{ "attach", false }));

struct TitleCase {
    std::string uri;
    std::string popup;
    std::string dialog;
};

class TitleTest : public ::testing::TestWithParam<TitleCase> { };

TEST_P(TitleTest, NamesTheHostOrAFixedText)
{
    EXPECT_EQ(NavigationPolicy::popupTitle(GetParam().uri), GetParam().popup);
    EXPECT_EQ(NavigationPolicy::scriptDialogTitle(GetParam().uri), GetParam().dialog);
}

INSTANTIATE_TEST_SUITE_P(Addresses, TitleTest,
    ::testing::Values(
        TitleCase{ "https://accounts.example.com/login?x=1", "accounts.example.com", "accounts.example.com" },
        TitleCase{ "http://127.0.0.1:8080/", "127.0.0.1", "127.0.0.1" },
        TitleCase{ "about:blank", "Sign in", "Cohortex" }, TitleCase{ "", "Sign in", "Cohortex" },
        TitleCase{ "file:///tmp/x.html", "Sign in", "Cohortex" }));

} // namespace
} // namespace cohortex
