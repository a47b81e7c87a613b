#include "Engine/WebKitGtk/DownloadsPrompt.h"

#include "Engine/NavigationPolicy.h"
#include "Support/Translation.h"

#include <adwaita.h>
#include <cstring>
#include <string>
#include <utility>

namespace cohortex {

DownloadsPrompt::DownloadsPrompt(
    WebKitWebView* view, std::function<void(bool allowed)> decided, PromptAnswered answered)
    : m_decided(std::move(decided))
    , m_answered(std::move(answered))
{
    adw_init();
    const char* uri = webkit_web_view_get_uri(view);
    auto host = NavigationPolicy::scriptDialogTitle(uri ? uri : "");
    auto body = fillIn(
        // TRANSLATORS: {} is the host of the page, such as example.com.
        _("{} has downloaded a file and wants to download more. Allow it to download several files?"), host);
    auto* message = adw_message_dialog_new(windowOf(GTK_WIDGET(view)), _(heading), body.c_str());
    m_window = GObjectPtr<GtkWidget>::retain(message);
    auto* dialog = ADW_MESSAGE_DIALOG(message);
    adw_message_dialog_add_responses(dialog, "block", _("Block"), "allow", _("Allow"), nullptr);
    // Return and Escape both keep the files out; letting them in takes a deliberate click.
    adw_message_dialog_set_default_response(dialog, "block");
    adw_message_dialog_set_close_response(dialog, "block");
    m_response = GSignalConnection(m_window,
        g_signal_connect(message, "response",
            G_CALLBACK(+[](AdwMessageDialog*, char* response, gpointer self) {
                static_cast<DownloadsPrompt*>(self)->answer(response && std::strcmp(response, "allow") == 0);
            }),
            this));
    gtk_window_set_modal(GTK_WINDOW(message), true);
    gtk_window_present(GTK_WINDOW(message));
}

DownloadsPrompt::~DownloadsPrompt()
{
    m_response.disconnect();
    if (!m_isAnswered) {
        gtk_window_destroy(GTK_WINDOW(m_window.get()));
        m_decided(false);
    }
}

void DownloadsPrompt::answer(bool allowed)
{
    if (std::exchange(m_isAnswered, true))
        return;
    m_decided(allowed);
    m_answered(this);
}

} // namespace cohortex
