#include "Fakes/MemoryDefaults.h"
#include "Platform/Linux/SqliteDefaults.h"
#include "TemporaryDirectory.h"

#include <gtest/gtest.h>

// Unit tests of other classes trust MemoryDefaults to behave like the database; where the two could
// differ in a way that hides a fault, both stores run the same cases here.
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

// Integer 1 and boolean true, or empty text and empty data, must not stand in for each other; a key is
// matched exactly, bytes and all.
TEST_P(DefaultsStoreContractTest, OnlyTheKindLastWrittenReadsUnderExactlyItsKey)
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
    ASSERT_TRUE(m_store->setString(std::string("a\0b", 3), std::string("x\0y", 3)));
    EXPECT_EQ(reads(std::string("a\0b", 3)), (Reads{ {}, {}, std::string("x\0y", 3), {} }));
    for (std::string_view lookalike : { "a", "KEY", "key " })
        EXPECT_EQ(reads(lookalike), (Reads{})) << lookalike;
    EXPECT_TRUE(m_store->remove("key"));
    EXPECT_EQ(reads("key"), (Reads{}));
}

INSTANTIATE_TEST_SUITE_P(Stores, DefaultsStoreContractTest, testing::Bool(),
    [](const auto& info) { return info.param ? "Sqlite" : "Memory"; });

} // namespace
} // namespace cohortex
