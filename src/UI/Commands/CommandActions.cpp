#include "UI/Commands/CommandActions.h"

#include "Services/CommandTable.h"

#include <gtk/gtk.h>
#include <map>

namespace cohortex {

CommandActions::CommandActions(const CommandTable& table)
    : m_table(table)
{
    for (const auto& command : table.commands()) {
        std::string name(command->name);
        GObjectPtr<GSimpleAction> action(
            g_simple_action_new(name.c_str(), command->takesArgument ? G_VARIANT_TYPE_INT32 : nullptr));
        g_simple_action_set_enabled(action.get(), command->isEnabled.get());
        g_signal_connect(action.get(), "activate",
            G_CALLBACK(+[](GSimpleAction* action, GVariant* parameter, gpointer table) {
                std::optional<int> argument;
                if (parameter && g_variant_is_of_type(parameter, G_VARIANT_TYPE_INT32))
                    argument = g_variant_get_int32(parameter);
                static_cast<const CommandTable*>(table)->run(g_action_get_name(G_ACTION(action)), argument);
            }),
            const_cast<CommandTable*>(&table));
        auto* raw = action.get();
        m_connections.emplace_back(command->isEnabled.changed().connect(
            [raw](bool enabled) { g_simple_action_set_enabled(raw, enabled); }));
        m_actions.push_back(std::move(action));
    }
}

void CommandActions::addTo(GActionMap* map)
{
    for (const auto& action : m_actions)
        g_action_map_add_action(map, G_ACTION(action.get()));
}

void CommandActions::setAccelerators(GtkApplication* application) const
{
    for (const auto& command : m_table.commands()) {
        // A command with one key per argument gets an accelerator list per detailed name.
        std::map<std::string, std::vector<const char*>> byAction;
        for (const auto& key : command->keys)
            byAction[detailedName(*command, key.argument)].push_back(key.accelerator.c_str());
        for (auto& [action, accelerators] : byAction) {
            accelerators.push_back(nullptr);
            gtk_application_set_accels_for_action(application, action.c_str(), accelerators.data());
        }
    }
}

std::string CommandActions::detailedName(const Command& command, std::optional<int> argument)
{
    auto name = "app." + std::string(command.name);
    if (argument)
        name += "(" + std::to_string(*argument) + ")";
    return name;
}

} // namespace cohortex
