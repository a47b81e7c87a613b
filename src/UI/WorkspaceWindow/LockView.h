#pragma once

#include "Models/WorkspaceSession.h"
#include "Services/Authenticating.h"
#include "Support/Task.h"
#include "Support/Translation.h"

#include <gtkmm/box.h>
#include <gtkmm/button.h>
#include <gtkmm/image.h>
#include <gtkmm/label.h>
#include <memory>
#include <optional>

namespace cohortex {

class SessionManager;

// Covers the pages of a workspace that waits for its owner, with one button that asks again. It does
// not ask by itself when it appears: opening the workspace already did.
class LockView : public Gtk::Box {
public:
    explicit LockView(SessionManager&);

    // A different workspace starts with the first prompt's wording again.
    void setWorkspace(const WorkspaceSession&);

    static constexpr const char* hint = N_("Use your login password to open it.");
    static constexpr const char* failedHint = N_("That didn't work. Try again.");
    static constexpr const char* noAgentHint
        = N_("No authentication agent is running on this desktop, so your password can't be asked for. Start "
             "your desktop's authentication agent, then try again.");

private:
    // Shows how the last prompt ended; nothing for the first prompt's wording.
    void showOutcome(std::optional<Authentication>);
    void makeDefault();
    // Runs the prompt and shows its outcome; liveness is checked after the wait.
    static Task<void> unlock(std::weak_ptr<bool> alive, LockView*, WorkspaceSession);

    SessionManager& m_sessions;
    std::optional<WorkspaceSession> m_workspace;

    Gtk::Image m_icon;
    Gtk::Label m_title;
    Gtk::Label m_hint;
    Gtk::Button m_unlock{ _("Unlock") };

    std::shared_ptr<bool> m_alive{ std::make_shared<bool>(true) };
};

} // namespace cohortex
