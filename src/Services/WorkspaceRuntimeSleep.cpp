#include "Services/Authenticating.h"
#include "Services/WorkspaceRuntime.h"
#include "Support/Translation.h"

namespace cohortex {

void WorkspaceRuntime::dropLiveState(const Uuid& workspaceId)
{
    for (const auto& tab : tabs(workspaceId)) {
        m_capturing.erase(tab.id);
        m_unreadByTab.erase(tab.id);
        m_unshownTabs.erase(tab.id);
    }
    if (m_tabs.get().contains(workspaceId))
        m_tabs.modify([&](auto& table) { table.erase(workspaceId); });
    if (m_activeTabID.get().contains(workspaceId))
        m_activeTabID.modify([&](auto& table) { table.erase(workspaceId); });
}

void WorkspaceRuntime::sleep(const Uuid& workspaceId)
{
    const auto& list = tabs(workspaceId);
    if (list.empty())
        return;
    // The hook measures the pages about to be released, so it runs before anything changes.
    if (m_onWillSleep)
        m_onWillSleep(workspaceId);
    const auto& current = tabs(workspaceId);
    if (current.empty())
        return;
    SavedSession saved;
    auto active = m_activeTabID.get().find(workspaceId);
    for (std::size_t i = 0; i < current.size(); ++i) {
        saved.urls.push_back(current[i].url);
        if (m_unshownTabs.contains(current[i].id))
            saved.unshownIndexes.insert(i);
        if (active != m_activeTabID.get().end() && current[i].id == active->second && saved.activeIndex == 0)
            saved.activeIndex = static_cast<std::int64_t>(i);
    }
    m_saved[workspaceId] = std::move(saved);
    dropLiveState(workspaceId);
    m_sleeping.modify([&](auto& set) { set.insert(workspaceId); });
    markDirty();
}

void WorkspaceRuntime::forget(const Uuid& workspaceId)
{
    dropLiveState(workspaceId);
    if (m_sleeping.get().contains(workspaceId))
        m_sleeping.modify([&](auto& set) { set.erase(workspaceId); });
    if (m_unlocked.get().contains(workspaceId))
        m_unlocked.modify([&](auto& set) { set.erase(workspaceId); });
    m_saved.erase(workspaceId);
    m_lastActive.erase(workspaceId);
    markDirty();
}

void WorkspaceRuntime::markUnlocked(const Uuid& workspaceId)
{
    m_unlocked.modify([&](auto& set) { set.insert(workspaceId); });
}

void WorkspaceRuntime::lockNow(const Uuid& workspaceId)
{
    if (m_unlocked.get().contains(workspaceId))
        m_unlocked.modify([&](auto& set) { set.erase(workspaceId); });
    sleep(workspaceId);
}

Task<Authentication> WorkspaceRuntime::unlock(
    Uuid workspaceId, std::string name, Authenticating& authenticator, Date now)
{
    if (isUnlocked(workspaceId))
        co_return Authentication::Succeeded;
    // A prompt is already up for this workspace; a second one would only confuse the owner.
    if (m_unlocking.contains(workspaceId))
        co_return Authentication::Failed;
    m_unlocking.insert(workspaceId);
    // TRANSLATORS: why the system asks for the user's password; {} is the name of a workspace.
    auto answer = co_await authenticator.authenticate(fillIn(_("Unlock {} in Cohortex"), name));
    if (answer == Authentication::Succeeded) {
        markUnlocked(workspaceId);
        m_lastActive[workspaceId] = now;
    }
    m_unlocking.erase(workspaceId);
    co_return answer;
}

bool WorkspaceRuntime::hasCapturingTab(const Uuid& workspaceId) const
{
    for (const auto& tab : tabs(workspaceId)) {
        if (m_capturing.contains(tab.id))
            return true;
    }
    return false;
}

double WorkspaceRuntime::idleSeconds(const Uuid& workspaceId, Date now) const
{
    // A workspace never seen in use counts as used just now.
    auto last = lastActive(workspaceId);
    return last ? now.secondsSince(*last) : 0.0;
}

std::vector<Uuid> WorkspaceRuntime::sleepIdleWorkspaces(
    std::optional<Uuid> activeID, double idleAfter, Date now, const std::set<Uuid>& keepAwake)
{
    std::vector<Uuid> slept;
    if (!(idleAfter > 0))
        return slept;
    std::vector<Uuid> loaded;
    for (const auto& [workspaceId, list] : m_tabs.get())
        loaded.push_back(workspaceId);
    for (const auto& workspaceId : loaded) {
        if (workspaceId == activeID || keepAwake.contains(workspaceId) || hasCapturingTab(workspaceId))
            continue;
        if (idleSeconds(workspaceId, now) < idleAfter)
            continue;
        sleep(workspaceId);
        slept.push_back(workspaceId);
    }
    return slept;
}

std::vector<Uuid> WorkspaceRuntime::relockIdle(std::optional<Uuid> activeID, double after, Date now)
{
    std::vector<Uuid> relocked;
    // Copied: relocking changes the set being walked.
    auto unlocked = m_unlocked.get();
    for (const auto& workspaceId : unlocked) {
        if (workspaceId == activeID || idleSeconds(workspaceId, now) < after)
            continue;
        m_unlocked.modify([&](auto& set) { set.erase(workspaceId); });
        sleep(workspaceId);
        relocked.push_back(workspaceId);
    }
    return relocked;
}

} // namespace cohortex
