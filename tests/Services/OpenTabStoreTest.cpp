#include "Services/OpenTabStore.h"

#include <gtest/gtest.h>

namespace cohortex {
namespace {

Expected<OpenTabSnapshots> decode(std::string_view text)
{
    return decodeOpenTabs(std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

const char* workspaceA = "0F1E2D3C-4B5A-4978-8695-A4B3C2D1E0F9";

TEST(OpenTabStoreTest, RoundTripKeepsEveryMember)
{
    OpenTabSnapshots snapshots{ { workspaceA, { { "https://a.example/", "about:blank" }, 1 } } };
    auto encoded = encodeOpenTabs(snapshots);
    auto decoded = decode(encoded);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(*decoded, snapshots);
}

TEST(OpenTabStoreTest, OneDamagedMemberMakesEverythingUnreadable)
{
    EXPECT_FALSE(decode(R"({"A": {"urls": []}, "B": {"urls": ["https://x/"], "activeIndex": 0}})"));
    EXPECT_FALSE(decode(R"({"A": {"urls": [1], "activeIndex": 0}})"));
    EXPECT_FALSE(decode(R"({"A": {"urls": [], "activeIndex": "0"}})"));
}

TEST(OpenTabStoreTest, RestoreKeepsOnlyWebAddressesOfWorkspaceMembers)
{
    auto decoded = decode(std::string(R"({")") + workspaceA
        + R"(": {"urls": ["http://exa mple.com", "mailto:ada@example.com", "https://b.example/x"], "activeIndex": 2},
              "not-a-uuid": {"urls": ["https://c.example/"], "activeIndex": 0},
              "11111111-2222-4333-8444-555555555555": {"urls": ["file:///etc/passwd", "about:blank"], "activeIndex": 0}})");
    ASSERT_TRUE(decoded) << decoded.error().message;
    auto sessions = restoredSessions(*decoded);
    ASSERT_EQ(sessions.size(), 1u);
    const auto& session = sessions.at(*Uuid::parse(workspaceA));
    ASSERT_EQ(session.urls.size(), 1u);
    EXPECT_EQ(session.urls[0].absoluteString(), "https://b.example/x");
    EXPECT_EQ(session.activeIndex, 0);
}

TEST(OpenTabStoreTest, TheActiveIndexIsClampedIntoTheKeptAddresses)
{
    for (auto [stored, expected] : std::initializer_list<std::pair<std::int64_t, std::int64_t>>{
             { -1, 0 }, { 1, 1 }, { 2, 1 }, { INT64_MAX, 1 }, { INT64_MIN, 0 } }) {
        OpenTabSnapshots snapshots{ { workspaceA,
            { { "https://a.example/", "HTTP://b.example/" }, stored } } };
        EXPECT_EQ(restoredSessions(snapshots).at(*Uuid::parse(workspaceA)).activeIndex, expected) << stored;
    }
}

} // namespace
} // namespace cohortex
