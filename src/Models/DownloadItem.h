#pragma once

#include "Support/Uuid.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace cohortex {

// Numbers the downloads of a run, so that a button or a notification can name one as the argument of a
// command.
using DownloadId = std::int32_t;

// One download of a workspace, as its downloads list shows it.
struct DownloadItem {
    enum class State {
        InProgress,
        Finished,
        Failed,
        Cancelled,
        // Finished, but the file is no longer where it was saved.
        Missing,
    };

    DownloadId id{ 0 };
    Uuid workspaceId{};
    // The name of the saved file, or the one the server suggested when nothing was saved.
    std::string name{};
    // Empty when nothing was saved.
    std::filesystem::path file{};
    State state{ State::InProgress };
    std::uint64_t receivedBytes{ 0 };
    // Absent while the server has not said how large the file is.
    std::optional<std::uint64_t> totalBytes{};
    // Why a failed download failed, for the user to read.
    std::string failureReason{};

    bool hasEnded() const { return state != State::InProgress; }
    bool operator==(const DownloadItem&) const = default;
};

} // namespace cohortex
