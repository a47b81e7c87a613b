#include "Engine/DownloadNaming.h"

#include <system_error>
#include <utility>

namespace cohortex::DownloadNaming {

namespace {

// Leaves room below the usual 255-byte limit of a file name for " (n)" and a long extension.
constexpr std::size_t maximumNameBytes = 200;

bool isControl(unsigned char byte)
{
    return byte < 0x20 || byte == 0x7f;
}

bool isSpace(char byte)
{
    return byte == ' ' || byte == '\t';
}

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && isSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

// Cuts at a byte that does not continue a UTF-8 sequence, so no character is split in half.
std::string truncatedUtf8(std::string_view text, std::size_t bytes)
{
    if (text.size() <= bytes)
        return std::string(text);
    while (bytes > 0 && (static_cast<unsigned char>(text[bytes]) & 0xc0) == 0x80)
        --bytes;
    return std::string(text.substr(0, bytes));
}

// Splits like a URL's path extension: what follows the last dot, unless the dot leads or ends the name.
std::pair<std::string, std::string> baseAndExtension(const std::string& name)
{
    auto dot = name.rfind('.');
    if (dot == std::string::npos || dot == 0 || dot + 1 == name.size())
        return { name, "" };
    return { name.substr(0, dot), name.substr(dot + 1) };
}

std::string shortened(const std::string& name)
{
    if (name.size() <= maximumNameBytes)
        return name;
    auto [base, extension] = baseAndExtension(name);
    if (extension.empty() || extension.size() + 2 > maximumNameBytes / 2)
        return truncatedUtf8(name, maximumNameBytes);
    return truncatedUtf8(base, maximumNameBytes - extension.size() - 1) + "." + extension;
}

std::string numbered(const std::string& base, const std::string& extension, int number)
{
    auto name = base + " (" + std::to_string(number) + ")";
    return extension.empty() ? name : name + "." + extension;
}

} // namespace

std::string safeFileName(std::string_view suggested)
{
    auto separator = suggested.find_last_of("/\\");
    auto last = separator == std::string_view::npos ? suggested : suggested.substr(separator + 1);
    std::string name;
    for (char byte : last) {
        if (!isControl(static_cast<unsigned char>(byte)))
            name.push_back(byte);
    }
    // A leading dot would hide the file from the user, and would let a page drop a shell's or desktop's
    // start-up file (".profile", ".xinitrc") into a downloads folder that is the home folder.
    auto visible = trimmed(name);
    while (!visible.empty() && (visible.front() == '.' || isSpace(visible.front())))
        visible.remove_prefix(1);
    name = shortened(std::string(visible));
    if (name.empty())
        return std::string(fallbackName);
    return name;
}

std::filesystem::path uniqueDestination(const std::filesystem::path& folder, std::string_view suggestedName,
    const std::function<bool(const std::filesystem::path&)>& isTaken)
{
    auto name = safeFileName(suggestedName);
    auto candidate = folder / name;
    auto [base, extension] = baseAndExtension(name);
    for (int number = 1; isTaken(candidate); ++number)
        candidate = folder / numbered(base, extension, number);
    return candidate;
}

std::filesystem::path chooseFolder(
    const std::optional<std::filesystem::path>& workspaceFolder, const std::filesystem::path& fallback)
{
    std::error_code ignored;
    if (workspaceFolder && workspaceFolder->is_absolute()) {
        std::filesystem::create_directories(*workspaceFolder, ignored);
        if (std::filesystem::is_directory(*workspaceFolder, ignored))
            return *workspaceFolder;
    }
    std::filesystem::create_directories(fallback, ignored);
    return fallback;
}

} // namespace cohortex::DownloadNaming
