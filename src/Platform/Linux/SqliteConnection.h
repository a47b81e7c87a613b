#pragma once

#include <expected>
#include <filesystem>
#include <memory>
#include <sqlite3.h>
#include <string>
#include <string_view>

namespace cohortex {

class SqliteStatement;

// A failed SQLite call. The result code decides what happens next; the text is SQLite's own and names
// no stored value, so it may go into logs and errors.
struct SqliteFailure {
    int code{ SQLITE_ERROR };
    std::string message;

    // The file holds something other than a sound database, as opposed to being out of reach.
    bool isDamage() const;
};

template <typename T>
using SqliteExpected = std::expected<T, SqliteFailure>;

// The failure of the last call on a connection, or SQLite's generic text when the call set no message.
SqliteFailure sqliteFailure(sqlite3*, int code);

// Owns one connection. Only the destructor closes it, so no path can leak it or close it twice.
class SqliteConnection {
public:
    // Opens for reading and writing, creating the file if needed; SQLite reads nothing until first use.
    static SqliteExpected<SqliteConnection> open(const std::filesystem::path&);

    SqliteExpected<void> execute(const char* sql);
    // Statements prepared here are meant to be kept and reused for the life of the connection.
    SqliteExpected<SqliteStatement> prepare(std::string_view sql);
    // The first column of the first row as text, empty when there is no row (pragmas report this way).
    SqliteExpected<std::string> queryText(const char* sql);

    // Closing normally copies the write-ahead log into the database. A damaged file must be moved aside
    // exactly as found, so for it that copy is switched off.
    void setCheckpointOnClose(bool);

private:
    struct Closer {
        void operator()(sqlite3* database) const noexcept { sqlite3_close_v2(database); }
    };

    explicit SqliteConnection(sqlite3*);

    std::unique_ptr<sqlite3, Closer> m_database;
};

} // namespace cohortex
