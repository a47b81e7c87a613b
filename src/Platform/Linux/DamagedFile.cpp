#include "Platform/Linux/DamagedFile.h"

#include "Support/Translation.h"

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>

namespace cohortex {

namespace {

constexpr std::array<const char*, 2> companionSuffixes{ "-wal", "-shm" };

std::string utcTimestamp()
{
    std::time_t now = std::time(nullptr);
    std::tm parts{};
    ::gmtime_r(&now, &parts);
    std::array<char, 32> text{};
    std::strftime(text.data(), text.size(), "%Y%m%dT%H%M%SZ", &parts);
    return text.data();
}

bool isPresent(const std::filesystem::path& path)
{
    std::error_code error;
    return std::filesystem::exists(std::filesystem::symlink_status(path, error));
}

bool isTaken(const std::filesystem::path& aside)
{
    if (isPresent(aside))
        return true;
    for (const char* suffix : companionSuffixes) {
        if (isPresent(aside.string() + suffix))
            return true;
    }
    return false;
}

// A second damage within the same second gets a counter rather than overwriting the first one.
std::filesystem::path unusedAsideName(const std::filesystem::path& file)
{
    std::string base = file.string() + ".damaged-" + utcTimestamp();
    std::filesystem::path aside = base;
    for (int counter = 2; isTaken(aside); ++counter)
        aside = base + "-" + std::to_string(counter);
    return aside;
}

Expected<void> renameFile(const std::filesystem::path& from, const std::filesystem::path& to)
{
    if (std::rename(from.c_str(), to.c_str()) != 0) {
        int error = errno;
        return makeError(fillIn(
            // TRANSLATORS: {0} and {1} are files, {2} the system's description of the error.
            _("Cannot move {0} to {1}: {2}"), from.string(), to.string(), std::strerror(error)));
    }
    return {};
}

} // namespace

Expected<std::filesystem::path> moveDamagedFileAside(const std::filesystem::path& file)
{
    auto aside = unusedAsideName(file);
    if (auto moved = renameFile(file, aside); !moved)
        return std::unexpected(moved.error());
    // A log left next to a fresh database would be replayed into it, so failing to move one is an error.
    for (const char* suffix : companionSuffixes) {
        std::filesystem::path companion = file.string() + suffix;
        if (!isPresent(companion))
            continue;
        if (auto moved = renameFile(companion, aside.string() + suffix); !moved)
            return std::unexpected(moved.error());
    }
    return aside;
}

} // namespace cohortex
