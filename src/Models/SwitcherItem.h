#pragma once

#include "Support/Uuid.h"

#include <optional>
#include <string>
#include <utility>

namespace cohortex {

// One row of the quick switcher: a workspace, or one of its open tabs.
struct SwitcherItem {
    // The workspace id, "/", then the tab id or the word "workspace": stable while the row stands for
    // the same thing, so a list view keeps its selection across rebuilds.
    std::string id;
    Uuid workspaceId;
    std::optional<Uuid> tabId;
    std::string title;
    std::string subtitle;

    SwitcherItem(Uuid workspaceId, std::optional<Uuid> tabId, std::string title, std::string subtitle)
        : id(workspaceId.string() + "/" + (tabId ? tabId->string() : std::string("workspace")))
        , workspaceId(workspaceId)
        , tabId(tabId)
        , title(std::move(title))
        , subtitle(std::move(subtitle))
    {
    }

    bool operator==(const SwitcherItem&) const = default;
};

} // namespace cohortex
