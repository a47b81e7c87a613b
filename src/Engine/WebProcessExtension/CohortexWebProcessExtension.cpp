// Loaded by WebKit into every web process of the browser's views. It tells each page's view which
// process renders it, so that the browser can measure that process's memory. WebKit's sandbox puts the
// process in a PID namespace of its own, where getpid() means nothing to the browser; the namespace's
// inode goes along, and the browser finds the process among its own by both.

#include "Engine/WebProcessExtension/WebProcessIdentity.h"

#include <sys/stat.h>
#include <unistd.h>
#include <webkit/webkit-web-process-extension.h>

namespace {

guint64 pidNamespaceInode()
{
    struct stat status { };
    return stat("/proc/self/ns/pid", &status) == 0 ? static_cast<guint64>(status.st_ino) : 0;
}

void sendIdentity(WebKitWebPage* page)
{
    using namespace cohortex::WebProcessIdentity;
    auto* parameters = g_variant_new(parameterType, static_cast<guint32>(getpid()), pidNamespaceInode());
    // No reply is wanted: the view only records what it is told.
    webkit_web_page_send_message_to_view(
        page, webkit_user_message_new(messageName, parameters), nullptr, nullptr, nullptr);
}

void pageCreated(WebKitWebProcessExtension*, WebKitWebPage* page, gpointer)
{
    sendIdentity(page);
}

} // namespace

extern "C" G_MODULE_EXPORT void webkit_web_process_extension_initialize(WebKitWebProcessExtension* extension)
{
    g_signal_connect(extension, "page-created", G_CALLBACK(pageCreated), nullptr);
}
