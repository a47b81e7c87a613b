#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace cohortex {

// A user's home of its own for one test or one benchmark run: HOME and the XDG configuration, data and
// cache directories point into a fresh directory that is removed with everything in it afterwards. The
// runtime directory, the display and the session bus stay those of the caller, since the program under
// test talks to the same X server, keyring and bus as the test itself.
class TemporaryHome {
public:
    TemporaryHome();
    ~TemporaryHome();
    TemporaryHome(const TemporaryHome&) = delete;
    TemporaryHome& operator=(const TemporaryHome&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    std::filesystem::path configDirectory() const { return m_path / "config"; }
    std::filesystem::path dataDirectory() const { return m_path / "data"; }
    std::filesystem::path cacheDirectory() const { return m_path / "cache"; }
    std::filesystem::path defaultsFile() const { return configDirectory() / "cohortex" / "defaults.sqlite3"; }

    // The caller's environment with this home's variables in place, plus the extra "NAME=value" entries.
    std::vector<std::string> environment(const std::vector<std::string>& extra = {}) const;

private:
    std::filesystem::path m_path;
};

} // namespace cohortex
