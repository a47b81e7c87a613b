#include "Engine/WebKitGtk/IsolatedWebViewCoordinator.h"
#include "Models/FailurePages.h"

// What a tab shows when its page cannot be shown: a failed load, a certificate that cannot be trusted,
// a web process that ended. Each is a local page loaded in place of the failed one, under its address, so
// that reloading loads the site again and going back leaves it.

namespace cohortex {

namespace {

std::string hostOf(std::string_view uri)
{
    auto url = Url::parse(std::string(uri));
    return url ? url->host().value_or("") : "";
}

std::optional<LoadFailure> failureOf(const GError* error)
{
    if (!error)
        return LoadFailure::Other;
    // Stopped, replaced by another load, turned into a download or handed to the desktop: none is a failure
    // the user needs to hear about.
    if (error->domain == WEBKIT_POLICY_ERROR
        || g_error_matches(error, WEBKIT_NETWORK_ERROR, WEBKIT_NETWORK_ERROR_CANCELLED)
        || g_error_matches(error, G_IO_ERROR, G_IO_ERROR_CANCELLED))
        return std::nullopt;
    if (error->domain == G_RESOLVER_ERROR)
        return LoadFailure::UnknownHost;
    if (g_error_matches(error, G_IO_ERROR, G_IO_ERROR_CONNECTION_REFUSED))
        return LoadFailure::Refused;
    if (g_error_matches(error, G_IO_ERROR, G_IO_ERROR_TIMED_OUT))
        return LoadFailure::TimedOut;
    if (g_error_matches(error, G_IO_ERROR, G_IO_ERROR_NETWORK_UNREACHABLE)
        && !g_network_monitor_get_network_available(g_network_monitor_get_default()))
        return LoadFailure::Offline;
    return LoadFailure::Other;
}

std::vector<CertificateProblem> problemsOf(GTlsCertificateFlags flags)
{
    std::vector<CertificateProblem> problems;
    const std::pair<GTlsCertificateFlags, CertificateProblem> known[] = {
        { G_TLS_CERTIFICATE_UNKNOWN_CA, CertificateProblem::UnknownAuthority },
        { G_TLS_CERTIFICATE_BAD_IDENTITY, CertificateProblem::WrongSite },
        { G_TLS_CERTIFICATE_NOT_ACTIVATED, CertificateProblem::NotYetValid },
        { G_TLS_CERTIFICATE_EXPIRED, CertificateProblem::Expired },
        { G_TLS_CERTIFICATE_REVOKED, CertificateProblem::Revoked },
        { G_TLS_CERTIFICATE_INSECURE, CertificateProblem::Insecure },
        { G_TLS_CERTIFICATE_GENERIC_ERROR, CertificateProblem::Invalid },
    };
    for (const auto& [flag, problem] : known) {
        if (flags & flag)
            problems.push_back(problem);
    }
    return problems;
}

} // namespace

void IsolatedWebView::Coordinator::showLocalPage(const std::function<LocalPage(std::string_view token)>& make,
    std::string uri, GTlsCertificate* certificate)
{
    auto token = Uuid::random().string();
    auto page = renderLocalPage(make(token));
    m_localPage = ShownLocalPage{ token, uri,
        certificate ? GObjectPtr<GTlsCertificate>::retain(certificate) : GObjectPtr<GTlsCertificate>() };
    m_localPagePending = true;
    webkit_web_view_load_alternate_html(m_view.get(), page.c_str(), uri.c_str(), nullptr);
}

bool IsolatedWebView::Coordinator::loadFailed(const char* failingURI, const GError* error)
{
    m_loadFailed = true;
    publish([](PageBindings& bindings) { bindings.isLoading.set(false); });
    auto failure = failureOf(error);
    if (!failure || !failingURI)
        return true;
    std::string uri = failingURI;
    std::string detail = error ? error->message : "";
    showLocalPage(
        [&](std::string_view token) { return loadFailedPage(*failure, hostOf(uri), detail, token); }, uri,
        nullptr);
    return true;
}

bool IsolatedWebView::Coordinator::certificateFailed(
    const char* failingURI, GTlsCertificate* certificate, GTlsCertificateFlags flags)
{
    m_loadFailed = true;
    publish([](PageBindings& bindings) { bindings.isLoading.set(false); });
    if (!failingURI)
        return true;
    std::string uri = failingURI;
    showLocalPage(
        [&](std::string_view token) { return certificatePage(hostOf(uri), problemsOf(flags), token); }, uri,
        certificate);
    return true;
}

bool IsolatedWebView::Coordinator::followPageAction(const std::string& uri)
{
    std::string_view rest(uri);
    auto prefix = std::string(PageAction::scheme) + ":";
    if (!rest.starts_with(prefix))
        return false;
    rest.remove_prefix(prefix.size());
    auto slash = rest.find('/');
    // Only the page shown, through the token it was given, acts; any other page following such an address
    // is ignored.
    if (slash == std::string_view::npos || !m_localPage || rest.substr(0, slash) != m_localPage->token)
        return true;
    auto action = rest.substr(slash + 1);
    auto shown = std::move(*m_localPage);
    m_localPage.reset();
    if (action == PageAction::retry) {
        webkit_web_view_load_uri(m_view.get(), shown.uri.c_str());
    } else if (action == PageAction::goBack) {
        if (webkit_web_view_can_go_back(m_view.get()))
            webkit_web_view_go_back(m_view.get());
        else
            m_localPage = std::move(shown);
    } else if (action == PageAction::allowCertificate && shown.certificate) {
        auto host = hostOf(shown.uri);
        webkit_network_session_allow_tls_certificate_for_host(
            webkit_web_view_get_network_session(m_view.get()), shown.certificate.get(), host.c_str());
        webkit_web_view_load_uri(m_view.get(), shown.uri.c_str());
    } else {
        m_localPage = std::move(shown);
    }
    return true;
}

void IsolatedWebView::Coordinator::processTerminated(WebKitWebProcessTerminationReason reason)
{
    m_webProcess.reset();
    // Ended on purpose (a hibernated workspace, a closed tab): nothing to tell.
    if (reason == WEBKIT_WEB_PROCESS_TERMINATED_BY_API)
        return;
    const char* current = webkit_web_view_get_uri(m_view.get());
    std::string uri = current ? current : m_configuration.url.absoluteString();
    publish([](PageBindings& bindings) { bindings.isLoading.set(false); });
    bool outOfMemory = reason == WEBKIT_WEB_PROCESS_EXCEEDED_MEMORY_LIMIT;
    showLocalPage(
        [&](std::string_view token) { return stoppedPage(hostOf(uri), outOfMemory, token); }, uri, nullptr);
}

} // namespace cohortex
