#pragma once

#include "Engine/WebKitGtk/PagePrompt.h"
#include "Platform/Linux/GLibPtr.h"
#include "Platform/Linux/GSignalConnection.h"
#include "Support/Translation.h"

#include <functional>
#include <optional>
#include <string>
#include <webkit/webkit.h>

namespace cohortex {

// A page's link for another application (a meeting, a calendar feed, a chat): asked before anything is
// launched, since a page can follow such links without the user, "Open in <application>?" with "Cancel"
// (also Return and Escape) and "Open". Where no application of the desktop takes the link, a notice says
// so instead, with only "Close". Going away unanswered launches nothing.
class OtherApplicationPrompt final : public PagePrompt {
public:
    OtherApplicationPrompt(WebKitWebView*, const std::string& uri, const std::string& scheme,
        std::optional<std::string> application, std::function<void()> open, PromptAnswered);
    ~OtherApplicationPrompt() override;
    OtherApplicationPrompt(const OtherApplicationPrompt&) = delete;
    OtherApplicationPrompt& operator=(const OtherApplicationPrompt&) = delete;

    static constexpr const char* noApplicationHeading = N_("No Application for This Link");

private:
    void answer(bool open);

    GObjectPtr<GtkWidget> m_window;
    GSignalConnection m_response;
    std::function<void()> m_open;
    PromptAnswered m_answered;
    bool m_isAnswered{ false };
};

} // namespace cohortex
