#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <sqlite3.h>
#include <string_view>

namespace cohortex {

// Owns one prepared statement. Bound text and blobs are not copied: they must outlive the use, which
// every caller scopes with use().
class SqliteStatement {
public:
    explicit SqliteStatement(sqlite3_stmt*);

    // Resets the statement when the scope ends. A stepped but unreset statement would keep its read
    // transaction open, which stops the write-ahead log from ever being checkpointed.
    class Use {
    public:
        explicit Use(SqliteStatement& statement)
            : m_statement(statement)
        {
        }
        ~Use() { m_statement.reset(); }
        Use(const Use&) = delete;
        Use& operator=(const Use&) = delete;

    private:
        SqliteStatement& m_statement;
    };
    [[nodiscard]] Use use() { return Use(*this); }

    // Parameters count from 1. A failed bind is kept and reported by the next step().
    void bindText(int index, std::string_view);
    void bindInteger(int index, std::int64_t);
    void bindBlob(int index, std::span<const std::uint8_t>);

    // SQLITE_ROW, SQLITE_DONE, or the code of the failure.
    int step();
    void reset();
    sqlite3* database() const { return sqlite3_db_handle(m_statement.get()); }

    // Columns count from 0 and are valid until the next step() or reset().
    int columnType(int column) const { return sqlite3_column_type(m_statement.get(), column); }
    std::int64_t columnInteger(int column) const { return sqlite3_column_int64(m_statement.get(), column); }
    std::string_view columnText(int column) const;
    std::span<const std::uint8_t> columnBlob(int column) const;

private:
    struct Finalizer {
        void operator()(sqlite3_stmt* statement) const noexcept { sqlite3_finalize(statement); }
    };

    void keepFirstBindFailure(int result);

    std::unique_ptr<sqlite3_stmt, Finalizer> m_statement;
    int m_bindResult{ SQLITE_OK };
};

} // namespace cohortex
