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

} // namespace
} // namespace cohortex
