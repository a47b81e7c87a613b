#include "Support/Translation.h"

#include "SettingsWindowFixture.h"

#include <clocale>
#include <libintl.h>
#include <regex>
#include <set>

namespace cohortex::testing {
namespace {

// Shows the window, the settings and the sheets under a catalogue that wraps every text of the template
// in "⟦…⟧" (built from po/cohortex.pot), and reads back what is on screen: a text that comes out
// unwrapped was never looked up, so translators could not reach it either.
class TranslationTest : public SettingsWindowFixture {
protected:
    TranslationTest()
    {
        g_setenv("LANGUAGE", "en_XA", true);
        // gettext ignores LANGUAGE under the plain C locale; C.UTF-8 is always there and is not plain C.
        m_previousMessages = std::setlocale(LC_MESSAGES, nullptr);
        std::setlocale(LC_MESSAGES, "C.UTF-8");
        bindtextdomain(translationDomain, COHORTEX_PSEUDO_LOCALE_DIR);
        bind_textdomain_codeset(translationDomain, "UTF-8");
    }
    ~TranslationTest() override
    {
        g_unsetenv("LANGUAGE");
        std::setlocale(LC_MESSAGES, m_previousMessages.c_str());
        // Binding again also drops the texts gettext has already looked up.
        bindtextdomain(translationDomain, "/nonexistent");
    }

    // Every text of the shown windows that a user reads and the catalogue did not give. The toolkit's own
    // widgets translate in the toolkit's catalogue.
    void collectUntranslated()
    {
        GListModel* toplevels = gtk_window_get_toplevels();
        for (guint index = 0; index < g_list_model_get_n_items(toplevels); ++index) {
            GObjectPtr<GtkWidget> toplevel(static_cast<GtkWidget*>(g_list_model_get_item(toplevels, index)));
            if (!gtk_widget_get_visible(toplevel.get()))
                continue;
            check(gtk_window_get_title(GTK_WINDOW(toplevel.get())), "window title");
            for (auto* w : shownUnder(toplevel.get(),
                     [](GtkWidget* w) { return !gtk_widget_get_ancestor(w, GTK_TYPE_SHORTCUT_LABEL); })) {
                check(GTK_IS_LABEL(w) ? gtk_label_get_text(GTK_LABEL(w)) : nullptr, "label");
                check(GTK_IS_TEXT(w) ? gtk_text_get_placeholder_text(GTK_TEXT(w)) : nullptr, "placeholder");
                check(gtk_widget_get_tooltip_text(w), "tooltip");
            }
        }
    }
    void check(const char* text, const char* kind)
    {
        if (text && *text && !std::string_view(text).starts_with("⟦") && !isData(text))
            untranslated.insert(std::string(kind) + ": " + text);
    }

    // What the user typed or the pages said is theirs, not the program's: the workspaces' names and
    // initials, addresses, counts and figures.
    static bool isData(std::string_view text)
    {
        static const std::set<std::string_view> names{ "Mail", "Chat", "Vault", "M", "C", "V", "Cohortex" };
        static const std::regex noWords{
            R"([^A-Za-z]*|about:blank|https://\.\.\.|[0-9.,]+ ?(MB|GB|KB|B|s|m|h)|.*\.cohortex)"
        };
        const std::string copy(text);
        return names.contains(text) || std::regex_match(copy, noWords);
    }

    std::string m_previousMessages;
    std::set<std::string> untranslated;
};

TEST_F(TranslationTest, EveryTextOnScreenComesFromTheCatalogue)
{
    collectUntranslated();
    auto show = [this](const char* title, const std::function<void()>& open) {
        open();
        ASSERT_TRUE(runUntil([title] { return windowTitled(_(title)) != nullptr; }))
            << title << " did not open";
        settle();
        collectUntranslated();
    };
    ASSERT_NO_FATAL_FAILURE(show("Settings", [this] { presentation.showSettings(); }));
    for (const char* tab : { "general", "links", "time", "team", "updates", "shortcuts" }) {
        auto* stack
            = firstShown(windowTitled(_("Settings")), [](GtkWidget* w) { return ADW_IS_VIEW_STACK(w); });
        adw_view_stack_set_visible_child_name(ADW_VIEW_STACK(stack), tab);
        settle();
        collectUntranslated();
    }
    ASSERT_NO_FATAL_FAILURE(show("New Workspace", [this] { presentation.showCreateModal(); }));
    ASSERT_NO_FATAL_FAILURE(
        show("Workspace Settings", [this] { presentation.showWorkspaceSettings(chat.id); }));
    std::string list;
    for (const auto& text : untranslated)
        list += "\n  " + text;
    EXPECT_TRUE(untranslated.empty()) << "Shown without a lookup in the catalogue:" << list;
}

} // namespace
} // namespace cohortex::testing
