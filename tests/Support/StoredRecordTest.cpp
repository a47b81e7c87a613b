#include "Support/StoredRecord.h"

#include "Fakes/MemoryDefaults.h"
#include "Services/SessionManagerFixture.h"

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

class UnreadableListTest : public testing::SessionManagerFixture { };

TEST_F(UnreadableListTest, ThePresetsShownInsteadNeverReplaceIt)
{
    storeList({ workspace("Mine", 1) });
    auto before = stored(defaults, keys::workspaces);
    defaults.setFailReads(true);
    auto manager = makeManager();
    defaults.setFailReads(false);
    EXPECT_EQ(manager->workspaces().get().size(), 3u);
    EXPECT_FALSE(manager->addWorkspace("New", *Url::parse("https://new.example/"), "globe", "#000000"));
    manager->openWorkspace(manager->workspaces().get()[1]);
    EXPECT_EQ(stored(defaults, keys::workspaces), before);
}

} // namespace
} // namespace cohortex
