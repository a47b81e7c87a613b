#include "Models/CreateWorkspaceForm.h"

#include <gtest/gtest.h>
#include <set>
#include <string>

namespace cohortex {
namespace {

struct AddressCase {
    const char* name;
    std::string typed;
    // Empty when nothing is created.
    std::string created;
};

class CreateWorkspaceAddress : public testing::TestWithParam<AddressCase> { };

TEST_P(CreateWorkspaceAddress, CreatesWithTheAddressTheUserMeant)
{
    CreateWorkspaceForm form;
    form.name = "Client Alpha";
    form.initialURLString = GetParam().typed;
    auto created = form.workspaceToCreate();
    EXPECT_EQ(created ? created->initialURL.absoluteString() : "", GetParam().created);
}

INSTANTIATE_TEST_SUITE_P(Rules, CreateWorkspaceAddress,
    testing::Values(AddressCase{ "WithoutSchemeGetsHttps", "example.com/app", "https://example.com/app" },
        AddressCase{ "HttpKept", "http://intranet.local/", "http://intranet.local/" },
        AddressCase{ "HttpsKept", "https://example.com", "https://example.com" },
        AddressCase{ "BlanksAndLineBreaksTrimmed", " \t example.com\n", "https://example.com" },
        AddressCase{ "OtherSchemeIsPrefixedNotKept", "ftp://example.com", "https://ftp://example.com" },
        AddressCase{ "UppercaseSchemeIsNotRecognised", "HTTPS://example.com", "https://HTTPS://example.com" },
        AddressCase{ "SpaceInsideDoesNotParse", "exa mple.com", "" },
        AddressCase{ "BadPercentDoesNotParse", "example.com/%zz", "" }),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CreateWorkspaceForm, StartsOnTheMailSiteWithTheFirstIconAndColour)
{
    CreateWorkspaceForm form;
    EXPECT_EQ(form.name, "");
    EXPECT_EQ(form.initialURLString, workspaceTemplates().front().site);
    EXPECT_EQ(form.selectedSymbol, workspaceSymbolChoices().front().value);
    EXPECT_EQ(form.selectedColorHex, workspaceColorChoices().front().value);
    EXPECT_FALSE(form.canCreate());
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
    auto created = form.workspaceToCreate();
    ASSERT_TRUE(created);
    // The name goes on as typed; only the address is trimmed.
    EXPECT_EQ(*created,
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
    EXPECT_EQ(symbols.size(), 11u);
    EXPECT_EQ(colors.size(), 9u);
    for (const auto& preset : workspaceTemplates()) {
        auto url = Url::parse(preset.site);
        ASSERT_TRUE(url) << preset.site;
        EXPECT_EQ(url->absoluteString(), "https://" + url->host().value_or("?") + "/");
    }
}

} // namespace
} // namespace cohortex
