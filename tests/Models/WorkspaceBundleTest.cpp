#include "Models/WorkspaceBundle.h"

#include "Support/Json.h"

#include <gtest/gtest.h>

namespace cohortex {
namespace {

constexpr Date noonFirstOfMay2024 = Date::fromUnixTime(1714564800);

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

} // namespace
} // namespace cohortex
