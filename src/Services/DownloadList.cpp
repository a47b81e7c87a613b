#include "Services/DownloadList.h"

#include "Services/DesktopLauncher.h"

#include <algorithm>
#include <ranges>
#include <system_error>
#include <utility>

namespace cohortex {

using State = DownloadItem::State;

DownloadList::DownloadList(MainQueue& queue, DesktopLauncher& launcher)
    : m_queue(queue)
    , m_launcher(launcher)
{
}

// Downloads still running stop with the list, and leave no half-written files behind.
DownloadList::~DownloadList()
{
    m_pendingProgress.cancel();
    for (auto& entry : m_entries) {
        if (entry.item.state != State::InProgress)
            continue;
        // First, so that what the engine reports while it stops finds the download over.
        entry.item.state = State::Cancelled;
        if (entry.transfer)
            entry.transfer->cancel();
    }
}

std::optional<DownloadItem> DownloadList::item(DownloadId id) const
{
    auto found = std::ranges::find(m_entries, id, [](const Entry& entry) { return entry.item.id; });
    return found == m_entries.end() ? std::nullopt : std::optional(found->item);
}

DownloadId DownloadList::started(
    const Uuid& workspaceId, std::filesystem::path file, std::unique_ptr<Transfer> transfer)
{
    auto id = add({ .workspaceId = workspaceId, .name = file.filename().string(), .file = std::move(file) });
    m_entries.back().transfer = std::move(transfer);
    publish();
    return id;
}

DownloadId DownloadList::refused(const Uuid& workspaceId, std::string name, std::string reason)
{
    auto id = add({ .workspaceId = workspaceId,
        .name = std::move(name),
        .state = State::Failed,
        .failureReason = std::move(reason) });
    publish();
    return id;
}

DownloadId DownloadList::add(DownloadItem item)
{
    item.id = m_nextId++;
    m_entries.push_back({ std::move(item), nullptr });
    return m_entries.back().item.id;
}

DownloadList::Entry* DownloadList::inProgress(DownloadId id)
{
    auto found = std::ranges::find(m_entries, id, [](const Entry& entry) { return entry.item.id; });
    return found != m_entries.end() && found->item.state == State::InProgress ? &*found : nullptr;
}

// A download reports its progress many times a second; the list is shown again a few times a second.
void DownloadList::progressed(
    DownloadId id, std::uint64_t receivedBytes, std::optional<std::uint64_t> totalBytes)
{
    auto* entry = inProgress(id);
    if (!entry)
        return;
    entry->item.receivedBytes = receivedBytes;
    if (totalBytes)
        entry->item.totalBytes = totalBytes;
    if (!std::exchange(m_isProgressPending, true))
        m_pendingProgress = m_queue.postAfter(progressInterval, [this] { publish(); });
}

void DownloadList::succeeded(DownloadId id)
{
    auto* entry = inProgress(id);
    if (!entry)
        return;
    entry->item.state = State::Finished;
    // A server that did not give the size has given all of it now.
    entry->item.totalBytes = std::max(entry->item.totalBytes.value_or(0), entry->item.receivedBytes);
    entry->item.receivedBytes = *entry->item.totalBytes;
    auto finishedItem = entry->item;
    publish();
    m_finished.emit(finishedItem);
}

void DownloadList::failed(DownloadId id, std::string reason)
{
    auto* entry = inProgress(id);
    if (!entry)
        return;
    entry->item.state = State::Failed;
    entry->item.failureReason = std::move(reason);
    publish();
}

bool DownloadList::isWriting(const std::filesystem::path& path) const
{
    return std::ranges::any_of(m_entries,
        [&](const Entry& entry) { return entry.item.state == State::InProgress && entry.item.file == path; });
}

// The list says cancelled before the engine has stopped: whatever the engine reports after is too late.
bool DownloadList::cancel(DownloadId id)
{
    auto* entry = inProgress(id);
    if (!entry)
        return false;
    entry->item.state = State::Cancelled;
    publish();
    if (entry->transfer)
        entry->transfer->cancel();
    return true;
}

DownloadList::Entry* DownloadList::finishedWithFile(DownloadId id)
{
    auto found = std::ranges::find(m_entries, id, [](const Entry& entry) { return entry.item.id; });
    if (found == m_entries.end() || found->item.state != State::Finished)
        return nullptr;
    std::error_code error;
    if (std::filesystem::exists(found->item.file, error))
        return &*found;
    found->item.state = State::Missing;
    publish();
    return nullptr;
}

bool DownloadList::open(DownloadId id)
{
    auto* entry = finishedWithFile(id);
    if (entry)
        m_launcher.openFile(entry->item.file);
    return entry != nullptr;
}

bool DownloadList::reveal(DownloadId id)
{
    auto* entry = finishedWithFile(id);
    if (entry)
        m_launcher.revealFile(entry->item.file);
    return entry != nullptr;
}

void DownloadList::clearEnded(const Uuid& workspaceId)
{
    auto removed = std::erase_if(m_entries,
        [&](const Entry& entry) { return entry.item.workspaceId == workspaceId && entry.item.hasEnded(); });
    if (removed > 0)
        publish();
}

void DownloadList::publish()
{
    m_pendingProgress.cancel();
    m_isProgressPending = false;
    std::vector<DownloadItem> items;
    items.reserve(m_entries.size());
    for (const auto& entry : m_entries)
        items.push_back(entry.item);
    m_items.set(std::move(items));
}

} // namespace cohortex
