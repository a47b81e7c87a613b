#include "TestHttpServer.h"

#include <algorithm>
#include <stdexcept>

namespace cohortex {

namespace {

std::string escape(std::string_view text)
{
    GCharPtr escaped(g_uri_escape_string(std::string(text).c_str(), nullptr, false));
    return escaped.get();
}

std::string page(const char* framedUrl, const char* html)
{
    std::string body = framedUrl ? std::string("<iframe src=\"") + framedUrl + "\"></iframe>" : "ok";
    if (html)
        body = html;
    return "<!DOCTYPE html><html><head><title>test</title></head><body>" + body + "</body></html>";
}

const char* queryValue(GHashTable* query, const char* name)
{
    return query ? static_cast<const char*>(g_hash_table_lookup(query, name)) : nullptr;
}

std::string header(SoupServerMessage* message, const char* name)
{
    const char* value = soup_message_headers_get_one(soup_server_message_get_request_headers(message), name);
    return value ? value : "";
}

// The body is announced whole but given only in part: the server's writer waits for the rest, which is never
// appended, and the connection stays open until the client closes it.
void answerStalled(SoupServerMessage* message, std::uint64_t size, const char* fileName)
{
    auto* headers = soup_server_message_get_response_headers(message);
    soup_message_headers_append(headers, "Content-Disposition",
        (std::string("attachment; filename=\"") + (fileName ? fileName : "") + "\"").c_str());
    soup_message_headers_set_content_type(headers, "application/octet-stream", nullptr);
    soup_message_headers_set_encoding(headers, SOUP_ENCODING_CONTENT_LENGTH);
    soup_message_headers_set_content_length(headers, static_cast<goffset>(size));
    static const std::string chunk(64 * 1024, 'x');
    auto* body = soup_server_message_get_response_body(message);
    soup_message_body_set_accumulate(body, false);
    for (std::uint64_t given = 0; given < std::min(size, TestHttpServer::heldAfter); given += chunk.size())
        soup_message_body_append(body, SOUP_MEMORY_STATIC, chunk.data(), chunk.size());
}

} // namespace

TestHttpServer::TestHttpServer(Options options)
    : m_server(
        soup_server_new("server-header", "cohortex-test", "tls-certificate", options.certificate, nullptr))
{
    soup_server_add_handler(m_server.get(), nullptr, handle, this, nullptr);
    GErrorPtr error;
    auto listenOptions = SOUP_SERVER_LISTEN_IPV4_ONLY;
    if (options.certificate) {
        listenOptions = static_cast<SoupServerListenOptions>(listenOptions | SOUP_SERVER_LISTEN_HTTPS);
        m_scheme = "https";
    }
    if (!soup_server_listen_local(m_server.get(), options.port, listenOptions, error.out()))
        throw std::runtime_error(std::string("The test server cannot listen: ") + error.message());
    GSList* uris = soup_server_get_uris(m_server.get());
    m_port = static_cast<unsigned>(g_uri_get_port(static_cast<GUri*>(uris->data)));
    g_slist_free_full(uris, reinterpret_cast<GDestroyNotify>(g_uri_unref));
}

TestHttpServer::~TestHttpServer()
{
    soup_server_disconnect(m_server.get());
}

std::string TestHttpServer::url(std::string_view pathAndQuery, std::string_view host) const
{
    return m_scheme + "://" + std::string(host) + ":" + std::to_string(m_port) + std::string(pathAndQuery);
}

std::string TestHttpServer::urlSettingCookie(
    std::string_view path, std::string_view setCookie, std::string_view host) const
{
    return urlWith(path, { { "set", setCookie } }, host);
}

std::string TestHttpServer::urlDownloading(std::string_view path, std::string_view fileName) const
{
    return urlWith(path, { { "attachment", fileName } });
}

std::string TestHttpServer::urlWith(std::string_view path,
    std::initializer_list<std::pair<std::string_view, std::string_view>> query, std::string_view host) const
{
    std::string pathAndQuery(path);
    for (const auto& [name, value] : query)
        pathAndQuery
            += (pathAndQuery.size() == path.size() ? "?" : "&") + std::string(name) + "=" + escape(value);
    return url(pathAndQuery, host);
}

std::string_view TestHttpServer::attachmentBody()
{
    return "%PDF-1.4\n% cohortex test attachment\n%%EOF\n";
}

std::string TestHttpServer::urlServing(std::string_view path, std::string html)
{
    m_pages.insert_or_assign(std::string(path), std::move(html));
    return url(path);
}

std::vector<TestHttpServer::Request> TestHttpServer::requestsFor(std::string_view path) const
{
    std::vector<Request> found;
    for (const auto& request : m_requests) {
        if (request.path == path)
            found.push_back(request);
    }
    return found;
}

void TestHttpServer::handle(
    SoupServer*, SoupServerMessage* message, const char* path, GHashTable* query, gpointer data)
{
    auto& server = *static_cast<TestHttpServer*>(data);
    const char* peer = soup_server_message_get_remote_host(message);
    server.m_requests.push_back({ path, header(message, "Cookie"), peer ? peer : "" });

    auto* headers = soup_server_message_get_response_headers(message);
    if (const char* setCookie = queryValue(query, "set"))
        soup_message_headers_append(headers, "Set-Cookie", setCookie);
    if (const char* disposition = queryValue(query, "disposition"))
        soup_message_headers_append(headers, "Content-Disposition", disposition);
    soup_message_headers_append(headers, "Cache-Control", "no-store");
    soup_server_message_set_status(message, SOUP_STATUS_OK, nullptr);
    if (const char* fileName = queryValue(query, "attachment")) {
        soup_message_headers_append(headers, "Content-Disposition",
            (std::string("attachment; filename=\"") + fileName + "\"").c_str());
        auto body = attachmentBody();
        soup_server_message_set_response(
            message, "application/pdf", SOUP_MEMORY_STATIC, body.data(), body.size());
        return;
    }
    if (const char* size = queryValue(query, "stalled")) {
        answerStalled(message, std::stoull(size), queryValue(query, "name"));
        return;
    }
    auto kept = server.m_pages.find(std::string_view(path));
    auto body = kept != server.m_pages.end() ? kept->second
                                             : page(queryValue(query, "frame"), queryValue(query, "body"));
    const char* type = queryValue(query, "type");
    soup_server_message_set_response(
        message, type ? type : "text/html", SOUP_MEMORY_COPY, body.data(), body.size());
}

} // namespace cohortex
