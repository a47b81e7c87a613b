#pragma once

#include "Services/Alerts.h"

#include <functional>

typedef struct _GtkWindow GtkWindow;

namespace cohortex {

class MainQueue;

// The application's alerts as libadwaita message dialogs, modal over the main window. The confirming
// button is the default one (Enter); Escape and closing the dialog answer as the other button does.
class AdwAlerts final : public Alerts {
public:
    // The window the dialogs belong to, asked afresh for each one: nullptr while there is none.
    using ParentWindow = std::function<GtkWindow*()>;

    AdwAlerts(MainQueue&, ParentWindow);

    Task<bool> confirm(
        std::string message, std::string details, std::string confirmLabel, std::string cancelLabel) override;
    Task<bool> confirmDestructive(
        std::string message, std::string details, std::string confirmLabel, std::string cancelLabel) override;
    Task<void> inform(std::string message, std::string details) override;

private:
    MainQueue& m_queue;
    ParentWindow m_parent;
};

} // namespace cohortex
