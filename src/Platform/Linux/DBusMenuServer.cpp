#include "Platform/Linux/DBusMenuServer.h"

#include <libdbusmenu-glib/dbusmenu-glib.h>
#include <memory>

namespace cohortex {

namespace {

using Activation = std::function<void()>;

// Labels are mnemonic texts, where an underscore marks the next letter; a name's own underscores are meant
// as themselves.
std::string escapeMnemonics(const std::string& label)
{
    std::string escaped;
    escaped.reserve(label.size());
    for (char character : label) {
        if (character == '_')
            escaped += '_';
        escaped += character;
    }
    return escaped;
}

void activated(DbusmenuMenuitem*, guint, gpointer data)
{
    // A copy: what it runs may replace the menu, and this item's handler with it.
    auto activation = *static_cast<Activation*>(data);
    activation();
}

GObjectPtr<DbusmenuMenuitem> makeMenuItem(const DBusMenuServer::Item& item)
{
    GObjectPtr<DbusmenuMenuitem> menuItem(dbusmenu_menuitem_new());
    auto* raw = menuItem.get();
    if (item.isSeparator) {
        dbusmenu_menuitem_property_set(raw, DBUSMENU_MENUITEM_PROP_TYPE, DBUSMENU_CLIENT_TYPES_SEPARATOR);
        return menuItem;
    }
    dbusmenu_menuitem_property_set(raw, DBUSMENU_MENUITEM_PROP_LABEL, escapeMnemonics(item.label).c_str());
    if (!item.iconName.empty())
        dbusmenu_menuitem_property_set(raw, DBUSMENU_MENUITEM_PROP_ICON_NAME, item.iconName.c_str());
    dbusmenu_menuitem_property_set_bool(raw, DBUSMENU_MENUITEM_PROP_ENABLED, item.isEnabled);
    if (item.radioState) {
        dbusmenu_menuitem_property_set(
            raw, DBUSMENU_MENUITEM_PROP_TOGGLE_TYPE, DBUSMENU_MENUITEM_TOGGLE_RADIO);
        dbusmenu_menuitem_property_set_int(raw, DBUSMENU_MENUITEM_PROP_TOGGLE_STATE,
            *item.radioState ? DBUSMENU_MENUITEM_TOGGLE_STATE_CHECKED
                             : DBUSMENU_MENUITEM_TOGGLE_STATE_UNCHECKED);
    }
    if (item.activate) {
        // The item owns its handler: it is released with the item, when a new menu replaces this one.
        g_signal_connect_data(
            raw, DBUSMENU_MENUITEM_SIGNAL_ITEM_ACTIVATED, G_CALLBACK(activated),
            std::make_unique<Activation>(item.activate).release(),
            [](gpointer data, GClosure*) { std::unique_ptr<Activation>(static_cast<Activation*>(data)); },
            GConnectFlags(0));
    }
    return menuItem;
}

} // namespace

DBusMenuServer::DBusMenuServer(std::string objectPath)
    : m_objectPath(std::move(objectPath))
    , m_server(dbusmenu_server_new(m_objectPath.c_str()))
{
}

void DBusMenuServer::setItems(const std::vector<Item>& items)
{
    GObjectPtr<DbusmenuMenuitem> root(dbusmenu_menuitem_new());
    for (const auto& item : items)
        dbusmenu_menuitem_child_append(root.get(), makeMenuItem(item).get());
    dbusmenu_server_set_root(m_server.get(), root.get());
}

} // namespace cohortex
