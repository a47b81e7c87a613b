#pragma once

#include "Platform/Linux/GLibPtr.h"

#include <cstdint>
#include <gio/gio.h>
#include <optional>
#include <string>

namespace cohortex {

// A count on the application's launcher icon, as docks show it (Dash to Dock, Ubuntu Dock, Plank, KDE's
// task manager): the com.canonical.Unity.LauncherEntry Update signal, sent to whoever listens on the
// session bus, naming the application by its desktop file.
class UnityLauncherEntry {
public:
    static constexpr const char* objectPath = "/com/kestrelwick/Cohortex/LauncherEntry";

    // appUri: "application://" followed by the desktop file's name.
    explicit UnityLauncherEntry(std::string appUri);
    ~UnityLauncherEntry();
    UnityLauncherEntry(const UnityLauncherEntry&) = delete;
    UnityLauncherEntry& operator=(const UnityLauncherEntry&) = delete;

    // Sent at once, or as soon as the bus is there.
    void setCount(std::int64_t count, bool isVisible);

private:
    struct Count {
        std::int64_t count;
        bool isVisible;
    };
    void send(const Count&);

    std::string m_appUri;
    GObjectPtr<GCancellable> m_cancellable;
    GObjectPtr<GDBusConnection> m_connection;
    std::optional<Count> m_pending;
};

} // namespace cohortex
