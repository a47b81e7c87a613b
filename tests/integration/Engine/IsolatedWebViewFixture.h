#pragma once

#include "Engine/WebKitGtk/IsolatedWebView.h"
#include "Engine/WebViewRegistry.h"
#include "EngineTest.h"
#include "Fakes/FakeProcessMemory.h"
#include "Fakes/RecordingLauncher.h"
#include "Services/DownloadList.h"

#include <adwaita.h>
#include <gtk/gtk.h>
#include <memory>
#include <set>
#include <string>
#include <vector>
#include <webkit/webkit.h>

namespace cohortex {

class SitePermissions;

template <typename Test>
GtkWindow* windowWhere(Test test)
{
    auto* windows = gtk_window_get_toplevels();
    for (guint i = 0; i < g_list_model_get_n_items(windows); ++i) {
        GObjectPtr<GtkWindow> window(GTK_WINDOW(g_list_model_get_item(windows, i)));
        if (gtk_widget_get_visible(GTK_WIDGET(window.get())) && test(window.get()))
            return window.get();
    }
    return nullptr;
}

inline AdwMessageDialog* openMessageDialog()
{
    auto* window = windowWhere([](GtkWindow* window) { return ADW_IS_MESSAGE_DIALOG(window); });
    return window ? ADW_MESSAGE_DIALOG(window) : nullptr;
}

// Isolated web views on one workspace's store, each in a window of its own as the browser shows them,
// with the real data store manager and a registry whose measurements are recorded.
class IsolatedWebViewFixture : public ManagedStoreTest {
protected:
    void TearDown() override
    {
        closeViews();
        ManagedStoreTest::TearDown();
    }

    IsolatedWebView::Configuration configuration(const std::string& url)
    {
        IsolatedWebView::Configuration configuration{ *Url::parse(url), m_storeA, m_workspaceID,
            Uuid::random(), {}, &m_bindings, std::nullopt, {}, {}, {}, std::nullopt };
        configuration.onOpenInNewTab = [this](Url url) { m_newTabs.push_back(url.absoluteString()); };
        return configuration;
    }

    IsolatedWebView& makeView(IsolatedWebView::Configuration configuration)
    {
        auto view = std::make_unique<IsolatedWebView>(
            IsolatedWebView::Services{ m_queue, engine(), *m_manager, m_registry, m_downloads, &m_launcher,
                m_sitePermissions, nullptr },
            std::move(configuration));
        auto* window = GTK_WINDOW(gtk_window_new());
        gtk_window_set_default_size(window, 800, 600);
        gtk_window_set_child(window, view->widget());
        gtk_window_present(window);
        m_views.push_back({ std::move(view), window });
        return *m_views.back().view;
    }
    IsolatedWebView& makeView(const std::string& url) { return makeView(configuration(url)); }

    void closeView(std::size_t index)
    {
        auto window = m_views[index].window;
        m_views.erase(m_views.begin() + static_cast<std::ptrdiff_t>(index));
        gtk_window_destroy(window);
    }

    void closeViews()
    {
        while (!m_views.empty())
            closeView(0);
    }

    // The processes the registry measures once the shown views have made that many known.
    std::set<std::int32_t> processes(std::size_t count)
    {
        std::set<std::int32_t> processes;
        EXPECT_TRUE(runUntil([&] {
            m_memory.reads.clear();
            m_registry.measure();
            processes.clear();
            for (const auto& [pid, reads] : m_memory.reads)
                processes.insert(pid);
            return processes.size() == count;
        })) << "Views did not make their processes known";
        return processes;
    }

    static WebKitWebView* webView(const IsolatedWebView& view) { return WEBKIT_WEB_VIEW(view.widget()); }

    // Waits until the server has seen the path `count` times and the view is done loading.
    [[nodiscard]] bool loaded(const IsolatedWebView& view, const std::string& path, std::size_t count = 1)
    {
        return runUntil([&] {
            return m_server.requestsFor(path).size() >= count && !webkit_web_view_is_loading(webView(view));
        });
    }

    static std::string title(const IsolatedWebView& view)
    {
        const char* title = webkit_web_view_get_title(webView(view));
        return title ? title : "(none)";
    }
    [[nodiscard]] static bool showsTitle(const IsolatedWebView& view, const std::string& expected)
    {
        return runUntil(
            [&] { return title(view) == expected && !webkit_web_view_is_loading(webView(view)); });
    }

    static void runScript(const IsolatedWebView& view, const std::string& script)
    {
        webkit_web_view_evaluate_javascript(
            webView(view), script.c_str(), -1, nullptr, nullptr, nullptr, nullptr, nullptr);
    }
    static void click(const IsolatedWebView& view, const std::string& selector)
    {
        runScript(view, "document.querySelector('" + selector + "').click()");
    }

    testing::FakeProcessMemory m_memory;
    WebViewRegistry m_registry{ m_memory };
    testing::RecordingLauncher m_launcher;
    DownloadList m_downloads{ m_queue, m_launcher };
    PageBindings m_bindings;
    std::vector<std::string> m_newTabs;
    SitePermissions* m_sitePermissions{ nullptr };

private:
    struct ShownView {
        std::unique_ptr<IsolatedWebView> view;
        GtkWindow* window;
    };
    std::vector<ShownView> m_views;
};

} // namespace cohortex
