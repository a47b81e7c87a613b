#include "Engine/WebKitGtk/FileChooserPrompt.h"

#include "Support/Translation.h"

#include <string>
#include <utility>
#include <vector>

namespace cohortex {

FileChooserPrompt::FileChooserPrompt(
    WebKitWebView* view, WebKitFileChooserRequest* request, PromptAnswered answered)
    : m_request(GObjectPtr<WebKitFileChooserRequest>::retain(request))
    , m_chooser(gtk_file_chooser_native_new(
          _("Open"), windowOf(GTK_WIDGET(view)), GTK_FILE_CHOOSER_ACTION_OPEN, _("_Open"), _("_Cancel")))
    , m_answered(std::move(answered))
{
    auto* chooser = GTK_FILE_CHOOSER(m_chooser.get());
    gtk_file_chooser_set_select_multiple(chooser, webkit_file_chooser_request_get_select_multiple(request));
    if (auto* filter = webkit_file_chooser_request_get_mime_types_filter(request)) {
        gtk_file_chooser_add_filter(chooser, filter);
        gtk_file_chooser_set_filter(chooser, filter);
    }
    m_response = GSignalConnection(m_chooser,
        g_signal_connect(m_chooser.get(), "response",
            G_CALLBACK(+[](GtkNativeDialog*, int response, gpointer self) {
                static_cast<FileChooserPrompt*>(self)->answer(response);
            }),
            this));
    gtk_native_dialog_set_modal(GTK_NATIVE_DIALOG(m_chooser.get()), true);
    gtk_native_dialog_show(GTK_NATIVE_DIALOG(m_chooser.get()));
}

FileChooserPrompt::~FileChooserPrompt()
{
    m_response.disconnect();
    if (!m_isAnswered)
        webkit_file_chooser_request_cancel(m_request.get());
    gtk_native_dialog_destroy(GTK_NATIVE_DIALOG(m_chooser.get()));
}

void FileChooserPrompt::answer(int response)
{
    if (std::exchange(m_isAnswered, true))
        return;
    std::vector<std::string> paths;
    if (response == GTK_RESPONSE_ACCEPT) {
        auto* files = gtk_file_chooser_get_files(GTK_FILE_CHOOSER(m_chooser.get()));
        for (guint i = 0; i < g_list_model_get_n_items(files); ++i) {
            GObjectPtr<GFile> file(G_FILE(g_list_model_get_item(files, i)));
            GCharPtr path(g_file_get_path(file.get()));
            if (path)
                paths.emplace_back(path.get());
        }
        g_object_unref(files);
    }
    if (paths.empty()) {
        webkit_file_chooser_request_cancel(m_request.get());
    } else {
        std::vector<const char*> list;
        for (const auto& path : paths)
            list.push_back(path.c_str());
        list.push_back(nullptr);
        webkit_file_chooser_request_select_files(m_request.get(), list.data());
    }
    m_answered(this);
}

} // namespace cohortex
