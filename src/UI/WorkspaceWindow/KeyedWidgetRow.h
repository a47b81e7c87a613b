#pragma once

#include "Support/Uuid.h"

#include <gtkmm/box.h>
#include <map>
#include <span>

namespace cohortex {

// One widget per id in a box, in the order of the states given. A widget whose id stays is kept and
// only updated, so a change of one item (a new page title) leaves every other item's widgets alone
// and does not take the item from under the pointer or the keyboard focus.
template <typename Item, typename Key = Uuid>
class KeyedWidgetRow {
public:
    explicit KeyedWidgetRow(Gtk::Box& box)
        : m_box(box)
    {
    }

    // make(state) returns a new managed widget for an id not seen before; Item::update(state) shows it.
    template <typename State, typename IdOf, typename Make>
    void apply(std::span<const State> states, IdOf idOf, Make make)
    {
        std::map<Key, Item*> kept;
        for (const auto& state : states) {
            auto id = idOf(state);
            auto found = m_items.find(id);
            if (found == m_items.end()) {
                kept.emplace(id, make(state));
                continue;
            }
            kept.emplace(id, found->second);
            m_items.erase(found);
        }
        for (auto& [id, item] : m_items)
            m_box.remove(*item);
        m_items = std::move(kept);
        place(states, idOf);
    }

    Item* find(const Key& id) const
    {
        auto found = m_items.find(id);
        return found == m_items.end() ? nullptr : found->second;
    }

private:
    template <typename State, typename IdOf>
    void place(std::span<const State> states, IdOf idOf)
    {
        Gtk::Widget* previous = nullptr;
        for (const auto& state : states) {
            Item* item = m_items.at(idOf(state));
            if (!item->get_parent()) {
                if (previous)
                    m_box.insert_child_after(*item, *previous);
                else
                    m_box.insert_child_at_start(*item);
            } else if (item->get_prev_sibling() != previous) {
                if (previous)
                    m_box.reorder_child_after(*item, *previous);
                else
                    m_box.reorder_child_at_start(*item);
            }
            item->update(state);
            previous = item;
        }
    }

    Gtk::Box& m_box;
    std::map<Key, Item*> m_items;
};

} // namespace cohortex
