#include "Models/WorkspaceSettingsForm.h"

#include <charconv>

namespace cohortex {

namespace {

constexpr std::int64_t highestPort = 65535;

// A whole decimal number with an optional sign in front, nothing else.
std::optional<std::int64_t> parseSignedDecimal(std::string_view text)
{
    bool isNegative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        isNegative = text.front() == '-';
        text.remove_prefix(1);
    }
    // from_chars would take a sign of its own; after ours only digits may follow.
    if (text.empty() || text.front() < '0' || text.front() > '9')
        return std::nullopt;
    std::int64_t value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return isNegative ? -value : value;
}

std::optional<std::string> presentUnlessEmpty(std::string_view text)
{
    return text.empty() ? std::nullopt : std::optional<std::string>(text);
}

} // namespace

std::string_view trimSpacesAndTabs(std::string_view text)
{
    auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

WorkspaceSettingsForm::WorkspaceSettingsForm(WorkspaceSession workspace)
    : name(workspace.name)
    , keepAwake(workspace.isKeepAwake())
    , requiresUnlock(workspace.isLocked())
    , downloadFolderPath(workspace.downloadFolderPath.value_or(""))
    , proxyType(workspace.hasProxy() ? workspace.proxyType.value_or(std::string(httpProxy)) : noProxy)
    , proxyHost(workspace.proxyHost.value_or(""))
    , proxyPort(workspace.proxyPort ? std::to_string(*workspace.proxyPort) : "")
    , proxyUsername(workspace.proxyUsername.value_or(""))
    , m_workspace(std::move(workspace))
{
}

std::optional<std::int64_t> WorkspaceSettingsForm::portValue() const
{
    auto port = parseSignedDecimal(trimSpacesAndTabs(proxyPort));
    if (!port || *port < 1 || *port > highestPort)
        return std::nullopt;
    return port;
}

bool WorkspaceSettingsForm::proxyIsValid() const
{
    if (!usesProxy())
        return true;
    return !trimSpacesAndTabs(proxyHost).empty() && portValue();
}

std::string_view WorkspaceSettingsForm::passwordLabel() const
{
    return hasStoredPassword ? N_("Password (saved, leave blank to keep)") : N_("Password (optional)");
}

bool WorkspaceSettingsForm::startLockCheck()
{
    requiresUnlock = true;
    if (m_workspace.isLocked())
        return false;
    lockCheck = LockCheck::asking;
    return true;
}

void WorkspaceSettingsForm::lockAnswered(Authentication answer)
{
    requiresUnlock = answer == Authentication::Succeeded;
    lockCheck = answer == Authentication::Succeeded ? LockCheck::none
        : answer == Authentication::NoAgent         ? LockCheck::noAgent
                                                    : LockCheck::notConfirmed;
}

WorkspaceSettingsForm::Caption WorkspaceSettingsForm::lockCaption(bool canAuthenticate) const
{
    if (!canAuthenticate)
        return { N_("This computer can't ask for your login password, so the lock can't be used."), true };
    switch (lockCheck) {
    case LockCheck::asking:
        return { N_("Confirm with your login password to lock this workspace."), false };
    case LockCheck::noAgent:
        return { N_("No authentication agent is running on this desktop, so a locked workspace could not be "
                    "opened again. The lock stays off."),
            true };
    case LockCheck::notConfirmed:
        return { N_("The lock stays off until you confirm it with your login password."), true };
    case LockCheck::none:
        break;
    }
    return {
        N_("It locks again after 5 minutes of not using it, and when it's closed the page is removed from "
           "memory."),
        false
    };
}

WorkspaceSettingsChange WorkspaceSettingsForm::change() const
{
    WorkspaceSettingsChange change{ m_workspace, ProxyPasswordAction::keep, {}, false };
    auto& record = change.record;
    record.name = trimSpacesAndTabs(name);
    // Off is stored as absent, so a record never says false where older records say nothing.
    record.keepAwake = keepAwake ? std::optional(true) : std::nullopt;
    record.requiresUnlock = requiresUnlock ? std::optional(true) : std::nullopt;
    record.downloadFolderPath = presentUnlessEmpty(downloadFolderPath);
    applyProxy(change);
    change.forgetSitePermissions = hasSitePermissions && forgetsSitePermissions;
    return change;
}

std::string_view WorkspaceSettingsForm::sitePermissionsCaption() const
{
    if (forgetsSitePermissions)
        return N_("Once you save, sites in this workspace ask again.");
    if (hasSitePermissions)
        return N_("Your answers to sites asking for your camera, microphone, location, notifications or "
                  "clipboard are kept for this workspace only.");
    return N_("Sites in this workspace ask before they use your camera, microphone, location, notifications "
              "or clipboard. No answer is kept yet.");
}

void WorkspaceSettingsForm::applyProxy(WorkspaceSettingsChange& change) const
{
    auto& record = change.record;
    if (!usesProxy()) {
        record.proxyType = record.proxyHost = record.proxyUsername = std::nullopt;
        record.proxyPort = std::nullopt;
        if (hasStoredPassword) {
            change.passwordAction = ProxyPasswordAction::remove;
            change.proxyPasswordChanged = true;
        }
        return;
    }
    record.proxyType = proxyType;
    record.proxyHost = trimSpacesAndTabs(proxyHost);
    record.proxyPort = portValue();
    record.proxyUsername = presentUnlessEmpty(trimSpacesAndTabs(proxyUsername));
    if (record.proxyUsername && !proxyPassword.empty()) {
        change.passwordAction = ProxyPasswordAction::write;
        change.password = proxyPassword;
        change.proxyPasswordChanged = true;
    } else if (!record.proxyUsername && hasStoredPassword) {
        // Without a user name the proxy is used without credentials; the removed user name already
        // makes the session manager re-apply it.
        change.passwordAction = ProxyPasswordAction::remove;
    }
}

} // namespace cohortex
