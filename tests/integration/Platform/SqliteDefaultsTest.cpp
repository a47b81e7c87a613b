#include "Platform/Linux/SqliteDefaults.h"

#include "LogCapture.h"
#include "Platform/Linux/SqliteConnection.h"
#include "ScopedVariable.h"
#include "TemporaryDirectory.h"

#include <gmock/gmock.h>
#include <random>
#include <sys/stat.h>

namespace cohortex {
namespace {

using testing::HasSubstr;
using testing::IsEmpty;
using testing::Not;

mode_t permissions(const std::filesystem::path& path)
{
    struct stat status { };
    EXPECT_EQ(::stat(path.c_str(), &status), 0) << path;
    return status.st_mode & 07777;
}

// The moved-aside databases under a directory, without the log files that went along with them.
std::vector<std::filesystem::path> movedAside(const std::filesystem::path& directory)
{
    std::vector<std::filesystem::path> found;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(directory)) {
        auto name = entry.path().filename().string();
        if (name.find(".damaged-") != std::string::npos && !name.ends_with("-wal") && !name.ends_with("-shm"))
            found.push_back(entry.path());
    }
    std::sort(found.begin(), found.end());
    return found;
}

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
    void writeGarbage()
    {
        std::mt19937 random(20240601);
        std::vector<char> bytes(8192);
        for (auto& byte : bytes)
            byte = static_cast<char>(random());
        writeFile(m_file, bytes);
    }

    TemporaryDirectory m_directory;
    std::filesystem::path m_file{ m_directory.path() / "defaults.sqlite3" };
};

// The time ledger is written by a thread of its own; the main thread's own reads and writes of it, and a
// quit, must still see the values in the order they were given.
TEST_F(SqliteDefaultsTest, EveryWriteSurvivesReopeningAndOneInTheBackgroundKeepsTheOrderOfEveryWriteOfIt)
{
    LogCapture log;
    auto store = openStore();
    store->setString("removed", "gone");
    store->remove("removed");
    for (std::uint8_t value = 1; value <= 50; ++value)
        store->setDataSoon("ledger", [value] { return std::string(1, static_cast<char>(value)); });
    EXPECT_EQ(store->data("ledger"), (Bytes{ 50 })) << "A read waits for the last value handed over";
    store->setDataSoon("ledger", [] { return std::string(1, char(51)); });
    store->setData("ledger", Bytes{ 52 });
    store->setDataSoon("other", [] { return std::string(1, char(1)); });
    store = openStore();
    EXPECT_EQ(store->data("ledger"), (Bytes{ 52 })) << "An older value overtook the caller's own write";
    EXPECT_EQ(store->data("other"), (Bytes{ 1 })) << "Closing the store must write what it still holds";
    EXPECT_EQ(store->string("removed"), std::nullopt);
    EXPECT_THAT(log.messages(), IsEmpty());
}

// The settings name every workspace, its sites and its tabs: no other user of the computer may read them.
TEST_F(SqliteDefaultsTest, TheDefaultPathIsCreatedInsideTheConfigHomeForTheOwnerOnly)
{
    auto existing = m_directory.path() / "existing";
    ASSERT_EQ(::mkdir(existing.c_str(), 0755), 0);
    ::chmod(existing.c_str(), 0755);
    ScopedVariable configHome("XDG_CONFIG_HOME", (existing / "config").c_str());
    m_file = SqliteDefaults::defaultPath();
    EXPECT_EQ(m_file, existing / "config" / "cohortex" / "defaults.sqlite3");
    mode_t previousMask = ::umask(0022);
    auto store = openStore();
    ::umask(previousMask);
    ASSERT_TRUE(store);
    store->setInteger("key", 1);

    EXPECT_EQ(permissions(existing), 0755u);
    EXPECT_EQ(permissions(existing / "config"), 0700u);
    EXPECT_EQ(permissions(m_file), 0600u);
    EXPECT_EQ(permissions(m_file.string() + "-wal"), 0600u);
}

TEST_F(SqliteDefaultsTest, RowsWhoseValueDoesNotMatchTheirKindReadAsAbsent)
{
    auto store = openStore();
    ASSERT_TRUE(rawConnection().execute("INSERT INTO defaults VALUES ('integer', 'integer', '5'), "
                                        "('boolean', 'boolean', 2), ('string', 'string', X'41')"));
    EXPECT_EQ(store->integer("integer"), std::nullopt);
    EXPECT_EQ(store->boolean("boolean"), std::nullopt);
    EXPECT_EQ(store->string("string"), std::nullopt);
}

TEST_F(SqliteDefaultsTest, AFailedWriteIsReportedKeepsTheOldValueAndLogsNoValue)
{
    auto store = openStore();
    store->setString("key", "old");
    auto raw = rawConnection();
    ASSERT_TRUE(raw.execute("BEGIN IMMEDIATE"));

    LogCapture log;
    EXPECT_FALSE(store->setString("key", "secret-new-value"));
    ASSERT_TRUE(raw.execute("ROLLBACK"));

    EXPECT_EQ(store->string("key"), "old");
    ASSERT_EQ(log.messages().size(), 1u);
    EXPECT_THAT(log.messages()[0], HasSubstr(m_file.string()));
    EXPECT_THAT(log.messages()[0], Not(HasSubstr("secret-new-value")));
}

TEST_F(SqliteDefaultsTest, ADamagedDatabaseIsMovedAsideWithOneWarningAndAFreshStoreStarts)
{
    auto write
        = [this](const char* sql) { return [this, sql] { ASSERT_TRUE(rawConnection().execute(sql)); }; };
    const std::vector<std::pair<const char*, std::function<void()>>> damages{
        { "random bytes", [this] { writeGarbage(); } },
        { "wrong table",
            write("CREATE TABLE defaults (key TEXT PRIMARY KEY, value BLOB); INSERT INTO defaults VALUES "
                  "('k', 1)") }
    };
    for (const auto& [name, damage] : damages) {
        SCOPED_TRACE(name);
        for (const auto* suffix : { "", "-wal", "-shm" })
            std::filesystem::remove(m_file.string() + suffix);
        damage();
        auto damagedBytes = readFile(m_file);
        auto before = movedAside(m_directory.path());
        LogCapture log;
        auto store = openStore();
        ASSERT_TRUE(store);

        auto aside = movedAside(m_directory.path());
        ASSERT_EQ(aside.size(), before.size() + 1);
        auto moved = *std::ranges::find_if(
            aside, [&](const auto& path) { return !std::ranges::count(before, path); });
        EXPECT_THAT(moved.filename().string(),
            testing::MatchesRegex(R"(defaults\.sqlite3\.damaged-[0-9]{8}T[0-9]{6}Z.*)"));
        EXPECT_EQ(readFile(moved), damagedBytes);
        ASSERT_EQ(log.messages().size(), 1u);
        EXPECT_THAT(log.messages()[0], HasSubstr(moved.string()));
        EXPECT_EQ(store->string("k"), std::nullopt);
        EXPECT_TRUE(store->setString("k", "fresh"));
        EXPECT_EQ(store->string("k"), "fresh");
    }
}

} // namespace
} // namespace cohortex
