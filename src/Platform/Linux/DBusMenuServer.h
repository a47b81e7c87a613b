#pragma once

#include "Platform/Linux/GLibPtr.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

typedef struct _DbusmenuServer DbusmenuServer;

namespace cohortex {

// A menu for the desktop's panel to show, exported as com.canonical.dbusmenu on the session bus at one
// object path (libdbusmenu does the protocol). Panels that show a tray icon's menu themselves, KDE's and
// GNOME's AppIndicator extension, read it from there and send back the item the user chose.
class DBusMenuServer {
public:
    struct Item {
        std::string label{};
        std::string iconName{};
        bool isEnabled{ true };
        bool isSeparator{ false };
        // One choice among several, shown checked or not.
        std::optional<bool> radioState{};
        std::function<void()> activate{};
    };

    explicit DBusMenuServer(std::string objectPath);
    DBusMenuServer(const DBusMenuServer&) = delete;
    DBusMenuServer& operator=(const DBusMenuServer&) = delete;

    // Replaces the whole menu; the panel is told its layout changed.
    void setItems(const std::vector<Item>&);
    const std::string& objectPath() const { return m_objectPath; }

private:
    std::string m_objectPath;
    GObjectPtr<DbusmenuServer> m_server;
};

} // namespace cohortex
