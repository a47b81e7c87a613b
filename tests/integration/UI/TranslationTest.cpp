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

    // Every text of the shown windows that a user reads and the catalogue did not give.
    void collectUntranslated(std::set<std::string>& found)
    {
        GListModel* toplevels = gtk_window_get_toplevels();
        for (guint index = 0; index < g_list_model_get_n_items(toplevels); ++index) {
            GObjectPtr<GtkWidget> toplevel(static_cast<GtkWidget*>(g_list_model_get_item(toplevels, index)));
            if (!gtk_widget_get_visible(toplevel.get()))
                continue;
            if (const char* title = gtk_window_get_title(GTK_WINDOW(toplevel.get())))
                check(title, "window title", found);
            walk(toplevel.get(), found);
        }
    }

private:
    void walk(GtkWidget* widget, std::set<std::string>& found)
    {
        for (auto* child = gtk_widget_get_first_child(widget); child;
             child = gtk_widget_get_next_sibling(child)) {
            if (!gtk_widget_get_mapped(child))
                continue;
            if (GTK_IS_LABEL(child))
                check(gtk_label_get_text(GTK_LABEL(child)), "label", found);
            if (GTK_IS_TEXT(child)) {
                if (const char* placeholder = gtk_text_get_placeholder_text(GTK_TEXT(child)))
                    check(placeholder, "placeholder", found);
            }
            if (const char* tooltip = gtk_widget_get_tooltip_text(child))
                check(tooltip, "tooltip", found);
            // The toolkit's own widgets translate in the toolkit's catalogue.
            if (!GTK_IS_SHORTCUT_LABEL(child))
                walk(child, found);
        }
    }

    static void check(std::string_view text, const char* kind, std::set<std::string>& found)
    {
        if (text.empty() || text.starts_with("⟦") || isData(text))
            return;
        found.insert(std::string(kind) + ": " + std::string(text));
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
};

TEST_F(TranslationTest, EveryTextOnScreenComesFromTheCatalogue)
{
    std::set<std::string> untranslated;
    collectUntranslated(untranslated);
    auto opens = [](const char* title) {
        return runUntil([title] { return shownWindowTitled(_(title)) != nullptr; });
    };

    presentation.showSettings();
    ASSERT_TRUE(opens("Settings")) << "The settings window did not open under the catalogue";
    for (const char* tab : { "general", "links", "time", "team", "updates", "shortcuts" }) {
        auto* stack
            = firstMatch(shownWindowTitled(_("Settings")), [](GtkWidget* w) { return ADW_IS_VIEW_STACK(w); });
        adw_view_stack_set_visible_child_name(ADW_VIEW_STACK(stack), tab);
        settle();
        collectUntranslated(untranslated);
    }
    presentation.showCreateModal();
    ASSERT_TRUE(opens("New Workspace"));
    settle();
    collectUntranslated(untranslated);
    presentation.showWorkspaceSettings(chat.id);
    ASSERT_TRUE(opens("Workspace Settings"));
    settle();
    collectUntranslated(untranslated);

    std::string list;
    for (const auto& text : untranslated)
        list += "\n  " + text;
    EXPECT_TRUE(untranslated.empty()) << "Shown without a lookup in the catalogue:" << list;
}

} // namespace
} // namespace cohortex::testing
