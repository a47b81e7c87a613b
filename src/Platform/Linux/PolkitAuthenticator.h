#pragma once

#include "Services/Authenticating.h"

#include <memory>
#include <string>
#include <string_view>

namespace cohortex {

// Proves the device owner's identity through polkit: the session's authentication agent asks for the
// user's own password (the action's policy says auth_self), so only the person who owns the login
// session can open a locked workspace.
//
// Whether polkit can do that is asked in the background and remembered: isAvailable() answers at once
// from what is known and never waits for D-Bus. A probe connects to the authority on the system bus
// and lists the registered actions; it gives up after probeTimeout seconds, so a bus without a daemon,
// or a daemon that hangs, reads as "not available" instead of freezing the window. An answer is
// trusted for availabilityLifetime seconds, and the authority's change signals (a policy file
// installed, the daemon restarted) make it ask again sooner.
class PolkitAuthenticator final : public Authenticating {
public:
    static constexpr std::string_view actionId = "com.kestrelwick.cohortex.unlock-workspace";
    // Long enough for the system to start polkitd by bus activation, short enough that pressing
    // "Unlock" on a machine where nothing answers still gives a prompt reply.
    static constexpr double probeTimeout = 3.0;
    static constexpr double availabilityLifetime = 30.0;

    // When the first probe starts: at once, so that the answer is ready by the time anyone asks; or at the
    // first question, for a run that may end, and take its MainQueue with it, before any answer arrives
    // (polkit answers on the main loop, and keeps one request in the whole process).
    enum class FirstProbe { AtOnce, WhenAsked };

    // Needs the current MainQueue, on which every answer arrives.
    explicit PolkitAuthenticator(FirstProbe = FirstProbe::AtOnce);
    // Checks another action than ours. Tests use it against a polkitd that does not know our action,
    // which only the installed policy file registers.
    explicit PolkitAuthenticator(std::string checkedActionId);
    // Dismisses a prompt that is still showing; its task completes with false.
    ~PolkitAuthenticator() override;
    PolkitAuthenticator(const PolkitAuthenticator&) = delete;
    PolkitAuthenticator& operator=(const PolkitAuthenticator&) = delete;

    // The last answer of a probe, false before the first one has come back. A stale answer starts a
    // new probe and is returned meanwhile.
    bool isAvailable() const override;
    // Probes again unless a fresh answer says yes, so that a daemon started a moment ago is found; when
    // polkit is not available it completes with Failed without prompting. Otherwise it asks the authority
    // whether this process may unlock, letting the agent prompt: Succeeded only for an authorized answer,
    // NoAgent when the authority says a prompt was needed and no agent could show one, and Failed for a
    // cancelled or failed prompt and every error.
    Task<Authentication> authenticate(std::string reason) override;

    // The running probe, or a new one when none is running. It completes within probeTimeout.
    Task<bool> refreshAvailability() const;

private:
    class State;
    std::shared_ptr<State> m_state;
};

} // namespace cohortex
