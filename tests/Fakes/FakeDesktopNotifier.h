#pragma once

#include "Services/DesktopNotifier.h"

#include <optional>
#include <string>
#include <vector>

namespace cohortex::testing {

// Keeps what would have gone to the desktop, as copies: a notice only lends its texts.
class FakeDesktopNotifier final : public DesktopNotifier {
public:
    struct Sent {
        std::string id;
        std::string title;
        std::string body;
        std::string defaultCommandName;
        std::optional<int> commandArgument;
        // The commands of its buttons, in order.
        std::vector<std::string> buttonCommands{};
    };

    void send(const DesktopNotice& notice) override
    {
        std::vector<std::string> buttonCommands;
        for (const auto& button : notice.buttons)
            buttonCommands.emplace_back(button.commandName);
        sent.push_back({ std::string(notice.id), std::string(notice.title), std::string(notice.body),
            std::string(notice.defaultCommandName), notice.commandArgument, std::move(buttonCommands) });
    }
    void withdraw(std::string_view) override { }

    std::vector<Sent> sent;
};

} // namespace cohortex::testing
