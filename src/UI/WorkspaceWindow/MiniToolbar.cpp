#include "UI/WorkspaceWindow/MiniToolbar.h"

#include "Models/AddressInput.h"
#include "UI/WorkspaceWindow/WidgetLabels.h"

#include <gtkmm/root.h>

namespace cohortex {

MiniToolbar::MiniToolbar(const PageBindings& bindings, Actions actions)
    : Gtk::Box(Gtk::Orientation::HORIZONTAL, 4)
    , m_bindings(bindings)
    , m_actions(std::move(actions))
{
    set_margin_start(6);
    set_margin_end(6);
    set_margin_top(4);
    set_margin_bottom(4);
    m_back = makeIconButton("go-previous-symbolic", "Back");
    m_forward = makeIconButton("go-next-symbolic", "Forward");
    m_reloadOrStop = makeIconButton("view-refresh-symbolic", "Reload");
    auto* newTab = makeIconButton("tab-new-symbolic", "New Tab (Ctrl+T)");
    m_address.set_placeholder_text(placeholder);
    m_address.set_hexpand(true);
    describeWidget(m_address, "Address");
    m_address.add_controller(m_addressFocus);
    append(*m_back);
    append(*m_forward);
    append(*m_reloadOrStop);
    append(m_address);
    append(m_spinner);
    append(*newTab);
    newTab->signal_clicked().connect([this] { m_actions.onNewTab(); });
    bind();
}

void MiniToolbar::bind()
{
    using Kind = NavigationCommand::Kind;
    m_back->signal_clicked().connect([this] { m_actions.onCommand(NavigationCommand::of(Kind::GoBack)); });
    m_forward->signal_clicked().connect(
        [this] { m_actions.onCommand(NavigationCommand::of(Kind::GoForward)); });
    m_reloadOrStop->signal_clicked().connect([this] {
        m_actions.onCommand(NavigationCommand::of(m_bindings.isLoading.get() ? Kind::Stop : Kind::Reload));
    });
    m_address.signal_activate().connect([this] { submitAddress(); });

    m_urlChanged = m_bindings.currentURL.changed().connect([this](const auto&) { showAddress(); });
    m_loadingChanged = m_bindings.isLoading.changed().connect([this](bool loading) { showLoading(loading); });
    m_backChanged = m_bindings.canGoBack.changed().connect([this](bool can) { m_back->set_sensitive(can); });
    m_forwardChanged
        = m_bindings.canGoForward.changed().connect([this](bool can) { m_forward->set_sensitive(can); });
    m_back->set_sensitive(m_bindings.canGoBack.get());
    m_forward->set_sensitive(m_bindings.canGoForward.get());
    showLoading(m_bindings.isLoading.get());
    showAddress();
}

void MiniToolbar::setFallbackAddress(std::optional<Url> address)
{
    if (address == m_fallbackAddress)
        return;
    m_fallbackAddress = std::move(address);
    showAddress();
}

void MiniToolbar::submitAddress()
{
    if (auto url = urlFromAddressInput(m_address.get_text().raw()))
        m_actions.onCommand(NavigationCommand::load(std::move(*url)));
    // Leaving the field lets the page's own address show again as the page navigates.
    if (auto* root = get_root())
        root->unset_focus();
}

void MiniToolbar::showLoading(bool isLoading)
{
    m_reloadOrStop->set_icon_name(isLoading ? "process-stop-symbolic" : "view-refresh-symbolic");
    describeWidget(*m_reloadOrStop, isLoading ? "Stop" : "Reload");
    m_spinner.set_visible(isLoading);
    m_spinner.set_spinning(isLoading);
}

void MiniToolbar::showAddress()
{
    // While the user types, page navigation must not overwrite the text.
    if (m_addressFocus->contains_focus())
        return;
    const auto& url = m_bindings.currentURL.get() ? m_bindings.currentURL.get() : m_fallbackAddress;
    m_address.set_text(url ? url->absoluteString() : "");
    bool isSecure = url && url->scheme() == "https";
    m_address.set_icon_from_icon_name(
        isSecure ? "channel-secure-symbolic" : "web-browser-symbolic", Gtk::Entry::IconPosition::PRIMARY);
}

} // namespace cohortex
