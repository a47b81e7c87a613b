#pragma once

#include "Platform/Linux/GLibPtr.h"
#include "Support/ScopedConnection.h"

#include <gio/gio.h>
#include <optional>
#include <string>
#include <vector>

typedef struct _GtkApplication GtkApplication;

namespace cohortex {

class CommandTable;
struct Command;

// The command table as GActions: one action per command, named as the command, enabled while it is, with
// a whole-number parameter for a command that takes one. The application adds them to itself, so that
// "app.<name>" reaches them from every window, from the desktop file and over D-Bus; tests add them to a
// window's action group. Buttons name the action they run (gtk_actionable_set_action_name), so a control
// without a command behind it cannot be built.
class CommandActions {
public:
    explicit CommandActions(const CommandTable&);
    CommandActions(const CommandActions&) = delete;
    CommandActions& operator=(const CommandActions&) = delete;

    void addTo(GActionMap*);
    // The commands' keys as the application's accelerators.
    void setAccelerators(GtkApplication*) const;

    // "app.open-workspace(3)": what a key or a button names to run the command with that argument.
    static std::string detailedName(const Command&, std::optional<int> argument);

private:
    const CommandTable& m_table;
    std::vector<GObjectPtr<GSimpleAction>> m_actions;
    std::vector<ScopedConnection> m_connections;
};

} // namespace cohortex
