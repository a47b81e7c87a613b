#include "Models/WorkspaceBundle.h"

#include <gtest/gtest.h>
#include <limits>
#include <set>

namespace cohortex {
namespace {

constexpr Date importTime(760000000);

WorkspaceSession workspace(std::string name, std::string_view url)
{
    auto start = *Url::parse(url);
    return WorkspaceSession(Uuid::random(), std::move(name), start, start, "globe", "#007AFF", 1,
        Uuid::random(), Date(1), Date(2));
}

WorkspaceBundle::Item item(std::string name, std::string url)
{
    return { std::move(name), std::move(url), "briefcase.fill", "#34C759", std::nullopt, std::nullopt };
}

WorkspaceBundle bundleOf(
    std::vector<WorkspaceBundle::Item> items, std::vector<WorkspaceBundle::Rule> rules = {})
{
    return { 1, importTime, std::move(items), std::move(rules) };
}

std::vector<Uuid> targetsOf(const std::vector<RoutingRule>& rules)
{
    std::vector<Uuid> targets;
    for (const auto& rule : rules)
        targets.push_back(rule.workspaceId);
    return targets;
}

TEST(WorkspaceBundleInstantiateTest, ExportThenImportIntoTheSameListCreatesNothingAndRepointsEveryRule)
{
    std::vector existing{ workspace("Mail", "https://mail.example.com/"),
        workspace("Chat", "https://chat.example.com/") };
    std::vector<RoutingRule> rules{ { Uuid::random(), "chat.example.com", existing[1].id },
        { Uuid::random(), "docs.example.com", existing[0].id } };

    auto result = WorkspaceBundle::make(existing, rules, importTime).instantiate(existing, importTime);

    EXPECT_TRUE(result.newWorkspaces.empty());
    ASSERT_EQ(result.rules.size(), 2u);
    EXPECT_EQ(targetsOf(result.rules), (std::vector{ existing[1].id, existing[0].id }));
    EXPECT_EQ(result.rules[0].pattern, "chat.example.com");
    // The rules are new rules, not the sender's.
    EXPECT_NE(result.rules[0].id, rules[0].id);
}

TEST(WorkspaceBundleInstantiateTest, OnlyTheSameNameAndTheSameURLTextMatchAnExistingWorkspace)
{
    std::vector existing{ workspace("Mail", "https://mail.example.com/") };
    for (auto [name, url, isNew] : { std::tuple{ "Mail", "https://mail.example.com/", false },
             { "Mail", "https://mail.example.com", true }, { "mail", "https://mail.example.com/", true },
             { "Mail", "HTTPS://mail.example.com/", true }, { "Mail", "http://mail.example.com/", true } }) {
        SCOPED_TRACE(std::string(name) + " " + url);
        auto result
            = bundleOf({ item(name, url) }, { { "mail.example.com", 0 } }).instantiate(existing, importTime);
        ASSERT_EQ(result.newWorkspaces.size(), isNew ? 1u : 0u);
        ASSERT_EQ(result.rules.size(), 1u);
        EXPECT_EQ(result.rules[0].workspaceId, isNew ? result.newWorkspaces[0].id : existing[0].id);
    }
}

TEST(WorkspaceBundleInstantiateTest, NewRecordsGetFreshIdsAndStoresAndNothingButTheLayout)
{
    auto flagged = item("Mail", "https://mail.example.com/inbox");
    flagged.keepAwake = true;
    flagged.requiresUnlock = false;
    auto result = bundleOf({ flagged, item("Chat", "http://chat.example.com") }).instantiate({}, importTime);

    ASSERT_EQ(result.newWorkspaces.size(), 2u);
    const auto& mail = result.newWorkspaces[0];
    EXPECT_EQ(mail.currentURL, mail.initialURL);
    EXPECT_EQ(mail.createdAt, importTime);
    EXPECT_EQ(mail.keepAwake, true);
    EXPECT_EQ(mail.requiresUnlock, false);
    EXPECT_FALSE(result.newWorkspaces[1].keepAwake);
    EXPECT_FALSE(
        mail.downloadFolderPath || mail.proxyType || mail.proxyHost || mail.proxyPort || mail.proxyUsername);
    std::set<Uuid> identifiers;
    for (const auto& record : result.newWorkspaces) {
        identifiers.insert(record.id);
        identifiers.insert(record.storageIdentifier);
    }
    EXPECT_EQ(identifiers.size(), 4u);
}

TEST(WorkspaceBundleInstantiateTest, ShortcutNumbersCountOnFromTheListAndStopAtNine)
{
    for (auto [existingCount, expected] :
        { std::pair<std::size_t, std::vector<std::int64_t>>{ 1, { 2, 3, 4 } }, { 6, { 7, 8, 9, 9 } },
            { 8, { 9, 9 } }, { 12, { 9 } } }) {
        std::vector<WorkspaceSession> existing;
        for (std::size_t index = 0; index < existingCount; ++index)
            existing.push_back(
                workspace("Existing " + std::to_string(index), "https://existing.example.com/"));
        // The first item matches an existing workspace, and so takes no number.
        std::vector items{ item("Existing 0", "https://existing.example.com/") };
        for (std::size_t index = 0; index < expected.size(); ++index)
            items.push_back(item("New " + std::to_string(index), "https://new.example.com/"));
        std::vector<std::int64_t> numbers;
        for (const auto& record : bundleOf(items).instantiate(existing, importTime).newWorkspaces)
            numbers.push_back(record.shortcutIndex);
        EXPECT_EQ(numbers, expected) << existingCount << " existing";
    }
}

TEST(WorkspaceBundleInstantiateTest, AnUnusableURLSkipsTheItemAndItsRulesWhileLaterItemsKeepTheirPositions)
{
    for (const char* url : { "JavaScript:alert(1)", "file:///etc/passwd", "data:text/html,<b>x</b>",
             "mail.example.com", "//mail.example.com/", "http://exa mple.com/", "" }) {
        SCOPED_TRACE(url);
        auto result = bundleOf({ item("Bad", url), item("Good", "https://good.example.com/") },
            { { "bad.example.com", 0 },
                { "good.example.com",
                    1 } }).instantiate({}, importTime);
        ASSERT_EQ(result.newWorkspaces.size(), 1u);
        EXPECT_EQ(result.newWorkspaces[0].name, "Good");
        ASSERT_EQ(result.rules.size(), 1u);
        EXPECT_EQ(result.rules[0].pattern, "good.example.com");
        EXPECT_EQ(result.rules[0].workspaceId, result.newWorkspaces[0].id);
    }
    for (std::int64_t index :
        { std::int64_t{ -1 }, std::int64_t{ 2 }, std::numeric_limits<std::int64_t>::max() }) {
        auto result = bundleOf({ item("A", "https://a.example.com/"), item("B", "https://b.example.com/") },
            { { "out.example.com", index },
                { "b.example.com",
                    1 } }).instantiate({}, importTime);
        ASSERT_EQ(result.rules.size(), 1u) << "rule for item " << index;
        EXPECT_EQ(result.rules[0].workspaceId, result.newWorkspaces[1].id);
    }
}

TEST(WorkspaceBundleInstantiateTest, PatternsAreKeptAsWrittenAndRulesForNoSiteAreDropped)
{
    auto result = bundleOf({ item("A", "https://a.example.com/") },
        { { "  HTTPS://www.A.Example.com/ \n", 0 }, { "", 0 }, { "https://", 0 }, { " / ", 0 },
            { "a.example.com",
                0 } }).instantiate({}, importTime);
    ASSERT_EQ(result.rules.size(), 2u);
    EXPECT_EQ(result.rules[0].pattern, "  HTTPS://www.A.Example.com/ \n");
    EXPECT_EQ(result.rules[1].pattern, "a.example.com");
    EXPECT_NE(result.rules[0].id, result.rules[1].id);
}

} // namespace
} // namespace cohortex
