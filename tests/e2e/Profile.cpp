#include "Profile.h"

#include "Platform/Linux/SqliteDefaults.h"
#include "Services/StoredKeys.h"

#include <memory>
#include <sqlite3.h>
#include <stdexcept>

namespace cohortex {

namespace {

std::unique_ptr<SqliteDefaults> openStore(const std::filesystem::path& file)
{
    auto store = SqliteDefaults::open(file);
    if (!store)
        throw std::runtime_error("Cannot open " + file.string() + ": " + store.error().message);
    return std::move(*store);
}

std::span<const std::uint8_t> bytesOf(const std::string& text)
{
    return { reinterpret_cast<const std::uint8_t*>(text.data()), text.size() };
}

template <typename T>
std::optional<T> decoded(
    const std::optional<Bytes>& bytes, Expected<T> (*decode)(std::span<const std::uint8_t>))
{
    if (!bytes)
        return std::nullopt;
    auto value = decode(*bytes);
    return value ? std::optional<T>(std::move(*value)) : std::nullopt;
}

struct SqliteClose {
    void operator()(sqlite3* database) const { sqlite3_close(database); }
};
struct StatementFinalize {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};

} // namespace

Profile::Profile(std::filesystem::path defaultsFile)
    : m_file(std::move(defaultsFile))
{
}

void Profile::storeWorkspaces(std::span<const WorkspaceSession> workspaces)
{
    store(keys::workspaces, encodeWorkspaceList(workspaces));
}

void Profile::storeRules(std::span<const RoutingRule> rules)
{
    store(keys::routingRules, encodeRoutingRules(rules));
}

void Profile::storeInteger(std::string_view key, std::int64_t value)
{
    if (!openStore(m_file)->setInteger(key, value))
        throw std::runtime_error("Cannot store " + std::string(key));
}

void Profile::store(std::string_view key, const std::string& encoded)
{
    if (!openStore(m_file)->setData(key, bytesOf(encoded)))
        throw std::runtime_error("Cannot store " + std::string(key));
}

std::optional<Bytes> Profile::data(std::string_view key) const
{
    return openStore(m_file)->data(key);
}

std::optional<TimeLedger> Profile::ledger() const
{
    return decoded(data(keys::timeLedger), decodeLedger);
}

std::optional<std::vector<WorkspaceSession>> Profile::peekWorkspaces() const
{
    return decoded(peekData(keys::workspaces), decodeWorkspaceList);
}

std::optional<Bytes> Profile::peekData(std::string_view key) const
{
    sqlite3* opened = nullptr;
    int status = sqlite3_open_v2(m_file.c_str(), &opened, SQLITE_OPEN_READONLY, nullptr);
    std::unique_ptr<sqlite3, SqliteClose> database(opened);
    if (status != SQLITE_OK)
        return std::nullopt;
    sqlite3_busy_timeout(database.get(), 2000);
    sqlite3_stmt* prepared = nullptr;
    sqlite3_prepare_v2(database.get(), "SELECT value FROM defaults WHERE key = ?1 AND kind = 'data'", -1,
        &prepared, nullptr);
    std::unique_ptr<sqlite3_stmt, StatementFinalize> statement(prepared);
    if (!statement)
        return std::nullopt;
    sqlite3_bind_text(statement.get(), 1, key.data(), static_cast<int>(key.size()), SQLITE_TRANSIENT);
    if (sqlite3_step(statement.get()) != SQLITE_ROW)
        return std::nullopt;
    const auto* bytes = static_cast<const std::uint8_t*>(sqlite3_column_blob(statement.get(), 0));
    return Bytes(bytes, bytes + sqlite3_column_bytes(statement.get(), 0));
}

WorkspaceSession makeWorkspace(std::string name, std::string_view startUrl, std::int64_t shortcutIndex)
{
    auto url = Url::parse(startUrl);
    if (!url)
        throw std::invalid_argument("Not a URL: " + std::string(startUrl));
    auto now = Date::now();
    return WorkspaceSession(Uuid::random(), std::move(name), *url, *url, "globe", "#007AFF", shortcutIndex,
        Uuid::random(), now, now);
}

RoutingRule makeRule(std::string pattern, const WorkspaceSession& target)
{
    return RoutingRule{ Uuid::random(), std::move(pattern), target.id };
}

} // namespace cohortex
