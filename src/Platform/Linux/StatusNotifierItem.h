#pragma once

#include "Platform/Linux/GLibPtr.h"
#include "Support/Observable.h"

#include <functional>
#include <gio/gio.h>
#include <string>

namespace cohortex {

// An icon in the desktop's tray, as KDE, GNOME's AppIndicator extension and most other panels show one:
// an org.kde.StatusNotifierItem object on the session bus under a name of its own, registered with the
// org.kde.StatusNotifierWatcher. The watcher belongs to the panel, so it comes and goes with it; each time
// it appears (a panel or shell restart) the item registers again. Main thread only: the bus's answers
// arrive through the default main context.
class StatusNotifierItem {
public:
    struct Properties {
        std::string category;
        std::string id;
        std::string title;
        std::string status;
        std::string iconName;
        std::string attentionIconName;
        std::string toolTipTitle;
        std::string toolTipText;
        // The object path of the item's com.canonical.dbusmenu menu, on the same connection.
        std::string menuPath;
    };
    // What the panel asks for, with the point on screen where it happened (0, 0 when it does not say).
    struct Handlers {
        std::function<void(int x, int y)> activate;
        std::function<void(int x, int y)> secondaryActivate;
        std::function<void(int x, int y)> contextMenu;
    };

    static constexpr const char* objectPath = "/StatusNotifierItem";
    static constexpr const char* watcherName = "org.kde.StatusNotifierWatcher";

    StatusNotifierItem(Properties, Handlers);
    ~StatusNotifierItem();
    StatusNotifierItem(const StatusNotifierItem&) = delete;
    StatusNotifierItem& operator=(const StatusNotifierItem&) = delete;

    // Each tells the panel through the item's matching New… signal when the value changed.
    void setStatus(std::string);
    void setToolTip(std::string title, std::string text);
    void setTitle(std::string);
    void setIconName(std::string);
    void setAttentionIconName(std::string);

    // "org.kde.StatusNotifierItem-<process id>-1": the name the item is registered under.
    const std::string& busName() const { return m_busName; }
    // True while a watcher has taken the item, that is while a panel can show it.
    const Observable<bool>& isRegistered() const { return m_isRegistered; }

private:
    static void busAcquired(GDBusConnection*, const char* name, gpointer self);
    static void nameAcquired(GDBusConnection*, const char* name, gpointer self);
    static void watcherAppeared(GDBusConnection*, const char* name, const char* owner, gpointer self);
    static void watcherVanished(GDBusConnection*, const char* name, gpointer self);
    static void methodCall(GDBusConnection*, const char* sender, const char* path, const char* interface,
        const char* method, GVariant* parameters, GDBusMethodInvocation*, gpointer self);
    static GVariant* property(GDBusConnection*, const char* sender, const char* path, const char* interface,
        const char* name, GError**, gpointer self);

    void registerWithWatcher();
    GVariant* propertyValue(std::string_view name) const;
    void emit(const char* signal, GVariant* parameters);
    void change(std::string& field, std::string value, const char* signal, bool withValue);

    Properties m_properties;
    Handlers m_handlers;
    std::string m_busName;
    GObjectPtr<GDBusConnection> m_connection;
    GObjectPtr<GCancellable> m_cancellable;
    unsigned m_ownerId{ 0 };
    unsigned m_watcherWatchId{ 0 };
    unsigned m_registrationId{ 0 };
    Observable<bool> m_isRegistered{ false };
};

} // namespace cohortex
