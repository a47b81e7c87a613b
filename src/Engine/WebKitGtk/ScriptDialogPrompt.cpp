#include "Engine/WebKitGtk/ScriptDialogPrompt.h"

#include "Engine/NavigationPolicy.h"
#include "Support/Translation.h"

#include <adwaita.h>
#include <cstring>
#include <utility>

namespace cohortex {

namespace {

constexpr int promptFieldWidth = 260;
constexpr int promptFieldHeight = 24;

} // namespace

bool ScriptDialogPrompt::handles(WebKitScriptDialog* dialog)
{
    auto type = webkit_script_dialog_get_dialog_type(dialog);
    return type == WEBKIT_SCRIPT_DIALOG_ALERT || type == WEBKIT_SCRIPT_DIALOG_CONFIRM
        || type == WEBKIT_SCRIPT_DIALOG_PROMPT;
}

ScriptDialogPrompt::ScriptDialogPrompt(
    WebKitWebView* view, WebKitScriptDialog* dialog, PromptAnswered answered)
    : m_dialog(webkit_script_dialog_ref(dialog))
    , m_answered(std::move(answered))
{
    adw_init();
    const char* uri = webkit_web_view_get_uri(view);
    auto heading = NavigationPolicy::scriptDialogTitle(uri ? uri : "");
    auto* message = adw_message_dialog_new(
        windowOf(GTK_WIDGET(view)), heading.c_str(), webkit_script_dialog_get_message(dialog));
    m_window = GObjectPtr<GtkWidget>::retain(message);
    auto* adwDialog = ADW_MESSAGE_DIALOG(message);
    auto type = webkit_script_dialog_get_dialog_type(dialog);
    if (type != WEBKIT_SCRIPT_DIALOG_ALERT)
        adw_message_dialog_add_response(adwDialog, "cancel", _("Cancel"));
    adw_message_dialog_add_response(adwDialog, "ok", _("OK"));
    adw_message_dialog_set_default_response(adwDialog, "ok");
    adw_message_dialog_set_close_response(adwDialog, type == WEBKIT_SCRIPT_DIALOG_ALERT ? "ok" : "cancel");
    if (type == WEBKIT_SCRIPT_DIALOG_PROMPT) {
        m_entry = gtk_entry_new();
        gtk_editable_set_text(GTK_EDITABLE(m_entry), webkit_script_dialog_prompt_get_default_text(dialog));
        gtk_widget_set_size_request(m_entry, promptFieldWidth, promptFieldHeight);
        gtk_entry_set_activates_default(GTK_ENTRY(m_entry), true);
        adw_message_dialog_set_extra_child(adwDialog, m_entry);
    }
    m_response = GSignalConnection(m_window,
        g_signal_connect(message, "response",
            G_CALLBACK(+[](AdwMessageDialog*, char* response, gpointer self) {
                static_cast<ScriptDialogPrompt*>(self)->answer(response);
            }),
            this));
    gtk_window_set_modal(GTK_WINDOW(message), true);
    gtk_window_present(GTK_WINDOW(message));
}

ScriptDialogPrompt::~ScriptDialogPrompt()
{
    m_response.disconnect();
    if (!m_isAnswered) {
        webkit_script_dialog_close(m_dialog);
        gtk_window_destroy(GTK_WINDOW(m_window.get()));
    }
    webkit_script_dialog_unref(m_dialog);
}

// The message dialog closes itself after a response.
void ScriptDialogPrompt::answer(const char* response)
{
    if (std::exchange(m_isAnswered, true))
        return;
    bool confirmed = response && std::strcmp(response, "ok") == 0;
    auto type = webkit_script_dialog_get_dialog_type(m_dialog);
    if (type == WEBKIT_SCRIPT_DIALOG_CONFIRM)
        webkit_script_dialog_confirm_set_confirmed(m_dialog, confirmed);
    if (type == WEBKIT_SCRIPT_DIALOG_PROMPT && confirmed)
        webkit_script_dialog_prompt_set_text(m_dialog, gtk_editable_get_text(GTK_EDITABLE(m_entry)));
    webkit_script_dialog_close(m_dialog);
    m_answered(this);
}

} // namespace cohortex
