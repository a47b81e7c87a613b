#include "Models/WorkspaceBundle.h"

#include "Support/Json.h"

#include <gtest/gtest.h>
#include <limits>
#include <set>

namespace cohortex {
namespace {

constexpr Date noonFirstOfMay2024 = Date::fromUnixTime(1714564800);
constexpr Date importTime(760000000);

WorkspaceSession workspace(std::string name, std::string_view url, std::int64_t shortcut = 1)
{
    auto start = *Url::parse(url);
    return WorkspaceSession(Uuid::random(), std::move(name), start, start, "briefcase.fill", "#34C759",
        shortcut, Uuid::random(), Date(1000), Date(2000));
}

std::span<const std::uint8_t> bytesOf(std::string_view text)
{
    return { reinterpret_cast<const std::uint8_t*>(text.data()), text.size() };
}

WorkspaceBundle::Item item(std::string name, std::string url)
{
    return { std::move(name), std::move(url), "briefcase.fill", "#34C759", std::nullopt, std::nullopt };
}

WorkspaceBundle bundleOf(
    std::vector<WorkspaceBundle::Item> items, std::vector<WorkspaceBundle::Rule> rules = {})
{
    return { 1, noonFirstOfMay2024, std::move(items), std::move(rules) };
}

TEST(WorkspaceBundleTest, MakeKeepsListOrderAndOnlyRulesOfListedWorkspaces)
{
    auto mail = workspace("Mail", "https://mail.example.com/");
    auto chat = workspace("Chat", "https://chat.example.com/");
    chat.keepAwake = false;
    chat.requiresUnlock = true;
    auto removedId = Uuid::random();
    std::vector<RoutingRule> rules{ { Uuid::random(), "chat.example.com", chat.id },
        { Uuid::random(), "gone.example.com", removedId }, { Uuid::random(), "mail.example.com", mail.id } };

    auto bundle = WorkspaceBundle::make(std::vector{ mail, chat }, rules, noonFirstOfMay2024);

    EXPECT_EQ(bundle.format, 1);
    EXPECT_EQ(bundle.exportedAt, noonFirstOfMay2024);
    ASSERT_EQ(bundle.workspaces.size(), 2u);
    WorkspaceBundle::Item expectedMail{ "Mail", "https://mail.example.com/", "briefcase.fill", "#34C759", {},
        {} };
    EXPECT_EQ(bundle.workspaces[0], expectedMail);
    EXPECT_EQ(bundle.workspaces[1].keepAwake, false);
    EXPECT_EQ(bundle.workspaces[1].requiresUnlock, true);
    std::vector<WorkspaceBundle::Rule> expectedRules{ { "chat.example.com", 1 }, { "mail.example.com", 0 } };
    EXPECT_EQ(bundle.rules, expectedRules);
}

TEST(WorkspaceBundleTest, NeverCarriesIdsTimesProxiesOrDownloadFolders)
{
    auto private_ = workspace("Client", "https://mail.example.com/", 4);
    private_.currentURL = *Url::parse("https://mail.example.com/secret-thread");
    private_.downloadFolderPath = "/home/ada/Client Downloads";
    private_.proxyType = "socks5";
    private_.proxyHost = "proxy.internal";
    private_.proxyPort = 1080;
    private_.proxyUsername = "ada-proxy";
    RoutingRule rule{ Uuid::random(), "mail.example.com", private_.id };

    auto text
        = WorkspaceBundle::make(std::span(&private_, 1), std::span(&rule, 1), noonFirstOfMay2024).encoded();

    for (const auto& secret : { private_.id.string(), private_.storageIdentifier.string(), rule.id.string(),
             std::string("secret-thread"), std::string("Client Downloads"), std::string("socks5"),
             std::string("proxy.internal"), std::string("1080"), std::string("ada-proxy"),
             std::string("shortcut"), std::string("createdAt") })
        EXPECT_EQ(text.find(secret), std::string::npos) << secret;
}

TEST(WorkspaceBundleTest, RoundTripGivesAnEqualBundleEvenFromAFractionalClock)
{
    auto mail = workspace("Mail ✉︎ \"quoted\"", "https://mail.example.com/inbox?q=1#top");
    mail.keepAwake = true;
    mail.requiresUnlock = false;
    auto chat = workspace("Chat", "http://chat.example.com");
    std::vector<RoutingRule> rules{ { Uuid::random(), "chat.example.com", chat.id } };

    auto bundle = WorkspaceBundle::make(std::vector{ mail, chat }, rules, noonFirstOfMay2024.adding(0.75));
    auto text = bundle.encoded();
    auto decoded = WorkspaceBundle::decode(bytesOf(text));

    ASSERT_TRUE(decoded) << decoded.error().message;
    EXPECT_EQ(*decoded, bundle);
    EXPECT_EQ(decoded->exportedAt, noonFirstOfMay2024);
}

// A well-formed document with one member replaced, or removed when the value is discarded, is refused.
TEST(WorkspaceBundleTest, AnyMissingOrMistypedMemberMakesTheWholeFileUnreadable)
{
    auto valid = *json::parse(bundleOf(
        { { "Client", "https://mail.example.com/", "briefcase.fill", "#34C759", true, false } },
        { { "mail.example.com",
            0 } }).encoded());
    const Json removed(Json::value_t::discarded);
    // clang-format off
    const std::pair<const char*, Json> damages[]{ { "/format", removed }, { "/rules", removed },
        { "/workspaces/0/iconSymbol", removed }, { "/rules/0/workspaceIndex", removed }, { "/format", 1.5 },
        { "/exportedAt", 736257600 }, { "/workspaces", Json::object() }, { "/workspaces/0", "Client" },
        { "/workspaces/0/url", nullptr }, { "/workspaces/0/keepAwake", "true" }, { "/rules/0/workspaceIndex", 0.5 },
        { "/rules/0/workspaceIndex", 1e30 }, { "/exportedAt", "2024-05-01T12:00:00.123Z" },
        { "/exportedAt", "2024-05-01T12:00:00" }, { "/exportedAt", "" } };
    // clang-format on
    for (const auto& [where, value] : damages) {
        Json document = valid;
        Json::json_pointer pointer(where);
        if (value.is_discarded())
            document[pointer.parent_pointer()].erase(pointer.back());
        else
            document[pointer] = value;
        EXPECT_FALSE(WorkspaceBundle::decode(bytesOf(document.dump()))) << where << " = " << value;
    }
    for (const char* date :
        { "2024-05-01T12:00:00Z", "2024-05-01T14:00:00+02:00", "2024-05-01T07:00:00-05:00" }) {
        Json document = valid;
        document["exportedAt"] = date;
        auto decoded = WorkspaceBundle::decode(bytesOf(document.dump()));
        ASSERT_TRUE(decoded) << date << ": " << decoded.error().message;
        EXPECT_EQ(decoded->exportedAt, noonFirstOfMay2024);
    }
}

TEST(WorkspaceBundleTest, DocumentsThatAreNoBundleAreRefusedWithoutCrashing)
{
    for (const char* text : { "", "[]", "{\"format\": 1," })
        EXPECT_FALSE(WorkspaceBundle::decode(bytesOf(text))) << text;
    std::string nested
        = R"({"format": 1, "exportedAt": "2024-05-01T12:00:00Z", "rules": [], "workspaces": [], "extra": )"
        + std::string(100000, '[') + std::string(100000, ']') + "}";
    EXPECT_FALSE(WorkspaceBundle::decode(bytesOf(nested)));
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
