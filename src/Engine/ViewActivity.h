#pragma once

#include "Engine/Navigation.h"
#include "Support/Uuid.h"

#include <optional>

namespace cohortex {

// When a tab's view drives the toolbar and which toolbar requests it performs. The window hands every
// view the latest request on every re-render, whether or not the view is the active one; each request
// id is therefore acted on at most once, and a view that was inactive when a request came records it
// without acting, so the command is not replayed when the view later becomes active.
class ViewActivity {
public:
    // What one re-render asks of the view.
    struct Step {
        // The view has just become active: it publishes the page's whole state once.
        bool publishFullState{ false };
        std::optional<NavigationCommand> perform;
    };

    // The request present when the view is made predates it and is never performed.
    explicit ViewActivity(const std::optional<NavigationRequest>& initialRequest);

    Step update(bool isActive, const std::optional<NavigationRequest>&);
    bool isActive() const { return m_isActive; }

private:
    bool m_isActive{ false };
    std::optional<Uuid> m_lastRequestID;
};

} // namespace cohortex
