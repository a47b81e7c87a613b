#include "Support/Translation.h"

#include <gtest/gtest.h>

namespace cohortex {
namespace {

// How a translated template gets its values: a translation may reorder them, repeat braces or, by
// mistake, name one value too many; none of that may lose a value or crash.
TEST(FillInTest, PutsEachValueWhereTheTemplateSays)
{
    EXPECT_EQ(fillIn("Lock {} in Cohortex", "Mail"), "Lock Mail in Cohortex");
    EXPECT_EQ(fillIn("{} of {}", "3", "7"), "3 of 7");
    EXPECT_EQ(fillIn("{1} von {0}", "3", "7"), "7 von 3");
    EXPECT_EQ(fillIn("{0}, {0}", "again"), "again, again");
    EXPECT_EQ(fillIn("{{literal}} {}", "x"), "{literal} x");
    // A value that looks like a placeholder is not filled in again.
    EXPECT_EQ(fillIn("{} and {}", "{}", "b"), "{} and b");
    EXPECT_EQ(fillIn("{} {} {}", "only"), "only {} {}");
    EXPECT_EQ(fillIn("{5} {name} {", "a"), "{5} {name} {");
    EXPECT_EQ(fillIn("", "unused"), "");
}

TEST(TranslateTest, UntranslatedTextsComeBackAsWritten)
{
    EXPECT_STREQ(_("Settings"), "Settings");
    EXPECT_EQ(_(std::string_view("Settings")), "Settings");
    // gettext keys a context into the id; the key itself must never reach the screen.
    EXPECT_STREQ(C_("file", "Open"), "Open");
    EXPECT_STREQ(P_("{} workspace", "{} workspaces", 1), "{} workspace");
    EXPECT_STREQ(P_("{} workspace", "{} workspaces", 2), "{} workspaces");
}

} // namespace
} // namespace cohortex
