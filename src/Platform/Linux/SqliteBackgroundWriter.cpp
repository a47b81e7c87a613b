#include "Platform/Linux/SqliteBackgroundWriter.h"

#include "Platform/Linux/SqliteConnection.h"
#include "Platform/Linux/SqliteDefaults.h"
#include "Platform/Linux/SqliteStatement.h"
#include "Support/Log.h"

namespace cohortex {

namespace {

// The connection and its statement, made on the writer's thread at its first write.
struct WriterConnection {
    SqliteConnection connection;
    SqliteStatement upsert;
};

SqliteExpected<WriterConnection> openWriter(const std::filesystem::path& file)
{
    auto connection = SqliteConnection::open(file);
    if (!connection)
        return std::unexpected(connection.error());
    // As the main connection: a lock held elsewhere is waited for briefly (a write that fails is written
    // again whole by the next one), and every write is on disk when it is done.
    for (const char* sql : { "PRAGMA busy_timeout = 500", "PRAGMA synchronous = FULL" }) {
        if (auto done = connection->execute(sql); !done)
            return std::unexpected(done.error());
    }
    auto upsert = connection->prepare(SqliteDefaults::upsertSql);
    if (!upsert)
        return std::unexpected(upsert.error());
    return WriterConnection{ std::move(*connection), std::move(*upsert) };
}

// On the owner's thread: a test's or the application's log need not be safe to call from the writer's.
void logFailures(const std::vector<std::string>& failures)
{
    for (const auto& failure : failures)
        logWarning(failure);
}

} // namespace

SqliteBackgroundWriter::SqliteBackgroundWriter(std::filesystem::path file)
    : m_file(std::move(file))
    , m_thread([this] { run(); })
{
}

SqliteBackgroundWriter::~SqliteBackgroundWriter()
{
    {
        std::lock_guard lock(m_mutex);
        m_isStopping = true;
    }
    m_changed.notify_all();
    m_thread.join();
    logFailures(m_failures);
}

void SqliteBackgroundWriter::write(std::string key, std::function<std::string()> make)
{
    std::vector<std::string> failures;
    {
        std::lock_guard lock(m_mutex);
        failures.swap(m_failures);
        m_pending.insert_or_assign(std::move(key), std::move(make));
    }
    m_changed.notify_all();
    logFailures(failures);
}

void SqliteBackgroundWriter::finish(std::string_view key)
{
    std::vector<std::string> failures;
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [&] { return !m_pending.contains(key) && m_writing != key; });
        failures.swap(m_failures);
    }
    logFailures(failures);
}

void SqliteBackgroundWriter::run()
{
    std::optional<WriterConnection> writer;
    std::unique_lock lock(m_mutex);
    while (true) {
        m_changed.wait(lock, [this] { return m_isStopping || !m_pending.empty(); });
        if (m_pending.empty())
            return;
        auto record = m_pending.extract(m_pending.begin());
        m_writing = record.key();
        lock.unlock();
        std::optional<std::string> failure;
        if (!writer) {
            auto opened = openWriter(m_file);
            if (opened)
                writer.emplace(std::move(*opened));
            else
                failure = opened.error().message;
        }
        if (writer) {
            auto value = record.mapped()();
            auto use = writer->upsert.use();
            writer->upsert.bindText(1, record.key());
            writer->upsert.bindText(2, SqliteDefaults::dataKind);
            writer->upsert.bindBlob(
                3, std::span(reinterpret_cast<const std::uint8_t*>(value.data()), value.size()));
            if (int result = writer->upsert.step(); result != SQLITE_DONE)
                failure = sqliteFailure(writer->upsert.database(), result).message;
        }
        lock.lock();
        m_writing.reset();
        // Only the path and SQLite's text: keys and values stay out of the log.
        if (failure)
            m_failures.push_back(
                "Cannot write to the defaults database " + m_file.string() + ": " + *failure);
        m_changed.notify_all();
    }
}

} // namespace cohortex
