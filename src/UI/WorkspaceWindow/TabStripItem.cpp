#include "UI/WorkspaceWindow/TabStripItem.h"

#include "Support/Translation.h"
#include "UI/SymbolIcons.h"
#include "UI/WorkspaceWindow/ItemAttention.h"
#include "UI/WorkspaceWindow/WidgetLabels.h"

namespace cohortex {

namespace {

// About 170 pixels of the default interface font: long titles end in an ellipsis there.
constexpr int titleWidthInCharacters = 21;

} // namespace

TabStripItem::TabStripItem(Actions actions)
    : Gtk::Box(Gtk::Orientation::HORIZONTAL, 0)
    , m_actions(std::move(actions))
{
    add_css_class("cohortex-bar-item");
    m_title.set_ellipsize(Pango::EllipsizeMode::END);
    m_title.set_max_width_chars(titleWidthInCharacters);
    m_title.set_single_line_mode(true);
    m_select.set_child(m_title);
    m_select.add_css_class("flat");
    m_close.set_icon_name(iconNameForSymbol("xmark"));
    m_close.add_css_class("flat");
    m_close.add_css_class("circular");
    m_close.add_css_class("cohortex-small-close");
    m_close.set_valign(Gtk::Align::CENTER);
    m_close.set_visible(false);
    describeWidget(m_close, _("Close Tab"));
    append(m_select);
    append(m_close);
    bind();
}

void TabStripItem::bind()
{
    m_select.signal_clicked().connect([this] {
        m_actions.onSelect();
        m_select.set_active(m_state && m_state->isActive);
    });
    m_close.signal_clicked().connect([this] { m_actions.onClose(); });
    watchItemAttention(
        *this, [this](bool hovering) { setHovering(hovering); },
        [this](bool focused) {
            m_hasFocusWithin = focused;
            showCloseButton();
        });
}

void TabStripItem::update(const PageTabItemState& state)
{
    if (m_state == state)
        return;
    m_title.set_text(state.title);
    describeWidget(m_select, state.title);
    if (state.isActive)
        m_title.add_css_class("cohortex-semibold");
    else
        m_title.remove_css_class("cohortex-semibold");
    m_select.set_active(state.isActive);
    m_state = state;
    showCloseButton();
}

void TabStripItem::setHovering(bool isHovering)
{
    m_isHovering = isHovering;
    showCloseButton();
}

void TabStripItem::showCloseButton()
{
    m_close.set_visible(m_state && m_state->showsCloseButton(m_isHovering || m_hasFocusWithin));
}

} // namespace cohortex
