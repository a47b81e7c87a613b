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

struct DuplicateCase {
    const char* itemName;
    const char* itemURL;
    bool isNew;
};

class DuplicateDetectionTest : public ::testing::TestWithParam<DuplicateCase> { };

TEST_P(DuplicateDetectionTest, OnlyTheSameNameAndTheSameURLTextMatch)
{
    std::vector existing{ workspace("Mail", "https://mail.example.com/") };
    auto result = bundleOf({ item(GetParam().itemName, GetParam().itemURL) },
        { { "mail.example.com",
            0 } }).instantiate(existing, importTime);
    ASSERT_EQ(result.newWorkspaces.size(), GetParam().isNew ? 1u : 0u);
    ASSERT_EQ(result.rules.size(), 1u);
    EXPECT_EQ(result.rules[0].workspaceId, GetParam().isNew ? result.newWorkspaces[0].id : existing[0].id);
}

INSTANTIATE_TEST_SUITE_P(Cases, DuplicateDetectionTest,
    ::testing::Values(DuplicateCase{ "Mail", "https://mail.example.com/", false },
        DuplicateCase{ "Mail", "https://mail.example.com", true },
        DuplicateCase{ "mail", "https://mail.example.com/", true },
        DuplicateCase{ "Mail", "HTTPS://mail.example.com/", true },
        DuplicateCase{ "Mail", "http://mail.example.com/", true }));

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

struct ShortcutCase {
    std::size_t existingCount;
    std::vector<std::int64_t> expected;
};

class ShortcutNumberTest : public ::testing::TestWithParam<ShortcutCase> { };

TEST_P(ShortcutNumberTest, CountOnFromTheListAndStopAtNine)
{
    std::vector<WorkspaceSession> existing;
    for (std::size_t index = 0; index < GetParam().existingCount; ++index)
        existing.push_back(workspace("Existing " + std::to_string(index), "https://existing.example.com/"));
    // The first item matches an existing workspace whenever there is one, and so takes no number.
    std::vector items{ item("Existing 0", "https://existing.example.com/") };
    for (std::size_t index = 0; index < GetParam().expected.size(); ++index)
        items.push_back(item("New " + std::to_string(index), "https://new.example.com/"));

    auto result = bundleOf(items).instantiate(existing, importTime);

    std::vector<std::int64_t> numbers;
    for (const auto& record : result.newWorkspaces)
        numbers.push_back(record.shortcutIndex);
    EXPECT_EQ(numbers, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, ShortcutNumberTest,
    ::testing::Values(ShortcutCase{ 1, { 2, 3, 4 } }, ShortcutCase{ 6, { 7, 8, 9, 9 } },
        ShortcutCase{ 8, { 9, 9 } }, ShortcutCase{ 12, { 9 } }));

class UnusableURLTest : public ::testing::TestWithParam<const char*> { };

TEST_P(UnusableURLTest, SkipsTheItemAndItsRulesWhileLaterItemsKeepTheirPositions)
{
    auto result = bundleOf({ item("Bad", GetParam()), item("Good", "https://good.example.com/") },
        { { "bad.example.com", 0 },
            { "good.example.com",
                1 } }).instantiate({}, importTime);
    ASSERT_EQ(result.newWorkspaces.size(), 1u) << GetParam();
    EXPECT_EQ(result.newWorkspaces[0].name, "Good");
    ASSERT_EQ(result.rules.size(), 1u);
    EXPECT_EQ(result.rules[0].pattern, "good.example.com");
    EXPECT_EQ(result.rules[0].workspaceId, result.newWorkspaces[0].id);
}

INSTANTIATE_TEST_SUITE_P(Cases, UnusableURLTest,
    ::testing::Values("JavaScript:alert(1)", "file:///etc/passwd", "data:text/html,<b>x</b>",
        "mail.example.com", "//mail.example.com/", "http://exa mple.com/", ""));

class RuleIndexTest : public ::testing::TestWithParam<std::int64_t> { };

TEST_P(RuleIndexTest, OutOfRangeIndexesAreDropped)
{
    auto result = bundleOf({ item("A", "https://a.example.com/"), item("B", "https://b.example.com/") },
        { { "out.example.com", GetParam() },
            { "b.example.com",
                1 } }).instantiate({}, importTime);
    ASSERT_EQ(result.rules.size(), 1u);
    EXPECT_EQ(result.rules[0].workspaceId, result.newWorkspaces[1].id);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RuleIndexTest, ::testing::Values(-1, 2, std::numeric_limits<std::int64_t>::max()));

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
