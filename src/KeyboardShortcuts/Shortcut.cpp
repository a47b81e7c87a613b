#include "KeyboardShortcuts/Shortcut.h"

#include "Support/Json.h"

namespace cohortex {

std::string Shortcut::encoded() const
{
    return json::dump(Json{ { "carbonKeyCode", carbonKeyCode }, { "carbonModifiers", carbonModifiers } });
}

std::optional<Shortcut> Shortcut::decode(std::string_view text)
{
    auto parsed = json::parse(text);
    if (!parsed)
        return std::nullopt;
    auto keyCode = json::required<std::int64_t>(*parsed, "carbonKeyCode");
    auto modifiers = json::required<std::int64_t>(*parsed, "carbonModifiers");
    if (!keyCode || !modifiers)
        return std::nullopt;
    return Shortcut{ *keyCode, *modifiers };
}

} // namespace cohortex
