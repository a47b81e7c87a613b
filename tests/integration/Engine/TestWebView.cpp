#include "TestWebView.h"

#include "MainLoop.h"

namespace cohortex {

TestWebView::TestWebView(WebKitEngine& engine, const Uuid& storage)
    : m_engine(engine)
    , m_storage(storage)
    , m_window(GTK_WINDOW(gtk_window_new()))
{
    auto [session, context] = engine.acquire(storage);
    m_view = WEBKIT_WEB_VIEW(
        g_object_new(WEBKIT_TYPE_WEB_VIEW, "network-session", session, "web-context", context, nullptr));
    gtk_window_set_default_size(m_window, 800, 600);
    gtk_window_set_child(m_window, GTK_WIDGET(m_view));
    g_signal_connect(m_view, "authenticate", G_CALLBACK(authenticate), this);
    g_signal_connect(m_view, "load-changed", G_CALLBACK(loadChanged), this);
    g_signal_connect(m_view, "load-failed", G_CALLBACK(loadFailed), this);
    gtk_window_present(m_window);
}

TestWebView::~TestWebView()
{
    // Destroying the window drops the view, which was its only owner; then the store is free again.
    g_signal_handlers_disconnect_by_data(m_view, this);
    gtk_window_destroy(m_window);
    m_engine.release(m_storage);
}

TestWebView::Outcome TestWebView::load(const std::string& uri)
{
    startLoading(uri);
    return waitForLoad();
}

void TestWebView::startLoading(const std::string& uri)
{
    m_error.clear();
    m_isLoading = true;
    auto ready = m_engine.readyForPages(m_storage);
    if (!runUntil([&] { return ready.isDone(); }))
        m_error = "the store's session did not get ready";
    webkit_web_view_load_uri(m_view, uri.c_str());
}

TestWebView::Outcome TestWebView::waitForLoad()
{
    if (!runUntil([this] { return !m_isLoading; })) {
        webkit_web_view_stop_loading(m_view);
        return Outcome::TimedOut;
    }
    return m_error.empty() ? Outcome::Finished : Outcome::Failed;
}

gboolean TestWebView::authenticate(WebKitWebView*, WebKitAuthenticationRequest* request, gpointer data)
{
    auto& view = *static_cast<TestWebView*>(data);
    if (!webkit_authentication_request_is_for_proxy(request)) {
        webkit_authentication_request_cancel(request);
        return true;
    }
    ++view.m_proxyLoginsAsked;
    view.m_engine.answerProxyLogin(view.m_storage, request);
    return true;
}

void TestWebView::loadChanged(WebKitWebView*, WebKitLoadEvent event, gpointer data)
{
    if (event == WEBKIT_LOAD_FINISHED)
        static_cast<TestWebView*>(data)->m_isLoading = false;
}

gboolean TestWebView::loadFailed(WebKitWebView*, WebKitLoadEvent, char*, GError* error, gpointer data)
{
    static_cast<TestWebView*>(data)->m_error = error && error->message ? error->message : "unknown error";
    // Handled: an error page would start another load.
    return true;
}

} // namespace cohortex
