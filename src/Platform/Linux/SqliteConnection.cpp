#include "Platform/Linux/SqliteConnection.h"

#include "Platform/Linux/SqliteStatement.h"

namespace cohortex {

bool SqliteFailure::isDamage() const
{
    int primary = code & 0xff;
    return primary == SQLITE_NOTADB || primary == SQLITE_CORRUPT;
}

SqliteFailure sqliteFailure(sqlite3* database, int code)
{
    if (database && sqlite3_extended_errcode(database) == code)
        return { code, sqlite3_errmsg(database) };
    return { code, sqlite3_errstr(code) };
}

SqliteConnection::SqliteConnection(sqlite3* database)
    : m_database(database)
{
}

SqliteExpected<SqliteConnection> SqliteConnection::open(const std::filesystem::path& file)
{
    sqlite3* database = nullptr;
    int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_EXRESCODE;
    int result = sqlite3_open_v2(file.c_str(), &database, flags, nullptr);
    // SQLite hands out a connection even when opening fails, and it must be closed all the same.
    SqliteConnection connection(database);
    if (result != SQLITE_OK)
        return std::unexpected(sqliteFailure(database, result));
    return connection;
}

SqliteExpected<void> SqliteConnection::execute(const char* sql)
{
    int result = sqlite3_exec(m_database.get(), sql, nullptr, nullptr, nullptr);
    if (result != SQLITE_OK)
        return std::unexpected(sqliteFailure(m_database.get(), result));
    return {};
}

SqliteExpected<SqliteStatement> SqliteConnection::prepare(std::string_view sql)
{
    sqlite3_stmt* statement = nullptr;
    int result = sqlite3_prepare_v3(m_database.get(), sql.data(), static_cast<int>(sql.size()),
        SQLITE_PREPARE_PERSISTENT, &statement, nullptr);
    SqliteStatement owned(statement);
    if (result != SQLITE_OK)
        return std::unexpected(sqliteFailure(m_database.get(), result));
    return owned;
}

SqliteExpected<std::string> SqliteConnection::queryText(const char* sql)
{
    auto statement = prepare(sql);
    if (!statement)
        return std::unexpected(statement.error());
    auto use = statement->use();
    int result = statement->step();
    if (result == SQLITE_DONE)
        return std::string();
    if (result != SQLITE_ROW)
        return std::unexpected(sqliteFailure(m_database.get(), result));
    return std::string(statement->columnText(0));
}

void SqliteConnection::setCheckpointOnClose(bool checkpoint)
{
    sqlite3_db_config(m_database.get(), SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, checkpoint ? 0 : 1, nullptr);
}

} // namespace cohortex
