#pragma once

#include <functional>
#include <gtk/gtk.h>

namespace cohortex {

// A question a page asks the user (an alert, confirm or prompt; a file to upload), shown at once and
// answered when the user is done. The page waits for the answer, so a prompt that goes away unanswered
// (its view was closed) answers with a refusal rather than leave the page waiting.
class PagePrompt {
public:
    virtual ~PagePrompt() = default;

protected:
    // The window the prompt belongs to: the one holding the page's view, when it is in one.
    static GtkWindow* windowOf(GtkWidget* view)
    {
        auto* root = view ? gtk_widget_get_root(view) : nullptr;
        return GTK_IS_WINDOW(root) ? GTK_WINDOW(root) : nullptr;
    }
};

// Called with the prompt once the user has answered it; the owner drops the prompt later, never from
// inside this call.
using PromptAnswered = std::function<void(PagePrompt*)>;

} // namespace cohortex
