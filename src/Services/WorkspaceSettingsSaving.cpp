#include "Services/WorkspaceSettingsSaving.h"

#include "Services/Alerts.h"
#include "Services/Keychain.h"
#include "Services/SessionManager.h"
#include "Support/Translation.h"

namespace cohortex {

Task<void> saveWorkspaceSettings(
    SessionManager& sessions, Keychain& keychain, Alerts& alerts, WorkspaceSettingsChange change)
{
    auto key = proxyPasswordKey(change.record.id.string());
    switch (change.passwordAction) {
    case ProxyPasswordAction::write:
        co_await keychain.set(std::move(change.password), std::move(key));
        break;
    case ProxyPasswordAction::remove:
        co_await keychain.remove(std::move(key));
        break;
    case ProxyPasswordAction::keep:
        break;
    }
    if (change.proxyPasswordChanged)
        sessions.setProxyPasswordChanged(true);
    if (!sessions.updateWorkspace(change.record))
        co_await alerts.inform(_(changeNotSavedMessage), _(settingsNotWritableDetails));
}

} // namespace cohortex
