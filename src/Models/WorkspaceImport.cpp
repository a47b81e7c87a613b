#include "Models/WorkspaceImport.h"

#include "Support/Log.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unicode/uchar.h>
#include <unicode/utf8.h>
#include <unistd.h>
#include <vector>

namespace cohortex {

namespace {

// Closes the descriptor on every way out.
struct OpenFile {
    int descriptor;
    ~OpenFile()
    {
        if (descriptor >= 0)
            ::close(descriptor);
    }
};

// At most `limit` bytes from the start of a regular file; nothing when it cannot be opened or read, or
// is anything else. Opening does not wait: a pipe opened for reading would block until a writer came,
// which may be never, and a device could do anything. Whether it is a regular file is asked of what was
// opened, so that nothing can be swapped in between the question and the read.
std::optional<std::vector<std::uint8_t>> readPrefix(const std::filesystem::path& path, std::size_t limit)
{
    OpenFile file{ ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC) };
    struct stat status { };
    if (file.descriptor < 0 || ::fstat(file.descriptor, &status) != 0 || !S_ISREG(status.st_mode))
        return std::nullopt;
    std::vector<std::uint8_t> bytes(limit);
    std::size_t filled = 0;
    while (filled < limit) {
        auto count = ::read(file.descriptor, bytes.data() + filled, limit - filled);
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            return std::nullopt;
        if (count == 0)
            break;
        filled += static_cast<std::size_t>(count);
    }
    bytes.resize(filled);
    return bytes;
}

std::string counted(std::int64_t count, std::string_view singular)
{
    auto text = std::to_string(count) + " " + std::string(singular);
    return count == 1 ? text : text + "s";
}

bool breaksTheLine(UChar32 character)
{
    // Line breaks or bidirectional overrides in a name could forge further lines of the confirmation.
    auto category = u_charType(character);
    return category == U_CONTROL_CHAR || category == U_LINE_SEPARATOR || category == U_PARAGRAPH_SEPARATOR
        || u_hasBinaryProperty(character, UCHAR_BIDI_CONTROL);
}

// Text from a file shown as part of one line: such characters become blanks, invalid bytes U+FFFD.
std::string singleLine(std::string_view text)
{
    std::string result;
    auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
    auto length = static_cast<std::int32_t>(text.size());
    for (std::int32_t offset = 0; offset < length;) {
        std::int32_t start = offset;
        UChar32 character;
        U8_NEXT(bytes, offset, length, character);
        if (character < 0)
            result += "\uFFFD";
        else if (breaksTheLine(character))
            result += ' ';
        else
            result.append(
                text.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(offset - start)));
    }
    return result;
}

std::string siteLabel(const std::string& urlText)
{
    auto url = Url::parse(urlText);
    auto host = url ? url->host() : std::nullopt;
    return singleLine(host ? *host : urlText);
}

} // namespace

std::expected<WorkspaceBundle, ImportError> previewImport(const std::filesystem::path& path)
{
    std::error_code error;
    auto size = std::filesystem::file_size(path, error);
    if (!error && size > largestImportFileSize)
        return std::unexpected(ImportError::TooLarge);
    auto bytes = readPrefix(path, largestImportFileSize + 1);
    if (!bytes)
        return std::unexpected(ImportError::Unreadable);
    if (bytes->size() > largestImportFileSize)
        return std::unexpected(ImportError::TooLarge);
    auto bundle = WorkspaceBundle::decode(*bytes);
    if (!bundle) {
        logWarning("Not a workspace bundle: " + bundle.error().message);
        return std::unexpected(ImportError::Unreadable);
    }
    if (bundle->workspaces.empty() || bundle->workspaces.size() > mostImportedWorkspaces)
        return std::unexpected(ImportError::Empty);
    return std::move(*bundle);
}

std::string importConfirmationMessage(const WorkspaceBundle& bundle)
{
    return "Import " + counted(static_cast<std::int64_t>(bundle.workspaces.size()), "workspace") + "?";
}

std::string importConfirmationDetails(const WorkspaceBundle& bundle)
{
    std::string details;
    auto listed = std::min(bundle.workspaces.size(), listedImportItems);
    for (std::size_t index = 0; index < listed; ++index) {
        const auto& item = bundle.workspaces[index];
        if (index > 0)
            details += '\n';
        details += "\u2022 " + singleLine(item.name) + " \u2014 " + siteLabel(item.url);
    }
    return details
        + "\n\nOnly names, sites and link rules are imported. Each workspace starts signed out, with its own "
          "empty storage.";
}

std::string importResultMessage(int addedWorkspaces)
{
    if (addedWorkspaces <= 0)
        return "Nothing new to import";
    return "Imported " + counted(addedWorkspaces, "workspace");
}

std::string importResultDetails(int addedRules)
{
    return counted(addedRules, "link rule") + " added.";
}

std::string exportStatus(std::size_t workspaceCount)
{
    // The plural stands for every count, one included.
    return "Exported " + std::to_string(workspaceCount) + " workspaces.";
}

std::string exportFailureStatus(std::string_view reason)
{
    return "Couldn't save: " + std::string(reason);
}

} // namespace cohortex
