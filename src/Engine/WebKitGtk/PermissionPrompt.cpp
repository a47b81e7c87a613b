#include "Engine/WebKitGtk/PermissionPrompt.h"

#include "Support/Translation.h"

#include <adwaita.h>
#include <cstring>
#include <utility>

namespace cohortex {

namespace {

constexpr const char* allowResponse = "allow";
constexpr const char* denyResponse = "deny";
// Escape and the window's close button: no choice made, so nothing is remembered either.
constexpr const char* dismissResponse = "dismiss";

} // namespace

PermissionPrompt::PermissionPrompt(WebKitWebView* view, WebKitPermissionRequest* request,
    const Question& question, std::function<void(Answer)> decided, PromptAnswered answered)
    : m_heading(question.heading)
    , m_decided(std::move(decided))
    , m_answered(std::move(answered))
{
    adw_init();
    join(request);
    auto* message = adw_message_dialog_new(
        windowOf(GTK_WIDGET(view)), question.heading.c_str(), question.detail.c_str());
    m_window = GObjectPtr<GtkWidget>::retain(message);
    auto* dialog = ADW_MESSAGE_DIALOG(message);
    adw_message_dialog_add_response(dialog, denyResponse, _("Don't Allow"));
    adw_message_dialog_add_response(dialog, allowResponse, _("Allow"));
    adw_message_dialog_set_response_appearance(dialog, allowResponse, ADW_RESPONSE_SUGGESTED);
    // Return refuses: a page must not get the camera from a key pressed while the dialog appeared.
    adw_message_dialog_set_default_response(dialog, denyResponse);
    adw_message_dialog_set_close_response(dialog, dismissResponse);
    m_response = GSignalConnection(m_window,
        g_signal_connect(message, "response",
            G_CALLBACK(+[](AdwMessageDialog*, char* response, gpointer self) {
                static_cast<PermissionPrompt*>(self)->answer(response);
            }),
            this));
    gtk_window_set_modal(GTK_WINDOW(message), true);
    gtk_window_present(GTK_WINDOW(message));
}

PermissionPrompt::~PermissionPrompt()
{
    m_response.disconnect();
    if (m_isAnswered)
        return;
    for (const auto& request : m_requests)
        webkit_permission_request_deny(request.get());
    gtk_window_destroy(GTK_WINDOW(m_window.get()));
}

void PermissionPrompt::join(WebKitPermissionRequest* request)
{
    m_requests.push_back(GObjectPtr<WebKitPermissionRequest>::retain(request));
}

// The message dialog closes itself after a response.
void PermissionPrompt::answer(const char* response)
{
    if (std::exchange(m_isAnswered, true))
        return;
    auto answer = Answer::dismiss;
    if (response && std::strcmp(response, allowResponse) == 0)
        answer = Answer::allow;
    else if (response && std::strcmp(response, denyResponse) == 0)
        answer = Answer::deny;
    m_decided(answer);
    for (const auto& request : m_requests) {
        if (answer == Answer::allow)
            webkit_permission_request_allow(request.get());
        else
            webkit_permission_request_deny(request.get());
    }
    m_answered(this);
}

} // namespace cohortex
