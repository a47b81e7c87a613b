#include "Models/CreateWorkspaceForm.h"

#include <gtest/gtest.h>
#include <set>
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
             Case{ "example.com/app", "https://example.com/app" }, Case{ "http://intranet.local/", "http://intranet.local/" },
             Case{ "https://example.com", "https://example.com" }, Case{ " \t example.com\n", "https://example.com" },
             Case{ "ftp://example.com", "https://ftp://example.com" }, Case{ "HTTPS://example.com", "https://HTTPS://example.com" },
             Case{ "exa mple.com", "" }, Case{ "example.com/%zz", "" } }) {
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
    for (const char* blank : { "", " ", "\t\n", "\u00A0\u2003" }) {
        form.name = blank;
        EXPECT_FALSE(form.canCreate()) << "name '" << blank << "'";
    }
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

TEST(WorkspaceTemplates, ChoicesAreDistinctAndTemplatesAreHttpsRootPages)
{
    std::set<std::string_view> symbols, colors;
    for (const auto& choice : workspaceSymbolChoices())
        EXPECT_TRUE(symbols.insert(choice.value).second) << choice.value;
    for (const auto& choice : workspaceColorChoices())
        EXPECT_TRUE(colors.insert(choice.value).second) << choice.value;
    for (const auto& preset : workspaceTemplates()) {
        auto url = Url::parse(preset.site);
        ASSERT_TRUE(url) << preset.site;
        EXPECT_EQ(url->absoluteString(), "https://" + url->host().value_or("?") + "/");
    }
}

} // namespace
} // namespace cohortex
