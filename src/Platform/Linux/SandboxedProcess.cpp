#include "Platform/Linux/SandboxedProcess.h"

#include <charconv>
#include <fstream>
#include <sstream>
#include <system_error>

namespace cohortex {

namespace {

template <typename T>
std::optional<T> parseNumber(std::string_view text)
{
    T value{};
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

// The last id of the "NSpid:" line: the process's id in the innermost namespace it belongs to.
std::optional<std::int32_t> innermostPid(const std::filesystem::path& status)
{
    std::ifstream file(status);
    for (std::string line; std::getline(file, line);) {
        if (!line.starts_with("NSpid:"))
            continue;
        std::istringstream ids(line.substr(6));
        std::string id;
        std::string last;
        while (ids >> id)
            last = id;
        return parseNumber<std::int32_t>(last);
    }
    return std::nullopt;
}

bool isInNamespace(const std::filesystem::path& processDirectory, std::uint64_t inode)
{
    std::error_code error;
    auto link = std::filesystem::read_symlink(processDirectory / "ns" / "pid", error);
    return !error && namespaceInode(link.string()) == inode;
}

} // namespace

std::optional<std::uint64_t> namespaceInode(std::string_view linkText)
{
    constexpr std::string_view prefix = "pid:[";
    if (!linkText.starts_with(prefix) || !linkText.ends_with("]"))
        return std::nullopt;
    return parseNumber<std::uint64_t>(linkText.substr(prefix.size(), linkText.size() - prefix.size() - 1));
}

std::optional<std::int32_t> hostProcessId(
    const NamespacedProcess& process, const std::filesystem::path& procRoot)
{
    if (process.innerPid < 1)
        return std::nullopt;
    // Processes come and go while the directory is read; one that vanished is simply not a match.
    std::error_code error;
    for (std::filesystem::directory_iterator entry(procRoot, error), end; !error && entry != end;
         entry.increment(error)) {
        const auto& path = entry->path();
        auto pid = parseNumber<std::int32_t>(path.filename().string());
        if (pid && isInNamespace(path, process.pidNamespaceInode)
            && innermostPid(path / "status") == process.innerPid)
            return pid;
    }
    return std::nullopt;
}

} // namespace cohortex
