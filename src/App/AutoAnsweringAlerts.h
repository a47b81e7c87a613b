#pragma once

#include "Services/Alerts.h"
#include "Support/Log.h"

#include <cstdlib>
#include <string_view>

namespace cohortex {

// For the end-to-end tests, which cannot click a dialog in another process: with
// COHORTEX_TEST_AUTO_ANSWER=confirm every question is answered with its confirming button and every
// message is logged instead of shown. Release builds leave it out, so nobody can skip a confirmation
// in the browser people use.
#ifdef COHORTEX_TEST_HOOKS
class AutoAnsweringAlerts final : public Alerts {
public:
    static bool isRequested()
    {
        const char* answer = std::getenv("COHORTEX_TEST_AUTO_ANSWER");
        return answer && std::string_view(answer) == "confirm";
    }

    Task<bool> confirm(std::string message, std::string, std::string, std::string) override
    {
        log(LogLevel::Info, "Answered for the test: " + message);
        co_return true;
    }
    Task<void> inform(std::string message, std::string details) override
    {
        log(LogLevel::Info, "Shown to the test: " + message + " " + details);
        co_return;
    }
};
#endif

} // namespace cohortex
