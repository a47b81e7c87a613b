#include "Models/LocalPage.h"

#include "Models/FailurePages.h"

#include <gtest/gtest.h>

namespace cohortex {
namespace {

// Hosts and engine messages come from outside; none of them may become markup on the page.
TEST(LocalPageTest, TextFromOutsideStaysText)
{
    auto html = renderLocalPage(
        loadFailedPage(LoadFailure::Other, "a\"b", "<script>alert(1)</script> & 'more'", "t0ken"));
    EXPECT_EQ(html.find("<script>"), std::string::npos) << html;
    EXPECT_NE(html.find("&lt;script&gt;alert(1)&lt;/script&gt; &amp; &#39;more&#39;"), std::string::npos);
    EXPECT_EQ(html.find("a\"b"), std::string::npos);
    EXPECT_NE(html.find("href=\"cohortex-page-action:t0ken/retry\""), std::string::npos) << html;
}

} // namespace
} // namespace cohortex
