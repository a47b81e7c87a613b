#pragma once

#include "Support/Observable.h"

#include <sigc++/signal.h>

namespace cohortex {

// The window's page commands (find, zoom, print) on their way to the page on screen: the command table
// asks, and the window, while it shows a page, hands each request to that page. Main thread only.
class PageActions {
public:
    enum class Request {
        // The find bar takes the focus (it is shown by the presentation).
        FocusFind,
        FindNext,
        FindPrevious,
        ZoomIn,
        ZoomOut,
        ZoomReset,
        Print,
    };

    sigc::signal<void(Request)>& requested() { return m_requested; }
    // Set by the window: whether a page is on screen to take the requests.
    Observable<bool>& hasPage() { return m_hasPage; }

private:
    sigc::signal<void(Request)> m_requested;
    Observable<bool> m_hasPage{ false };
};

} // namespace cohortex
