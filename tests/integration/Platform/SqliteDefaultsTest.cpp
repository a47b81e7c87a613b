#include "Platform/Linux/SqliteDefaults.h"

#include "LogCapture.h"
#include "Platform/Linux/SqliteConnection.h"
#include "Platform/Linux/SqliteStatement.h"
#include "TemporaryDirectory.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace cohortex {
namespace {

using testing::HasSubstr;
using testing::Not;

class SqliteDefaultsTest : public testing::Test {
protected:
    std::unique_ptr<SqliteDefaults> openStore()
    {
        auto opened = SqliteDefaults::open(m_file);
        EXPECT_TRUE(opened) << opened.error().message;
        return opened ? std::move(*opened) : nullptr;
    }

    // A second connection of the kind another process would have.
    SqliteConnection rawConnection()
    {
        auto connection = SqliteConnection::open(m_file);
        EXPECT_TRUE(connection);
        return std::move(*connection);
    }

    TemporaryDirectory m_directory;
    std::filesystem::path m_file{ m_directory.path() / "defaults.sqlite3" };
};

mode_t permissions(const std::filesystem::path& path)
{
    struct stat status { };
    EXPECT_EQ(::stat(path.c_str(), &status), 0) << path;
    return status.st_mode & 07777;
}

TEST_F(SqliteDefaultsTest, EveryWriteIsCommittedWhenItReturnsAndSurvivesReopening)
{
    LogCapture log;
    auto store = openStore();
    store->setInteger("integer", -42);
    store->setBoolean("boolean", false);
    store->setString("string", "text");
    store->setData("data", Bytes{ 9 });
    store->setString("removed", "gone");
    store->remove("removed");

    // Another connection sees each value in its documented storage while the store is still open.
    auto raw = rawConnection();
    auto rows = raw.prepare("SELECT group_concat(key || ':' || kind || ':' || typeof(value) || ':' || "
                            "quote(value), ' ') FROM (SELECT * FROM defaults ORDER BY key)");
    ASSERT_TRUE(rows);
    {
        auto use = rows->use();
        ASSERT_EQ(rows->step(), SQLITE_ROW);
        EXPECT_EQ(rows->columnText(0),
            "boolean:boolean:integer:0 data:data:blob:X'09' "
            "integer:integer:integer:-42 string:string:text:'text'");
    }
    store = openStore();
    EXPECT_EQ(store->integer("integer"), -42);
    EXPECT_EQ(store->boolean("boolean"), false);
    EXPECT_EQ(store->string("string"), "text");
    EXPECT_EQ(store->data("data"), (Bytes{ 9 }));
    EXPECT_THAT(log.messages(), testing::IsEmpty());
}

// The time ledger is written by a thread of its own; the main thread's own reads and writes of it, and a
// quit, must still see the values in the order they were given.
TEST_F(SqliteDefaultsTest, ARecordWrittenInTheBackgroundKeepsTheOrderOfEveryWriteOfIt)
{
    auto store = openStore();
    for (std::uint8_t value = 1; value <= 50; ++value)
        store->setDataSoon("ledger", [value] { return std::string(1, static_cast<char>(value)); });
    EXPECT_EQ(store->data("ledger"), (Bytes{ 50 })) << "A read waits for the last value handed over";
    store->setDataSoon("ledger", [] { return std::string(1, char(51)); });
    store->setData("ledger", Bytes{ 52 });
    store->setDataSoon("other", [] { return std::string(1, char(1)); });
    store = openStore();
    EXPECT_EQ(store->data("ledger"), (Bytes{ 52 })) << "An older value overtook the caller's own write";
    EXPECT_EQ(store->data("other"), (Bytes{ 1 })) << "Closing the store must write what it still holds";
}

TEST_F(SqliteDefaultsTest, RowsWhoseValueDoesNotMatchTheirKindReadAsAbsent)
{
    auto store = openStore();
    auto raw = rawConnection();
    ASSERT_TRUE(raw.execute("INSERT INTO defaults VALUES ('integer', 'integer', '5'), "
                            "('real', 'integer', 1.5), ('boolean', 'boolean', 2), ('null', 'boolean', NULL), "
                            "('string', 'string', X'41'), ('data', 'data', 'A')"));
    EXPECT_EQ(store->integer("integer"), std::nullopt);
    EXPECT_EQ(store->integer("real"), std::nullopt);
    EXPECT_EQ(store->boolean("boolean"), std::nullopt);
    EXPECT_EQ(store->boolean("null"), std::nullopt);
    EXPECT_EQ(store->string("string"), std::nullopt);
    EXPECT_EQ(store->data("data"), std::nullopt);
}

TEST_F(SqliteDefaultsTest, AFailedWriteKeepsTheOldValueAndLogsNoValue)
{
    auto store = openStore();
    store->setString("key", "old");
    auto raw = rawConnection();
    ASSERT_TRUE(raw.execute("BEGIN IMMEDIATE"));

    LogCapture log;
    EXPECT_FALSE(store->setString("key", "secret-new-value"));
    EXPECT_FALSE(store->remove("key"));
    ASSERT_TRUE(raw.execute("ROLLBACK"));

    EXPECT_EQ(store->string("key"), "old");
    ASSERT_EQ(log.messages().size(), 2u);
    EXPECT_THAT(log.messages()[0], HasSubstr(m_file.string()));
    EXPECT_THAT(log.messages()[0], Not(HasSubstr("secret-new-value")));
}

TEST_F(SqliteDefaultsTest, CreatesMissingDirectoriesAndFilesForTheOwnerOnly)
{
    auto existing = m_directory.path() / "existing";
    ASSERT_EQ(::mkdir(existing.c_str(), 0755), 0);
    ::chmod(existing.c_str(), 0755);
    m_file = existing / "config" / "cohortex" / "defaults.sqlite3";
    mode_t previousMask = ::umask(0022);
    auto store = openStore();
    ::umask(previousMask);
    ASSERT_TRUE(store);
    store->setInteger("key", 1);

    EXPECT_EQ(permissions(existing), 0755u);
    EXPECT_EQ(permissions(existing / "config"), 0700u);
    EXPECT_EQ(permissions(existing / "config" / "cohortex"), 0700u);
    EXPECT_EQ(permissions(m_file), 0600u);
    EXPECT_EQ(permissions(m_file.string() + "-wal"), 0600u);
}

} // namespace
} // namespace cohortex
