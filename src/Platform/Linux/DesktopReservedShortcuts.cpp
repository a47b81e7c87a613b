#include "Platform/Linux/DesktopReservedShortcuts.h"

#include "KeyboardShortcuts/RecorderRules.h"
#include "Platform/Linux/GLibPtr.h"

#include <gio/gio.h>

namespace cohortex {

namespace {

struct SchemaUnref {
    void operator()(GSettingsSchema* schema) const { g_settings_schema_unref(schema); }
};

void addFrom(const char* schemaId, std::set<Shortcut>& reserved)
{
    auto* source = g_settings_schema_source_get_default();
    std::unique_ptr<GSettingsSchema, SchemaUnref> schema(
        source ? g_settings_schema_source_lookup(source, schemaId, TRUE) : nullptr);
    if (!schema)
        return;
    GObjectPtr<GSettings> settings(g_settings_new(schemaId));
    char** keys = g_settings_schema_list_keys(schema.get());
    for (auto** key = keys; *key; ++key) {
        GVariantPtr value(g_settings_get_value(settings.get(), *key));
        // Older media keys hold one accelerator as a string, the rest a list of them.
        if (g_variant_is_of_type(value.get(), G_VARIANT_TYPE_STRING)) {
            if (auto shortcut = parseAccelerator(g_variant_get_string(value.get(), nullptr)))
                reserved.insert(*shortcut);
            continue;
        }
        if (!g_variant_is_of_type(value.get(), G_VARIANT_TYPE_STRING_ARRAY))
            continue;
        GVariantIter iter;
        g_variant_iter_init(&iter, value.get());
        const char* accelerator = nullptr;
        while (g_variant_iter_next(&iter, "&s", &accelerator)) {
            if (auto shortcut = parseAccelerator(accelerator))
                reserved.insert(*shortcut);
        }
    }
    g_strfreev(keys);
}

} // namespace

std::set<Shortcut> desktopReservedShortcuts()
{
    std::set<Shortcut> reserved;
    addFrom("org.gnome.desktop.wm.keybindings", reserved);
    addFrom("org.gnome.settings-daemon.plugins.media-keys", reserved);
    return reserved;
}

} // namespace cohortex
