#include "Engine/WebKitGtk/IsolatedWebViewCoordinator.h"
#include "Models/ZoomSteps.h"

// Find in page, zoom and print for the window's commands, on the active view.

namespace cohortex {

namespace {

constexpr auto findOptions
    = static_cast<guint32>(WEBKIT_FIND_OPTIONS_CASE_INSENSITIVE | WEBKIT_FIND_OPTIONS_WRAP_AROUND);
// WebKit stops counting there; more is shown as that many.
constexpr guint maximumMatches = 1000;

std::string hostOfView(WebKitWebView* view)
{
    const char* uri = webkit_web_view_get_uri(view);
    auto url = uri ? Url::parse(uri) : std::nullopt;
    return url ? url->host().value_or("") : "";
}

} // namespace

void IsolatedWebView::Coordinator::watchFind()
{
    auto* controller = webkit_web_view_get_find_controller(m_view.get());
    m_connections.push_back(connectSignal(controller, "counted-matches",
        G_CALLBACK(+[](WebKitFindController*, guint count, Coordinator* self) {
            self->publish([count](PageBindings& bindings) { bindings.findMatches.set(count); });
        }),
        this));
    m_connections.push_back(connectSignal(controller, "failed-to-find-text",
        G_CALLBACK(+[](WebKitFindController*, Coordinator* self) {
            self->publish([](PageBindings& bindings) { bindings.findMatches.set(0u); });
        }),
        this));
}

void IsolatedWebView::Coordinator::find(NavigationCommand::Kind kind, const std::string& text)
{
    auto* controller = webkit_web_view_get_find_controller(m_view.get());
    switch (kind) {
    case NavigationCommand::Kind::Find:
        if (text.empty()) {
            webkit_find_controller_search_finish(controller);
            publish([](PageBindings& bindings) { bindings.findMatches.set(std::nullopt); });
            return;
        }
        webkit_find_controller_search(controller, text.c_str(), findOptions, maximumMatches);
        webkit_find_controller_count_matches(controller, text.c_str(), findOptions, maximumMatches);
        return;
    case NavigationCommand::Kind::FindNext:
        webkit_find_controller_search_next(controller);
        return;
    case NavigationCommand::Kind::FindPrevious:
        webkit_find_controller_search_previous(controller);
        return;
    default:
        webkit_find_controller_search_finish(controller);
        publish([](PageBindings& bindings) { bindings.findMatches.set(std::nullopt); });
        return;
    }
}

void IsolatedWebView::Coordinator::zoom(NavigationCommand::Kind kind)
{
    auto* view = m_view.get();
    double level = 1.0;
    if (kind != NavigationCommand::Kind::ZoomReset)
        level = ZoomSteps::next(
            webkit_web_view_get_zoom_level(view), kind == NavigationCommand::Kind::ZoomIn ? 1 : -1);
    webkit_web_view_set_zoom_level(view, level);
    auto host = hostOfView(view);
    if (!host.empty() && m_configuration.onZoomChanged)
        m_configuration.onZoomChanged(host, level);
}

void IsolatedWebView::Coordinator::applySiteZoom()
{
    auto host = hostOfView(m_view.get());
    double level = !host.empty() && m_configuration.zoomFor ? m_configuration.zoomFor(host) : 1.0;
    if (webkit_web_view_get_zoom_level(m_view.get()) != level)
        webkit_web_view_set_zoom_level(m_view.get(), level);
}

void IsolatedWebView::Coordinator::print()
{
    auto* root = gtk_widget_get_root(GTK_WIDGET(m_view.get()));
    GObjectPtr<WebKitPrintOperation> operation(webkit_print_operation_new(m_view.get()));
    webkit_print_operation_run_dialog(operation.get(), GTK_IS_WINDOW(root) ? GTK_WINDOW(root) : nullptr);
}

} // namespace cohortex
