#include "KeyboardShortcuts/ShortcutStore.h"

#include "Services/StoredKeys.h"
#include "Support/DefaultsStore.h"

namespace cohortex {

ShortcutStore::ShortcutStore(DefaultsStore& defaults, HotKeyService& hotKeys)
    : m_defaults(defaults)
    , m_hotKeys(hotKeys)
{
    m_hotKeys.setReleaseHandler([this](const Shortcut& released) { dispatch(released); });
}

ShortcutStore::~ShortcutStore()
{
    m_hotKeys.setReleaseHandler(nullptr);
    for (const auto& [name, shortcut] : m_registered)
        m_hotKeys.unregisterHotKey(name, shortcut);
}

std::string ShortcutStore::key(const std::string& name) const
{
    return std::string(keys::keyboardShortcutPrefix) + name;
}

void ShortcutStore::addName(std::string name, std::optional<Shortcut> defaultShortcut)
{
    auto stored = key(name);
    // Any stored value, false included, is the user's: only an empty slot takes the default.
    bool hasValue = m_defaults.string(stored) || m_defaults.boolean(stored) || m_defaults.integer(stored)
        || m_defaults.data(stored);
    if (defaultShortcut && !hasValue)
        m_defaults.setString(stored, defaultShortcut->encoded());
    m_defaultShortcuts.insert_or_assign(std::move(name), defaultShortcut);
}

void ShortcutStore::onKeyUp(const std::string& name, std::function<void()> handler)
{
    m_handlers[name].push_back(std::move(handler));
    listen(name);
}

std::optional<Shortcut> ShortcutStore::shortcut(const std::string& name) const
{
    auto text = m_defaults.string(key(name));
    return text ? Shortcut::decode(*text) : std::nullopt;
}

bool ShortcutStore::isActive(const std::string& name) const
{
    return m_registered.contains(name);
}

bool ShortcutStore::setShortcut(const std::string& name, std::optional<Shortcut> shortcut)
{
    if (!shortcut) {
        if (!this->shortcut(name))
            return true;
        auto found = m_defaultShortcuts.find(name);
        bool hasDefault = found != m_defaultShortcuts.end() && found->second;
        // False keeps a cleared default from coming back at the next launch.
        if (!(hasDefault ? m_defaults.setBoolean(key(name), false) : m_defaults.remove(key(name))))
            return false;
        stopListening(name);
        m_changed.emit(name);
        return true;
    }
    if (!m_defaults.setString(key(name), shortcut->encoded()))
        return false;
    stopListening(name);
    if (m_handlers.contains(name))
        listen(name);
    m_changed.emit(name);
    return true;
}

void ShortcutStore::listen(const std::string& name)
{
    if (m_registered.contains(name))
        return;
    auto current = shortcut(name);
    if (current && m_hotKeys.registerHotKey(name, *current))
        m_registered.insert_or_assign(name, *current);
}

void ShortcutStore::stopListening(const std::string& name)
{
    auto found = m_registered.find(name);
    if (found == m_registered.end())
        return;
    m_hotKeys.unregisterHotKey(name, found->second);
    m_registered.erase(found);
}

void ShortcutStore::dispatch(const Shortcut& released)
{
    // Handlers may change shortcuts; they run over a copy of who is to be called.
    std::vector<std::function<void()>> due;
    for (const auto& [name, handlers] : m_handlers) {
        if (shortcut(name) == released)
            due.insert(due.end(), handlers.begin(), handlers.end());
    }
    for (const auto& handler : due)
        handler();
}

} // namespace cohortex
