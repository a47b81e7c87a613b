#include "Engine/WebKitGtk/ProxyLogins.h"

#include <memory>
#include <utility>
#include <vector>

namespace cohortex {

namespace {

struct CredentialFree {
    void operator()(WebKitCredential* credential) const { webkit_credential_free(credential); }
};

} // namespace

ProxyLogins::ProxyLogins(std::chrono::milliseconds longestWait)
    : m_longestWait(longestWait)
{
}

ProxyLogins::~ProxyLogins()
{
    // The session these requests were for is going; a request never answered would hang its page.
    declineHeld();
}

void ProxyLogins::awaitCredential()
{
    // The credential that comes next replaces the one held now, which must not be given out meanwhile.
    m_credential.reset();
    m_isAwaitingCredential = true;
}

void ProxyLogins::setCredential(std::optional<ProxyCredential> credential)
{
    m_credential = std::move(credential);
    m_isAwaitingCredential = false;
    answerHeld();
}

// A second request for the same login means the proxy refused it, and answering the same again would
// loop; so a retry is declined.
void ProxyLogins::answer(WebKitAuthenticationRequest* request)
{
    if (webkit_authentication_request_is_retry(request))
        respond(request, std::nullopt);
    else if (m_isAwaitingCredential)
        hold(request);
    else
        respond(request, m_credential);
}

void ProxyLogins::startOver()
{
    declineHeld();
    m_hasAnswered = false;
}

void ProxyLogins::hold(WebKitAuthenticationRequest* request)
{
    auto handler = g_signal_connect(request, "cancelled", G_CALLBACK(heldCancelled), this);
    auto& held = m_held[request];
    held.cancelled = GSignalConnection(GObjectPtr<WebKitAuthenticationRequest>::retain(request), handler);
    // The page is waiting meanwhile; a keyring that never answers must not leave it waiting for ever.
    auto seconds = std::chrono::duration<double>(m_longestWait).count();
    held.deadline
        = MainQueue::requireCurrent().postAfter(seconds, [this, request] { release(request, std::nullopt); });
}

void ProxyLogins::answerHeld()
{
    for (auto* request : heldRequests())
        release(request, m_credential);
}

void ProxyLogins::declineHeld()
{
    for (auto* request : heldRequests())
        release(request, std::nullopt);
}

// A copy, since answering a request takes it out of the map.
std::vector<WebKitAuthenticationRequest*> ProxyLogins::heldRequests() const
{
    std::vector<WebKitAuthenticationRequest*> requests;
    for (const auto& [request, held] : m_held)
        requests.push_back(request);
    return requests;
}

void ProxyLogins::release(
    WebKitAuthenticationRequest* request, const std::optional<ProxyCredential>& credential)
{
    auto found = m_held.find(request);
    if (found == m_held.end())
        return;
    // Our own reference keeps the request alive while it is answered, after the held entry has gone.
    auto kept = GObjectPtr<WebKitAuthenticationRequest>::retain(request);
    found->second.deadline.cancel();
    m_held.erase(found);
    respond(kept.get(), credential);
}

void ProxyLogins::respond(
    WebKitAuthenticationRequest* request, const std::optional<ProxyCredential>& credential)
{
    m_hasAnswered = true;
    if (!credential) {
        webkit_authentication_request_cancel(request);
        return;
    }
    std::unique_ptr<WebKitCredential, CredentialFree> login(webkit_credential_new(
        credential->first.c_str(), credential->second.c_str(), WEBKIT_CREDENTIAL_PERSISTENCE_FOR_SESSION));
    webkit_authentication_request_authenticate(request, login.get());
}

// The page gave up on the login (its load was stopped or failed), so there is nothing left to answer.
// WebKit holds a reference of its own while it tells us, so dropping ours here is safe.
void ProxyLogins::heldCancelled(WebKitAuthenticationRequest* request, gpointer data)
{
    auto& logins = *static_cast<ProxyLogins*>(data);
    auto found = logins.m_held.find(request);
    if (found == logins.m_held.end())
        return;
    found->second.deadline.cancel();
    logins.m_held.erase(found);
}

} // namespace cohortex
