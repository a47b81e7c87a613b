#pragma once

#include "Models/Authentication.h"
#include "Models/WorkspaceSession.h"
#include "Support/Translation.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace cohortex {

// What saving the settings form does to the keyring item of the workspace's proxy password.
enum class ProxyPasswordAction { keep, write, remove };

// Everything a press of Save changes, in the order it must happen: the keyring first, so that the
// proxy re-applied by the record's update already finds the new password.
struct WorkspaceSettingsChange {
    WorkspaceSession record;
    ProxyPasswordAction passwordAction{ ProxyPasswordAction::keep };
    // The text to write; empty unless the action is write.
    std::string password;
    // Whether the session manager must re-apply the proxy even when no proxy field changed.
    bool proxyPasswordChanged{ false };
    // Every site of the workspace asks again for the camera, notifications and the like.
    bool forgetSitePermissions{ false };
};

// The state of one workspace's settings form and its decisions, without any widget. It edits a copy of
// the record; nothing changes until change() is handed on. The stored proxy password is never shown:
// the form only knows whether there is one.
class WorkspaceSettingsForm {
public:
    static constexpr std::string_view noProxy = "none";
    static constexpr std::string_view httpProxy = "http";
    static constexpr std::string_view socks5Proxy = "socks5";

    struct ProxyChoice {
        std::string_view value;
        std::string_view title;
    };
    // The proxy picker's options, in the order shown.
    static constexpr std::array<ProxyChoice, 3> proxyChoices{ { { noProxy, N_("No proxy") },
        { httpProxy, N_("HTTP / HTTPS proxy") }, { socks5Proxy, N_("SOCKS5 proxy") } } };

    explicit WorkspaceSettingsForm(WorkspaceSession);

    const WorkspaceSession& workspace() const { return m_workspace; }

    std::string name;
    bool keepAwake{ false };
    bool requiresUnlock{ false };
    std::string downloadFolderPath;
    std::string proxyType;
    std::string proxyHost;
    std::string proxyPort;
    std::string proxyUsername;
    std::string proxyPassword;
    // Learnt from the keyring after the form opens; until then the form assumes there is none.
    bool hasStoredPassword{ false };

    // The port as typed, when it is a decimal number from 1 to 65535.
    std::optional<std::int64_t> portValue() const;
    bool usesProxy() const { return proxyType != noProxy; }
    // Without a proxy nothing needs checking; with one, a host and a valid port are needed.
    bool proxyIsValid() const;
    // This and the captions below are marked for translation only: translated where they are shown.
    std::string_view passwordLabel() const;
    // Switching the lock on for a workspace that is not locked yet asks the owner first, so that nobody
    // sets a lock that this desktop could never open again (no authentication agent to ask with).
    enum class LockCheck { none, asking, noAgent, notConfirmed };
    LockCheck lockCheck{ LockCheck::none };
    // The switch was just turned on: true when the owner must be asked before it stays on (the form then
    // waits for lockAnswered).
    bool startLockCheck();
    // The lock stays on only for a successful authentication.
    void lockAnswered(Authentication);
    // Whether sites of the workspace have answers to forget, and whether Save forgets them.
    bool hasSitePermissions{ false };
    bool forgetsSitePermissions{ false };
    bool canForgetSitePermissions() const { return hasSitePermissions && !forgetsSitePermissions; }
    std::string_view sitePermissionsCaption() const;

    // Save waits for the owner's answer, and needs a valid proxy.
    bool canSave() const { return proxyIsValid() && lockCheck != LockCheck::asking; }

    struct Caption {
        std::string_view text;
        bool isWarning;
    };
    // Where no login password can be asked for, the lock is refused and the caption says why; after an
    // answer that kept the lock off, it says that.
    Caption lockCaption(bool canAuthenticate) const;

    // What Save does with the form as it stands. Only meaningful while the proxy is valid.
    WorkspaceSettingsChange change() const;

private:
    void applyProxy(WorkspaceSettingsChange&) const;

    WorkspaceSession m_workspace;
};

// Host, user name and port are trimmed of spaces and tabs only, not of other white space.
std::string_view trimSpacesAndTabs(std::string_view);

} // namespace cohortex
