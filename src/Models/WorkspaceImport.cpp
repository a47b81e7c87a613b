#include "Models/WorkspaceImport.h"

#include "Support/Log.h"
#include "Support/Translation.h"

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
    auto count = bundle.workspaces.size();
    return fillIn(P_("Import {} workspace?", "Import {} workspaces?", count), std::to_string(count));
}

std::string importConfirmationDetails(const WorkspaceBundle& bundle)
{
    std::string details;
    auto listed = std::min(bundle.workspaces.size(), listedImportItems);
    for (std::size_t index = 0; index < listed; ++index) {
        const auto& item = bundle.workspaces[index];
        if (index > 0)
            details += '\n';
        // TRANSLATORS: one line of the list of workspaces in a file: {0} is the workspace's name, {1} its
        // site ("mail.example.com").
        details += fillIn(_("\u2022 {0} \u2014 {1}"), singleLine(item.name), siteLabel(item.url));
    }
    return details + "\n\n"
        + _("Only names, sites and link rules are imported. Each workspace starts signed out, with its own "
            "empty storage.");
}

std::string importResultMessage(int addedWorkspaces)
{
    if (addedWorkspaces <= 0)
        return _("Nothing new to import");
    auto count = static_cast<unsigned long>(addedWorkspaces);
    return fillIn(
        P_("Imported {} workspace", "Imported {} workspaces", count), std::to_string(addedWorkspaces));
}

std::string importResultDetails(int addedRules)
{
    auto count = static_cast<unsigned long>(addedRules);
    return fillIn(P_("{} link rule added.", "{} link rules added.", count), std::to_string(addedRules));
}

std::string exportStatus(std::size_t workspaceCount)
{
    // In English the plural stands for every count, one included; other languages choose by the count.
    return fillIn(P_("Exported {} workspaces.", "Exported {} workspaces.", workspaceCount),
        std::to_string(workspaceCount));
}

std::string exportFailureStatus(std::string_view reason)
{
    // TRANSLATORS: {} is why the file could not be written, as the system says it ("No space left on
    // device").
    return fillIn(_("Couldn't save: {}"), reason);
}

} // namespace cohortex
