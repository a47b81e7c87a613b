#include "Support/StoredRecord.h"

#include "Fakes/MemoryDefaults.h"

#include <gtest/gtest.h>

namespace cohortex {
namespace {

std::string stored(const MemoryDefaults& defaults, std::string_view key)
{
    auto bytes = defaults.data(key);
    return bytes ? std::string(bytes->begin(), bytes->end()) : "(none)";
}

// A database that cannot be read at launch is not an empty one: what it holds must survive the run.
TEST(StoredRecordTest, ARecordThatCouldNotBeReadIsNeverSavedOver)
{
    MemoryDefaults defaults;
    StoredRecord writer(defaults, "k");
    ASSERT_TRUE(writer.save("what the user had"));

    StoredRecord record(defaults, "k");
    defaults.setFailReads(true);
    EXPECT_EQ(record.load(), std::nullopt);
    defaults.setFailReads(false);
    EXPECT_FALSE(record.save("defaults"));
    EXPECT_EQ(stored(defaults, "k"), "what the user had");

    StoredRecord absent(defaults, "other");
    EXPECT_EQ(absent.load(), std::nullopt);
    EXPECT_TRUE(absent.save("new"));
}

} // namespace
} // namespace cohortex
