#include "Models/SwitcherRows.h"

#include "Models/QuickSwitcher.h"

#include <algorithm>
#include <utility>

namespace cohortex {

namespace {

constexpr std::int64_t badgeCap = 99;

} // namespace

void SwitcherRows::setQuery(std::string query)
{
    m_query = std::move(query);
    m_selection = 0;
}

void SwitcherRows::reset()
{
    setQuery({});
}

std::vector<SwitcherItem> SwitcherRows::results(std::span<const SwitcherItem> items) const
{
    return QuickSwitcher::rank(m_query, items);
}

std::vector<SwitcherRow> SwitcherRows::rows(
    std::span<const SwitcherItem> items, const UnreadCount& unread) const
{
    auto ranked = results(items);
    std::vector<SwitcherRow> rows;
    rows.reserve(ranked.size());
    for (std::size_t index = 0; index < ranked.size(); ++index) {
        auto badge = ranked[index].tabId ? std::nullopt
                                         : unreadText(ranked[index], unread(ranked[index].workspaceId));
        rows.push_back({ std::move(ranked[index]), std::move(badge), index == m_selection });
    }
    return rows;
}

SwitcherKeyOutcome SwitcherRows::handleKey(SwitcherKey key, std::size_t resultCount)
{
    switch (key) {
    case SwitcherKey::Escape:
        return { .isConsumed = true, .closesPanel = true };
    case SwitcherKey::Up:
        m_selection = m_selection > 0 ? m_selection - 1 : 0;
        return { .isConsumed = true };
    case SwitcherKey::Down:
        m_selection = resultCount == 0 ? 0 : std::min(m_selection + 1, resultCount - 1);
        return { .isConsumed = true };
    case SwitcherKey::Other:
        break;
    }
    return {};
}

std::optional<std::size_t> SwitcherRows::chosenIndex(std::size_t resultCount) const
{
    if (resultCount == 0)
        return std::nullopt;
    return std::min(m_selection, resultCount - 1);
}

std::optional<std::string> SwitcherRows::unreadText(const SwitcherItem& item, std::int64_t unreadCount)
{
    if (item.tabId || unreadCount < 1)
        return std::nullopt;
    return std::to_string(std::min(unreadCount, badgeCap));
}

} // namespace cohortex
