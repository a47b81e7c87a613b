#pragma once

#include "Models/WorkspaceTemplates.h"
#include "Support/Url.h"

#include <optional>
#include <string>

namespace cohortex {

// What the create form hands to the session manager: the fields of a new workspace.
struct NewWorkspace {
    std::string name;
    Url initialURL;
    std::string iconSymbol;
    std::string colorHex;

    bool operator==(const NewWorkspace&) const = default;
};

// The state of the create-workspace form and its decisions, without any widget: which template fills
// what, when the create button is enabled, and what a press of it creates.
class CreateWorkspaceForm {
public:
    CreateWorkspaceForm();

    std::string name;
    std::string initialURLString;
    std::string selectedSymbol{ "briefcase.fill" };
    std::string selectedColorHex{ "#007AFF" };

    // Fills in every field; nothing is created until the create button is pressed.
    void apply(const WorkspaceTemplate&);
    // A name of white space alone is no name.
    bool canCreate() const;
    // The workspace a press of the create button makes: the name as typed, the address with "https://"
    // put in front unless it names http or https already. Nothing when the address does not parse, so
    // the form stays open as it is.
    std::optional<NewWorkspace> workspaceToCreate() const;
};

} // namespace cohortex
