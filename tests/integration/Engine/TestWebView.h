#pragma once

#include "Engine/WebKitGtk/WebKitEngine.h"

#include <gtk/gtk.h>
#include <ostream>
#include <string>
#include <webkit/webkit.h>

namespace cohortex {

// The smallest web view a store serves: a window holding a WebKitWebView on the store's session. It
// holds the store for as long as it lives, waits as the browser's own view does for the session to be
// ready before it loads, and hands a proxy's request for a login to the store, as that view does too.
class TestWebView {
public:
    enum class Outcome { Finished, Failed, TimedOut };

    TestWebView(WebKitEngine&, const Uuid& storage);
    ~TestWebView();
    TestWebView(const TestWebView&) = delete;
    TestWebView& operator=(const TestWebView&) = delete;

    // Loads the page and waits for the load to finish or fail.
    Outcome load(const std::string& uri);
    // The same in two steps, for tests that act while the page loads.
    void startLoading(const std::string& uri);
    Outcome waitForLoad();
    const std::string& lastError() const { return m_error; }
    // How often the proxy asked this view for its login.
    int proxyLoginsAsked() const { return m_proxyLoginsAsked; }

private:
    static gboolean authenticate(WebKitWebView*, WebKitAuthenticationRequest*, gpointer view);
    static void loadChanged(WebKitWebView*, WebKitLoadEvent, gpointer view);
    static gboolean loadFailed(WebKitWebView*, WebKitLoadEvent, char* uri, GError*, gpointer view);

    WebKitEngine& m_engine;
    Uuid m_storage;
    GtkWindow* m_window;
    WebKitWebView* m_view;
    bool m_isLoading{ false };
    std::string m_error;
    int m_proxyLoginsAsked{ 0 };
};

inline void PrintTo(TestWebView::Outcome outcome, std::ostream* out)
{
    constexpr const char* names[] = { "Finished", "Failed", "TimedOut" };
    *out << names[static_cast<int>(outcome)];
}

} // namespace cohortex
