#pragma once

#include "Models/PresentedSheet.h"
#include "Support/ScopedConnection.h"
#include "UI/Modals/FolderChooser.h"

#include <gtkmm/widget.h>
#include <gtkmm/window.h>
#include <vector>

namespace cohortex {

class Alerts;
class Authenticating;
class Keychain;
class MainQueue;
class Presentation;
class SessionManager;
class SitePermissions;

// Shows the window's sheets as modal dialogs over it, one at a time, exactly while the presentation's
// flags ask for them: the create sheet while showingCreateModal is set, a workspace's settings
// while workspaceSettingsID names it. A sheet closes itself by clearing its flag. The preferences window
// is not a sheet of this window and is left to its own presenter.
class SheetPresenter {
public:
    struct Dependencies {
        SessionManager& sessions;
        Presentation& presentation;
        Keychain& keychain;
        Authenticating& authenticator;
        MainQueue& queue;
        Alerts& alerts;
        ChooseFolder chooseFolder{ chooseFolderWithPortal };
        SitePermissions* sitePermissions{ nullptr };
    };

    // The sheets belong to the window that holds the anchor.
    SheetPresenter(Gtk::Widget& anchor, Dependencies);
    ~SheetPresenter();
    SheetPresenter(const SheetPresenter&) = delete;
    SheetPresenter& operator=(const SheetPresenter&) = delete;

    // The dialog on screen, if any.
    Gtk::Window* shownWindow() const { return m_window; }

private:
    void update();
    void open(const PresentedSheet&);
    void close();
    void dismiss(PresentedSheet::Kind);
    Gtk::Widget* makeContent(const PresentedSheet&, Gtk::Window&);

    Gtk::Widget& m_anchor;
    Dependencies m_dependencies;
    PresentedSheet m_shown;
    Gtk::Window* m_window{ nullptr };
    std::vector<ScopedConnection> m_connections;
};

} // namespace cohortex
