#pragma once

#include "Platform/Linux/SqliteBackgroundWriter.h"
#include "Platform/Linux/SqliteConnection.h"
#include "Platform/Linux/SqliteStatement.h"
#include "Support/DefaultsStore.h"
#include "Support/Error.h"

#include <filesystem>
#include <memory>

namespace cohortex {

// The user defaults in one SQLite file: a single table of key, kind and value, in write-ahead-log mode.
// Every write is its own transaction and is on disk when the call returns, but those handed to
// setDataSoon, which a thread of their own writes; reading or writing such a record waits for them.
class SqliteDefaults final : public DefaultsStore {
public:
    // $XDG_CONFIG_HOME/cohortex/defaults.sqlite3, where an unset, empty or relative XDG_CONFIG_HOME means
    // $HOME/.config. Empty when there is no home directory at all.
    static std::filesystem::path defaultPath();

    // Creates the file and its directories when missing. A file that is not a sound database of ours is
    // moved aside next to it (defaults.sqlite3.damaged-<UTC time>) with a warning, and a fresh one is
    // started; anything else that stops the file from opening is returned as an error.
    static Expected<std::unique_ptr<SqliteDefaults>> open(const std::filesystem::path& file);

    std::optional<std::int64_t> integer(std::string_view key) const override;
    std::optional<bool> boolean(std::string_view key) const override;
    std::optional<std::string> string(std::string_view key) const override;
    std::optional<Bytes> data(std::string_view key) const override;
    Expected<std::optional<Bytes>> readData(std::string_view key) const override;

    bool setInteger(std::string_view key, std::int64_t value) override;
    bool setBoolean(std::string_view key, bool value) override;
    bool setString(std::string_view key, std::string_view value) override;
    bool setData(std::string_view key, std::span<const std::uint8_t> value) override;
    bool remove(std::string_view key) override;
    void setDataSoon(std::string_view key, std::function<std::string()> make) override;

    // Writes a value of any kind, bound as ?1 key, ?2 kind, ?3 value.
    static constexpr const char* upsertSql
        = "INSERT INTO defaults (key, kind, value) VALUES (?1, ?2, ?3) "
          "ON CONFLICT (key) DO UPDATE SET kind = excluded.kind, value = excluded.value";
    static constexpr std::string_view dataKind = "data";

private:
    SqliteDefaults(std::filesystem::path, SqliteConnection, SqliteStatement select, SqliteStatement upsert,
        SqliteStatement remove);

    static Expected<std::unique_ptr<SqliteDefaults>> prepareStatements(
        std::filesystem::path, SqliteConnection);

    // Steps the lookup onto the key's row; true when the row holds the kind and storage type asked for.
    // The caller scopes the statement's use and reads the value from column 1.
    bool findValue(std::string_view key, std::string_view kind, int storageType) const;
    // The same, telling a failed lookup (an error) from a missing row or a value of another kind (false).
    Expected<bool> lookUp(std::string_view key, std::string_view kind, int storageType) const;
    // Runs the upsert whose value the caller has bound.
    bool storeValue(std::string_view key, std::string_view kind);
    void logFailure(std::string_view action, int code) const;
    // Waits until a value of the key handed to setDataSoon is stored.
    void settle(std::string_view key) const;

    std::filesystem::path m_file;
    // Declared first so that it is destroyed last, after the statements prepared on it.
    SqliteConnection m_connection;
    // Reading runs a statement, but it does not change the store.
    mutable SqliteStatement m_select;
    SqliteStatement m_upsert;
    SqliteStatement m_remove;
    // Made at the first setDataSoon; destroyed first, writing what it still holds.
    std::unique_ptr<SqliteBackgroundWriter> m_writer;
};

} // namespace cohortex
