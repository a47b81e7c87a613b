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
    };

    void send(const DesktopNotice& notice) override
    {
        sent.push_back({ std::string(notice.id), std::string(notice.title), std::string(notice.body),
            std::string(notice.defaultCommandName), notice.commandArgument });
    }
    void withdraw(std::string_view id) override { withdrawn.emplace_back(id); }

    std::vector<Sent> sent;
    std::vector<std::string> withdrawn;
};

} // namespace cohortex::testing
