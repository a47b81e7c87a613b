#include "Platform/Linux/SqliteStatement.h"

namespace cohortex {

SqliteStatement::SqliteStatement(sqlite3_stmt* statement)
    : m_statement(statement)
{
}

void SqliteStatement::keepFirstBindFailure(int result)
{
    if (m_bindResult == SQLITE_OK)
        m_bindResult = result;
}

void SqliteStatement::bindText(int index, std::string_view text)
{
    // An empty view may carry a null pointer, which SQLite would bind as NULL instead of as empty text.
    const char* bytes = text.empty() ? "" : text.data();
    keepFirstBindFailure(
        sqlite3_bind_text64(m_statement.get(), index, bytes, text.size(), SQLITE_STATIC, SQLITE_UTF8));
}

void SqliteStatement::bindInteger(int index, std::int64_t value)
{
    keepFirstBindFailure(sqlite3_bind_int64(m_statement.get(), index, value));
}

void SqliteStatement::bindBlob(int index, std::span<const std::uint8_t> bytes)
{
    // A zero-length blob bound from a pointer may become NULL; a zero blob stays a blob.
    if (bytes.empty()) {
        keepFirstBindFailure(sqlite3_bind_zeroblob(m_statement.get(), index, 0));
        return;
    }
    keepFirstBindFailure(
        sqlite3_bind_blob64(m_statement.get(), index, bytes.data(), bytes.size(), SQLITE_STATIC));
}

int SqliteStatement::step()
{
    if (m_bindResult != SQLITE_OK)
        return m_bindResult;
    return sqlite3_step(m_statement.get());
}

void SqliteStatement::reset()
{
    sqlite3_reset(m_statement.get());
    sqlite3_clear_bindings(m_statement.get());
    m_bindResult = SQLITE_OK;
}

std::string_view SqliteStatement::columnText(int column) const
{
    // The text pointer must be taken before the length: asking for the length first may convert the value.
    auto* text = reinterpret_cast<const char*>(sqlite3_column_text(m_statement.get(), column));
    auto length = static_cast<std::size_t>(sqlite3_column_bytes(m_statement.get(), column));
    return text ? std::string_view(text, length) : std::string_view();
}

std::span<const std::uint8_t> SqliteStatement::columnBlob(int column) const
{
    auto* bytes = static_cast<const std::uint8_t*>(sqlite3_column_blob(m_statement.get(), column));
    auto length = static_cast<std::size_t>(sqlite3_column_bytes(m_statement.get(), column));
    return bytes ? std::span<const std::uint8_t>(bytes, length) : std::span<const std::uint8_t>();
}

} // namespace cohortex
