#pragma once

#include "Engine/WebKitGtk/PagePrompt.h"
#include "Platform/Linux/GLibPtr.h"
#include "Platform/Linux/GSignalConnection.h"

#include <string>
#include <webkit/webkit.h>

namespace cohortex {

// A page's alert, confirm or prompt as a modal message dialog headed by the host that asks, with the
// page's message below: an alert has "OK"; a confirm "OK" and "Cancel", true only for "OK"; a prompt
// adds a text field holding the page's default text, and "OK" returns what it then holds.
class ScriptDialogPrompt final : public PagePrompt {
public:
    ScriptDialogPrompt(WebKitWebView*, WebKitScriptDialog*, PromptAnswered);
    ~ScriptDialogPrompt() override;
    ScriptDialogPrompt(const ScriptDialogPrompt&) = delete;
    ScriptDialogPrompt& operator=(const ScriptDialogPrompt&) = delete;

    // Whether this is a dialog the prompt shows; WebKit keeps the others (leaving a page) to itself.
    static bool handles(WebKitScriptDialog*);

    GtkWindow* window() const { return GTK_WINDOW(m_window.get()); }

private:
    void answer(const char* response);

    WebKitScriptDialog* m_dialog;
    GObjectPtr<GtkWidget> m_window;
    GtkWidget* m_entry{ nullptr };
    GSignalConnection m_response;
    PromptAnswered m_answered;
    bool m_isAnswered{ false };
};

} // namespace cohortex
