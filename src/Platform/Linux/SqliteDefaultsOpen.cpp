#include "Platform/Linux/DamagedFile.h"
#include "Platform/Linux/PrivateFiles.h"
#include "Platform/Linux/SqliteDefaults.h"
#include "Platform/Linux/XdgDirectories.h"
#include "Support/Log.h"
#include "Support/Translation.h"

#include <vector>

namespace cohortex {

namespace {

constexpr const char* createTableSql
    = "CREATE TABLE IF NOT EXISTS defaults ("
      "key TEXT PRIMARY KEY, "
      "kind TEXT NOT NULL CHECK (kind IN ('integer', 'boolean', 'string', 'data')), "
      "value)";

// How long a write waits for another connection, such as a backup tool, to finish. Waiting blocks the
// main thread, so it is kept short: a failed write is reported to the caller, a frozen window is not.
constexpr const char* busyTimeoutSql = "PRAGMA busy_timeout = 500";

SqliteFailure damage(std::string message)
{
    return { SQLITE_CORRUPT, std::move(message) };
}

// Our table has exactly these columns; anything else under its name was not made by us.
SqliteExpected<void> checkTableShape(SqliteConnection& connection)
{
    auto type = connection.queryText("SELECT type FROM sqlite_schema WHERE name = 'defaults' COLLATE NOCASE");
    if (!type)
        return std::unexpected(type.error());
    if (type->empty())
        return {};
    if (*type != "table")
        // TRANSLATORS: why the settings database cannot be used; {} is an SQLite kind of object, such as
        // view or index.
        return std::unexpected(damage(fillIn(_("its defaults table is a {}"), *type)));
    auto columns
        = connection.prepare("SELECT name, type, \"notnull\", pk FROM pragma_table_info('defaults')");
    if (!columns)
        return std::unexpected(columns.error());
    auto use = columns->use();
    std::vector<std::string> shape;
    int result;
    while ((result = columns->step()) == SQLITE_ROW) {
        shape.push_back(std::string(columns->columnText(0)) + " " + std::string(columns->columnText(1)) + " "
            + std::to_string(columns->columnInteger(2)) + " " + std::to_string(columns->columnInteger(3)));
    }
    if (result != SQLITE_DONE)
        return std::unexpected(sqliteFailure(columns->database(), result));
    const std::vector<std::string> expected{ "key TEXT 0 1", "kind TEXT 1 0", "value  0 0" };
    if (shape != expected)
        // TRANSLATORS: why the settings database cannot be used.
        return std::unexpected(damage(_("its defaults table has the wrong columns")));
    return {};
}

SqliteExpected<void> checkContents(SqliteConnection& connection)
{
    auto check = connection.queryText("PRAGMA quick_check");
    if (!check)
        return std::unexpected(check.error());
    // The check's own report may quote damaged content, so only its verdict is passed on.
    if (*check != "ok")
        // TRANSLATORS: why the settings database cannot be used.
        return std::unexpected(damage(_("it failed the integrity check")));
    return checkTableShape(connection);
}

SqliteExpected<void> configure(SqliteConnection& connection, const std::filesystem::path& file)
{
    auto journalMode = connection.queryText("PRAGMA journal_mode = WAL");
    if (!journalMode)
        return std::unexpected(journalMode.error());
    // Some file systems cannot share memory between processes; the default journal is durable too.
    if (*journalMode != "wal")
        logWarning("The defaults database " + file.string() + " cannot use a write-ahead log here");
    // FULL syncs the log on every commit, which is what makes a write durable when it returns.
    if (auto synchronous = connection.execute("PRAGMA synchronous = FULL"); !synchronous)
        return synchronous;
    return connection.execute(createTableSql);
}

// Opens the file and proves it is a sound database of ours before anything is written to it.
SqliteExpected<SqliteConnection> openChecked(const std::filesystem::path& file)
{
    auto connection = SqliteConnection::open(file);
    if (!connection)
        return connection;
    // Until the file has passed its checks, closing must leave it exactly as it was found.
    connection->setCheckpointOnClose(false);
    if (auto busy = connection->execute(busyTimeoutSql); !busy)
        return std::unexpected(busy.error());
    if (auto checked = checkContents(*connection); !checked)
        return std::unexpected(checked.error());
    if (auto configured = configure(*connection, file); !configured)
        return std::unexpected(configured.error());
    connection->setCheckpointOnClose(true);
    return connection;
}

Error openError(const std::filesystem::path& file, const SqliteFailure& failure)
{
    // TRANSLATORS: {0} is the file of the settings database, {1} why it cannot be opened.
    return Error{ fillIn(_("Cannot open the defaults database {0}: {1}"), file.string(), failure.message) };
}

} // namespace

std::filesystem::path SqliteDefaults::defaultPath()
{
    auto config = xdgConfigHome();
    return config.empty() ? config : config / "cohortex" / "defaults.sqlite3";
}

Expected<std::unique_ptr<SqliteDefaults>> SqliteDefaults::open(const std::filesystem::path& file)
{
    if (file.empty())
        return makeError(_("There is no location for the defaults database"));
    if (auto directory = createPrivateDirectories(file.parent_path()); !directory)
        return std::unexpected(directory.error());
    if (auto created = createPrivateFile(file); !created)
        return std::unexpected(created.error());
    auto connection = openChecked(file);
    if (!connection && connection.error().isDamage()) {
        auto movedAside = moveDamagedFileAside(file);
        if (!movedAside)
            return std::unexpected(movedAside.error());
        logWarning("The defaults database " + file.string() + " was damaged (" + connection.error().message
            + "); it was moved aside to " + movedAside->string() + " and empty defaults were started");
        if (auto created = createPrivateFile(file); !created)
            return std::unexpected(created.error());
        connection = openChecked(file);
    }
    if (!connection)
        return std::unexpected(openError(file, connection.error()));
    return prepareStatements(file, std::move(*connection));
}

} // namespace cohortex
