#include "UI/WorkspaceWindow/WorkspaceTabItem.h"

#include "Support/Translation.h"
#include "UI/SymbolIcons.h"
#include "UI/WorkspaceWindow/ItemAttention.h"
#include "UI/WorkspaceWindow/WidgetLabels.h"

#include <gtkmm/gestureclick.h>
#include <gtkmm/separator.h>
#include <gtkmm/shortcutcontroller.h>

namespace cohortex {

namespace {

constexpr int nameWidthInCharacters = 24;

void setSemibold(Gtk::Widget& widget, bool isSemibold)
{
    if (isSemibold)
        widget.add_css_class("cohortex-semibold");
    else
        widget.remove_css_class("cohortex-semibold");
}

} // namespace

WorkspaceTabItem::WorkspaceTabItem(Actions actions)
    : Gtk::Box(Gtk::Orientation::HORIZONTAL, 0)
    , m_actions(std::move(actions))
{
    build();
    bind();
}

WorkspaceTabItem::~WorkspaceTabItem()
{
    m_menu.unparent();
}

void WorkspaceTabItem::build()
{
    add_css_class("cohortex-bar-item");
    m_name.set_ellipsize(Pango::EllipsizeMode::END);
    m_name.set_max_width_chars(nameWidthInCharacters);
    m_name.set_single_line_mode(true);
    m_badge.add_css_class("cohortex-unread-badge");
    m_badge.set_valign(Gtk::Align::CENTER);
    m_status.add_css_class("dim-label");
    m_content.append(m_dot);
    m_content.append(m_icon);
    m_content.append(m_name);
    m_content.append(m_badge);
    m_content.append(m_status);
    m_select.set_child(m_content);
    m_select.add_css_class("flat");
    m_close.set_icon_name(iconNameForSymbol("xmark"));
    m_close.add_css_class("flat");
    m_close.add_css_class("circular");
    m_close.add_css_class("cohortex-small-close");
    m_close.set_valign(Gtk::Align::CENTER);
    m_close.set_visible(false);
    describeWidget(m_close, _("Remove Workspace"));
    append(m_select);
    append(m_close);
    m_menu.set_child(m_menuBox);
    m_menu.set_has_arrow(false);
    m_menu.set_position(Gtk::PositionType::BOTTOM);
    m_menu.set_parent(*this);
}

void WorkspaceTabItem::bind()
{
    m_select.signal_clicked().connect([this] {
        m_actions.onSelect();
        // The click toggled the button by itself; the model says whether it is the active one.
        m_select.set_active(m_state && m_state->isActive);
    });
    m_close.signal_clicked().connect([this] { m_actions.onClose(); });

    watchItemAttention(
        *this, [this](bool hovering) { setHovering(hovering); },
        [this](bool focused) {
            m_hasFocusWithin = focused;
            showCloseButton();
        });

    auto secondaryClick = Gtk::GestureClick::create();
    secondaryClick->set_button(GDK_BUTTON_SECONDARY);
    secondaryClick->signal_pressed().connect([this](int, double, double) { popupMenu(); });
    add_controller(secondaryClick);
    auto keys = Gtk::ShortcutController::create();
    keys->add_shortcut(Gtk::Shortcut::create(Gtk::ShortcutTrigger::parse_string("<Shift>F10|Menu"),
        Gtk::CallbackAction::create([this](Gtk::Widget&, const Glib::VariantBase&) {
            popupMenu();
            return true;
        })));
    add_controller(keys);
}

void WorkspaceTabItem::update(const WorkspaceTabItemState& state)
{
    if (m_state == state)
        return;
    showContent(state);
    auto entries = state.menuEntries();
    if (entries != m_menuEntries)
        showMenu(entries);
    m_state = state;
    showCloseButton();
}

void WorkspaceTabItem::showContent(const WorkspaceTabItemState& state)
{
    const auto& workspace = state.workspace;
    m_dot.setColor(workspace.displayColor());
    // Activating a workspace updates its item and the one before; the icon stays.
    if (Glib::ustring icon = iconNameForSymbol(workspace.iconSymbol); m_icon.get_icon_name() != icon)
        m_icon.set_from_icon_name(icon);
    m_name.set_text(workspace.name);
    setSemibold(m_name, state.isActive);
    m_select.set_active(state.isActive);
    auto badge = state.unreadBadgeText();
    m_badge.set_visible(badge.has_value());
    m_badge.set_text(badge.value_or(""));
    setTooltip(m_badge, state.unreadHelp());
    auto status = state.status();
    m_status.set_visible(status.has_value());
    if (status) {
        if (Glib::ustring icon = iconNameForSymbol(status->symbol); m_status.get_icon_name() != icon)
            m_status.set_from_icon_name(icon);
        setTooltip(m_status, _(status->help));
    }
    std::string description = workspace.name;
    if (badge && status) {
        // TRANSLATORS: a workspace tab as a screen reader reads it: its name, its unread count
        // ("3 unread"), then its state ("Locked").
        description = fillIn(_("{}, {}, {}"), workspace.name, state.unreadHelp(), _(status->help));
    } else if (badge || status) {
        // TRANSLATORS: a list of two for a screen reader: a name, then what is said of it ("3 unread",
        // "Locked", a web site's host name).
        description = fillIn(_("{}, {}"), workspace.name, badge ? state.unreadHelp() : _(status->help));
    }
    setAccessibleLabel(m_select, description);
}

void WorkspaceTabItem::showMenu(const std::vector<WorkspaceMenuEntry>& entries)
{
    while (auto* child = m_menuBox.get_first_child())
        m_menuBox.remove(*child);
    for (const auto& entry : entries) {
        if (entry.followsDivider)
            m_menuBox.append(*Gtk::make_managed<Gtk::Separator>(Gtk::Orientation::HORIZONTAL));
        auto* button = Gtk::make_managed<Gtk::Button>(Glib::ustring(_(entry.label)));
        button->add_css_class("flat");
        if (auto* label = dynamic_cast<Gtk::Label*>(button->get_child()))
            label->set_xalign(0);
        if (entry.isDestructive)
            button->add_css_class("error");
        button->set_sensitive(entry.isEnabled);
        button->signal_clicked().connect([this, action = entry.action] { choose(action); });
        m_menuBox.append(*button);
    }
    m_menuEntries = entries;
}

void WorkspaceTabItem::setHovering(bool isHovering)
{
    m_isHovering = isHovering;
    showCloseButton();
}

void WorkspaceTabItem::showCloseButton()
{
    m_close.set_visible(m_state && m_state->showsCloseButton(m_isHovering || m_hasFocusWithin));
}

void WorkspaceTabItem::popupMenu()
{
    m_menu.popup();
}

void WorkspaceTabItem::choose(WorkspaceMenuEntry::Action action)
{
    m_menu.popdown();
    m_actions.onMenu(action);
}

} // namespace cohortex
