#include "Engine/WebKitGtk/StoreDirectories.h"

#include <array>
#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

namespace cohortex {

namespace {

std::filesystem::path homeDirectory()
{
    if (const char* home = std::getenv("HOME"); home && *home)
        return home;
    std::array<char, 4096> buffer{};
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found && found->pw_dir)
        return found->pw_dir;
    return {};
}

std::filesystem::path baseDirectory(const char* variable, const char* fallbackUnderHome)
{
    if (const char* value = std::getenv(variable); value && *value == '/')
        return value;
    return homeDirectory() / fallbackUnderHome;
}

} // namespace

StoreDirectories StoreDirectories::forStorage(const Uuid& storage)
{
    auto folder = std::filesystem::path("cohortex") / "stores" / storage.string();
    return { baseDirectory("XDG_DATA_HOME", ".local/share") / folder,
        baseDirectory("XDG_CACHE_HOME", ".cache") / folder };
}

} // namespace cohortex
