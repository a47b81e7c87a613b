#include "Services/WorkspaceRuntime.h"

#include "Models/UnreadBadge.h"
#include "Services/StoredKeys.h"

#include <algorithm>

namespace cohortex {

namespace {

const std::vector<BrowserTab>& noTabs()
{
    static const std::vector<BrowserTab> empty;
    return empty;
}

BrowserTab freshTab(const Url& url)
{
    return BrowserTab{ Uuid::random(), url, {} };
}

} // namespace

WorkspaceRuntime::WorkspaceRuntime(DefaultsStore* defaults)
    : m_storedTabs(
        defaults ? std::optional<StoredRecord>(std::in_place, *defaults, keys::openTabs) : std::nullopt)
{
    restoreFromDisk();
}

void WorkspaceRuntime::load(const WorkspaceSession& workspace, Date now)
{
    loadTabs(workspace, now, {});
}

bool WorkspaceRuntime::loadOnto(const WorkspaceSession& workspace, std::span<const Url> links, Date now)
{
    if (isLoaded(workspace.id) || links.empty())
        return false;
    loadTabs(workspace, now, links);
    return true;
}

void WorkspaceRuntime::loadTabs(const WorkspaceSession& workspace, Date now, std::span<const Url> links)
{
    m_lastActive[workspace.id] = now;
    if (isLoaded(workspace.id))
        return;
    std::vector<BrowserTab> tabs;
    std::size_t activeIndex = 0;
    if (auto saved = m_saved.extract(workspace.id); saved && !saved.mapped().urls.empty()) {
        for (const auto& url : saved.mapped().urls)
            tabs.push_back(freshTab(url));
        activeIndex = static_cast<std::size_t>(clampedIndex(saved.mapped().activeIndex, tabs.size()));
        for (auto index : saved.mapped().unshownIndexes) {
            if (index < tabs.size())
                m_unshownTabs.insert(tabs[index].id);
        }
    } else {
        // New pages start from the site the workspace was made for, never a page visited later.
        tabs.push_back(freshTab(workspace.initialURL));
    }
    if (!links.empty()) {
        for (const auto& url : links)
            tabs.push_back(freshTab(url));
        activeIndex = tabs.size() - 1;
        // Marked before the table changes, so that no page is made for them on the way.
        for (std::size_t index = 0; index < activeIndex; ++index)
            m_unshownTabs.insert(tabs[index].id);
    }
    auto activeId = tabs[activeIndex].id;
    m_tabs.modify([&](auto& table) { table[workspace.id] = std::move(tabs); });
    setActiveTab(workspace.id, activeId);
    if (m_sleeping.get().contains(workspace.id))
        m_sleeping.modify([&](auto& set) { set.erase(workspace.id); });
    markDirty();
}

void WorkspaceRuntime::touch(const Uuid& workspaceId, Date now)
{
    m_lastActive[workspaceId] = now;
}

bool WorkspaceRuntime::isLoaded(const Uuid& workspaceId) const
{
    return m_tabs.get().contains(workspaceId);
}

const std::vector<BrowserTab>& WorkspaceRuntime::tabs(const Uuid& workspaceId) const
{
    const auto& table = m_tabs.get();
    auto found = table.find(workspaceId);
    return found == table.end() ? noTabs() : found->second;
}

std::optional<BrowserTab> WorkspaceRuntime::activeTab(const Uuid& workspaceId) const
{
    const auto& active = m_activeTabID.get();
    auto id = active.find(workspaceId);
    if (id == active.end())
        return std::nullopt;
    const auto& list = tabs(workspaceId);
    auto tab = std::ranges::find(list, id->second, &BrowserTab::id);
    if (tab == list.end())
        return std::nullopt;
    return *tab;
}

std::optional<Date> WorkspaceRuntime::lastActive(const Uuid& workspaceId) const
{
    auto found = m_lastActive.find(workspaceId);
    if (found == m_lastActive.end())
        return std::nullopt;
    return found->second;
}

void WorkspaceRuntime::setActiveTab(const Uuid& workspaceId, const Uuid& tabId)
{
    m_unshownTabs.erase(tabId);
    m_activeTabID.modify([&](auto& table) { table[workspaceId] = tabId; });
}

std::optional<Uuid> WorkspaceRuntime::newTab(const Uuid& workspaceId, const Url& url)
{
    if (!isLoaded(workspaceId))
        return std::nullopt;
    auto tab = freshTab(url);
    m_tabs.modify([&](auto& table) { table[workspaceId].push_back(tab); });
    setActiveTab(workspaceId, tab.id);
    markDirty();
    return tab.id;
}

void WorkspaceRuntime::addBackgroundTabs(const Uuid& workspaceId, std::span<const Url> urls)
{
    if (!isLoaded(workspaceId) || urls.empty())
        return;
    std::vector<BrowserTab> added;
    for (const auto& url : urls) {
        added.push_back(freshTab(url));
        m_unshownTabs.insert(added.back().id);
    }
    m_tabs.modify([&](auto& table) {
        table[workspaceId].insert(table[workspaceId].end(), added.begin(), added.end());
    });
    markDirty();
}

void WorkspaceRuntime::closeTab(const Uuid& tabId, const Uuid& workspaceId)
{
    const auto& list = tabs(workspaceId);
    // The last tab of a workspace stays: a loaded workspace always shows a page.
    if (list.size() < 2)
        return;
    auto found = std::ranges::find(list, tabId, &BrowserTab::id);
    if (found == list.end())
        return;
    auto index = static_cast<std::size_t>(found - list.begin());
    bool wasActive
        = activeTab(workspaceId).transform([&](const auto& tab) { return tab.id == tabId; }).value_or(false);
    m_tabs.modify([&](auto& table) {
        table[workspaceId].erase(table[workspaceId].begin() + static_cast<long>(index));
    });
    m_capturing.erase(tabId);
    m_unreadByTab.erase(tabId);
    m_unshownTabs.erase(tabId);
    if (wasActive) {
        const auto& shortened = tabs(workspaceId);
        setActiveTab(workspaceId, shortened[std::min(shortened.size() - 1, index)].id);
    }
    markDirty();
}

void WorkspaceRuntime::selectTab(const Uuid& tabId, const Uuid& workspaceId)
{
    const auto& list = tabs(workspaceId);
    if (std::ranges::find(list, tabId, &BrowserTab::id) == list.end())
        return;
    setActiveTab(workspaceId, tabId);
    markDirty();
}

void WorkspaceRuntime::updateTab(
    const Uuid& tabId, const Uuid& workspaceId, std::optional<std::string> title, std::optional<Url> url)
{
    const auto& list = tabs(workspaceId);
    auto found = std::ranges::find(list, tabId, &BrowserTab::id);
    if (found == list.end())
        return;
    auto index = static_cast<std::size_t>(found - list.begin());
    auto updated = *found;
    if (title)
        updated.title = std::move(*title);
    if (url)
        updated.url = std::move(*url);
    if (updated == *found)
        return;
    // Titles are not stored, so only an address change makes the open-tab store stale.
    if (updated.url != found->url)
        markDirty();
    if (updated.title != found->title) {
        if (auto count = UnreadBadge::count(updated.title))
            m_unreadByTab[tabId] = *count;
        else
            m_unreadByTab.erase(tabId);
    }
    m_tabs.modify([&](auto& table) { table[workspaceId][index] = std::move(updated); });
}

void WorkspaceRuntime::setCapturing(const Uuid& tabId, bool capturing)
{
    if (capturing)
        m_capturing.insert(tabId);
    else
        m_capturing.erase(tabId);
}

std::int64_t WorkspaceRuntime::unreadCount(const Uuid& workspaceId) const
{
    std::int64_t sum = 0;
    for (const auto& tab : tabs(workspaceId)) {
        if (auto count = m_unreadByTab.find(tab.id); count != m_unreadByTab.end())
            sum += count->second;
    }
    return sum;
}

std::int64_t WorkspaceRuntime::totalUnread() const
{
    std::int64_t sum = 0;
    for (const auto& [workspaceId, list] : m_tabs.get())
        sum += unreadCount(workspaceId);
    return sum;
}

} // namespace cohortex
