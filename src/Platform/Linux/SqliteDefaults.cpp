#include "Platform/Linux/SqliteDefaults.h"

#include "Support/Log.h"
#include "Support/Translation.h"

namespace cohortex {

namespace {

constexpr std::string_view integerKind = "integer";
constexpr std::string_view booleanKind = "boolean";
constexpr std::string_view stringKind = "string";

} // namespace

SqliteDefaults::SqliteDefaults(std::filesystem::path file, SqliteConnection connection,
    SqliteStatement select, SqliteStatement upsert, SqliteStatement remove)
    : m_file(std::move(file))
    , m_connection(std::move(connection))
    , m_select(std::move(select))
    , m_upsert(std::move(upsert))
    , m_remove(std::move(remove))
{
}

Expected<std::unique_ptr<SqliteDefaults>> SqliteDefaults::prepareStatements(
    std::filesystem::path file, SqliteConnection connection)
{
    auto select = connection.prepare("SELECT kind, value FROM defaults WHERE key = ?1");
    auto upsert = connection.prepare(upsertSql);
    auto remove = connection.prepare("DELETE FROM defaults WHERE key = ?1");
    for (auto* prepared : { &select, &upsert, &remove }) {
        if (!*prepared)
            // TRANSLATORS: {0} is the file of the settings database, {1} the database's description of the
            // error.
            return makeError(fillIn(_("Cannot prepare the defaults database {0}: {1}"), file.string(),
                prepared->error().message));
    }
    return std::unique_ptr<SqliteDefaults>(new SqliteDefaults(
        std::move(file), std::move(connection), std::move(*select), std::move(*upsert), std::move(*remove)));
}

void SqliteDefaults::logFailure(std::string_view action, int code) const
{
    // Only the path and SQLite's text: keys and values stay out of the log.
    auto failure = sqliteFailure(m_select.database(), code);
    logWarning(std::string(action) + " the defaults database " + m_file.string() + ": " + failure.message);
}

Expected<bool> SqliteDefaults::lookUp(std::string_view key, std::string_view kind, int storageType) const
{
    settle(key);
    m_select.bindText(1, key);
    int result = m_select.step();
    if (result == SQLITE_DONE)
        return false;
    if (result != SQLITE_ROW) {
        logFailure("Cannot read from", result);
        return makeError(sqliteFailure(m_select.database(), result).message);
    }
    return m_select.columnText(0) == kind && m_select.columnType(1) == storageType;
}

bool SqliteDefaults::findValue(std::string_view key, std::string_view kind, int storageType) const
{
    return lookUp(key, kind, storageType).value_or(false);
}

bool SqliteDefaults::storeValue(std::string_view key, std::string_view kind)
{
    settle(key);
    m_upsert.bindText(1, key);
    m_upsert.bindText(2, kind);
    int result = m_upsert.step();
    if (result != SQLITE_DONE) {
        logFailure("Cannot write to", result);
        return false;
    }
    return true;
}

std::optional<std::int64_t> SqliteDefaults::integer(std::string_view key) const
{
    auto use = m_select.use();
    if (!findValue(key, integerKind, SQLITE_INTEGER))
        return std::nullopt;
    return m_select.columnInteger(1);
}

std::optional<bool> SqliteDefaults::boolean(std::string_view key) const
{
    auto use = m_select.use();
    if (!findValue(key, booleanKind, SQLITE_INTEGER))
        return std::nullopt;
    // We only ever store 0 and 1; any other number was not written as a boolean.
    auto value = m_select.columnInteger(1);
    if (value != 0 && value != 1)
        return std::nullopt;
    return value == 1;
}

std::optional<std::string> SqliteDefaults::string(std::string_view key) const
{
    auto use = m_select.use();
    if (!findValue(key, stringKind, SQLITE_TEXT))
        return std::nullopt;
    return std::string(m_select.columnText(1));
}

std::optional<Bytes> SqliteDefaults::data(std::string_view key) const
{
    auto use = m_select.use();
    if (!findValue(key, dataKind, SQLITE_BLOB))
        return std::nullopt;
    auto bytes = m_select.columnBlob(1);
    return Bytes(bytes.begin(), bytes.end());
}

Expected<std::optional<Bytes>> SqliteDefaults::readData(std::string_view key) const
{
    auto use = m_select.use();
    auto found = lookUp(key, dataKind, SQLITE_BLOB);
    if (!found)
        return std::unexpected(found.error());
    if (!*found)
        return std::optional<Bytes>();
    auto bytes = m_select.columnBlob(1);
    return std::optional(Bytes(bytes.begin(), bytes.end()));
}

bool SqliteDefaults::setInteger(std::string_view key, std::int64_t value)
{
    auto use = m_upsert.use();
    m_upsert.bindInteger(3, value);
    return storeValue(key, integerKind);
}

bool SqliteDefaults::setBoolean(std::string_view key, bool value)
{
    auto use = m_upsert.use();
    m_upsert.bindInteger(3, value ? 1 : 0);
    return storeValue(key, booleanKind);
}

bool SqliteDefaults::setString(std::string_view key, std::string_view value)
{
    auto use = m_upsert.use();
    m_upsert.bindText(3, value);
    return storeValue(key, stringKind);
}

bool SqliteDefaults::setData(std::string_view key, std::span<const std::uint8_t> value)
{
    auto use = m_upsert.use();
    m_upsert.bindBlob(3, value);
    return storeValue(key, dataKind);
}

bool SqliteDefaults::remove(std::string_view key)
{
    settle(key);
    auto use = m_remove.use();
    m_remove.bindText(1, key);
    int result = m_remove.step();
    if (result != SQLITE_DONE) {
        logFailure("Cannot remove from", result);
        return false;
    }
    return true;
}

void SqliteDefaults::setDataSoon(std::string_view key, std::function<std::string()> make)
{
    if (!m_writer)
        m_writer = std::make_unique<SqliteBackgroundWriter>(m_file);
    m_writer->write(std::string(key), std::move(make));
}

void SqliteDefaults::settle(std::string_view key) const
{
    if (m_writer)
        m_writer->finish(key);
}

} // namespace cohortex
