#include "TemporaryHome.h"

#include <cstdlib>
#include <map>
#include <stdexcept>
#include <unistd.h>

extern char** environ;

namespace cohortex {

TemporaryHome::TemporaryHome()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "cohortex-home-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        throw std::runtime_error("Cannot create a temporary home under " + pattern);
    m_path = pattern;
    for (const char* directory : { "config", "data", "cache" })
        std::filesystem::create_directories(m_path / directory);
}

TemporaryHome::~TemporaryHome()
{
    std::error_code error;
    std::filesystem::remove_all(m_path, error);
}

std::vector<std::string> TemporaryHome::environment(const std::vector<std::string>& extra) const
{
    // Keyed by name so that each variable appears once, with the last value given for it.
    std::map<std::string, std::string> variables;
    auto add = [&variables](const std::string& entry) {
        auto equals = entry.find('=');
        if (equals != std::string::npos)
            variables[entry.substr(0, equals)] = entry;
    };
    for (char** entry = environ; *entry; ++entry)
        add(*entry);
    add("HOME=" + m_path.string());
    add("XDG_CONFIG_HOME=" + (m_path / "config").string());
    add("XDG_DATA_HOME=" + dataDirectory().string());
    add("XDG_CACHE_HOME=" + (m_path / "cache").string());
    for (const auto& entry : extra)
        add(entry);
    std::vector<std::string> result;
    for (auto& [name, entry] : variables)
        result.push_back(std::move(entry));
    return result;
}

} // namespace cohortex
