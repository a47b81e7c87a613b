#pragma once

#include "Engine/WebKitGtk/PagePrompt.h"
#include "Platform/Linux/GLibPtr.h"
#include "Platform/Linux/GSignalConnection.h"
#include "Support/Translation.h"

#include <functional>
#include <webkit/webkit.h>

namespace cohortex {

// The one question a page gets when it starts further downloads by itself: a modal message dialog
// "This site wants to download several files", naming the host, with "Block" (what closing it means)
// and "Allow". Answered false when it goes away unanswered.
class DownloadsPrompt final : public PagePrompt {
public:
    DownloadsPrompt(WebKitWebView*, std::function<void(bool allowed)> decided, PromptAnswered);
    ~DownloadsPrompt() override;
    DownloadsPrompt(const DownloadsPrompt&) = delete;
    DownloadsPrompt& operator=(const DownloadsPrompt&) = delete;

    static constexpr const char* heading = N_("This site wants to download several files");

private:
    void answer(bool allowed);

    GObjectPtr<GtkWidget> m_window;
    GSignalConnection m_response;
    std::function<void(bool)> m_decided;
    PromptAnswered m_answered;
    bool m_isAnswered{ false };
};

} // namespace cohortex
