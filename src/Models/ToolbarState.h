#pragma once

#include "Engine/Navigation.h"
#include "Support/Translation.h"
#include "Support/Url.h"

#include <optional>
#include <string>
#include <string_view>

namespace cohortex {

// What the browser toolbar shows for the page on screen: which controls take a click, which symbols
// they wear and what they ask of the page. The toolbar widget only copies these onto its controls.
struct ToolbarState {
    std::optional<Url> currentURL;
    bool isLoading{ false };
    bool canGoBack{ false };
    bool canGoForward{ false };

    bool isBackEnabled() const { return canGoBack; }
    bool isForwardEnabled() const { return canGoForward; }

    // One button reloads, or stops a page that is still loading.
    std::string_view reloadSymbol() const { return isLoading ? "xmark" : "arrow.clockwise"; }
    // Marked for translation only: translated where it is shown.
    std::string_view reloadLabel() const { return isLoading ? N_("Stop") : N_("Reload"); }
    NavigationCommand reloadCommand() const;

    // A padlock only for https; everything else (http, files, blank pages) shows the globe.
    std::string_view addressSymbol() const;
    bool showsSpinner() const { return isLoading; }

    // The field's text before any typing: the page's address, or the workspace's start page while the
    // page has none.
    std::string addressText(const Url& workspaceInitialURL) const;
    // The text after the page moved on; nothing while the user is typing, so navigation never
    // overwrites what they are writing.
    std::optional<std::string> addressTextAfterNavigation(
        const Url& workspaceInitialURL, bool fieldHasFocus) const;

    static constexpr std::string_view addressPlaceholder = N_("Enter website URL or search...");
    static constexpr std::string_view newTabHelp = N_("New Tab (Ctrl+T)");
};

} // namespace cohortex
