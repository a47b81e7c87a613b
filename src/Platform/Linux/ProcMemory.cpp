#include "Platform/Linux/ProcMemory.h"

#include <cerrno>
#include <charconv>
#include <fcntl.h>
#include <string>
#include <unistd.h>

namespace cohortex {

namespace {

constexpr double bytesPerMB = 1024.0 * 1024.0;

std::string_view skipBlanks(std::string_view text)
{
    auto start = text.find_first_not_of(" \t");
    return start == std::string_view::npos ? std::string_view() : text.substr(start);
}

// The rest of the line after "Pss:": blanks, a decimal count, blanks, "kB".
std::optional<double> kilobytesLineInMB(std::string_view rest)
{
    rest = skipBlanks(rest);
    std::uint64_t kilobytes = 0;
    auto [end, error] = std::from_chars(rest.data(), rest.data() + rest.size(), kilobytes);
    if (error != std::errc() || end == rest.data())
        return std::nullopt;
    rest = skipBlanks(rest.substr(static_cast<std::size_t>(end - rest.data())));
    if (rest != "kB")
        return std::nullopt;
    return static_cast<double>(kilobytes) * 1024.0 / bytesPerMB;
}

// /proc files report a size of 0, so they are read until the end rather than by their stated size.
std::optional<std::string> readProcFile(const std::string& path)
{
    int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0)
        return std::nullopt;
    std::string text;
    char buffer[4096];
    ssize_t count = 0;
    while ((count = ::read(descriptor, buffer, sizeof buffer)) > 0 || (count < 0 && errno == EINTR)) {
        if (count > 0)
            text.append(buffer, static_cast<std::size_t>(count));
    }
    ::close(descriptor);
    if (count < 0)
        return std::nullopt;
    return text;
}

std::optional<double> pssMBOfFile(const std::string& path)
{
    auto text = readProcFile(path);
    if (!text)
        return std::nullopt;
    return pssMBFromSmapsRollup(*text);
}

} // namespace

std::optional<double> pssMBFromSmapsRollup(std::string_view text)
{
    // Only a line that starts with "Pss:" counts; "SwapPss:" and "Pss_Anon:" are other figures.
    constexpr std::string_view label = "Pss:";
    for (std::size_t start = 0; start < text.size();) {
        auto end = text.find('\n', start);
        auto line = text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
        if (line.starts_with(label))
            return kilobytesLineInMB(line.substr(label.size()));
        if (end == std::string_view::npos)
            break;
        start = end + 1;
    }
    return std::nullopt;
}

std::optional<double> ProcMemory::footprintMB(std::int32_t pid) const
{
    if (pid < 1)
        return std::nullopt;
    return pssMBOfFile("/proc/" + std::to_string(pid) + "/smaps_rollup");
}

double ProcMemory::ownMB() const
{
    return pssMBOfFile("/proc/self/smaps_rollup").value_or(0);
}

} // namespace cohortex
