#pragma once

#include "Support/Translation.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace cohortex {

// What the desktop shows of Cohortex while its window is closed: the unread total as a count by the tray
// icon, in the icon's tooltip and on the launcher icon, and whether the tray icon asks for attention.
struct MenuBarLabel {
    std::int64_t unreadTotal{ 0 };

    // None below 1; the number up to 99 and "99+" from 100 on, so the text never outgrows the icon.
    std::optional<std::string> countText() const;
    bool needsAttention() const { return unreadTotal >= 1; }
    std::string toolTipText() const;
    // The launcher draws its own badge and shortens a long number itself, so it gets the total as it is.
    std::int64_t launcherCount() const { return unreadTotal > 0 ? unreadTotal : 0; }
    bool showsLauncherCount() const { return unreadTotal > 0; }

    static constexpr std::string_view toolTipTitle = "Cohortex";
    static constexpr std::string_view nothingUnread = N_("Nothing unread");

    bool operator==(const MenuBarLabel&) const = default;
};

} // namespace cohortex
