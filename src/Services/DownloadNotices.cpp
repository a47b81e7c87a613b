#include "Services/DownloadNotices.h"

#include "Models/DesktopNotice.h"
#include "Services/DesktopNotifier.h"
#include "Services/DownloadList.h"
#include "Services/SessionManager.h"
#include "Services/WindowHost.h"

#include <algorithm>
#include <array>
#include <string>

namespace cohortex {

namespace {

constexpr std::array<DesktopNotice::Button, 2> fileButtons{ {
    { "Open", "open-download" },
    { "Show in Folder", "show-download-in-folder" },
} };

std::string noticeId(DownloadId id)
{
    return "download-" + std::to_string(id);
}

} // namespace

DownloadNotices::DownloadNotices(
    DownloadList& downloads, SessionManager& sessions, WindowHost& window, DesktopNotifier& notifier)
    : m_sessions(sessions)
    , m_window(window)
    , m_notifier(notifier)
{
    m_finished = downloads.finished().connect([this](const DownloadItem& item) { downloadFinished(item); });
    m_listChanged
        = downloads.items().changed().connect([this](const auto& items) { withdrawCleared(items); });
}

void DownloadNotices::withdrawCleared(const std::vector<DownloadItem>& items)
{
    std::erase_if(m_noticed, [&](DownloadId id) {
        if (std::ranges::any_of(items, [id](const DownloadItem& item) { return item.id == id; }))
            return false;
        m_notifier.withdraw(noticeId(id));
        return true;
    });
}

void DownloadNotices::downloadFinished(const DownloadItem& item)
{
    if (m_window.isMainWindowKey())
        return;
    auto workspace = m_sessions.workspace(item.workspaceId);
    if (!workspace)
        return;
    bool isLocked = m_sessions.needsUnlock(*workspace);
    // One notice per download: several finishing at once each keep their own buttons.
    auto id = noticeId(item.id);
    m_noticed.insert(item.id);
    auto body = isLocked ? "A download in " + workspace->name + " has finished."
                         : item.name + " was downloaded in " + workspace->name + ".";
    m_notifier.send({ .id = id,
        .title = "Download finished",
        .body = body,
        .buttons = isLocked ? std::span<const DesktopNotice::Button>() : fileButtons,
        .defaultCommandName = "show-download",
        .commandArgument = item.id });
}

} // namespace cohortex
