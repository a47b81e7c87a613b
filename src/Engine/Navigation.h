#pragma once

#include "Support/Observable.h"
#include "Support/Url.h"
#include "Support/Uuid.h"

#include <optional>
#include <string>

namespace cohortex {

// A command of the toolbar or the window for the page on screen.
struct NavigationCommand {
    enum class Kind {
        LoadURL,
        GoBack,
        GoForward,
        Reload,
        Stop,
        // Finding text in the page: Find starts over with the text (an empty one ends the search).
        Find,
        FindNext,
        FindPrevious,
        FindEnd,
        ZoomIn,
        ZoomOut,
        ZoomReset,
        Print,
    };

    Kind kind{ Kind::Reload };
    // Only for LoadURL.
    std::optional<Url> url;
    // Only for Find.
    std::string text;

    static NavigationCommand load(Url target) { return { Kind::LoadURL, std::move(target), {} }; }
    static NavigationCommand of(Kind kind) { return { kind, std::nullopt, {} }; }
    static NavigationCommand find(std::string text) { return { Kind::Find, std::nullopt, std::move(text) }; }
    bool operator==(const NavigationCommand&) const = default;
};

// One issue of a command. The fresh id is what makes two identical commands (two reloads) count as two
// requests; a view acts on each id at most once.
struct NavigationRequest {
    Uuid id;
    NavigationCommand command;

    static NavigationRequest make(NavigationCommand command)
    {
        return { Uuid::random(), std::move(command) };
    }
    bool operator==(const NavigationRequest&) const = default;
};

// The state of the page on screen, as the toolbar shows it. The window owns one; only the active view
// writes it, so it always describes the selected tab.
struct PageBindings {
    Observable<std::optional<Url>> currentURL;
    Observable<std::string> pageTitle{ "Cohortex" };
    Observable<bool> isLoading{ false };
    Observable<bool> canGoBack{ false };
    Observable<bool> canGoForward{ false };
    // How many times the text searched for occurs in the page; nothing while no search runs.
    Observable<std::optional<unsigned>> findMatches;
};

} // namespace cohortex
