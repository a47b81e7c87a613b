#pragma once

#include "Models/WorkspaceSettingsForm.h"
#include "Support/Task.h"

namespace cohortex {

class Alerts;
class Keychain;
class SessionManager;

// Carries out a saved settings form: the proxy password is written to or removed from the keyring
// first, and only once the keyring has answered is the record handed to the session manager, so that
// re-applying the proxy reads the new password rather than the old one. The keyring's answer does not
// matter; a failed write leaves the old password. A record that cannot be stored is reported through the
// alerts, since the sheet that asked has closed by then. All three objects must outlive the save.
Task<void> saveWorkspaceSettings(SessionManager&, Keychain&, Alerts&, WorkspaceSettingsChange);

} // namespace cohortex
