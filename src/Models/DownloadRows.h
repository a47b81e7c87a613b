#pragma once

#include "Models/DownloadItem.h"
#include "Support/Translation.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace cohortex {

// What one row of the downloads list shows, and which of its buttons are there.
struct DownloadRow {
    DownloadId id{ 0 };
    std::string name{};
    // "12.5 MB of 50.0 MB", "50.0 MB", "Failed: <reason>", "Cancelled", ...
    std::string detail{};
    // The bar under a download in progress whose size is known, from 0 to 1.
    std::optional<double> fraction{};
    bool isFailed{ false };
    bool canCancel{ false };
    bool canOpen{ false };
    bool canReveal{ false };

    bool operator==(const DownloadRow&) const = default;
};

// What the toolbar's downloads button shows for a workspace.
struct DownloadsButtonState {
    std::size_t running{ 0 };
    // How far the running downloads of known size are, together.
    std::optional<double> fraction{};
    std::string tooltip{};
    // Some of the workspace's downloads have ended, and may be cleared from the list.
    bool canClear{ false };

    bool operator==(const DownloadsButtonState&) const = default;
};

// The downloads list of one workspace, decided without the toolkit: the list view only copies these.
namespace DownloadRows {

// The workspace's downloads, newest first; never another workspace's.
std::vector<DownloadRow> of(std::span<const DownloadItem>, const Uuid& workspaceId);
DownloadRow row(const DownloadItem&);
DownloadsButtonState button(std::span<const DownloadItem>, const Uuid& workspaceId);
// A size as the desktop writes it, in decimal units: "532 bytes", "1.0 kB", "12.5 MB".
std::string sizeText(std::uint64_t bytes);

inline constexpr std::string_view emptyText = N_("No downloads in this workspace");

} // namespace DownloadRows

} // namespace cohortex
