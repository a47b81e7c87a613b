#include "UI/MenuBar/MenuBarRowButton.h"

#include "Support/Translation.h"
#include "UI/SymbolIcons.h"
#include "UI/WorkspaceWindow/WidgetLabels.h"

namespace cohortex {

namespace {

constexpr int nameWidthInCharacters = 22;

} // namespace

MenuBarRowButton::MenuBarRowButton(std::function<void(const Uuid&)> onChoose)
    : m_onChoose(std::move(onChoose))
{
    add_css_class("flat");
    m_name.set_xalign(0);
    m_name.set_hexpand(true);
    m_name.set_ellipsize(Pango::EllipsizeMode::END);
    m_name.set_max_width_chars(nameWidthInCharacters);
    m_capsule.add_css_class("cohortex-menu-bar-capsule");
    m_capsule.set_valign(Gtk::Align::CENTER);
    m_lock.set_from_icon_name(iconNameForSymbol("lock.fill"));
    m_moon.set_from_icon_name(iconNameForSymbol("moon.zzz.fill"));
    setTooltip(m_lock, _("Locked"));
    setTooltip(m_moon, _("Sleeping to save memory"));
    for (auto* symbol : { &m_lock, &m_moon })
        symbol->add_css_class("dim-label");
    m_hint.add_css_class("cohortex-menu-bar-hint");
    m_hint.add_css_class("dim-label");
    for (Gtk::Widget* part : std::initializer_list<Gtk::Widget*>{
             &m_dot, &m_icon, &m_name, &m_capsule, &m_lock, &m_moon, &m_hint })
        m_layout.append(*part);
    set_child(m_layout);
    signal_clicked().connect([this] {
        // A copy: opening the workspace changes the rows, and this button may be handed another.
        if (auto row = m_row)
            m_onChoose(row->workspaceId);
    });
}

void MenuBarRowButton::show(const MenuBarRow& row)
{
    if (m_row == row)
        return;
    m_dot.setColor(row.color);
    if (Glib::ustring icon = iconNameForSymbol(row.iconSymbol); m_icon.get_icon_name() != icon)
        m_icon.set_from_icon_name(icon);
    m_name.set_text(row.name);
    if (row.isActive)
        m_name.add_css_class("cohortex-semibold");
    else
        m_name.remove_css_class("cohortex-semibold");
    m_capsule.set_visible(row.unreadCapsule.has_value());
    m_capsule.set_text(row.unreadCapsule.value_or(""));
    m_lock.set_visible(row.needsUnlock);
    m_moon.set_visible(row.isSleeping);
    m_hint.set_visible(row.shortcutHint.has_value());
    m_hint.set_text(row.shortcutHint.value_or(""));
    setAccessibleLabel(*this, row.description());
    m_row = row;
}

} // namespace cohortex
