#include "UI/WorkspaceWindow/ToggleButtonRow.h"

#include "UI/WorkspaceWindow/WidgetLabels.h"

#include <algorithm>

namespace cohortex {

namespace {

constexpr int labelWidthInCharacters = 22;

} // namespace

ToggleButtonRow::ToggleButtonRow(std::function<void(const Uuid&)> onSelect)
    : Gtk::Box(Gtk::Orientation::HORIZONTAL, 4)
    , m_onSelect(std::move(onSelect))
{
    set_margin_start(6);
    set_margin_end(6);
    set_margin_top(4);
    set_margin_bottom(4);
}

void ToggleButtonRow::setItems(const std::vector<Item>& items, std::optional<Uuid> selected)
{
    if (hasSameIds(items))
        relabel(items);
    else
        rebuild(items);
    m_selected = selected;
    applySelection();
}

bool ToggleButtonRow::hasSameIds(const std::vector<Item>& items) const
{
    return std::ranges::equal(
        items, m_entries, [](const Item& item, const Entry& entry) { return item.id == entry.id; });
}

void ToggleButtonRow::rebuild(const std::vector<Item>& items)
{
    for (auto& entry : m_entries)
        remove(*entry.button);
    m_entries.clear();
    for (const auto& item : items) {
        auto* button = Gtk::make_managed<Gtk::ToggleButton>();
        auto* label = Gtk::make_managed<Gtk::Label>();
        label->set_ellipsize(Pango::EllipsizeMode::END);
        label->set_max_width_chars(labelWidthInCharacters);
        button->set_child(*label);
        button->add_css_class("flat");
        button->signal_clicked().connect([this, id = item.id] { clicked(id); });
        append(*button);
        m_entries.push_back({ item.id, button, label });
    }
    relabel(items);
}

void ToggleButtonRow::relabel(const std::vector<Item>& items)
{
    for (std::size_t index = 0; index < items.size(); ++index) {
        const auto& item = items[index];
        auto& entry = m_entries[index];
        entry.label->set_text(item.label);
        describeWidget(*entry.button, item.tooltip.empty() ? item.label : item.tooltip);
        if (item.isDimmed)
            entry.button->add_css_class("dim-label");
        else
            entry.button->remove_css_class("dim-label");
    }
}

void ToggleButtonRow::applySelection()
{
    for (auto& entry : m_entries)
        entry.button->set_active(entry.id == m_selected);
}

void ToggleButtonRow::clicked(Uuid id)
{
    m_onSelect(id);
    // The click toggled the button by itself; put back what the model says, also when nothing changed
    // (clicking the checked button must not uncheck it).
    applySelection();
}

} // namespace cohortex
