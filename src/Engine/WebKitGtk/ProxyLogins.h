#pragma once

#include "Engine/WebKitGtk/ProxyRoute.h"
#include "Platform/Linux/GSignalConnection.h"
#include "Support/MainQueue.h"

#include <chrono>
#include <map>
#include <optional>
#include <vector>
#include <webkit/webkit.h>

namespace cohortex {

// Answers a store's HTTP proxy when it asks one of the store's pages for the login. The password comes
// from the keyring, which answers asynchronously, so a request that comes before it is held until it is
// here, though never longer than a bounded wait. A store that gets no password, and a login the proxy
// has refused once, are declined at once; the page then shows the proxy's refusal.
//
// A network session keeps every proxy login it was given or refused for as long as it lives, and does
// not ask again; hasAnswered() says whether its session has got that far. A GLib main queue must be
// current.
class ProxyLogins {
public:
    explicit ProxyLogins(std::chrono::milliseconds longestWait);
    // Declines the requests still held.
    ~ProxyLogins();
    ProxyLogins(const ProxyLogins&) = delete;
    ProxyLogins& operator=(const ProxyLogins&) = delete;

    // The credential is on its way: requests are held until it is set.
    void awaitCredential();
    // The credential from now on, or none; the requests held are answered with it, or declined.
    void setCredential(std::optional<ProxyCredential>);
    // Nothing while the credential is awaited.
    const std::optional<ProxyCredential>& credential() const { return m_credential; }

    // Answers the request at once, holds it, or declines it.
    void answer(WebKitAuthenticationRequest*);
    bool hasAnswered() const { return m_hasAnswered; }
    // For a fresh session: the requests held came from pages of the one it replaces and are declined,
    // and nothing has been answered yet. The credential stays.
    void startOver();

private:
    struct Held {
        // Also holds the reference that keeps the request alive.
        GSignalConnection cancelled;
        Cancellable deadline;
    };

    void hold(WebKitAuthenticationRequest*);
    void answerHeld();
    void declineHeld();
    std::vector<WebKitAuthenticationRequest*> heldRequests() const;
    // Takes the request out of the held ones, and answers it if it was there.
    void release(WebKitAuthenticationRequest*, const std::optional<ProxyCredential>&);
    void respond(WebKitAuthenticationRequest*, const std::optional<ProxyCredential>&);
    static void heldCancelled(WebKitAuthenticationRequest*, gpointer logins);

    std::chrono::milliseconds m_longestWait;
    std::optional<ProxyCredential> m_credential;
    bool m_isAwaitingCredential{ false };
    bool m_hasAnswered{ false };
    std::map<WebKitAuthenticationRequest*, Held> m_held;
};

} // namespace cohortex
