#pragma once

#include "Engine/WebKitGtk/IsolatedWebView.h"
#include "Models/PageStackPlan.h"

#include <functional>
#include <gtkmm/box.h>
#include <gtkmm/stack.h>
#include <map>
#include <memory>
#include <optional>
#include <set>

namespace cohortex {

// The pages of every loaded workspace, stacked: only the active one is shown and takes input, the
// others stay alive with their pages loaded. A page is made once per key and kept until its tab goes
// away, since making it again would reload it.
class PageStack : public Gtk::Stack {
public:
    using Configure = std::function<IsolatedWebView::Configuration(const PageStackPlan::Page&)>;

    PageStack(IsolatedWebView::Services, Configure);
    ~PageStack() override;

    // Drops the pages the plan no longer has, makes the new ones and shows the active one.
    void apply(const PageStackPlan&);
    // Passes the latest command to every page; only the active page performs it.
    void update(const std::optional<NavigationRequest>&);

    std::set<PageKey> keys() const;
    bool hasActivePage() const { return m_active.has_value(); }

private:
    void drop(const PageKey&);
    void create(const PageStackPlan::Page&);
    void showActive();

    IsolatedWebView::Services m_services;
    Configure m_configure;
    std::map<PageKey, std::unique_ptr<IsolatedWebView>> m_pages;
    std::optional<PageKey> m_active;
    std::optional<NavigationRequest> m_request;
    // Shown when no page is: nothing active yet, or the lock covers the area.
    Gtk::Box m_blank;
};

} // namespace cohortex
