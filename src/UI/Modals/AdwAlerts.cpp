#include "UI/Modals/AdwAlerts.h"

#include "Support/CallbackAwaitable.h"
#include "Support/Translation.h"

#include <adwaita.h>
#include <string>

namespace cohortex {

namespace {

constexpr const char* confirmResponse = "confirm";
constexpr const char* cancelResponse = "cancel";

using Answer = std::function<void(std::string)>;

AdwMessageDialog* makeDialog(GtkWindow* parent, const std::string& message, const std::string& details)
{
    adw_init();
    // Names and addresses from a file are shown as they are, never read as markup.
    auto* dialog = ADW_MESSAGE_DIALOG(adw_message_dialog_new(parent, message.c_str(), details.c_str()));
    gtk_window_set_modal(GTK_WINDOW(dialog), true);
    return dialog;
}

// Presents the dialog and calls answer with the chosen response once. The dialog closes itself after a
// response, and the handler's data goes with it.
void present(AdwMessageDialog* dialog, Answer answer)
{
    g_signal_connect_data(
        dialog, "response", G_CALLBACK(+[](AdwMessageDialog*, const char* response, gpointer data) {
            (*static_cast<Answer*>(data))(response ? response : "");
        }),
        new Answer(std::move(answer)), [](gpointer data, GClosure*) { delete static_cast<Answer*>(data); },
        GConnectFlags(0));
    gtk_window_present(GTK_WINDOW(dialog));
}

} // namespace

AdwAlerts::AdwAlerts(MainQueue& queue, ParentWindow parent)
    : m_queue(queue)
    , m_parent(std::move(parent))
{
}

Task<bool> AdwAlerts::confirm(
    std::string message, std::string details, std::string confirmLabel, std::string cancelLabel)
{
    auto* dialog = makeDialog(m_parent ? m_parent() : nullptr, message, details);
    adw_message_dialog_add_responses(
        dialog, cancelResponse, cancelLabel.c_str(), confirmResponse, confirmLabel.c_str(), nullptr);
    adw_message_dialog_set_response_appearance(dialog, confirmResponse, ADW_RESPONSE_SUGGESTED);
    adw_message_dialog_set_default_response(dialog, confirmResponse);
    adw_message_dialog_set_close_response(dialog, cancelResponse);
    auto response = co_await awaitCallback<std::string>(
        m_queue, [dialog](auto resume) { present(dialog, std::move(resume)); });
    co_return response == confirmResponse;
}

Task<bool> AdwAlerts::confirmDestructive(
    std::string message, std::string details, std::string confirmLabel, std::string cancelLabel)
{
    auto* dialog = makeDialog(m_parent ? m_parent() : nullptr, message, details);
    adw_message_dialog_add_responses(
        dialog, cancelResponse, cancelLabel.c_str(), confirmResponse, confirmLabel.c_str(), nullptr);
    adw_message_dialog_set_response_appearance(dialog, confirmResponse, ADW_RESPONSE_DESTRUCTIVE);
    adw_message_dialog_set_default_response(dialog, cancelResponse);
    adw_message_dialog_set_close_response(dialog, cancelResponse);
    auto response = co_await awaitCallback<std::string>(
        m_queue, [dialog](auto resume) { present(dialog, std::move(resume)); });
    co_return response == confirmResponse;
}

Task<void> AdwAlerts::inform(std::string message, std::string details)
{
    auto* dialog = makeDialog(m_parent ? m_parent() : nullptr, message, details);
    adw_message_dialog_add_response(dialog, confirmResponse, _("OK"));
    adw_message_dialog_set_default_response(dialog, confirmResponse);
    adw_message_dialog_set_close_response(dialog, confirmResponse);
    co_await awaitCallback<std::string>(
        m_queue, [dialog](auto resume) { present(dialog, std::move(resume)); });
}

} // namespace cohortex
