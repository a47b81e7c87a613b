#include "Models/MenuBarLabel.h"

#include "Support/Translation.h"

namespace cohortex {

namespace {

constexpr std::int64_t largestShownCount = 99;

} // namespace

std::optional<std::string> MenuBarLabel::countText() const
{
    if (unreadTotal < 1)
        return std::nullopt;
    if (unreadTotal > largestShownCount)
        return std::to_string(largestShownCount) + "+";
    return std::to_string(unreadTotal);
}

std::string MenuBarLabel::toolTipText() const
{
    auto count = countText();
    if (!count)
        return _(nothingUnread);
    // TRANSLATORS: the tray icon's tooltip; {} is how many messages are unread ("3", "99+").
    return fillIn(P_("{} unread", "{} unread", static_cast<unsigned long>(unreadTotal)), *count);
}

} // namespace cohortex
