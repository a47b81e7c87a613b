#include "Models/DownloadRows.h"

#include "Support/Translation.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <ranges>

namespace cohortex::DownloadRows {

namespace {

std::string detailOf(const DownloadItem& item)
{
    using State = DownloadItem::State;
    switch (item.state) {
    case State::InProgress:
        if (item.totalBytes)
            // TRANSLATORS: how much of a download has arrived, of its whole size ("12.5 MB of 50.0 MB").
            return fillIn(_("{} of {}"), sizeText(item.receivedBytes), sizeText(*item.totalBytes));
        return sizeText(item.receivedBytes);
    case State::Finished:
        return sizeText(item.totalBytes.value_or(item.receivedBytes));
    case State::Failed:
        // TRANSLATORS: {} is why the download failed, as the network library or the system says it.
        return fillIn(_("Failed: {}"), item.failureReason);
    case State::Cancelled:
        return _("Cancelled");
    case State::Missing:
        return _("Moved or deleted");
    }
    return {};
}

std::optional<double> fractionOf(const DownloadItem& item)
{
    if (item.state != DownloadItem::State::InProgress || !item.totalBytes || *item.totalBytes == 0)
        return std::nullopt;
    return std::min(1.0, static_cast<double>(item.receivedBytes) / static_cast<double>(*item.totalBytes));
}

} // namespace

DownloadRow row(const DownloadItem& item)
{
    using State = DownloadItem::State;
    return { .id = item.id,
        .name = item.name,
        .detail = detailOf(item),
        .fraction = fractionOf(item),
        .isFailed = item.state == State::Failed,
        .canCancel = item.state == State::InProgress,
        .canOpen = item.state == State::Finished,
        .canReveal = item.state == State::Finished };
}

std::vector<DownloadRow> of(std::span<const DownloadItem> items, const Uuid& workspaceId)
{
    std::vector<DownloadRow> rows;
    for (const auto& item : items | std::views::reverse) {
        if (item.workspaceId == workspaceId)
            rows.push_back(row(item));
    }
    return rows;
}

DownloadsButtonState button(std::span<const DownloadItem> items, const Uuid& workspaceId)
{
    DownloadsButtonState state;
    std::uint64_t received = 0;
    std::uint64_t total = 0;
    for (const auto& item : items) {
        if (item.workspaceId != workspaceId)
            continue;
        if (item.hasEnded()) {
            state.canClear = true;
            continue;
        }
        ++state.running;
        if (item.totalBytes) {
            received += std::min(item.receivedBytes, *item.totalBytes);
            total += *item.totalBytes;
        }
    }
    if (total > 0)
        state.fraction = static_cast<double>(received) / static_cast<double>(total);
    if (state.running == 0) {
        state.tooltip = _("Downloads");
    } else {
        // TRANSLATORS: the downloads button's tooltip; {} is how many downloads are running.
        auto text = P_("Downloads: {} in progress", "Downloads: {} in progress", state.running);
        state.tooltip = fillIn(text, std::to_string(state.running));
    }
    return state;
}

std::string sizeText(std::uint64_t bytes)
{
    if (bytes < 1000)
        return fillIn(P_("{} byte", "{} bytes", bytes), std::to_string(bytes));
    // TRANSLATORS: sizes in decimal units; {} is the number, with one decimal.
    constexpr std::array units{ N_("{} kB"), N_("{} MB"), N_("{} GB"), N_("{} TB") };
    auto value = static_cast<double>(bytes) / 1000;
    std::size_t unit = 0;
    // Rounded as it is shown, so that 999,950 bytes read "1.0 MB" and not "1000.0 kB".
    while (value >= 999.95 && unit + 1 < units.size()) {
        value /= 1000;
        ++unit;
    }
    std::array<char, 32> number{};
    std::snprintf(number.data(), number.size(), "%.1f", value);
    return fillIn(_(units[unit]), number.data());
}

} // namespace cohortex::DownloadRows
