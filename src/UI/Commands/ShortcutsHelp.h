#pragma once

#include "Platform/Linux/GLibPtr.h"
#include "Support/ScopedConnection.h"

#include <functional>
#include <string>

typedef struct _GtkWindow GtkWindow;

namespace cohortex {

class CommandTable;
class Presentation;

// The keyboard-shortcuts help (Ctrl+?), built from the command table so that it lists exactly the keys
// the window answers to: GTK's shortcuts window, described in its builder format.
std::string shortcutsHelpDescription(const CommandTable&);

// Shows the help while the presentation asks for it, over the main window, and clears the request when
// the user closes it.
class ShortcutsHelpPresenter {
public:
    // The window the help belongs to, asked afresh when it opens.
    using ParentWindow = std::function<GtkWindow*()>;

    ShortcutsHelpPresenter(Presentation&, const CommandTable&, ParentWindow);
    ~ShortcutsHelpPresenter();
    ShortcutsHelpPresenter(const ShortcutsHelpPresenter&) = delete;
    ShortcutsHelpPresenter& operator=(const ShortcutsHelpPresenter&) = delete;

    GtkWindow* shownWindow() const { return m_window.get(); }

private:
    void update(bool shown);

    Presentation& m_presentation;
    const CommandTable& m_commands;
    ParentWindow m_parent;
    GObjectPtr<GtkWindow> m_window;
    ScopedConnection m_requests;
};

} // namespace cohortex
