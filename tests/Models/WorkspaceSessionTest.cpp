#include "Models/WorkspaceSession.h"

#include <gtest/gtest.h>

namespace cohortex {
namespace {

WorkspaceSession sample()
{
    return WorkspaceSession(*Uuid::parse("0F1E2D3C-4B5A-4978-8695-A4B3C2D1E0F9"), "Client Alpha",
        *Url::parse("https://mail.example.com/"), std::nullopt, "briefcase.fill", "#34C759", 4,
        *Uuid::parse("11111111-2222-4333-8444-555555555555"), Date(700000000.25), Date(700000100.5));
}

Expected<std::vector<WorkspaceSession>> decode(std::string_view text)
{
    return decodeWorkspaceList(std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

TEST(WorkspaceSessionTest, ListRoundTripGivesEqualRecordsWithEveryOptionalSetOrAbsent)
{
    auto full = sample();
    full.id = Uuid::random();
    full.currentURL = *Url::parse("https://other.example.com/inbox?q=1#top");
    full.keepAwake = true;
    full.requiresUnlock = false;
    full.downloadFolderPath = "/home/ada/Downloads/Client Ä";
    full.proxyType = "socks5";
    full.proxyHost = "127.0.0.1";
    full.proxyPort = 1080;
    full.proxyUsername = "ada";
    full.createdAt = Date(-12345.678901234567);
    std::vector<WorkspaceSession> list{ sample(), full };
    auto decoded = decode(encodeWorkspaceList(list));
    ASSERT_TRUE(decoded) << decoded.error().message;
    EXPECT_EQ(*decoded, list);
}

TEST(WorkspaceSessionTest, NullOptionalsReadAsAbsentAndUnknownKeysAreIgnored)
{
    Json object = sample().toJson();
    for (auto key : { "keepAwake", "requiresUnlock", "proxyPort", "currentURL" })
        object[key] = nullptr;
    object["someFutureSetting"] = Json::array({ 1, 2 });
    auto decoded = WorkspaceSession::fromJson(object);
    ASSERT_TRUE(decoded) << decoded.error().message;
    EXPECT_FALSE(decoded->currentURL);
    decoded->currentURL = sample().currentURL;
    EXPECT_EQ(*decoded, sample());
}

TEST(WorkspaceSessionTest, APresentMemberOfTheWrongTypeFailsTheWholeList)
{
    const Json removed(Json::value_t::discarded);
    // clang-format off
    const std::pair<const char*, Json> damages[]{ { "id", removed }, { "id", "not-a-uuid" }, { "name", 7 },
        { "initialURL", "http://exa mple.com" }, { "shortcutIndex", 1.5 }, { "lastActiveAt", nullptr },
        { "requiresUnlock", "true" }, { "proxyPort", "8080" }, { "currentURL", "not a url" } };
    // clang-format on
    for (const auto& [key, value] : damages) {
        Json object = sample().toJson();
        if (value.is_discarded())
            object.erase(key);
        else
            object[key] = value;
        EXPECT_FALSE(decode(Json::array({ sample().toJson(), object }).dump())) << key << " = " << value;
    }
    for (const char* text : { "{}", "[{\"id\": ", "" })
        EXPECT_FALSE(decode(text)) << text;
}

TEST(WorkspaceSessionTest, AProxyNeedsAHostAndAPositivePortButNoType)
{
    for (auto [host, port, hasProxy] :
        std::initializer_list<std::tuple<const char*, std::optional<std::int64_t>, bool>>{
            { "", 8080, false }, { "proxy", 0, false }, { "proxy", std::nullopt, false },
            { "proxy", 1, true } }) {
        auto workspace = sample();
        workspace.proxyHost = host;
        workspace.proxyPort = port;
        EXPECT_EQ(workspace.hasProxy(), hasProxy) << host << ":" << port.value_or(-1);
    }
}

} // namespace
} // namespace cohortex
