#pragma once

#include "Models/SwitcherItem.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace cohortex {

// One line of the quick switcher as the panel draws it.
struct SwitcherRow {
    SwitcherItem item;
    // The unread count in its red capsule; none on tab rows and on workspaces with nothing unread.
    std::optional<std::string> badge;
    bool isHighlighted{ false };

    bool operator==(const SwitcherRow&) const = default;
};

// Keys the panel takes for itself while it shows; every other key goes on to the search field.
enum class SwitcherKey { Escape, Up, Down, Other };

// What a key did: whether the panel kept it, and whether the panel is to close.
struct SwitcherKeyOutcome {
    bool isConsumed{ false };
    bool closesPanel{ false };

    bool operator==(const SwitcherKeyOutcome&) const = default;
};

// The quick switcher's view state, what the user typed and which row is highlighted, and the rules
// that turn it into rows, move the highlight and pick the row that Return opens. The results are
// ranked afresh from the rows handed in on every call, so they always match the current workspaces.
class SwitcherRows {
public:
    using UnreadCount = std::function<std::int64_t(const Uuid& workspaceId)>;

    const std::string& query() const { return m_query; }
    std::size_t selection() const { return m_selection; }

    // A new query starts again from its best row.
    void setQuery(std::string);
    // Back to the empty query and the first row, as the panel opens.
    void reset();

    std::vector<SwitcherItem> results(std::span<const SwitcherItem> items) const;
    std::vector<SwitcherRow> rows(std::span<const SwitcherItem> items, const UnreadCount&) const;

    // Up and Down stop at the ends of the results rather than wrapping around.
    SwitcherKeyOutcome handleKey(SwitcherKey, std::size_t resultCount);

    // The result Return opens: the highlighted one, or the last when the results shrank under the
    // highlight; none when nothing matches.
    std::optional<std::size_t> chosenIndex(std::size_t resultCount) const;

    // Only workspace rows carry a badge, capped at "99" without a plus sign.
    static std::optional<std::string> unreadText(const SwitcherItem&, std::int64_t unreadCount);

private:
    std::string m_query;
    std::size_t m_selection{ 0 };
};

} // namespace cohortex
