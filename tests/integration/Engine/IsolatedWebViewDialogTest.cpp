#include "IsolatedWebViewFixture.h"

namespace cohortex {
namespace {

// The page writes its dialog's answer into its title, where the test reads it back.
struct DialogCase {
    std::string name;
    std::string script;
    std::string response;
    // Typed into a prompt's field before answering.
    std::optional<std::string> typed;
    std::string answer;
};

class ScriptDialogTest : public IsolatedWebViewFixture, public ::testing::WithParamInterface<DialogCase> { };

TEST_P(ScriptDialogTest, AsksUnderTheHostAndGivesThePageTheAnswer)
{
    auto& view = makeView(m_server.url("/ask"));
    ASSERT_TRUE(loaded(view, "/ask"));
    runScript(view, "document.title = String(" + GetParam().script + ")");
    ASSERT_TRUE(runUntil([] { return openMessageDialog() != nullptr; }));
    auto* dialog = openMessageDialog();
    EXPECT_STREQ(adw_message_dialog_get_heading(dialog), "127.0.0.1");
    EXPECT_STREQ(adw_message_dialog_get_body(dialog), "Proceed?");
    if (GetParam().typed) {
        auto* field = adw_message_dialog_get_extra_child(dialog);
        ASSERT_TRUE(GTK_IS_EDITABLE(field));
        EXPECT_STREQ(gtk_editable_get_text(GTK_EDITABLE(field)), "draft");
        gtk_editable_set_text(GTK_EDITABLE(field), GetParam().typed->c_str());
    }
    adw_message_dialog_response(dialog, GetParam().response.c_str());
    EXPECT_TRUE(runUntil([&] {
        const char* title = webkit_web_view_get_title(webView(view));
        return title && title == GetParam().answer;
    })) << "title: "
        << webkit_web_view_get_title(webView(view));
}

INSTANTIATE_TEST_SUITE_P(Dialogs, ScriptDialogTest,
    ::testing::Values(DialogCase{ "Alert", "alert('Proceed?')", "ok", std::nullopt, "undefined" },
        DialogCase{ "ConfirmOK", "confirm('Proceed?')", "ok", std::nullopt, "true" },
        DialogCase{ "ConfirmCancel", "confirm('Proceed?')", "cancel", std::nullopt, "false" },
        DialogCase{ "PromptOK", "prompt('Proceed?', 'draft')", "ok", "typed", "typed" },
        DialogCase{ "PromptCancel", "prompt('Proceed?', 'draft')", "cancel", "typed", "null" }),
    [](const auto& info) { return info.param.name; });

using IsolatedWebViewDialogTest = IsolatedWebViewFixture;

TEST_F(IsolatedWebViewDialogTest, ClosingTheViewClosesItsOpenDialog)
{
    auto& view = makeView(m_server.url("/ask"));
    ASSERT_TRUE(loaded(view, "/ask"));
    runScript(view, "confirm('Proceed?')");
    ASSERT_TRUE(runUntil([] { return openMessageDialog() != nullptr; }));
    closeView(0);
    EXPECT_EQ(openMessageDialog(), nullptr);
}

} // namespace
} // namespace cohortex
