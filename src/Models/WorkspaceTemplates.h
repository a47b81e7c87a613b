#pragma once

#include <span>
#include <string_view>

namespace cohortex {

// A one-click starting point offered when creating a workspace: it fills in every field at once.
struct WorkspaceTemplate {
    std::string_view name;
    std::string_view site;
    std::string_view symbol;
    std::string_view colorHex;
};

// A choice of the create form's icon or colour pickers, with the words a screen reader says for it.
struct NamedChoice {
    std::string_view value;
    std::string_view spokenName;
};

// The fixed choices of the create form, in the order they are shown.
std::span<const WorkspaceTemplate> workspaceTemplates();
std::span<const NamedChoice> workspaceSymbolChoices();
std::span<const NamedChoice> workspaceColorChoices();

} // namespace cohortex
