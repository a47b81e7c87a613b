#include "Engine/WebKitGtk/IsolatedWebViewCoordinator.h"
#include "Engine/WebKitGtk/LinkMenu.h"
#include "Engine/WebKitGtk/OtherApplicationPrompt.h"
#include "Support/Translation.h"

#include <algorithm>

// Links the user sends elsewhere, and the page taking the whole screen. Links for other applications are
// launched once the user agrees. A middle click or a Ctrl click
// on a link, and the context menu's entry for it, open a new tab of the same workspace: a tab, never a
// window, since a workspace lives in one window. Full screen is WebKit's to make; the window only hears
// of it to get its bars out of the way.

namespace cohortex {

namespace {

constexpr const char* newTabActionName = "open-link-in-new-tab";

bool asksForNewTab(WebKitNavigationAction* action)
{
    if (webkit_navigation_action_get_navigation_type(action) != WEBKIT_NAVIGATION_TYPE_LINK_CLICKED)
        return false;
    return webkit_navigation_action_get_mouse_button(action) == GDK_BUTTON_MIDDLE
        || (webkit_navigation_action_get_modifiers(action) & GDK_CONTROL_MASK) != 0;
}

bool isWebAddress(const Url& url)
{
    auto scheme = url.scheme();
    return scheme == "http" || scheme == "https" || scheme == "file";
}

} // namespace

void offerNewTabInstead(WebKitContextMenu* menu, GAction* openInNewTab, const char* linkURI)
{
    if (!linkURI)
        return;
    for (auto* items = webkit_context_menu_get_items(menu); items; items = items->next) {
        auto* item = WEBKIT_CONTEXT_MENU_ITEM(items->data);
        if (webkit_context_menu_item_get_stock_action(item)
            != WEBKIT_CONTEXT_MENU_ACTION_OPEN_LINK_IN_NEW_WINDOW)
            continue;
        auto position = g_list_position(webkit_context_menu_get_items(menu), items);
        webkit_context_menu_remove(menu, item);
        webkit_context_menu_insert(menu,
            webkit_context_menu_item_new_from_gaction(
                openInNewTab, _("Open Link in New _Tab"), g_variant_new_string(linkURI)),
            position);
        return;
    }
}

void IsolatedWebView::Coordinator::watchLinks()
{
    m_openInNewTab = GObjectPtr<GSimpleAction>(g_simple_action_new(newTabActionName, G_VARIANT_TYPE_STRING));
    m_connections.push_back(connectSignal(m_openInNewTab.get(), "activate",
        G_CALLBACK(+[](GSimpleAction*, GVariant* uri, Coordinator* self) {
            self->openInNewTab(g_variant_get_string(uri, nullptr));
        }),
        this));
    auto* view = m_view.get();
    m_connections.push_back(connectSignal(view, "context-menu",
        G_CALLBACK(+[](WebKitWebView*, WebKitContextMenu* menu, WebKitHitTestResult* hit, Coordinator* self) {
            if (webkit_hit_test_result_context_is_link(hit))
                offerNewTabInstead(
                    menu, G_ACTION(self->m_openInNewTab.get()), webkit_hit_test_result_get_link_uri(hit));
            return FALSE;
        }),
        this));
    m_connections.push_back(
        connectSignal(view, "enter-fullscreen", G_CALLBACK(+[](WebKitWebView*, Coordinator* self) {
            self->fullscreenChanged(true);
            return FALSE;
        }),
            this));
    m_connections.push_back(
        connectSignal(view, "leave-fullscreen", G_CALLBACK(+[](WebKitWebView*, Coordinator* self) {
            self->fullscreenChanged(false);
            return FALSE;
        }),
            this));
}

bool IsolatedWebView::Coordinator::openedInNewTab(WebKitNavigationAction* action, const std::string& uri)
{
    if (!asksForNewTab(action))
        return false;
    return openInNewTab(uri);
}

bool IsolatedWebView::Coordinator::openInNewTab(const std::string& uri)
{
    auto url = Url::parse(uri);
    // Script and data links mean something only to the page they are on.
    if (!url || !isWebAddress(*url) || !m_configuration.onOpenInNewTab)
        return false;
    m_configuration.onOpenInNewTab(*url);
    return true;
}

// One question at a time: a page repeating the link while the user decides gets no second dialog.
void IsolatedWebView::Coordinator::askToOpenElsewhere(const std::string& uri, const std::string& scheme)
{
    bool asking = std::ranges::any_of(m_prompts,
        [](const auto& prompt) { return dynamic_cast<OtherApplicationPrompt*>(prompt.first) != nullptr; });
    if (asking || !m_view)
        return;
    auto open = [weak = weak_from_this(), uri] {
        if (auto self = weak.lock())
            self->m_launcher.openURI(uri);
    };
    auto prompt = std::make_unique<OtherApplicationPrompt>(m_view.get(), uri, scheme,
        m_launcher.applicationForScheme(scheme), std::move(open), dropWhenAnswered());
    m_prompts.emplace(prompt.get(), std::move(prompt));
}

void IsolatedWebView::Coordinator::fullscreenChanged(bool fullscreen)
{
    if (std::exchange(m_fullscreen, fullscreen) == fullscreen)
        return;
    if (m_configuration.onFullscreenChanged)
        m_configuration.onFullscreenChanged(fullscreen);
}

// A page the user moved away from gives the screen back: the window's bars belong to the page now shown.
void IsolatedWebView::Coordinator::leaveFullscreen()
{
    if (m_fullscreen && m_view)
        webkit_web_view_evaluate_javascript(
            m_view.get(), "document.exitFullscreen()", -1, nullptr, nullptr, nullptr, nullptr, nullptr);
}

} // namespace cohortex
