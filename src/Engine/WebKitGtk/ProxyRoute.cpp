#include "Engine/WebKitGtk/ProxyRoute.h"

#include "Platform/Linux/GLibPtr.h"

namespace cohortex {

namespace {

std::optional<ProxyCredential> credentialOf(const ProxySettings& settings)
{
    if (!settings.username || settings.username->empty() || !settings.password)
        return std::nullopt;
    return ProxyCredential{ *settings.username, *settings.password };
}

std::string proxyUri(const char* scheme, const std::string& host, int port, const ProxyCredential* credential)
{
    // Joining unencoded parts makes GLib percent-encode the user name, the password and a host with odd
    // characters, and bracket an IPv6 address. A URI that does not parse would be worse than a wrong
    // one: WebKit ignores it and connects directly.
    GCharPtr uri(g_uri_join_with_user(G_URI_FLAGS_HAS_PASSWORD, scheme,
        credential ? credential->first.c_str() : nullptr, credential ? credential->second.c_str() : nullptr,
        nullptr, host.c_str(), port, "", nullptr, nullptr));
    return uri ? uri.get() : "";
}

} // namespace

ProxyRoute ProxyRoute::forSettings(const ProxySettings& settings)
{
    // Nothing listens on port 0, so every connection through this proxy is refused at once, without a
    // name to look up or a packet leaving the machine.
    if (settings.kind == ProxySettings::Kind::Unusable)
        return { "http://0.0.0.0:0", std::nullopt };
    auto credential = credentialOf(settings);
    if (settings.kind == ProxySettings::Kind::Socks5)
        return { proxyUri("socks5", settings.host, settings.port, credential ? &*credential : nullptr),
            std::nullopt };
    return { proxyUri("http", settings.host, settings.port, nullptr), std::move(credential) };
}

} // namespace cohortex
