#pragma once

#include "Engine/WebKitGtk/WebKitEngine.h"
#include "MainLoop.h"

#include <gtk/gtk.h>
#include <string>
#include <webkit/webkit.h>

namespace cohortex {

// The smallest web view a store serves: a window holding a WebKitWebView on the store's session. It
// holds the store for as long as it lives, waits as the browser's own view does for the session to be
// ready before it loads, and hands a proxy's request for a login to the store, as that view does too.
class TestWebView {
public:
    enum class Outcome { Finished, Failed, TimedOut };

    TestWebView(WebKitEngine& engine, const Uuid& storage)
        : m_engine(engine)
        , m_storage(storage)
        , m_window(GTK_WINDOW(gtk_window_new()))
    {
        auto [session, context] = engine.acquire(storage);
        m_view = WEBKIT_WEB_VIEW(
            g_object_new(WEBKIT_TYPE_WEB_VIEW, "network-session", session, "web-context", context, nullptr));
        gtk_window_set_child(m_window, GTK_WIDGET(m_view));
        g_signal_connect(m_view, "authenticate", G_CALLBACK(authenticate), this);
        g_signal_connect(m_view, "load-changed", G_CALLBACK(loadChanged), this);
        g_signal_connect(m_view, "load-failed", G_CALLBACK(loadFailed), this);
        gtk_window_present(m_window);
    }
    ~TestWebView()
    {
        // Destroying the window drops the view, which was its only owner; then the store is free again.
        g_signal_handlers_disconnect_by_data(m_view, this);
        gtk_window_destroy(m_window);
        m_engine.release(m_storage);
    }
    TestWebView(const TestWebView&) = delete;
    TestWebView& operator=(const TestWebView&) = delete;

    Outcome load(const std::string& uri)
    {
        startLoading(uri);
        return waitForLoad();
    }
    void startLoading(const std::string& uri)
    {
        m_error.clear();
        m_isLoading = true;
        auto ready = m_engine.readyForPages(m_storage);
        if (!runUntil([&] { return ready.isDone(); }))
            m_error = "the store's session did not get ready";
        webkit_web_view_load_uri(m_view, uri.c_str());
    }
    Outcome waitForLoad()
    {
        if (!runUntil([this] { return !m_isLoading; })) {
            webkit_web_view_stop_loading(m_view);
            return Outcome::TimedOut;
        }
        return m_error.empty() ? Outcome::Finished : Outcome::Failed;
    }
    const std::string& lastError() const { return m_error; }
    int proxyLoginsAsked() const { return m_proxyLoginsAsked; }

private:
    static gboolean authenticate(WebKitWebView*, WebKitAuthenticationRequest* request, TestWebView* view)
    {
        if (!webkit_authentication_request_is_for_proxy(request)) {
            webkit_authentication_request_cancel(request);
            return true;
        }
        ++view->m_proxyLoginsAsked;
        view->m_engine.answerProxyLogin(view->m_storage, request);
        return true;
    }
    static void loadChanged(WebKitWebView*, WebKitLoadEvent event, TestWebView* view)
    {
        if (event == WEBKIT_LOAD_FINISHED)
            view->m_isLoading = false;
    }
    static gboolean loadFailed(WebKitWebView*, WebKitLoadEvent, char*, GError* error, TestWebView* view)
    {
        view->m_error = error && error->message ? error->message : "unknown error";
        // Handled: an error page would start another load.
        return true;
    }

    WebKitEngine& m_engine;
    Uuid m_storage;
    GtkWindow* m_window;
    WebKitWebView* m_view;
    bool m_isLoading{ false };
    std::string m_error;
    int m_proxyLoginsAsked{ 0 };
};

} // namespace cohortex
