#include "Models/WorkspaceBundle.h"

#include "Support/Json.h"

#include <gtest/gtest.h>
#include <set>

namespace cohortex {
namespace {

constexpr Date noonFirstOfMay2024 = Date::fromUnixTime(1714564800);
constexpr Date importTime(760000000);

WorkspaceSession workspace(std::string name, std::string_view url)
{
    auto start = *Url::parse(url);
    return WorkspaceSession(Uuid::random(), std::move(name), start, start, "briefcase.fill", "#34C759", 4,
        Uuid::random(), Date(1000), Date(2000));
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

TEST(WorkspaceBundleTest, CarriesTheLayoutAndRulesOfListedWorkspacesButNothingPrivate)
{
    auto mail = workspace("Mail ✉︎ \"quoted\"", "https://mail.example.com/inbox?q=1#top");
    mail.requiresUnlock = true;
    mail.currentURL = *Url::parse("https://mail.example.com/secret-thread");
    mail.downloadFolderPath = "/home/ada/Client Downloads";
    mail.proxyHost = "proxy.internal";
    mail.proxyUsername = "ada-proxy";
    auto chat = workspace("Chat", "http://chat.example.com");
    std::vector<RoutingRule> rules{ { Uuid::random(), "chat.example.com", chat.id },
        { Uuid::random(), "gone.example.com", Uuid::random() },
        { Uuid::random(), "mail.example.com", mail.id } };

    auto bundle = WorkspaceBundle::make(std::vector{ mail, chat }, rules, noonFirstOfMay2024.adding(0.75));
    ASSERT_EQ(bundle.workspaces.size(), 2u);
    EXPECT_EQ(bundle.workspaces[0].requiresUnlock, true);
    EXPECT_EQ(bundle.rules,
        (std::vector<WorkspaceBundle::Rule>{ { "chat.example.com", 1 }, { "mail.example.com", 0 } }));

    auto text = bundle.encoded();
    for (const auto& secret : { mail.id.string(), mail.storageIdentifier.string(), rules[0].id.string(),
             std::string("secret-thread"), std::string("Client Downloads"), std::string("proxy.internal"),
             std::string("ada-proxy"), std::string("shortcut"), std::string("createdAt") })
        EXPECT_EQ(text.find(secret), std::string::npos) << secret;

    auto decoded = WorkspaceBundle::decode(bytesOf(text));
    ASSERT_TRUE(decoded) << decoded.error().message;
    EXPECT_EQ(*decoded, bundle);
    EXPECT_EQ(decoded->exportedAt, noonFirstOfMay2024) << "written in whole seconds";
}

// A well-formed document with one member replaced, or removed when the value is discarded, is refused.
TEST(WorkspaceBundleTest, AnyMissingOrMistypedMemberMakesTheWholeFileUnreadable)
{
    auto valid = *json::parse(
        bundleOf({ item("Client", "https://mail.example.com/") }, { { "mail.example.com", 0 } }).encoded());
    const Json removed(Json::value_t::discarded);
    const std::pair<const char*, Json> damages[]{ { "/format", removed },
        { "/rules/0/workspaceIndex", removed }, { "/format", 1.5 }, { "/exportedAt", 736257600 },
        { "/exportedAt", "2024-05-01T12:00:00" }, { "/workspaces", Json::object() },
        { "/workspaces/0/url", nullptr }, { "/workspaces/0/keepAwake", "true" },
        { "/rules/0/workspaceIndex", 1e30 } };
    for (const auto& [where, value] : damages) {
        Json document = valid;
        Json::json_pointer pointer(where);
        if (value.is_discarded())
            document[pointer.parent_pointer()].erase(pointer.back());
        else
            document[pointer] = value;
        EXPECT_FALSE(WorkspaceBundle::decode(bytesOf(document.dump()))) << where << " = " << value;
    }
    for (const char* text : { "", "[]", "{\"format\": 1," })
        EXPECT_FALSE(WorkspaceBundle::decode(bytesOf(text))) << text;
}

TEST(WorkspaceBundleInstantiateTest, OnlyTheSameNameAndURLTextMatchAnExistingWorkspaceAndRulesAreNew)
{
    std::vector existing{ workspace("Mail", "https://mail.example.com/") };
    std::vector<RoutingRule> rules{ { Uuid::random(), "mail.example.com", existing[0].id } };
    auto roundTrip = WorkspaceBundle::make(existing, rules, importTime).instantiate(existing, importTime);
    EXPECT_TRUE(roundTrip.newWorkspaces.empty());
    ASSERT_EQ(roundTrip.rules.size(), 1u);
    EXPECT_EQ(roundTrip.rules[0].workspaceId, existing[0].id);
    EXPECT_NE(roundTrip.rules[0].id, rules[0].id) << "the rules are new rules, not the sender's";

    for (auto [name, url] : { std::pair{ "Mail", "https://mail.example.com" },
             { "mail", "https://mail.example.com/" }, { "Mail", "HTTPS://mail.example.com/" } }) {
        SCOPED_TRACE(std::string(name) + " " + url);
        auto result
            = bundleOf({ item(name, url) }, { { "mail.example.com", 0 } }).instantiate(existing, importTime);
        ASSERT_EQ(result.newWorkspaces.size(), 1u);
        ASSERT_EQ(result.rules.size(), 1u);
        EXPECT_EQ(result.rules[0].workspaceId, result.newWorkspaces[0].id);
    }
}

// Shortcut numbers count on from the list and stop at nine; an item matching an existing workspace
// takes no number.
TEST(WorkspaceBundleInstantiateTest, NewRecordsGetFreshIdsStoresAndNumbersAndNothingButTheLayout)
{
    std::vector<WorkspaceSession> existing;
    for (int index = 0; index < 7; ++index)
        existing.push_back(workspace("Existing " + std::to_string(index), "https://existing.example.com/"));
    auto flagged = item("Mail", "https://mail.example.com/inbox");
    flagged.keepAwake = true;
    auto result
        = bundleOf({ item("Existing 0", "https://existing.example.com/"), flagged,
                       item("Chat", "http://chat.example.com"), item("Docs", "https://docs.example.com/") })
              .instantiate(existing, importTime);

    ASSERT_EQ(result.newWorkspaces.size(), 3u);
    const auto& mail = result.newWorkspaces[0];
    EXPECT_EQ(mail.keepAwake, true);
    EXPECT_FALSE(mail.downloadFolderPath || mail.proxyHost || mail.proxyPort || mail.proxyUsername);
    std::set<Uuid> identifiers;
    std::vector<std::int64_t> numbers;
    for (const auto& record : result.newWorkspaces) {
        identifiers.insert(record.id);
        identifiers.insert(record.storageIdentifier);
        numbers.push_back(record.shortcutIndex);
    }
    EXPECT_EQ(identifiers.size(), 6u);
    EXPECT_EQ(numbers, (std::vector<std::int64_t>{ 8, 9, 9 }));
}

TEST(WorkspaceBundleInstantiateTest, UnusableItemsAndRulesAreSkippedWhileLaterItemsKeepTheirPositions)
{
    for (const char* url : { "JavaScript:alert(1)", "file:///etc/passwd", "mail.example.com",
             "//mail.example.com/", "http://exa mple.com/" }) {
        SCOPED_TRACE(url);
        auto result = bundleOf({ item("Bad", url), item("Good", "https://good.example.com/") },
            { { "bad.example.com", 0 },
                { "good.example.com",
                    1 } }).instantiate({}, importTime);
        ASSERT_EQ(result.newWorkspaces.size(), 1u);
        EXPECT_EQ(result.newWorkspaces[0].name, "Good");
        ASSERT_EQ(result.rules.size(), 1u);
        EXPECT_EQ(result.rules[0].workspaceId, result.newWorkspaces[0].id);
    }
}

} // namespace
} // namespace cohortex
