#include "UI/MenuBar/MenuBarPanel.h"

#include "Services/MenuBarModel.h"
#include "Support/Translation.h"
#include "UI/MenuBar/MenuBarRowButton.h"
#include "UI/MenuBar/WindowPlacement.h"
#include "UI/Styles.h"
#include "UI/SymbolIcons.h"
#include "UI/WorkspaceWindow/WidgetLabels.h"

#include <gtkmm/button.h>
#include <gtkmm/separator.h>
#include <gtkmm/shortcutcontroller.h>

namespace cohortex {

namespace {

constexpr int memoryLineLimit = 4;
constexpr int memoryWidthInCharacters = 40;

Gtk::Separator* makeDivider()
{
    auto* divider = Gtk::make_managed<Gtk::Separator>(Gtk::Orientation::HORIZONTAL);
    divider->set_margin_top(4);
    divider->set_margin_bottom(4);
    return divider;
}

Gtk::Button* makeCommandButton(const MenuBarCommand& command)
{
    auto* content = Gtk::make_managed<Gtk::Box>(Gtk::Orientation::HORIZONTAL, 8);
    auto* icon = Gtk::make_managed<Gtk::Image>();
    icon->set_from_icon_name(iconNameForSymbol(command.symbol));
    content->append(*icon);
    auto* label = Gtk::make_managed<Gtk::Label>(Glib::ustring(_(command.label)));
    label->set_xalign(0);
    content->append(*label);
    auto* button = Gtk::make_managed<Gtk::Button>();
    button->set_child(*content);
    button->add_css_class("flat");
    if (command.commandName)
        button->set_action_name("app." + Glib::ustring(std::string(*command.commandName)));
    else {
        button->set_sensitive(false);
        setTooltip(*button, Glib::ustring(_(command.unavailableHelp)));
    }
    return button;
}

} // namespace

MenuBarPanel::MenuBarPanel(Dependencies dependencies)
    : m_model(dependencies.model)
    , m_openWorkspace(std::move(dependencies.openWorkspace))
{
    installStyles();
    build();
    bind();
    showMenu(m_model.menu().get());
}

void MenuBarPanel::build()
{
    set_title("Cohortex");
    set_decorated(false);
    set_resizable(false);
    set_hide_on_close(true);
    set_default_size(width, -1);
    add_css_class("cohortex-menu-bar-panel");
    m_header.set_text(Glib::ustring(_(MenuBarMenu::header)));
    m_header.set_xalign(0);
    m_header.add_css_class("cohortex-menu-bar-header");
    m_header.add_css_class("dim-label");
    m_memoryIcon.set_from_icon_name(iconNameForSymbol(MenuBarMenu::memorySymbol));
    m_memoryIcon.set_valign(Gtk::Align::START);
    m_memoryLine.set_xalign(0);
    m_memoryLine.set_wrap(true);
    m_memoryLine.set_lines(memoryLineLimit);
    m_memoryLine.set_ellipsize(Pango::EllipsizeMode::END);
    m_memoryLine.set_max_width_chars(memoryWidthInCharacters);
    m_memoryLine.add_css_class("caption");
    m_memory.add_css_class("cohortex-menu-bar-memory");
    m_memory.append(m_memoryIcon);
    m_memory.append(m_memoryLine);
    buildCommands();
    m_layout.append(m_header);
    m_layout.append(m_rows);
    m_layout.append(*makeDivider());
    m_layout.append(m_memory);
    m_layout.append(*makeDivider());
    m_layout.append(m_commands);
    set_child(m_layout);
}

void MenuBarPanel::buildCommands()
{
    for (const auto& command : MenuBarMenu::commands()) {
        if (command.followsDivider)
            m_commands.append(*makeDivider());
        auto* button = makeCommandButton(command);
        // After the action has run: the command may bring the main window forward, which the panel must
        // not be left covering.
        button->signal_clicked().connect([this] { hide(); });
        m_commands.append(*button);
    }
}

void MenuBarPanel::bind()
{
    m_menuChanged = m_model.menu().changed().connect([this](const MenuBarMenu& menu) { showMenu(menu); });
    property_is_active().signal_changed().connect([this] {
        if (is_active())
            m_hasHadFocus = true;
        else if (m_hasHadFocus)
            hide();
    });
    signal_hide().connect([this] {
        m_hasHadFocus = false;
        m_hiddenAt = g_get_monotonic_time();
    });
    signal_map().connect([this] { place(); }, true);
    auto keys = Gtk::ShortcutController::create();
    keys->add_shortcut(Gtk::Shortcut::create(Gtk::KeyvalTrigger::create(GDK_KEY_Escape),
        Gtk::CallbackAction::create([this](Gtk::Widget&, const Glib::VariantBase&) {
            hide();
            return true;
        })));
    add_controller(keys);
}

void MenuBarPanel::showMenu(const MenuBarMenu& menu)
{
    // Buttons are kept by place and only told their new row, so the button under the pointer stays.
    while (m_rowButtons.size() > menu.rows.size()) {
        m_rows.remove(*m_rowButtons.back());
        m_rowButtons.pop_back();
    }
    while (m_rowButtons.size() < menu.rows.size()) {
        auto* button = Gtk::make_managed<MenuBarRowButton>([this](const Uuid& id) { choose(id); });
        m_rows.append(*button);
        m_rowButtons.push_back(button);
    }
    for (std::size_t index = 0; index < menu.rows.size(); ++index)
        m_rowButtons[index]->show(menu.rows[index]);
    m_memoryLine.set_text(menu.memoryLine);
}

void MenuBarPanel::choose(const Uuid& workspaceId)
{
    hide();
    m_openWorkspace(workspaceId);
}

void MenuBarPanel::toggleAt(ScreenPoint click)
{
    if (get_visible())
        hide();
    else if (m_hiddenAt == 0 || g_get_monotonic_time() - m_hiddenAt > reopenDelayMicroseconds)
        popUpAt(click);
}

void MenuBarPanel::popUpAt(ScreenPoint click)
{
    m_click = click;
    present();
    if (get_mapped())
        place();
}

void MenuBarPanel::place()
{
    auto anchor = PanelPlacement::anchor(m_click, WindowPlacement::pointerPosition(*this));
    auto monitor = WindowPlacement::monitorArea(*this, anchor);
    if (!monitor)
        return;
    // The surface's size is the window's on screen, its padding included; before the first frame there is
    // none yet, and the window will take the size its content asks for.
    auto* surface = gtk_native_get_surface(GTK_NATIVE(gobj()));
    int panelWidth = surface ? gdk_surface_get_width(surface) : 0;
    int panelHeight = surface ? gdk_surface_get_height(surface) : 0;
    if (panelWidth <= 0 || panelHeight <= 0) {
        int minimum = 0;
        int ignoredBaseline = 0;
        panelWidth = width;
        measure(
            Gtk::Orientation::VERTICAL, panelWidth, minimum, panelHeight, ignoredBaseline, ignoredBaseline);
    }
    WindowPlacement::move(*this, PanelPlacement::origin(anchor, panelWidth, panelHeight, *monitor));
}

} // namespace cohortex
