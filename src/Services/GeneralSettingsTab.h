#pragma once

#include "Models/WorkspaceSession.h"
#include "Support/Task.h"
#include "Support/Translation.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>

namespace cohortex {

class Alerts;
class LoginItem;
class SessionManager;

// The General tab of the settings window: staying signed in, starting at login, hibernation and the
// purge of every workspace's website data. The two preferences are the session manager's; this keeps
// what the tab itself decides. Main thread only.
class GeneralSettingsTab {
public:
    // Wipes one workspace's saved logins and all of its website data, without waiting for the engine.
    using ClearWorkspaceData = std::function<void(const WorkspaceSession&)>;

    struct HibernationChoice {
        std::string_view title;
        std::int64_t minutes;
    };
    // The hibernation picker's options in the order shown, with the minutes each stores (0: never).
    static constexpr std::array<HibernationChoice, 6> hibernationChoices{ { { N_("Never"), 0 },
        { N_("After 5 min"), 5 }, { N_("After 15 min"), 15 }, { N_("After 30 min"), 30 },
        { N_("After 1 hour"), 60 }, { N_("After 2 hours"), 120 } } };
    // The option showing the stored minutes; nothing for a value that no option offers, which the command
    // line or another version may have stored.
    static std::optional<std::size_t> hibernationChoice(std::int64_t minutes);

    static constexpr std::string_view startupHeading = N_("System & Startup");
    static constexpr std::string_view keepSessionsTitle = N_("Stay signed in after quitting");
    static constexpr std::string_view keepSessionsExplanation = N_(
        "Browsers forget some logins (session cookies) when closed. This saves them for each workspace in "
        "your keyring and puts them back at launch. Turn it off on a shared computer.");
    static constexpr std::string_view launchAtLoginTitle = N_("Launch Cohortex at login");
    static constexpr std::string_view memoryHeading = N_("Memory & Cache Optimization");
    static constexpr std::string_view hibernationTitle = N_("Hibernate idle workspaces");
    static constexpr std::string_view hibernationExplanation = N_(
        "Background workspaces you haven't used for a while are closed to free memory. Your logins stay, "
        "and the pages come back when you click them.");
    static constexpr std::string_view purgeTitle = N_("Purge Website Data Stores");
    static constexpr std::string_view purgeExplanation
        = N_("Clears all cached assets and storage for all containers. Logins will be reset.");
    static constexpr std::string_view purgeButtonTitle = N_("Purge Cache");
    static constexpr std::string_view purgeQuestion = N_("Purge All Storage?");
    static constexpr std::string_view purgeQuestionDetails
        = N_("This will log you out of all workspace containers.");
    static constexpr std::string_view purgeConfirmTitle = N_("Purge");
    static constexpr std::string_view purgeCancelTitle = N_("Cancel");

    // The launch-at-login switch starts from what the system says now.
    GeneralSettingsTab(SessionManager&, LoginItem&, Alerts&, ClearWorkspaceData);
    GeneralSettingsTab(const GeneralSettingsTab&) = delete;
    GeneralSettingsTab& operator=(const GeneralSettingsTab&) = delete;

    bool launchAtLogin() const { return m_launchAtLogin; }
    // Asks the system only when the wish differs from its current status; when it refuses, the switch
    // shows the status it really has, without a message.
    void setLaunchAtLogin(bool);

    // Stores the option's minutes; false when they could not be stored, and the old value stays.
    bool chooseHibernation(std::size_t index);

    // Asks first; on "Purge" clears every workspace of the list in order, asleep and locked ones too.
    // Nothing waits for the engine and nothing is reported.
    Task<void> purgeAllStorage();

private:
    SessionManager& m_sessions;
    LoginItem& m_loginItem;
    Alerts& m_alerts;
    ClearWorkspaceData m_clear;
    bool m_launchAtLogin;
    std::shared_ptr<bool> m_alive{ std::make_shared<bool>(true) };
};

} // namespace cohortex
