#include "Engine/WebKitGtk/OtherApplicationPrompt.h"

#include "Engine/NavigationPolicy.h"
#include "Support/Translation.h"

#include <adwaita.h>
#include <cstring>
#include <utility>

namespace cohortex {

namespace {

// Enough of the link to judge where it goes; a page may make it as long as it likes.
constexpr std::size_t shownLinkLength = 300;

std::string shown(const std::string& uri)
{
    return uri.size() <= shownLinkLength ? uri : uri.substr(0, shownLinkLength) + "\u2026";
}

} // namespace

OtherApplicationPrompt::OtherApplicationPrompt(WebKitWebView* view, const std::string& uri,
    const std::string& scheme, std::optional<std::string> application, std::function<void()> open,
    PromptAnswered answered)
    : m_open(std::move(open))
    , m_answered(std::move(answered))
{
    adw_init();
    const char* pageURI = webkit_web_view_get_uri(view);
    auto host = NavigationPolicy::scriptDialogTitle(pageURI ? pageURI : "");
    auto* window = windowOf(GTK_WIDGET(view));
    GtkWidget* message = nullptr;
    if (application) {
        // TRANSLATORS: {} is the name of an application of the desktop, such as Zoom.
        auto heading = fillIn(_("Open in {}?"), *application);
        // TRANSLATORS: {0} is the page's host, {1} the scheme of the link (such as zoommtg or webcal), {2}
        // the name of the application that opens such links.
        auto body = fillIn(_("{0} wants to open a {1}: link in {2}."), host, scheme, *application) + "\n\n"
            + shown(uri);
        message = adw_message_dialog_new(window, heading.c_str(), body.c_str());
        adw_message_dialog_add_responses(
            ADW_MESSAGE_DIALOG(message), "cancel", _("Cancel"), "open", _("Open"), nullptr);
        adw_message_dialog_set_response_appearance(
            ADW_MESSAGE_DIALOG(message), "open", ADW_RESPONSE_SUGGESTED);
        // Launching takes a deliberate click: a page may have followed the link by itself.
        adw_message_dialog_set_default_response(ADW_MESSAGE_DIALOG(message), "cancel");
        adw_message_dialog_set_close_response(ADW_MESSAGE_DIALOG(message), "cancel");
    } else {
        auto body = fillIn(
            // TRANSLATORS: {0} is the page's host, {1} the scheme of the link (such as zoommtg or webcal).
            _("{0} wants to open a {1}: link, and no application on this computer opens {1}: links."), host,
            scheme);
        message = adw_message_dialog_new(window, _(noApplicationHeading), body.c_str());
        adw_message_dialog_add_response(ADW_MESSAGE_DIALOG(message), "close", _("Close"));
        adw_message_dialog_set_close_response(ADW_MESSAGE_DIALOG(message), "close");
    }
    m_window = GObjectPtr<GtkWidget>::retain(message);
    m_response = GSignalConnection(m_window,
        g_signal_connect(message, "response",
            G_CALLBACK(+[](AdwMessageDialog*, char* response, gpointer self) {
                static_cast<OtherApplicationPrompt*>(self)->answer(
                    response && std::strcmp(response, "open") == 0);
            }),
            this));
    gtk_window_set_modal(GTK_WINDOW(message), true);
    gtk_window_present(GTK_WINDOW(message));
}

OtherApplicationPrompt::~OtherApplicationPrompt()
{
    m_response.disconnect();
    gtk_window_destroy(GTK_WINDOW(m_window.get()));
}

void OtherApplicationPrompt::answer(bool open)
{
    if (std::exchange(m_isAnswered, true))
        return;
    if (open)
        m_open();
    m_answered(this);
}

} // namespace cohortex
