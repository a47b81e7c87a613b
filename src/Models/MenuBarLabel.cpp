#include "Models/MenuBarLabel.h"

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
    return count ? *count + " unread" : std::string(nothingUnread);
}

} // namespace cohortex
