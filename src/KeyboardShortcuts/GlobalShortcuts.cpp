#include "KeyboardShortcuts/GlobalShortcuts.h"

#include "KeyboardShortcuts/ShortcutStore.h"
#include "Services/CommandTable.h"

#include <string>

namespace cohortex {

void registerGlobalShortcuts(ShortcutStore& store, const CommandTable& commands)
{
    for (const auto& shortcut : globalShortcuts) {
        std::string name(shortcut.name);
        store.addName(name, shortcut.defaultShortcut);
        store.onKeyUp(name, [&commands, &shortcut] { commands.run(shortcut.command, shortcut.argument); });
    }
}

} // namespace cohortex
