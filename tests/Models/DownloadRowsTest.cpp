#include "Models/DownloadRows.h"

#include <gtest/gtest.h>
#include <vector>

namespace cohortex {
namespace {

using State = DownloadItem::State;

TEST(DownloadRows, ShowHowFarEachIsAndOnlyTheButtonsItsStateAllows)
{
    auto make = [](State state, std::uint64_t received, std::optional<std::uint64_t> total,
                    std::string reason = "") {
        return DownloadItem{ .name = "report.pdf",
            .state = state,
            .receivedBytes = received,
            .totalBytes = total,
            .failureReason = reason };
    };
    struct Case {
        DownloadItem item;
        DownloadRow row;
    };
    // clang-format off
    for (auto [item, expected] : {
             Case{ make(State::InProgress, 12'500'000, 50'000'000), { .detail = "12.5 MB of 50.0 MB", .fraction = 0.25, .canCancel = true } },
             Case{ make(State::Finished, 1, 1), { .detail = "1 byte", .canOpen = true, .canReveal = true } },
             Case{ make(State::Failed, 0, std::nullopt, "The server answered 404 Not Found"),
                 { .detail = "Failed: The server answered 404 Not Found", .isFailed = true } },
             Case{ make(State::Missing, 10, 10), { .detail = "Moved or deleted" } } }) {
        // clang-format on
        expected.name = "report.pdf";
        EXPECT_EQ(DownloadRows::row(item), expected) << expected.detail;
    }
}

TEST(DownloadRows, AWorkspaceSeesOnlyItsOwnDownloadsNewestFirst)
{
    Uuid mail = Uuid::random();
    std::vector<DownloadItem> items{ { .id = 1, .workspaceId = mail, .state = State::Finished },
        { .id = 2, .workspaceId = Uuid::random(), .receivedBytes = 900, .totalBytes = 1000 },
        { .id = 3, .workspaceId = mail, .receivedBytes = 10, .totalBytes = 100 },
        { .id = 4, .workspaceId = mail, .receivedBytes = 50 },
        { .id = 5, .workspaceId = mail, .receivedBytes = 290, .totalBytes = 300 } };
    std::vector<DownloadId> ids;
    for (const auto& row : DownloadRows::of(items, mail))
        ids.push_back(row.id);
    EXPECT_EQ(ids, (std::vector<DownloadId>{ 5, 4, 3, 1 }));

    // The bar counts the downloads of known size; the one of unknown size counts as running.
    EXPECT_EQ(DownloadRows::button(items, mail),
        (DownloadsButtonState{ 3, 0.75, "Downloads: 3 in progress", true }));
}

} // namespace
} // namespace cohortex
