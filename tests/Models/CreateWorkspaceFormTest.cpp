#include "Models/CreateWorkspaceForm.h"

#include <gtest/gtest.h>
#include <string>

namespace cohortex {
namespace {

TEST(CreateWorkspaceForm, CreatesWithTheAddressTheUserMeant)
{
    struct Case {
        std::string typed, created; // created is empty when nothing is created
    };
    // clang-format off
    for (const auto& [typed, created] : {
             Case{ "http://intranet.local/", "http://intranet.local/" }, Case{ " \t example.com\n", "https://example.com" },
             Case{ "ftp://example.com", "https://ftp://example.com" }, Case{ "exa mple.com", "" } }) {
        // clang-format on
        CreateWorkspaceForm form;
        form.name = "Client Alpha";
        form.initialURLString = typed;
        auto workspace = form.workspaceToCreate();
        EXPECT_EQ(workspace ? workspace->initialURL.absoluteString() : "", created) << typed;
    }
}

TEST(CreateWorkspaceForm, ABlankNameCannotBeCreatedWhateverTheAddress)
{
    CreateWorkspaceForm form;
    form.name = "\u00A0\t\u2003";
    EXPECT_FALSE(form.canCreate());
    form.name = " x ";
    EXPECT_TRUE(form.canCreate());
}

TEST(CreateWorkspaceForm, ATemplateThenAnEditedNameKeepsTheTemplatesOtherFields)
{
    CreateWorkspaceForm form;
    form.apply(workspaceTemplates()[3]);
    form.name = "  GitHub for Client B ";
    // The name goes on as typed; only the address is trimmed.
    EXPECT_EQ(form.workspaceToCreate(),
        (NewWorkspace{
            "  GitHub for Client B ", *Url::parse("https://github.com/"), "terminal.fill", "#5856D6" }));
}

} // namespace
} // namespace cohortex
