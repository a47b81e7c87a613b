#include "Platform/Linux/GioDesktopLauncher.h"

#include "Platform/Linux/GLibAsync.h"
#include "Platform/Linux/GLibPtr.h"
#include "Support/Log.h"

#include <gio/gio.h>

namespace cohortex {

namespace {

std::string fileURI(const std::filesystem::path& path)
{
    GCharPtr uri(g_filename_to_uri(path.c_str(), nullptr, nullptr));
    return uri ? uri.get() : "";
}

void launchDefault(const std::string& uri)
{
    auto ready = asyncReady([uri](GObject*, GAsyncResult* result) {
        GErrorPtr error;
        if (!g_app_info_launch_default_for_uri_finish(result, error.out()))
            logWarning("Cannot open " + uri + " with its default application: " + error.message());
    });
    g_app_info_launch_default_for_uri_async(uri.c_str(), nullptr, nullptr, ready.callback, ready.userData);
}

void showItems(GDBusConnection* connection, const std::string& uri, const std::string& folderURI)
{
    const char* uris[] = { uri.c_str(), nullptr };
    auto ready = asyncReady([folderURI](GObject* source, GAsyncResult* result) {
        GErrorPtr error;
        GVariantPtr reply(g_dbus_connection_call_finish(G_DBUS_CONNECTION(source), result, error.out()));
        if (!reply)
            launchDefault(folderURI);
    });
    g_dbus_connection_call(connection, "org.freedesktop.FileManager1", "/org/freedesktop/FileManager1",
        "org.freedesktop.FileManager1", "ShowItems", g_variant_new("(^ass)", uris, ""), nullptr,
        G_DBUS_CALL_FLAGS_NONE, -1, nullptr, ready.callback, ready.userData);
}

} // namespace

void GioDesktopLauncher::openURI(const std::string& uri)
{
    launchDefault(uri);
}

void GioDesktopLauncher::openFile(const std::filesystem::path& file)
{
    if (auto uri = fileURI(file); !uri.empty())
        launchDefault(uri);
}

std::optional<std::string> GioDesktopLauncher::applicationForScheme(const std::string& scheme)
{
    GObjectPtr<GAppInfo> application(g_app_info_get_default_for_uri_scheme(scheme.c_str()));
    if (!application)
        return std::nullopt;
    const char* name = g_app_info_get_display_name(application.get());
    return name && *name ? std::optional<std::string>(name) : std::nullopt;
}

void GioDesktopLauncher::revealFile(const std::filesystem::path& file)
{
    auto uri = fileURI(file);
    auto folderURI = fileURI(file.parent_path());
    if (uri.empty() || folderURI.empty())
        return;
    auto ready = asyncReady([uri, folderURI](GObject*, GAsyncResult* result) {
        GErrorPtr error;
        GObjectPtr<GDBusConnection> connection(g_bus_get_finish(result, error.out()));
        if (connection)
            showItems(connection.get(), uri, folderURI);
        else
            launchDefault(folderURI);
    });
    g_bus_get(G_BUS_TYPE_SESSION, nullptr, ready.callback, ready.userData);
}

} // namespace cohortex
