#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

// Where a download lands. The name a server suggests is outside data: it may carry a path meant to
// climb out of the downloads folder ("../../.bashrc") or control characters, so it is reduced to a
// plain file name before it ever meets the file system. Pure and stateless, apart from the folder
// choice, which looks at (and creates) the folder.
namespace cohortex::DownloadNaming {

// Stands in for a suggested name that leaves nothing usable.
inline constexpr std::string_view fallbackName = "download";

// The last component of the suggested name ("/" and "\" both separate), without control characters,
// surrounding white space and leading dots, at most 200 bytes long (the extension is kept when
// shortening). Never empty: a name with nothing left becomes fallbackName.
std::string safeFileName(std::string_view suggested);

// folder / the safe form of the suggested name; while isTaken holds for that path, "base (n).ext" (or
// "base (n)" without an extension) for n = 1, 2, 3, ... The extension follows the last dot, unless the
// dot leads or ends the name (".bashrc", "file.").
std::filesystem::path uniqueDestination(const std::filesystem::path& folder, std::string_view suggestedName,
    const std::function<bool(const std::filesystem::path&)>& isTaken);

// The workspace's own folder when it is set, absolute and a directory once created with its parents;
// else the fallback (created too, when missing). A folder that cannot be made is passed over silently.
std::filesystem::path chooseFolder(
    const std::optional<std::filesystem::path>& workspaceFolder, const std::filesystem::path& fallback);

} // namespace cohortex::DownloadNaming
