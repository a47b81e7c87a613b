#include "Platform/Linux/XdgDirectories.h"

#include <array>
#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

namespace cohortex {

namespace {

std::filesystem::path baseDirectory(const char* variable, const char* defaultUnderHome)
{
    if (const char* value = std::getenv(variable); value && *value == '/')
        return value;
    auto home = homeDirectory();
    return home.empty() ? home : home / defaultUnderHome;
}

} // namespace

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

std::filesystem::path xdgDataHome()
{
    return baseDirectory("XDG_DATA_HOME", ".local/share");
}

std::filesystem::path xdgCacheHome()
{
    return baseDirectory("XDG_CACHE_HOME", ".cache");
}

std::filesystem::path xdgConfigHome()
{
    return baseDirectory("XDG_CONFIG_HOME", ".config");
}

} // namespace cohortex
