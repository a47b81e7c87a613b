#include "Platform/Linux/XdgAutostartLoginItem.h"

#include "Platform/Linux/GLibPtr.h"
#include "Platform/Linux/XdgDirectories.h"
#include "Support/AtomicFile.h"
#include "Support/Log.h"

#include <glib.h>
#include <system_error>

namespace cohortex {

namespace {

constexpr const char* entryGroup = G_KEY_FILE_DESKTOP_GROUP;

// The program is started by name, as the application's own desktop file does, so that the entry keeps
// working when the package moves it.
constexpr std::string_view entryText = "[Desktop Entry]\n"
                                       "Type=Application\n"
                                       "Name=Cohortex\n"
                                       "Exec=cohortex\n"
                                       "Icon=com.kestrelwick.Cohortex\n"
                                       "X-GNOME-Autostart-enabled=true\n";

struct KeyFileFree {
    void operator()(GKeyFile* file) const { g_key_file_free(file); }
};

// A key that is missing or is no boolean says nothing, and the desktops read it as its default.
bool hasBoolean(GKeyFile* file, const char* key, bool value)
{
    GErrorPtr error;
    bool stored = g_key_file_get_boolean(file, entryGroup, key, error.out());
    return !error && stored == value;
}

} // namespace

std::filesystem::path XdgAutostartLoginItem::entryPath()
{
    auto config = xdgConfigHome();
    return config.empty() ? config : config / "autostart" / fileName;
}

bool XdgAutostartLoginItem::isEnabled() const
{
    auto path = entryPath();
    if (path.empty())
        return false;
    std::unique_ptr<GKeyFile, KeyFileFree> file(g_key_file_new());
    GErrorPtr error;
    if (!g_key_file_load_from_file(file.get(), path.c_str(), G_KEY_FILE_NONE, error.out()))
        return false;
    return !hasBoolean(file.get(), G_KEY_FILE_DESKTOP_KEY_HIDDEN, true)
        && !hasBoolean(file.get(), "X-GNOME-Autostart-enabled", false);
}

bool XdgAutostartLoginItem::setEnabled(bool enabled)
{
    auto path = entryPath();
    if (path.empty())
        return false;
    std::error_code error;
    if (!enabled) {
        std::filesystem::remove(path, error);
        if (error)
            logWarning("Cannot remove Cohortex from the programs started at login: " + error.message());
        return !error;
    }
    std::filesystem::create_directories(path.parent_path(), error);
    auto written = error ? Expected<void>(makeError(error.message())) : writeFileAtomically(path, entryText);
    if (!written)
        logWarning("Cannot add Cohortex to the programs started at login: " + written.error().message);
    return written.has_value();
}

} // namespace cohortex
