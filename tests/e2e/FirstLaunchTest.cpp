#include "E2eTest.h"

#include <set>

namespace cohortex {

class FirstLaunchTest : public CohortexE2eTest { };

// Nothing is stored yet: the application must write its three starting workspaces at once, so that they
// survive even a run that ends before any other change is made.
TEST_F(FirstLaunchTest, storesTheThreePresetsOnAnEmptyProfile)
{
    launch();
    ASSERT_TRUE(waitFor([&] { return profile().peekWorkspaces().has_value(); }))
        << "No workspace list was stored; standard error:\n"
        << m_app->errors();
    auto outcome = quit();
    ASSERT_TRUE(outcome.succeeded()) << outcome.describe();

    auto stored = profile().workspaces();
    ASSERT_TRUE(stored);
    std::vector<std::string> startPages;
    std::set<Uuid> ids;
    std::set<Uuid> stores;
    for (const auto& workspace : *stored) {
        startPages.push_back(workspace.initialURL.absoluteString());
        ids.insert(workspace.id);
        stores.insert(workspace.storageIdentifier);
    }
    EXPECT_EQ(startPages,
        (std::vector<std::string>{
            "https://mail.google.com/", "https://calendar.google.com/", "https://app.slack.com/" }));
    EXPECT_EQ(ids.size(), 3u) << "Each preset needs an id of its own";
    EXPECT_EQ(stores.size(), 3u) << "Each preset needs a website data store of its own";
}

} // namespace cohortex
