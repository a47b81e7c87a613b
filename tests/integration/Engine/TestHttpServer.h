#pragma once

#include "Platform/Linux/GLibPtr.h"

#include <cstdint>
#include <libsoup/soup.h>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace cohortex {

// A web server on 127.0.0.1 and an ephemeral port, served from the test's main loop. It records every
// request and answers each with a small page shaped by the query: set (a Set-Cookie header), frame (a
// framed URL), body, type (Content-Type), disposition, attachment (a small PDF to save under that name),
// stalled and name (a download of that size whose first heldAfter bytes come at once and the rest never).
class TestHttpServer {
public:
    struct Request {
        std::string path;
        std::string cookie;
        // Where the connection came from: a proxy connects from its own bind address.
        std::string peer;
    };

    struct Options {
        unsigned port;
        // Serves HTTPS with this certificate (and its key) instead of HTTP.
        GTlsCertificate* certificate;
    };

    explicit TestHttpServer(Options = {});
    ~TestHttpServer();
    TestHttpServer(const TestHttpServer&) = delete;
    TestHttpServer& operator=(const TestHttpServer&) = delete;

    unsigned port() const { return m_port; }
    std::string url(std::string_view pathAndQuery, std::string_view host = "127.0.0.1") const;
    std::string urlSettingCookie(
        std::string_view path, std::string_view setCookie, std::string_view host = "127.0.0.1") const;
    std::string urlDownloading(std::string_view path, std::string_view fileName) const;
    static std::string_view attachmentBody();
    // The page at the path whose body is kept by the server, for a page whose address must stay short.
    std::string urlServing(std::string_view path, std::string html);
    // The path with the query's values escaped: any of the parameters above.
    std::string urlWith(std::string_view path,
        std::initializer_list<std::pair<std::string_view, std::string_view>> query,
        std::string_view host = "127.0.0.1") const;
    static constexpr std::uint64_t heldAfter = 1 << 20;
    std::vector<Request> requestsFor(std::string_view path) const;
    const std::vector<Request>& requests() const { return m_requests; }

private:
    static void handle(SoupServer*, SoupServerMessage*, const char* path, GHashTable* query, gpointer server);

    GObjectPtr<SoupServer> m_server;
    unsigned m_port{ 0 };
    std::string m_scheme{ "http" };
    std::vector<Request> m_requests;
    std::map<std::string, std::string, std::less<>> m_pages;
};

} // namespace cohortex
