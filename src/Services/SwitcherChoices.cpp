#include "Services/SwitcherChoices.h"

#include "Services/Presentation.h"
#include "Services/SessionManager.h"
#include "Services/WorkspaceRuntime.h"
#include "Support/Translation.h"

namespace cohortex {

namespace {

std::string hostOf(const Url& url)
{
    return url.host().value_or("");
}

} // namespace

std::vector<SwitcherItem> switcherItems(const SessionManager& sessions, const WorkspaceRuntime& runtime)
{
    std::vector<SwitcherItem> items;
    for (const auto& workspace : sessions.workspaces().get()) {
        const auto& tabs = runtime.tabs(workspace.id);
        auto selected = runtime.activeTab(workspace.id);
        auto subtitle = selected ? hostOf(selected->url) : std::string();
        if (subtitle.empty())
            subtitle = hostOf(workspace.initialURL);
        items.emplace_back(workspace.id, std::nullopt, workspace.name, subtitle);
        if (tabs.size() < 2)
            continue;
        for (const auto& tab : tabs) {
            auto host = hostOf(tab.url);
            // TRANSLATORS: a quick-switcher row for a tab with neither a title nor a site.
            auto title = !tab.title.empty() ? tab.title : !host.empty() ? host : std::string(_("tab"));
            items.emplace_back(workspace.id, tab.id, title, workspace.name + " \u00b7 " + host);
        }
    }
    return items;
}

void selectSwitcherItem(
    SessionManager& sessions, WorkspaceRuntime& runtime, Presentation& presentation, const SwitcherItem& item)
{
    presentation.setShowingQuickSwitcher(false);
    auto target = sessions.workspace(item.workspaceId);
    if (!target)
        return;
    sessions.openWorkspace(*target);
    if (item.tabId)
        runtime.selectTab(*item.tabId, item.workspaceId);
}

} // namespace cohortex
