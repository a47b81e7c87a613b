#include "Models/WorkspaceBundle.h"

#include "Models/LinkRouter.h"
#include "Support/InternetDate.h"

#include <algorithm>
#include <unordered_map>

namespace cohortex {

namespace {

constexpr std::int64_t lastShortcutNumber = 9;

WorkspaceBundle::Item itemFor(const WorkspaceSession& workspace)
{
    return { workspace.name, workspace.initialURL.absoluteString(), workspace.iconSymbol, workspace.colorHex,
        workspace.keepAwake, workspace.requiresUnlock };
}

// Only web pages can be a workspace's start site; a file could otherwise plant "javascript:" or "file:".
std::optional<Url> startSite(std::string_view text)
{
    auto url = Url::parse(text);
    if (!url)
        return std::nullopt;
    auto scheme = url->scheme();
    if (scheme != "http" && scheme != "https")
        return std::nullopt;
    return url;
}

const WorkspaceSession* alreadyPresent(
    std::span<const WorkspaceSession> existing, std::string_view name, const Url& url)
{
    auto found = std::ranges::find_if(existing, [&](const WorkspaceSession& workspace) {
        return workspace.name == name && workspace.initialURL == url;
    });
    return found == existing.end() ? nullptr : &*found;
}

WorkspaceSession newWorkspace(
    const WorkspaceBundle::Item& item, const Url& url, std::int64_t shortcut, Date now)
{
    // Fresh ids and a fresh store: an imported workspace starts signed out with its own empty data.
    return WorkspaceSession(Uuid::random(), item.name, url, url, item.iconSymbol, item.colorHex, shortcut,
        Uuid::random(), now, now, item.keepAwake, item.requiresUnlock);
}

} // namespace

WorkspaceBundle WorkspaceBundle::make(
    std::span<const WorkspaceSession> workspaces, std::span<const RoutingRule> rules, Date now)
{
    WorkspaceBundle bundle;
    bundle.exportedAt = parseInternetDate(formatInternetDate(now)).value_or(now);
    std::unordered_map<Uuid, std::int64_t> positions;
    for (const auto& workspace : workspaces) {
        // Ids are unique in a sound list; should one repeat, its first position wins.
        positions.try_emplace(workspace.id, static_cast<std::int64_t>(bundle.workspaces.size()));
        bundle.workspaces.push_back(itemFor(workspace));
    }
    for (const auto& rule : rules) {
        if (auto position = positions.find(rule.workspaceId); position != positions.end())
            bundle.rules.push_back({ rule.pattern, position->second });
    }
    return bundle;
}

WorkspaceBundle::Instantiated WorkspaceBundle::instantiate(
    std::span<const WorkspaceSession> existing, Date now) const
{
    Instantiated result;
    std::vector<std::optional<Uuid>> idAtPosition(workspaces.size());
    for (std::size_t position = 0; position < workspaces.size(); ++position) {
        const auto& item = workspaces[position];
        auto url = startSite(item.url);
        if (!url)
            continue;
        if (auto* present = alreadyPresent(existing, item.name, *url)) {
            idAtPosition[position] = present->id;
            continue;
        }
        auto shortcut = std::min(
            lastShortcutNumber, static_cast<std::int64_t>(existing.size() + result.newWorkspaces.size() + 1));
        result.newWorkspaces.push_back(newWorkspace(item, *url, shortcut, now));
        idAtPosition[position] = result.newWorkspaces.back().id;
    }
    for (const auto& rule : rules) {
        if (rule.workspaceIndex < 0 || static_cast<std::uint64_t>(rule.workspaceIndex) >= idAtPosition.size())
            continue;
        const auto& workspaceId = idAtPosition[static_cast<std::size_t>(rule.workspaceIndex)];
        // The pattern is kept as the file wrote it (matching normalises it again); one that normalises
        // to nothing could never match, so it is not worth a rule.
        if (!workspaceId || LinkRouter::normalize(rule.pattern).empty())
            continue;
        result.rules.push_back({ Uuid::random(), rule.pattern, *workspaceId });
    }
    return result;
}

} // namespace cohortex
