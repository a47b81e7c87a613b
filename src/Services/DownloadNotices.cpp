#include "Services/DownloadNotices.h"

#include "Models/DesktopNotice.h"
#include "Services/DesktopNotifier.h"
#include "Services/DownloadList.h"
#include "Services/SessionManager.h"
#include "Services/WindowHost.h"
#include "Support/Translation.h"

#include <algorithm>
#include <array>
#include <string>

namespace cohortex {

namespace {

constexpr std::array<DesktopNotice::Button, 2> fileButtons{ {
    { N_("Open"), "open-download" },
    { N_("Show in Folder"), "show-download-in-folder" },
} };

// The labels are whole literals, so their data are the message ids; a translation lives for the run.
std::array<DesktopNotice::Button, 2> translatedFileButtons()
{
    auto buttons = fileButtons;
    for (auto& button : buttons)
        button.label = _(button.label.data());
    return buttons;
}

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
    // TRANSLATORS: {} is the name of a workspace.
    auto body = isLocked ? fillIn(_("A download in {} has finished."), workspace->name)
                         // TRANSLATORS: {0} is the name of the downloaded file, {1} that of a workspace.
                         : fillIn(_("{} was downloaded in {}."), item.name, workspace->name);
    auto buttons = translatedFileButtons();
    m_notifier.send({ .id = id,
        .title = _("Download finished"),
        .body = body,
        .buttons = isLocked ? std::span<const DesktopNotice::Button>() : buttons,
        .defaultCommandName = "show-download",
        .commandArgument = item.id });
}

} // namespace cohortex
