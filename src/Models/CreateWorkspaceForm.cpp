#include "Models/CreateWorkspaceForm.h"

#include "Support/Text.h"
#include "Support/Translation.h"

namespace cohortex {

CreateWorkspaceForm::CreateWorkspaceForm()
    : initialURLString(workspaceTemplates().front().site)
{
}

void CreateWorkspaceForm::apply(const WorkspaceTemplate& preset)
{
    name = _(preset.name);
    initialURLString = preset.site;
    selectedSymbol = preset.symbol;
    selectedColorHex = preset.colorHex;
}

bool CreateWorkspaceForm::canCreate() const
{
    return !trimWhitespace(name).empty();
}

std::optional<NewWorkspace> CreateWorkspaceForm::workspaceToCreate() const
{
    std::string address(trimWhitespace(initialURLString));
    if (!address.starts_with("http://") && !address.starts_with("https://"))
        address.insert(0, "https://");
    auto url = Url::parse(address);
    if (!url)
        return std::nullopt;
    return NewWorkspace{ name, std::move(*url), selectedSymbol, selectedColorHex };
}

} // namespace cohortex
