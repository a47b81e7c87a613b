#pragma once

#include "Engine/WebKitGtk/PagePrompt.h"
#include "Platform/Linux/GLibPtr.h"
#include "Platform/Linux/GSignalConnection.h"

#include <functional>
#include <string>
#include <vector>
#include <webkit/webkit.h>

namespace cohortex {

// A site's request for the camera, microphone, screen, location, notifications or clipboard, asked as a
// modal message dialog over the page's window: the question names the workspace and the site, with
// "Don't Allow" and "Allow". Closing the dialog without choosing refuses this once and decides nothing;
// so does the view going away before the user answers.
class PermissionPrompt final : public PagePrompt {
public:
    enum class Answer { allow, deny, dismiss };

    struct Question {
        std::string heading;
        std::string detail;
    };

    // `decided` learns the user's answer just before the requests are answered with it.
    PermissionPrompt(WebKitWebView*, WebKitPermissionRequest*, const Question&,
        std::function<void(Answer)> decided, PromptAnswered);
    ~PermissionPrompt() override;
    PermissionPrompt(const PermissionPrompt&) = delete;
    PermissionPrompt& operator=(const PermissionPrompt&) = delete;

    // The same question asked again while this one is up (a page asking twice) waits for the same answer.
    void join(WebKitPermissionRequest*);
    const std::string& heading() const { return m_heading; }
    GtkWindow* window() const { return GTK_WINDOW(m_window.get()); }

private:
    void answer(const char* response);

    std::vector<GObjectPtr<WebKitPermissionRequest>> m_requests;
    std::string m_heading;
    GObjectPtr<GtkWidget> m_window;
    GSignalConnection m_response;
    std::function<void(Answer)> m_decided;
    PromptAnswered m_answered;
    bool m_isAnswered{ false };
};

} // namespace cohortex
