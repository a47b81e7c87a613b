#include "Fakes/MemoryDefaults.h"
#include "Platform/Linux/SqliteDefaults.h"
#include "TemporaryDirectory.h"

#include <gtest/gtest.h>
#include <limits>

// Unit tests of other classes trust MemoryDefaults to behave like the database, so both stores run the
// same cases here.
namespace cohortex {
namespace {

class DefaultsStoreContractTest : public testing::TestWithParam<bool> {
protected:
    void SetUp() override
    {
        if (!GetParam()) {
            m_store = std::make_unique<MemoryDefaults>();
            return;
        }
        auto opened = SqliteDefaults::open(m_directory.path() / "defaults.sqlite3");
        ASSERT_TRUE(opened) << opened.error().message;
        m_store = std::move(*opened);
    }

    TemporaryDirectory m_directory;
    std::unique_ptr<DefaultsStore> m_store;
};

const std::vector<std::string> awkwardKeys{ "", "plain", "it's \"quoted\"; DROP TABLE defaults; --",
    std::string("a\0b", 3), "\xff\xfe not UTF-8", "WorkspaceList" };

TEST_P(DefaultsStoreContractTest, EveryKindRoundTripsItsEdgeValuesUnderExactlyItsKey)
{
    Bytes allBytes(256);
    for (std::size_t index = 0; index < allBytes.size(); ++index)
        allBytes[index] = static_cast<std::uint8_t>(index);
    for (const auto& key : awkwardKeys) {
        SCOPED_TRACE(testing::PrintToString(key));
        for (auto value : { std::numeric_limits<std::int64_t>::min(), std::int64_t(-1), std::int64_t(0),
                 std::numeric_limits<std::int64_t>::max() }) {
            ASSERT_TRUE(m_store->setInteger(key, value));
            EXPECT_EQ(m_store->integer(key), value);
        }
        for (bool value : { true, false }) {
            ASSERT_TRUE(m_store->setBoolean(key, value));
            EXPECT_EQ(m_store->boolean(key), value);
        }
        for (std::string value : { std::string(), std::string("x\0y", 3), std::string("Grüße \xff"), key }) {
            ASSERT_TRUE(m_store->setString(key, value));
            EXPECT_EQ(m_store->string(key), value);
        }
        for (const Bytes& value : { Bytes(), Bytes{ 0 }, allBytes }) {
            ASSERT_TRUE(m_store->setData(key, value));
            EXPECT_EQ(m_store->data(key), value);
        }
    }
    for (std::size_t index = 0; index < awkwardKeys.size(); ++index)
        ASSERT_TRUE(m_store->setInteger(awkwardKeys[index], static_cast<std::int64_t>(index)));
    for (std::string_view lookalike : { "a", "PLAIN", "plain ", "workspacelist" })
        EXPECT_EQ(m_store->integer(lookalike), std::nullopt) << lookalike;
    for (std::size_t index = 0; index < awkwardKeys.size(); ++index)
        EXPECT_EQ(m_store->integer(awkwardKeys[index]), static_cast<std::int64_t>(index));
    // Removing deletes only its own key, and succeeds when there is nothing to delete.
    EXPECT_TRUE(m_store->remove("plain"));
    EXPECT_EQ(m_store->integer("plain"), std::nullopt);
    EXPECT_EQ(m_store->integer("WorkspaceList"), 5);
    EXPECT_TRUE(m_store->remove("never written"));
}

// Integer 1 and boolean true, or empty text and empty data, must not stand in for each other.
TEST_P(DefaultsStoreContractTest, OnlyTheKindLastWrittenReads)
{
    auto reads = [this](std::string_view key) {
        return std::tuple(
            m_store->integer(key), m_store->boolean(key), m_store->string(key), m_store->data(key));
    };
    using Reads = decltype(reads(""));
    ASSERT_TRUE(m_store->setInteger("key", 1));
    EXPECT_EQ(reads("key"), (Reads{ 1, {}, {}, {} }));
    ASSERT_TRUE(m_store->setBoolean("key", true));
    EXPECT_EQ(reads("key"), (Reads{ {}, true, {}, {} }));
    ASSERT_TRUE(m_store->setData("key", Bytes()));
    EXPECT_EQ(reads("key"), (Reads{ {}, {}, {}, Bytes() }));
    // An empty view may have no storage at all.
    ASSERT_TRUE(m_store->setString(std::string_view(), std::string_view()));
    EXPECT_EQ(reads(""), (Reads{ {}, {}, "", {} }));
}

INSTANTIATE_TEST_SUITE_P(Stores, DefaultsStoreContractTest, testing::Bool(),
    [](const auto& info) { return info.param ? "Sqlite" : "Memory"; });

} // namespace
} // namespace cohortex
