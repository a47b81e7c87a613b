#pragma once

#include "KeyboardShortcuts/HotKeyService.h"

#include <functional>
#include <memory>

namespace cohortex {

// Global shortcuts where the desktop offers them through the portal (org.freedesktop.portal.
// GlobalShortcuts, as Wayland desktops do): one session, in which every listened-for name is bound with
// its description and its combination as the preferred trigger; the desktop may let the user pick
// another, and reports the release of whatever the user pressed as the name's release. Everything runs
// asynchronously on the main loop; until the portal has answered, and where there is none,
// isAvailable() says no.
class PortalHotKeys final : public HotKeyService {
public:
    // Starts asking the session bus for the portal at once; availability() then tells when it knows.
    PortalHotKeys();
    ~PortalHotKeys() override;
    PortalHotKeys(const PortalHotKeys&) = delete;
    PortalHotKeys& operator=(const PortalHotKeys&) = delete;

    bool isAvailable() const override;
    // Whether the portal has answered the question of its existence yet.
    bool hasAnswered() const;
    bool registerHotKey(const std::string& name, const Shortcut&) override;
    void unregisterHotKey(const std::string& name, const Shortcut&) override;
    void setReleaseHandler(ReleaseHandler) override;

    // The trigger the portal is offered for a combination, in the trigger syntax of freedesktop.org's
    // shortcuts standard.
    static std::string preferredTrigger(const Shortcut&);

private:
    class State;
    std::shared_ptr<State> m_state;
};

} // namespace cohortex
