#include "UI/Commands/ShortcutsHelp.h"

#include "Services/CommandTable.h"
#include "Services/Presentation.h"
#include "Support/Translation.h"

#include <gtk/gtk.h>

namespace cohortex {

namespace {

std::string escaped(std::string_view text)
{
    GCharPtr markup(g_markup_escape_text(text.data(), static_cast<gssize>(text.size())));
    return markup.get();
}

// Keys that differ only in a last digit read as one range ("<Control><Alt>1...9"), as GTK shows them.
std::string acceleratorOf(const Command& command)
{
    if (command.keys.size() > 1 && command.takesArgument) {
        const auto& first = command.keys.front().accelerator;
        const auto& last = command.keys.back().accelerator;
        return first + "..." + last.substr(last.size() - 1);
    }
    return command.keys.front().accelerator;
}

std::string shortcutRow(const Command& command)
{
    // TRANSLATORS: a keyboard-help row for a command run with a number key; {} is the command's title.
    auto title = command.takesArgument ? fillIn(_("{} 1 to 9"), _(command.title)) : _(command.title);
    return R"(<child><object class="GtkShortcutsShortcut"><property name="title">)" + escaped(title)
        + R"(</property><property name="accelerator">)" + escaped(acceleratorOf(command))
        + "</property></object></child>";
}

} // namespace

std::string shortcutsHelpDescription(const CommandTable& commands)
{
    std::string rows;
    for (const auto& command : commands.commands()) {
        if (!command->keys.empty())
            rows += shortcutRow(*command);
    }
    return R"(<interface><object class="GtkShortcutsWindow" id="help"><property name="modal">1</property>)"
           R"(<child><object class="GtkShortcutsSection"><property name="section-name">window</property>)"
           R"(<child><object class="GtkShortcutsGroup"><property name="title">Cohortex</property>)"
        + rows + "</object></child></object></child></object></interface>";
}

ShortcutsHelpPresenter::ShortcutsHelpPresenter(
    Presentation& presentation, const CommandTable& commands, ParentWindow parent)
    : m_presentation(presentation)
    , m_commands(commands)
    , m_parent(std::move(parent))
{
    m_requests = presentation.showingShortcutsHelp().changed().connect([this](bool shown) { update(shown); });
}

ShortcutsHelpPresenter::~ShortcutsHelpPresenter()
{
    m_requests.disconnect();
    if (auto window = std::exchange(m_window, {}))
        gtk_window_destroy(window.get());
}

void ShortcutsHelpPresenter::update(bool shown)
{
    if (!shown) {
        if (auto window = std::exchange(m_window, {}))
            gtk_window_destroy(window.get());
        return;
    }
    if (m_window) {
        gtk_window_present(m_window.get());
        return;
    }
    auto description = shortcutsHelpDescription(m_commands);
    GObjectPtr<GtkBuilder> builder(gtk_builder_new_from_string(description.c_str(), -1));
    m_window = GObjectPtr<GtkWindow>::retain(GTK_WINDOW(gtk_builder_get_object(builder.get(), "help")));
    gtk_window_set_transient_for(m_window.get(), m_parent ? m_parent() : nullptr);
    // Closing hides the window; the presentation is told, and lets it go.
    g_signal_connect(m_window.get(), "close-request", G_CALLBACK(+[](GtkWindow*, Presentation* presentation) {
        presentation->setShowingShortcutsHelp(false);
        return TRUE;
    }),
        &m_presentation);
    gtk_window_present(m_window.get());
}

} // namespace cohortex
