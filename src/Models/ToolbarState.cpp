#include "Models/ToolbarState.h"

namespace cohortex {

NavigationCommand ToolbarState::reloadCommand() const
{
    return NavigationCommand::of(isLoading ? NavigationCommand::Kind::Stop : NavigationCommand::Kind::Reload);
}

std::string_view ToolbarState::addressSymbol() const
{
    return currentURL && currentURL->scheme() == "https" ? "lock.fill" : "globe";
}

std::string ToolbarState::addressText(const Url& workspaceInitialURL) const
{
    return currentURL ? currentURL->absoluteString() : workspaceInitialURL.absoluteString();
}

std::optional<std::string> ToolbarState::addressTextAfterNavigation(
    const Url& workspaceInitialURL, bool fieldHasFocus) const
{
    if (fieldHasFocus)
        return std::nullopt;
    return addressText(workspaceInitialURL);
}

} // namespace cohortex
