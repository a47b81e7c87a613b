#include "Models/WorkspaceTemplates.h"

#include "Support/Translation.h"

#include <array>

namespace cohortex {

namespace {

constexpr std::array<WorkspaceTemplate, 5> templates{ {
    // TRANSLATORS: a suggested name for a new workspace, after the site it opens; the user may change it.
    { N_("Gmail / Workspace"), "https://mail.google.com/", "envelope.fill", "#FF3B30" },
    { N_("Slack Client"), "https://app.slack.com/", "bubble.left.and.bubble.right.fill", "#AF52DE" },
    { N_("Notion Team"), "https://www.notion.so/", "doc.text.fill", "#007AFF" },
    { N_("GitHub / Dev"), "https://github.com/", "terminal.fill", "#5856D6" },
    { N_("Linear Work"), "https://linear.app/", "checkmark.seal.fill", "#FF9500" },
} };

constexpr std::array<NamedChoice, 11> symbols{ {
    // TRANSLATORS: what a screen reader calls an icon a workspace can have.
    { "briefcase.fill", N_("Briefcase") },
    { "person.crop.circle.fill", N_("Person") },
    { "globe", N_("Globe") },
    { "shield.checkerboard", N_("Shield") },
    { "building.2.fill", N_("Building") },
    { "cart.fill", N_("Cart") },
    { "chart.bar.xaxis", N_("Chart") },
    { "bubble.left.and.bubble.right.fill", N_("Chat Bubbles") },
    { "cloud.fill", N_("Cloud") },
    { "wrench.and.screwdriver.fill", N_("Tools") },
    { "terminal.fill", N_("Terminal") },
} };

constexpr std::array<NamedChoice, 9> colors{ {
    // TRANSLATORS: what a screen reader calls a colour a workspace's badge can have.
    { "#007AFF", N_("Blue") },
    { "#34C759", N_("Green") },
    { "#AF52DE", N_("Purple") },
    { "#FF9500", N_("Orange") },
    { "#FF2D55", N_("Pink") },
    { "#5856D6", N_("Indigo") },
    { "#00C7BE", N_("Teal") },
    { "#FF3B30", N_("Red") },
    { "#64D2FF", N_("Light Blue") },
} };

} // namespace

std::span<const WorkspaceTemplate> workspaceTemplates()
{
    return templates;
}

std::span<const NamedChoice> workspaceSymbolChoices()
{
    return symbols;
}

std::span<const NamedChoice> workspaceColorChoices()
{
    return colors;
}

} // namespace cohortex
