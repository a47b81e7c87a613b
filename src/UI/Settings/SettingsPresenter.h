#pragma once

#include "Support/ScopedConnection.h"
#include "UI/Settings/SettingsWindow.h"

#include <functional>
#include <memory>

namespace cohortex {

class Presentation;

// Shows the settings window exactly while the presentation asks for it, modal over the main window. The
// window closes itself (Done, Escape, its close button) by clearing the presentation's flag.
class SettingsPresenter {
public:
    struct Dependencies {
        SettingsWindow::Dependencies window;
        Presentation& presentation;
        // The window the settings belong to, asked each time they open: nullptr while there is none.
        std::function<Gtk::Window*()> parent;
    };

    explicit SettingsPresenter(Dependencies);
    ~SettingsPresenter();
    SettingsPresenter(const SettingsPresenter&) = delete;
    SettingsPresenter& operator=(const SettingsPresenter&) = delete;

    // The settings window while it is shown: the parent of the questions its controls ask.
    Gtk::Window* shownWindow() const;

private:
    void update(bool shown);
    void open();
    void close();

    Dependencies m_dependencies;
    std::unique_ptr<SettingsWindow> m_shown;
    // A closed window waits here until the handler that closed it has returned.
    std::unique_ptr<SettingsWindow> m_closing;
    ScopedConnection m_showingChanged;
    std::shared_ptr<bool> m_alive{ std::make_shared<bool>(true) };
};

} // namespace cohortex
