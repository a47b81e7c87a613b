#pragma once

#include "Engine/WebKitGtk/PagePrompt.h"
#include "Platform/Linux/GLibPtr.h"
#include "Platform/Linux/GSignalConnection.h"

#include <webkit/webkit.h>

namespace cohortex {

// A page's file input as the desktop's own open dialog (a portal inside a sandbox): one or several
// files as the page allows, filtered by the types the page accepts. The chosen files go to the page
// when the user confirms; nothing when they cancel. WebKitGTK does not tell whether the page wants
// folders, so the dialog always chooses files.
class FileChooserPrompt final : public PagePrompt {
public:
    FileChooserPrompt(WebKitWebView*, WebKitFileChooserRequest*, PromptAnswered);
    ~FileChooserPrompt() override;
    FileChooserPrompt(const FileChooserPrompt&) = delete;
    FileChooserPrompt& operator=(const FileChooserPrompt&) = delete;

private:
    void answer(int response);

    GObjectPtr<WebKitFileChooserRequest> m_request;
    GObjectPtr<GtkFileChooserNative> m_chooser;
    GSignalConnection m_response;
    PromptAnswered m_answered;
    bool m_isAnswered{ false };
};

} // namespace cohortex
