#pragma once

#include "Models/WorkspaceBundle.h"
#include "Support/Translation.h"

#include <cstddef>
#include <cstdint>
#include <expected>
#include <filesystem>
#include <string>
#include <string_view>

namespace cohortex {

// Reading a bundle file a user chose or opened, and the texts of the export and import flow. Screens and
// the command line share these, so what users are told is the same everywhere.

// Why a file cannot be imported. Every reason leads to the same alert (importErrorMessage).
enum class ImportError { Unreadable, TooLarge, Empty };

inline constexpr std::uintmax_t largestImportFileSize = 999'999;
inline constexpr std::size_t mostImportedWorkspaces = 50;
inline constexpr std::size_t listedImportItems = 12;

// Reads and checks a bundle file. Only a regular file is read: a pipe, a device or a directory is
// refused without waiting for it. A file whose size is known to exceed largestImportFileSize is refused
// without being read, and no more than one byte past that limit is ever read, so a file that grows is
// refused too. A bundle must hold 1 to mostImportedWorkspaces workspaces. It may block on a slow file
// system: callers on the main thread run it with offMainThread.
std::expected<WorkspaceBundle, ImportError> previewImport(const std::filesystem::path&);

// The confirmation alert: "Import 3 workspaces?" and the first listedImportItems items, one a line,
// followed by what an import does and does not bring.
std::string importConfirmationMessage(const WorkspaceBundle&);
std::string importConfirmationDetails(const WorkspaceBundle&);
inline constexpr std::string_view importButtonTitle = N_("Import");
inline constexpr std::string_view cancelImportButtonTitle = N_("Cancel");

// The result alert after the bundle was merged.
std::string importResultMessage(int addedWorkspaces);
std::string importResultDetails(int addedRules);

// The alert, and the command line's error, when an import could not be stored: nothing was added.
inline constexpr std::string_view importFailedMessage = N_("Couldn't import the workspaces");

// The alert for every ImportError.
inline constexpr std::string_view importErrorMessage = N_("Couldn't read that file");
inline constexpr std::string_view importErrorDetails = N_("It isn't a valid Cohortex workspace file.");

// The Team tab's status line after an export.
std::string exportStatus(std::size_t workspaceCount);
std::string exportFailureStatus(std::string_view reason);
inline constexpr std::string_view suggestedExportFileName = "My Workspaces.cohortex";

// The Team tab of the settings window, top to bottom. Symbols are named like workspace icons.
inline constexpr std::string_view teamTabHeading = N_("Share Workspaces With Your Team");
inline constexpr std::string_view teamTabExplanation
    = N_("Export your workspace names, sites, colors and link rules to a file. A teammate opens it and gets "
         "the same layout, signed out, with their own empty logins.");
inline constexpr std::string_view teamTabNeverIncluded
    = N_("Never included: cookies, logins, proxy settings, download folders");
inline constexpr std::string_view teamTabNeverIncludedSymbol = "checkmark.shield";
inline constexpr std::string_view teamTabSignedOut = N_("Imported workspaces start signed out");
inline constexpr std::string_view teamTabSignedOutSymbol = "person.crop.circle.badge.xmark";
inline constexpr std::string_view exportSetupButtonTitle = N_("Export Setup…");
inline constexpr std::string_view importSetupButtonTitle = N_("Import Setup…");

} // namespace cohortex
