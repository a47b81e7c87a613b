#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace cohortex {

// HOME and the XDG directories in a fresh directory, removed afterwards. The display, keyring and session
// bus stay the caller's: the program under test talks to them as the test does.
class TemporaryHome {
public:
    TemporaryHome();
    ~TemporaryHome();
    TemporaryHome(const TemporaryHome&) = delete;
    TemporaryHome& operator=(const TemporaryHome&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    std::filesystem::path dataDirectory() const { return m_path / "data"; }
    std::filesystem::path defaultsFile() const { return m_path / "config/cohortex/defaults.sqlite3"; }

    std::vector<std::string> environment(const std::vector<std::string>& extra = {}) const;

private:
    std::filesystem::path m_path;
};

} // namespace cohortex
