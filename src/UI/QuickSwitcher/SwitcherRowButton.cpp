#include "UI/QuickSwitcher/SwitcherRowButton.h"

#include "Support/Translation.h"
#include "UI/WorkspaceWindow/WidgetLabels.h"

#include <cstdlib>
#include <pangomm/layout.h>

namespace cohortex {

namespace {

void setUpLine(Gtk::Label& label)
{
    label.set_xalign(0);
    label.set_ellipsize(Pango::EllipsizeMode::END);
    label.set_single_line_mode(true);
}

} // namespace

SwitcherRowButton::SwitcherRowButton(std::function<void(const SwitcherItem&)> onChoose)
    : m_onChoose(std::move(onChoose))
{
    add_css_class("flat");
    add_css_class("quick-switcher-row");
    setUpLine(m_title);
    setUpLine(m_subtitle);
    m_subtitle.add_css_class("dim-label");
    m_subtitle.add_css_class("caption");
    m_texts.set_hexpand(true);
    m_texts.append(m_title);
    m_texts.append(m_subtitle);
    m_badge.add_css_class("quick-switcher-badge");
    m_badge.set_valign(Gtk::Align::CENTER);
    m_layout.append(m_texts);
    m_layout.append(m_badge);
    set_child(m_layout);
    signal_clicked().connect([this] {
        // A copy: choosing closes the panel, and the list may hand this button another row meanwhile.
        if (auto item = m_item)
            m_onChoose(*item);
    });
}

void SwitcherRowButton::show(const SwitcherRow& row)
{
    // The list refills its rows on every key and scroll step; refilling one that shows the same row again
    // would lay out its text anew for nothing.
    if (m_item == row.item && m_badgeText == row.badge) {
        setHighlighted(row.isHighlighted);
        return;
    }
    m_item = row.item;
    m_badgeText = row.badge;
    m_title.set_text(row.item.title);
    m_subtitle.set_text(row.item.subtitle);
    m_badge.set_text(row.badge.value_or(""));
    m_badge.set_visible(row.badge.has_value());
    const auto& item = row.item;
    auto description = item.title;
    if (row.badge) {
        // The badge holds the unread count in digits.
        auto unread = std::strtoul(row.badge->c_str(), nullptr, 10);
        if (item.subtitle.empty()) {
            // TRANSLATORS: a quick-switcher row as a screen reader reads it: its title, then its unread
            // count.
            description = fillIn(P_("{}, {} unread", "{}, {} unread", unread), item.title, *row.badge);
        } else {
            // TRANSLATORS: a quick-switcher row as a screen reader reads it: its title, the site's host name,
            // then its unread count.
            const char* text = P_("{}, {}, {} unread", "{}, {}, {} unread", unread);
            description = fillIn(text, item.title, item.subtitle, *row.badge);
        }
    } else if (!item.subtitle.empty()) {
        // TRANSLATORS: a quick-switcher row as a screen reader reads it: its title, then the site's host
        // name.
        description = fillIn(_("{}, {}"), item.title, item.subtitle);
    }
    describeWidget(*this, description);
    setHighlighted(row.isHighlighted);
}

void SwitcherRowButton::clear()
{
    m_item.reset();
    m_badgeText.reset();
    setTooltip(*this, "");
}

void SwitcherRowButton::setHighlighted(bool highlighted)
{
    if (highlighted)
        add_css_class("quick-switcher-highlight");
    else
        remove_css_class("quick-switcher-highlight");
}

} // namespace cohortex
