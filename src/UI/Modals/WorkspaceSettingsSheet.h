#pragma once

#include "Models/WorkspaceSettingsForm.h"
#include "Support/Task.h"
#include "Support/Translation.h"
#include "UI/Modals/FolderChooser.h"

#include <functional>
#include <gtkmm/box.h>
#include <gtkmm/button.h>
#include <gtkmm/dropdown.h>
#include <gtkmm/entry.h>
#include <gtkmm/label.h>
#include <gtkmm/passwordentry.h>
#include <gtkmm/switch.h>
#include <memory>
#include <optional>

namespace cohortex {

class Alerts;
class Authenticating;
class Keychain;
class SessionManager;
class SitePermissions;

// Edits one workspace's own settings: name, keep awake, lock, downloads folder and proxy. It works on
// a copy of the record; nothing changes until Save. Without a workspace (its id names none of the
// list any more) the sheet is empty but for its title and Cancel.
class WorkspaceSettingsSheet : public Gtk::Box {
public:
    struct Dependencies {
        SessionManager& sessions;
        Keychain& keychain;
        Alerts& alerts;
        // Asks the owner before the lock is switched on; where it cannot ask at all the lock is refused.
        Authenticating& authenticator;
        ChooseFolder chooseFolder;
        std::function<void()> dismiss;
        // The sites' remembered answers, which the sheet can forget; without it it offers nothing.
        SitePermissions* sitePermissions{ nullptr };
    };

    WorkspaceSettingsSheet(Dependencies, std::optional<WorkspaceSession>);

    // Asks for a downloads folder; a confirmed choice replaces the field's text.
    void chooseFolder();
    // Writes or removes the proxy password, hands the edited record to the session manager, closes.
    void save();
    void cancel() { m_dependencies.dismiss(); }
    // The button that Return presses.
    Gtk::Button& saveButton() { return m_save; }

private:
    void build();
    Gtk::Box* makeMemorySection();
    Gtk::Box* makePrivacySection();
    Gtk::Box* makeDownloadsSection();
    Gtk::Box* makeSitePermissionsSection();
    Gtk::Box* makeProxySection();
    Gtk::Box* makeFooter();
    void bind();
    void bindEntry(Gtk::Editable&, std::string WorkspaceSettingsForm::*field);
    void render();
    static Task<void> learnStoredPassword(
        WorkspaceSettingsSheet*, std::weak_ptr<bool> alive, Keychain&, std::string key);
    // The lock switch was turned on: asks the owner, and keeps it on only for a successful answer.
    static Task<void> confirmLock(WorkspaceSettingsSheet*, std::weak_ptr<bool> alive);

    Dependencies m_dependencies;
    std::optional<WorkspaceSettingsForm> m_form;
    bool m_isRendering{ false };

    Gtk::Entry m_name;
    Gtk::Switch m_keepAwake;
    Gtk::Switch m_requiresUnlock;
    Gtk::Label* m_lockCaption{ nullptr };
    bool m_canAuthenticate{ false };
    Gtk::Label m_sitePermissionsCaption;
    Gtk::Button m_forgetSitePermissions{ _("Forget Site Permissions") };
    Gtk::Label m_folder;
    Gtk::Button m_choose{ _("Choose…") };
    Gtk::Button m_reset{ _("Reset") };
    Gtk::DropDown m_proxyType;
    Gtk::Box m_proxyFields{ Gtk::Orientation::VERTICAL, 6 };
    Gtk::Entry m_host;
    Gtk::Entry m_port;
    Gtk::Entry m_username;
    Gtk::PasswordEntry m_password;
    Gtk::Label* m_passwordLabel{ nullptr };
    Gtk::Label* m_proxyMessage{ nullptr };
    Gtk::Button m_save{ _("Save") };

    std::shared_ptr<bool> m_alive{ std::make_shared<bool>(true) };
};

} // namespace cohortex
