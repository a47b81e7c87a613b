#pragma once

#include "Support/DefaultsStore.h"

#include <condition_variable>
#include <filesystem>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace cohortex {

// Writes records of the defaults database on a thread and a connection of its own, so that a large record
// written often (the time ledger) never has the main thread wait for the disk. Of the values handed over
// for one key, only the last is written. A failed write is logged at the owner's next call, on its thread.
class SqliteBackgroundWriter {
public:
    explicit SqliteBackgroundWriter(std::filesystem::path file);
    // Writes what was handed over, then ends the thread.
    ~SqliteBackgroundWriter();
    SqliteBackgroundWriter(const SqliteBackgroundWriter&) = delete;
    SqliteBackgroundWriter& operator=(const SqliteBackgroundWriter&) = delete;

    // `make` runs on the writer's thread.
    void write(std::string key, std::function<std::string()> make);
    // Returns once nothing handed over for the key waits or is being written.
    void finish(std::string_view key);

private:
    void run();

    std::filesystem::path m_file;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::map<std::string, std::function<std::string()>, std::less<>> m_pending;
    std::optional<std::string> m_writing;
    std::vector<std::string> m_failures;
    bool m_isStopping{ false };
    // Last, so that the thread starts after everything it uses.
    std::thread m_thread;
};

} // namespace cohortex
