#include "Services/CommandTable.h"
#include "Services/DownloadList.h"
#include "Services/Presentation.h"
#include "Services/SessionManager.h"
#include "Support/Translation.h"

// The downloads list and what its rows and the download notifications do. The commands that act on one
// download take its number; a number the list does not have, or a download whose state does not allow
// the command, does nothing.

namespace cohortex {

void CommandTable::addDownloadCommands(const Dependencies& dependencies)
{
    auto& sessions = dependencies.sessions;
    auto& presentation = dependencies.presentation;
    auto& downloads = dependencies.downloads;

    auto& showList = add(
        "show-downloads", N_("Downloads"), { { "<Control><Shift>y", {} } }, [&sessions, &presentation](auto) {
            sessions.showMainWindow();
            presentation.setShowingDownloads(true);
        });
    // The list belongs to the workspace on screen; without one there is none to show.
    auto followActive
        = [&showList](const std::optional<Uuid>& active) { showList.isEnabled.set(active.has_value()); };
    followActive(sessions.activeWorkspaceId().get());
    m_connections.emplace_back(sessions.activeWorkspaceId().changed().connect(followActive));
    // A notification's download may belong to a workspace not on screen: that one comes forward.
    auto& show
        = add("show-download", N_("Show Download"), {}, [&sessions, &presentation, &downloads](auto id) {
              auto item = downloads.item(*id);
              auto workspace = item ? sessions.workspace(item->workspaceId) : std::nullopt;
              if (!workspace)
                  return;
              sessions.openWorkspace(*workspace);
              sessions.showMainWindow();
              presentation.setShowingDownloads(true);
          });
    auto& cancel
        = add("cancel-download", N_("Cancel Download"), {}, [&downloads](auto id) { downloads.cancel(*id); });
    auto& open = add("open-download", N_("Open"), {}, [&downloads](auto id) { downloads.open(*id); });
    auto& reveal = add("show-download-in-folder", N_("Show in Folder"), {},
        [&downloads](auto id) { downloads.reveal(*id); });
    for (auto* command : { &show, &cancel, &open, &reveal })
        command->takesArgument = true;
    add("clear-downloads", N_("Clear Downloads"), {}, [&sessions, &downloads](auto) {
        if (auto active = sessions.activeWorkspaceId().get())
            downloads.clearEnded(*active);
    });
}

} // namespace cohortex
