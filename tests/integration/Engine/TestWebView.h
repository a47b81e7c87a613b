#pragma once

#include "Engine/WebKitGtk/WebKitEngine.h"

#include <gtk/gtk.h>
#include <ostream>
#include <string>
#include <webkit/webkit.h>

namespace cohortex {

// The smallest web view a store serves: a window holding a WebKitWebView on the store's session. It
// holds the store for as long as it lives, and answers a proxy's request for a login the way the
// browser's own view does, with the store's proxy credential.
class TestWebView {
public:
    enum class Outcome { Finished, Failed, TimedOut };

    TestWebView(WebKitEngine&, const Uuid& storage);
    ~TestWebView();
    TestWebView(const TestWebView&) = delete;
    TestWebView& operator=(const TestWebView&) = delete;

    // Loads the page and waits for the load to finish or fail.
    Outcome load(const std::string& uri);
    const std::string& lastError() const { return m_error; }
    int proxyLoginsAnswered() const { return m_proxyLoginsAnswered; }

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
    int m_proxyLoginsAnswered{ 0 };
};

inline void PrintTo(TestWebView::Outcome outcome, std::ostream* out)
{
    constexpr const char* names[] = { "Finished", "Failed", "TimedOut" };
    *out << names[static_cast<int>(outcome)];
}

} // namespace cohortex
