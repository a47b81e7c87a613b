#include "UI/WorkspaceWindow/PageStack.h"

#include <gtk/gtk.h>

namespace cohortex {

PageStack::PageStack(IsolatedWebView::Services services, Configure configure)
    : m_services(services)
    , m_configure(std::move(configure))
{
    set_hexpand(true);
    set_vexpand(true);
    // Switching tabs must be instant.
    set_transition_type(Gtk::StackTransitionType::NONE);
    add(m_blank);
    set_visible_child(m_blank);
}

PageStack::~PageStack()
{
    // A page owns its widget: take every one out of the stack before the page goes.
    while (!m_pages.empty())
        drop(m_pages.begin()->first);
}

void PageStack::apply(const PageStackPlan& plan)
{
    auto changes = PageStackChanges::between(keys(), plan);
    for (const auto& key : changes.toDrop)
        drop(key);
    for (const auto& page : changes.toCreate)
        create(page);
    m_active = plan.activePage;
    showActive();
    update(m_request);
}

void PageStack::update(const std::optional<NavigationRequest>& request)
{
    m_request = request;
    // Pages may report back into the runtime from here, which re-renders the window and calls
    // apply() again; iterate over a copy of the keys so that such a nested call cannot pull the map
    // from under this loop.
    for (const auto& key : keys()) {
        auto page = m_pages.find(key);
        if (page != m_pages.end())
            page->second->update(key == m_active, m_request);
    }
}

std::set<PageKey> PageStack::keys() const
{
    std::set<PageKey> keys;
    for (const auto& [key, page] : m_pages)
        keys.insert(key);
    return keys;
}

void PageStack::drop(const PageKey& key)
{
    auto page = m_pages.find(key);
    if (page == m_pages.end())
        return;
    auto owned = std::move(page->second);
    m_pages.erase(page);
    gtk_stack_remove(gobj(), owned->widget());
}

void PageStack::create(const PageStackPlan::Page& page)
{
    auto configuration = m_configure(page);
    configuration.initialRequest = m_request;
    auto view = std::make_unique<IsolatedWebView>(m_services, std::move(configuration));
    gtk_widget_set_hexpand(view->widget(), true);
    gtk_widget_set_vexpand(view->widget(), true);
    gtk_stack_add_child(gobj(), view->widget());
    m_pages.emplace(page.key, std::move(view));
}

void PageStack::showActive()
{
    auto page = m_active ? m_pages.find(*m_active) : m_pages.end();
    if (page == m_pages.end())
        set_visible_child(m_blank);
    else
        gtk_stack_set_visible_child(gobj(), page->second->widget());
}

} // namespace cohortex
