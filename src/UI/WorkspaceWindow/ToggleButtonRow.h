#pragma once

#include "Support/Uuid.h"

#include <functional>
#include <gtkmm/box.h>
#include <gtkmm/label.h>
#include <gtkmm/togglebutton.h>
#include <optional>
#include <string>
#include <vector>

namespace cohortex {

// A horizontal row of toggle buttons, one per item, of which only the selected item's is checked. It
// serves both the workspace row and the tab row. The checked state always follows the model: a click
// asks for the item to be selected and the row shows whatever the model then says.
class ToggleButtonRow : public Gtk::Box {
public:
    struct Item {
        Uuid id;
        std::string label;
        std::string tooltip;
        // Shown muted, for a workspace that sleeps.
        bool isDimmed{ false };
    };

    explicit ToggleButtonRow(std::function<void(const Uuid&)> onSelect);

    // Buttons are replaced only when the items' ids change; otherwise they are relabelled in place, so
    // a title change does not take the button from under the pointer.
    void setItems(const std::vector<Item>&, std::optional<Uuid> selected);

private:
    struct Entry {
        Uuid id;
        Gtk::ToggleButton* button{ nullptr };
        Gtk::Label* label{ nullptr };
    };

    bool hasSameIds(const std::vector<Item>&) const;
    void rebuild(const std::vector<Item>&);
    void relabel(const std::vector<Item>&);
    void applySelection();
    void clicked(Uuid id);

    std::function<void(const Uuid&)> m_onSelect;
    std::vector<Entry> m_entries;
    std::optional<Uuid> m_selected;
};

} // namespace cohortex
