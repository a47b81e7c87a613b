#include "UI/SymbolIcons.h"

#include <array>
#include <span>
#include <utility>

namespace cohortex {

namespace {

constexpr std::string_view fallbackIcon = "web-browser-symbolic";

constexpr std::array<std::pair<std::string_view, std::string_view>, 45> symbolIcons{ {
    // Workspace icons offered when creating a workspace, and those of the preset workspaces.
    { "briefcase.fill", "x-office-document-symbolic" },
    { "person.crop.circle.fill", "avatar-default-symbolic" },
    { "globe", "web-browser-symbolic" },
    { "shield.checkerboard", "security-medium-symbolic" },
    { "building.2.fill", "network-workgroup-symbolic" },
    { "cart.fill", "emblem-shared-symbolic" },
    { "chart.bar.xaxis", "x-office-spreadsheet-symbolic" },
    { "bubble.left.and.bubble.right.fill", "chat-message-new-symbolic" },
    { "cloud.fill", "weather-overcast-symbolic" },
    { "wrench.and.screwdriver.fill", "applications-engineering-symbolic" },
    { "terminal.fill", "utilities-terminal-symbolic" },
    { "envelope.fill", "mail-unread-symbolic" },
    { "calendar", "x-office-calendar-symbolic" },
    { "doc.text.fill", "x-office-document-symbolic" },
    { "checkmark.seal.fill", "emblem-default-symbolic" },
    { "person.2", "system-users-symbolic" },
    // Window, toolbar and tab controls.
    { "chevron.left", "go-previous-symbolic" },
    { "chevron.right", "go-next-symbolic" },
    { "arrow.clockwise", "view-refresh-symbolic" },
    { "arrow.right", "go-next-symbolic" },
    { "arrow.triangle.2.circlepath", "emblem-synchronizing-symbolic" },
    { "xmark", "window-close-symbolic" },
    { "xmark.circle.fill", "window-close-symbolic" },
    { "plus", "list-add-symbolic" },
    { "plus.square", "list-add-symbolic" },
    { "plus.square.on.square", "tab-new-symbolic" },
    { "minus.circle", "list-remove-symbolic" },
    { "magnifyingglass", "system-search-symbolic" },
    { "gearshape", "emblem-system-symbolic" },
    { "link", "insert-link-symbolic" },
    { "clock", "preferences-system-time-symbolic" },
    { "memorychip", "drive-harddisk-solidstate-symbolic" },
    { "lock.fill", "changes-prevent-symbolic" },
    { "moon.zzz.fill", "weather-clear-night-symbolic" },
    { "circle", "radio-symbolic" },
    { "checkmark.circle.fill", "emblem-ok-symbolic" },
    { "checkmark.shield", "security-high-symbolic" },
    { "person.crop.circle.badge.xmark", "system-log-out-symbolic" },
    { "power", "system-shutdown-symbolic" },
    { "square.stack.3d.up.fill", "view-app-grid-symbolic" },
    { "square.stack.3d.up.slash", "action-unavailable-symbolic" },
    // Downloads.
    { "arrow.down.circle", "folder-download-symbolic" },
    { "xmark.circle", "process-stop-symbolic" },
    { "arrow.up.forward.app", "document-open-symbolic" },
    { "folder", "folder-open-symbolic" },
} };

} // namespace

std::span<const std::pair<std::string_view, std::string_view>> knownSymbolIcons()
{
    return symbolIcons;
}

std::string iconNameForSymbol(std::string_view symbol)
{
    for (const auto& [name, icon] : symbolIcons) {
        if (name == symbol)
            return std::string(icon);
    }
    return std::string(fallbackIcon);
}

} // namespace cohortex
