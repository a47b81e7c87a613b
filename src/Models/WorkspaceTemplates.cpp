#include "Models/WorkspaceTemplates.h"

#include <array>

namespace cohortex {

namespace {

constexpr std::array<WorkspaceTemplate, 5> templates{ {
    { "Gmail / Workspace", "https://mail.google.com/", "envelope.fill", "#FF3B30" },
    { "Slack Client", "https://app.slack.com/", "bubble.left.and.bubble.right.fill", "#AF52DE" },
    { "Notion Team", "https://www.notion.so/", "doc.text.fill", "#007AFF" },
    { "GitHub / Dev", "https://github.com/", "terminal.fill", "#5856D6" },
    { "Linear Work", "https://linear.app/", "checkmark.seal.fill", "#FF9500" },
} };

constexpr std::array<NamedChoice, 11> symbols{ {
    { "briefcase.fill", "Briefcase" },
    { "person.crop.circle.fill", "Person" },
    { "globe", "Globe" },
    { "shield.checkerboard", "Shield" },
    { "building.2.fill", "Building" },
    { "cart.fill", "Cart" },
    { "chart.bar.xaxis", "Chart" },
    { "bubble.left.and.bubble.right.fill", "Chat Bubbles" },
    { "cloud.fill", "Cloud" },
    { "wrench.and.screwdriver.fill", "Tools" },
    { "terminal.fill", "Terminal" },
} };

constexpr std::array<NamedChoice, 9> colors{ {
    { "#007AFF", "Blue" },
    { "#34C759", "Green" },
    { "#AF52DE", "Purple" },
    { "#FF9500", "Orange" },
    { "#FF2D55", "Pink" },
    { "#5856D6", "Indigo" },
    { "#00C7BE", "Teal" },
    { "#FF3B30", "Red" },
    { "#64D2FF", "Light Blue" },
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
