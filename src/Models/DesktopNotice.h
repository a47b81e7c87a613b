#pragma once

#include <optional>
#include <span>
#include <string_view>

namespace cohortex {

// A desktop notification whose buttons run commands of the command table.
struct DesktopNotice {
    struct Button {
        std::string_view label;
        std::string_view commandName;
    };

    // Sending a notice again with the same id replaces the one still on screen.
    std::string_view id;
    std::string_view title;
    std::string_view body;
    std::span<const Button> buttons;
    // What clicking the notification itself runs.
    std::string_view defaultCommandName;
    // What every command of the notice is run with, for a notice about one thing (a download).
    std::optional<int> commandArgument{};
};

} // namespace cohortex
