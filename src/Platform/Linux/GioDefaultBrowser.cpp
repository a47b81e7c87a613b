#include "Platform/Linux/GioDefaultBrowser.h"

#include "Platform/Linux/GLibPtr.h"
#include "Support/Translation.h"

#include <array>
#include <gio/gdesktopappinfo.h>
#include <gio/gio.h>

namespace cohortex {

namespace {

// In this order: a failure for http leaves https as it was.
constexpr std::array webLinkTypes{ "x-scheme-handler/http", "x-scheme-handler/https" };

std::optional<std::string> setAsDefault(const std::string& desktopId)
{
    GObjectPtr<GDesktopAppInfo> application(g_desktop_app_info_new(desktopId.c_str()));
    // GIO also passes over a desktop file whose program is not on the PATH: an uninstalled build.
    if (!application)
        // TRANSLATORS: {} is the file name of an application's desktop entry, such as
        // com.kestrelwick.Cohortex.desktop.
        return fillIn(_("The desktop file {} is not installed"), desktopId);
    for (const char* type : webLinkTypes) {
        GErrorPtr error;
        if (!g_app_info_set_as_default_for_type(G_APP_INFO(application.get()), type, error.out()))
            return error.message();
    }
    return std::nullopt;
}

} // namespace

GioDefaultBrowser::GioDefaultBrowser()
    : GioDefaultBrowser(std::string(applicationDesktopId))
{
}

GioDefaultBrowser::GioDefaultBrowser(std::string desktopId)
    : m_desktopId(std::move(desktopId))
{
}

// GIO answers from the defaults the user chose and, where there is none, from the installed
// applications that declare the scheme: the same application xdg-open would start.
bool GioDefaultBrowser::isDefaultBrowser() const
{
    GObjectPtr<GAppInfo> handler(g_app_info_get_default_for_uri_scheme("https"));
    if (!handler)
        return false;
    const char* id = g_app_info_get_id(handler.get());
    return id && m_desktopId == id;
}

Task<std::optional<std::string>> GioDefaultBrowser::makeDefault()
{
    co_return setAsDefault(m_desktopId);
}

} // namespace cohortex
